// Formatting the run's time stamp.
#include "project/TimeStamp.h"

namespace vesk {
namespace {

std::string TwoDigits(int value) {
    std::string text = std::to_string(value);
    return text.size() < 2 ? "0" + text : text;
}

}  // namespace

std::string TimeStampText(const CalendarTime& time) {
    return std::to_string(time.year) + TwoDigits(time.month) + TwoDigits(time.day) +
           TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second) +
           std::to_string(time.millisecond);
}

}  // namespace vesk
