#pragma once
// Date values: whole seconds since 1970-01-01 00:00:00 in local time, that is
// the local broken-down time read as if it were UTC.
#include <cstdint>
#include <ctime>

namespace pixalto {

// Local date value of a system time (seconds since the epoch, UTC).
int64_t localDateValueFromSystem(std::time_t t);
// The way back: system time of a local date value.
std::time_t systemTimeFromLocalDateValue(int64_t dateValue);
// Local date value of the present moment.
int64_t localDateValueNow();

}  // namespace pixalto
