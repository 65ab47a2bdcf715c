#include "core/conversion_settings.h"

#include "platform/dates.h"

namespace pixalto {

void applyDefaults(ConversionSettings& settings, bool consoleFlavour) {
    settings = ConversionSettings{};
    settings.wmText = kRightsNotice;
    settings.keepAspectRatio = consoleFlavour ? 0 : 1;
    settings.customTimestamp = static_cast<int32_t>(localDateValueNow());
}

FontAttributes fontAttributesFor(int wmFontStyle, int wmFontEffect) {
    FontAttributes a;
    a.bold = wmFontStyle == 1 || wmFontStyle == 3;
    a.italic = wmFontStyle == 2 || wmFontStyle == 3;
    a.underline = wmFontEffect == 1;
    a.strikeOut = wmFontEffect == 2;
    return a;
}

}  // namespace pixalto
