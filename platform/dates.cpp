#include "platform/dates.h"

namespace pixalto {

int64_t localDateValueFromSystem(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<int64_t>(timegm(&local));
}

std::time_t systemTimeFromLocalDateValue(int64_t dateValue) {
    std::time_t t = static_cast<std::time_t>(dateValue);
    std::tm broken{};
    gmtime_r(&t, &broken);
    broken.tm_isdst = -1;
    return mktime(&broken);
}

int64_t localDateValueNow() { return localDateValueFromSystem(std::time(nullptr)); }

}  // namespace pixalto
