// Epoch seconds to a calendar time, by the proleptic Gregorian calendar (no time zone involved).
#include "builder/plan/SourceDateEpoch.h"

namespace vesk {

bool ParseSourceDateEpoch(const std::string& text, std::int64_t& seconds, std::string& why) {
    if (text.empty()) {
        why = "is empty";
        return false;
    }
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            why = "\"" + text + "\" is not a number of seconds (digits only)";
            return false;
        }
        value = value * 10 + (c - '0');
        if (value > kLatestEpochSeconds) {
            why = "\"" + text + "\" lies after the year 9999";
            return false;
        }
    }
    seconds = value;
    return true;
}

CalendarTime CalendarTimeOfEpoch(std::int64_t seconds) {
    constexpr std::int64_t kDay = 86400;
    std::int64_t days = seconds / kDay, rest = seconds % kDay;
    // Days since 1970-01-01 to year, month, day, counting in 400-year eras from 0000-03-01.
    std::int64_t z = days + 719468;
    std::int64_t era = z / 146097;
    std::int64_t dayOfEra = z - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0: March
    CalendarTime time;
    time.day = int(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    time.month = int(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    time.year = int(yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0));
    time.hour = int(rest / 3600);
    time.minute = int(rest / 60 % 60);
    time.second = int(rest % 60);
    return time;
}

}  // namespace vesk
