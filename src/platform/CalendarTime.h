// A date and time of day without a time zone, as the system writes it into project texts.
#pragma once

namespace vesk {

struct CalendarTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

}  // namespace vesk
