// File times through the Win32 API: local calendar time -> UTC FILETIME on all three times.
#include <windows.h>

#include "platform/FileTimes.h"
#include "platform/HandleWin32.h"
#include "platform/LongPathWin32.h"

namespace vesk {
namespace {

SYSTEMTIME ToSystemTime(const CalendarTime& t) {
    SYSTEMTIME st{};
    st.wYear = WORD(t.year);
    st.wMonth = WORD(t.month);
    st.wDay = WORD(t.day);
    st.wHour = WORD(t.hour);
    st.wMinute = WORD(t.minute);
    st.wSecond = WORD(t.second);
    st.wMilliseconds = WORD(t.millisecond);
    return st;
}

}  // namespace

bool FileTimeOfLocal(const CalendarTime& local, std::int64_t& fileTime) {
    SYSTEMTIME localTime = ToSystemTime(local);
    SYSTEMTIME utcTime;
    FILETIME when;
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &localTime, &utcTime) ||
        !SystemTimeToFileTime(&utcTime, &when)) {
        return false;
    }
    fileTime = std::int64_t(std::uint64_t(when.dwHighDateTime) << 32 | when.dwLowDateTime);
    return true;
}

bool SetFileLocalTimes(const std::string& path, const CalendarTime& local) {
    std::int64_t when = 0;
    if (!FileTimeOfLocal(local, when)) return false;
    FILETIME fileTime;
    fileTime.dwLowDateTime = DWORD(std::uint64_t(when));
    fileTime.dwHighDateTime = DWORD(std::uint64_t(when) >> 32);
    FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    return SetFileTime(file.get(), &fileTime, &fileTime, &fileTime) != 0;
}

bool GetFileLocalWriteTime(const std::string& path, CalendarTime& local) {
    FileHandle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME written;
    SYSTEMTIME utcTime, localTime;
    if (!file || !GetFileTime(file.get(), nullptr, nullptr, &written) ||
        !FileTimeToSystemTime(&written, &utcTime) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime)) {
        return false;
    }
    local =
        CalendarTime{localTime.wYear,   localTime.wMonth,  localTime.wDay,         localTime.wHour,
                     localTime.wMinute, localTime.wSecond, localTime.wMilliseconds};
    return true;
}

}  // namespace vesk
