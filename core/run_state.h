#pragma once
// The process's one ConversionSettings and one ConversionJob. Both are written
// on the main thread before a job starts; a running job reads them without a lock.
#include "core/conversion_settings.h"

namespace pixalto {

ConversionSettings& conversionSettings();
ConversionJob& conversionJob();

}  // namespace pixalto
