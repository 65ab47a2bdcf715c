// The last picture step: the bit depth that the output is written with.
#include <array>
#include <initializer_list>

#include "engine/transforms/transforms.h"

namespace pixalto {

namespace {

bool isOneOf(std::string_view ext, std::initializer_list<std::string_view> list) {
    for (std::string_view e : list)
        if (e == ext) return true;
    return false;
}

FIBITMAP* ditherFloydSteinberg(FIBITMAP* dib) { return FreeImage_Dither(dib, FID_FS); }
FIBITMAP* quantizeWu(FIBITMAP* dib) { return FreeImage_ColorQuantizeEx(dib, FIQ_WUQUANT, 256, 0, nullptr); }

enum class Before { Nothing, To24UnlessAlready24, To24WhenOver32 };

struct DepthRule {
    int depth;
    bool (*appliesTo)(std::string_view ext);  // nullptr: every output
    Before before;
    FIBITMAP* (*convert)(FIBITMAP*);
};

// First matching row wins.
const std::array<DepthRule, 11> kDepthRules = {{
    {1, nullptr, Before::Nothing, ditherFloydSteinberg},
    {4, nullptr, Before::Nothing, FreeImage_ConvertTo4Bits},
    {8, storesGreyOnly, Before::Nothing, FreeImage_ConvertToGreyscale},
    {8, [](std::string_view e) { return e == "jpg"; }, Before::Nothing, FreeImage_ConvertTo8Bits},
    {8, nullptr, Before::To24UnlessAlready24, quantizeWu},
    {16, [](std::string_view e) { return isOneOf(e, {"ico", "tga"}); }, Before::To24WhenOver32,
     FreeImage_ConvertTo16Bits555},
    {16, nullptr, Before::To24WhenOver32, FreeImage_ConvertTo16Bits565},
    {24, nullptr, Before::Nothing, FreeImage_ConvertTo24Bits},
    {32, nullptr, Before::Nothing, FreeImage_ConvertTo32Bits},
    {48, nullptr, Before::Nothing, FreeImage_ConvertToRGB16},
    {96, nullptr, Before::Nothing, FreeImage_ConvertToRGBF},
}};

}  // namespace

// JPEG-2000 and JPEG XR refuse a palette, and PGM would write the palette
// indices as grey levels.
bool storesGreyOnly(std::string_view ext) { return isOneOf(ext, {"j2k", "jp2", "jxr", "pgm"}); }

Bitmap convertBitDepth(Bitmap bitmap, int targetDepth, std::string_view outputExtension) {
    if (!bitmap) return bitmap;
    const bool greyWanted = targetDepth == 8 && storesGreyOnly(outputExtension);
    if (static_cast<int>(bitmap.bpp()) == targetDepth &&
        (!greyWanted || FreeImage_GetColorType(bitmap.get()) == FIC_MINISBLACK))
        return bitmap;
    for (const DepthRule& rule : kDepthRules) {
        if (rule.depth != targetDepth || (rule.appliesTo && !rule.appliesTo(outputExtension))) continue;
        const unsigned bpp = bitmap.bpp();
        if ((rule.before == Before::To24UnlessAlready24 && bpp != 24) ||
            (rule.before == Before::To24WhenOver32 && bpp > 32))
            bitmap = bitmap.then(FreeImage_ConvertTo24Bits);
        return bitmap.then(rule.convert);
    }
    return Bitmap();
}

}  // namespace pixalto
