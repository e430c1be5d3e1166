// The digits-only local time text that makes every temporary name of one run unique.
#pragma once

#include <string>

#include "platform/CalendarTime.h"

namespace vesk {

// Year, then month, day, hour, minute and second as two digits each, then the milliseconds
// without leading zeros: 2 March 2004 09:05:03.007 gives "200403020905037".
std::string TimeStampText(const CalendarTime& time);

}  // namespace vesk
