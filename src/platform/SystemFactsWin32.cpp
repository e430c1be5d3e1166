// The running Windows system's answers, through the ANSI calls; buffers grow to fit every answer.
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/SystemFacts.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// Calls `fill(buffer, capacity)`, which returns the length written, or the size needed when the
// buffer was too small (the GetWindowsDirectory convention), until the answer fits.
std::string GrowingText(DWORD (*fill)(wchar_t* buffer, DWORD capacity)) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD length = fill(buffer.data(), DWORD(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return Narrow(buffer.data(), length);
        buffer.resize(length + 1);
    }
    return std::string();
}

// The shell's allocator, released when done.
struct ShellAllocator {
    IMalloc* malloc = nullptr;
    ShellAllocator() {
        if (FAILED(SHGetMalloc(&malloc))) malloc = nullptr;
    }
    ~ShellAllocator() {
        if (malloc) malloc->Release();
    }
    ShellAllocator(const ShellAllocator&) = delete;
    ShellAllocator& operator=(const ShellAllocator&) = delete;
};

// An item identifier list freed with the shell's allocator.
struct ItemIdList {
    IMalloc* malloc;
    LPITEMIDLIST list = nullptr;
    explicit ItemIdList(IMalloc* allocator) : malloc(allocator) {}
    ~ItemIdList() {
        if (list) malloc->Free(list);
    }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
};

// A display information context, deleted when done.
struct InformationContext {
    HDC dc;
    InformationContext() : dc(CreateICW(L"DISPLAY", nullptr, nullptr, nullptr)) {}
    ~InformationContext() {
        if (dc) DeleteDC(dc);
    }
    InformationContext(const InformationContext&) = delete;
    InformationContext& operator=(const InformationContext&) = delete;
};

// The folder of a CSIDL_ value as the shell names it; nullopt when it cannot.
std::optional<std::string> ShellFolder(int folder) {
    ShellAllocator allocator;
    if (!allocator.malloc) return std::nullopt;
    ItemIdList item(allocator.malloc);
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &item.list)) || !item.list) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH + 1] = {};  // the shell writes at most MAX_PATH characters here
    if (!SHGetPathFromIDListW(item.list, path)) return std::nullopt;
    return Narrow(path);
}

class Win32SystemFacts : public SystemFacts {
public:
    std::string WindowsFolder() const override {
        return GrowingText([](wchar_t* b, DWORD n) { return DWORD(GetWindowsDirectoryW(b, n)); });
    }
    std::string SystemFolder() const override {
        return GrowingText([](wchar_t* b, DWORD n) { return DWORD(GetSystemDirectoryW(b, n)); });
    }
    std::string TempPath() const override {
        return GrowingText([](wchar_t* b, DWORD n) { return GetTempPathW(n, b); });
    }

    std::optional<std::string> DesktopFolder() const override {
        return ShellFolder(CSIDL_DESKTOPDIRECTORY);
    }
    std::optional<std::string> AppDataFolder() const override { return ShellFolder(CSIDL_APPDATA); }
    std::optional<std::string> UserFolderPath(UserFolder folder) const override {
        switch (folder) {
            case UserFolder::LocalAppData:
                return ShellFolder(CSIDL_LOCAL_APPDATA);
            case UserFolder::Programs:
                return ShellFolder(CSIDL_PROGRAMS);
            case UserFolder::Startup:
                return ShellFolder(CSIDL_STARTUP);
        }
        return std::nullopt;
    }

    std::string UserName() const override {
        std::vector<wchar_t> buffer(257);
        for (int attempt = 0; attempt < 4; ++attempt) {
            DWORD size = DWORD(buffer.size());
            if (GetUserNameW(buffer.data(), &size)) return Narrow(buffer.data());
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            buffer.resize(std::max<std::size_t>(size, buffer.size() * 2));
        }
        return std::string();
    }

    std::string ComputerName() const override {
        wchar_t buffer[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
        return GetComputerNameW(buffer, &size) ? Narrow(buffer, size) : std::string();
    }

    std::uint32_t PackedVersion() const override { return GetVersion(); }

    std::optional<VersionNumbers> ExtendedVersion() const override {
        OSVERSIONINFOW info = {};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExW(&info)) return std::nullopt;
        return VersionNumbers{info.dwMajorVersion, info.dwMinorVersion};
    }

    std::uint32_t DefaultLocaleId() const override { return GetSystemDefaultLCID(); }
    std::uint32_t UserLanguageId() const override { return GetUserDefaultUILanguage(); }

    std::vector<std::string> LogicalDrives() const override {
        std::vector<std::string> roots;
        DWORD needed = GetLogicalDriveStringsW(0, nullptr);
        if (needed == 0) return roots;
        std::vector<wchar_t> buffer(needed + 1);
        DWORD length = GetLogicalDriveStringsW(DWORD(buffer.size()), buffer.data());
        if (length == 0 || length >= buffer.size()) return roots;
        for (const wchar_t* p = buffer.data(); *p; p += wcslen(p) + 1) roots.push_back(Narrow(p));
        return roots;
    }

    DriveType TypeOfDrive(const std::string& root) const override {
        switch (GetDriveTypeW(Wide(root).c_str())) {
            case DRIVE_NO_ROOT_DIR:
                return DriveType::NoRootDir;
            case DRIVE_REMOVABLE:
                return DriveType::Removable;
            case DRIVE_FIXED:
                return DriveType::Fixed;
            case DRIVE_REMOTE:
                return DriveType::Remote;
            case DRIVE_CDROM:
                return DriveType::CdRom;
            case DRIVE_RAMDISK:
                return DriveType::RamDisk;
            default:
                return DriveType::Unknown;
        }
    }

    std::optional<std::uint64_t> FreeBytes(const std::string& root) const override {
        ULARGE_INTEGER available, total, free;
        if (!GetDiskFreeSpaceExW(Wide(root).c_str(), &available, &total, &free))
            return std::nullopt;
        return free.QuadPart;
    }

    std::string ModuleFileName() const override {
        // GetModuleFileName truncates silently and returns the buffer size when it does.
        std::vector<wchar_t> buffer(MAX_PATH + 1);
        for (int attempt = 0; attempt < 6; ++attempt) {
            DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
            if (length == 0) return std::string();
            if (length < buffer.size()) return Narrow(buffer.data(), length);
            buffer.resize(buffer.size() * 4);
        }
        return std::string();
    }

    CalendarTime LocalTime() const override {
        SYSTEMTIME now;
        GetLocalTime(&now);
        return CalendarTime{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                            now.wMinute, now.wSecond, now.wMilliseconds};
    }

    int DisplayDpiY() const override {
        InformationContext context;
        if (!context.dc) return 0;
        return GetDeviceCaps(context.dc, LOGPIXELSY);
    }
};

}  // namespace

const SystemFacts& HostSystemFacts() {
    static Win32SystemFacts facts;
    return facts;
}

}  // namespace vesk
