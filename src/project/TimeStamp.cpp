// Formatting the run's time stamp.
#include "project/TimeStamp.h"

namespace vesk {

std::string TimeStampText(const CalendarTime& time) {
    std::string text = std::to_string(time.year);
    for (int value : {time.month, time.day, time.hour, time.minute, time.second}) {
        const std::string digits = std::to_string(value);
        if (digits.size() < 2) text += '0';
        text += digits;
    }
    text += std::to_string(time.millisecond);
    return text;
}

}  // namespace vesk
