// Setting and reading the times of a file on disk (Win32 file times, or POSIX timestamps natively).
#pragma once

#include <cstdint>
#include <string>

#include "platform/CalendarTime.h"

namespace vesk {

// Takes `local` as local time and gives the existing file at `path` that moment as its creation,
// last-access and last-write time (creation only where the file system keeps one). False when
// the file cannot be opened or the time is not a valid calendar time.
bool SetFileLocalTimes(const std::string& path, const CalendarTime& local);

// The moment `local` (local time) names as the system stamps files with it: 100-nanosecond
// intervals since 1601 (UTC) on Windows, seconds since 1970 (UTC) elsewhere. False when it is
// no valid calendar time.
bool FileTimeOfLocal(const CalendarTime& local, std::int64_t& fileTime);

// The last-write time of the file as local time; false when it cannot be read.
bool GetFileLocalWriteTime(const std::string& path, CalendarTime& local);

}  // namespace vesk
