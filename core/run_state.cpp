#include "core/run_state.h"

namespace pixalto {

ConversionSettings& conversionSettings() {
    static ConversionSettings settings;
    return settings;
}

ConversionJob& conversionJob() {
    static ConversionJob job;
    return job;
}

}  // namespace pixalto
