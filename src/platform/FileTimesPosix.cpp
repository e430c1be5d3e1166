// File times through POSIX timestamps: creation time is not kept by these file systems.
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "platform/FileTimes.h"

namespace vesk {

bool FileTimeOfLocal(const CalendarTime& local, std::int64_t& fileTime) {
    std::tm tm{};
    tm.tm_year = local.year - 1900;
    tm.tm_mon = local.month - 1;
    tm.tm_mday = local.day;
    tm.tm_hour = local.hour;
    tm.tm_min = local.minute;
    tm.tm_sec = local.second;
    tm.tm_isdst = -1;
    const std::time_t when = std::mktime(&tm);
    if (when == std::time_t(-1)) return false;
    fileTime = when;
    return true;
}

bool SetFileLocalTimes(const std::string& path, const CalendarTime& local) {
    std::int64_t when = 0;
    if (!FileTimeOfLocal(local, when)) return false;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = std::time_t(when);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

bool GetFileLocalWriteTime(const std::string& path, CalendarTime& local) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    std::tm tm{};
    std::time_t when = st.st_mtime;
    if (!localtime_r(&when, &tm)) return false;
    local = CalendarTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                         tm.tm_min,         tm.tm_sec,     0};
    return true;
}

}  // namespace vesk
