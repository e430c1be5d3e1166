// The private temporary folder and its files on Windows: an access list for the folder, exclusive
// creation, and handles that deny writing, renaming and deletion while the run needs the files.
#include <windows.h>
// After windows.h, which they need.
#include <ntsecapi.h>
#include <sddl.h>

#include <utility>

#include "platform/AccessWin32.h"
#include "platform/FinalPathWin32.h"
#include "platform/HandleWin32.h"
#include "platform/LongPathWin32.h"
#include "platform/PrivateFiles.h"
#include "platform/WideTextWin32.h"

namespace vesk {
namespace {

// Tries before giving up on finding a free folder name (a clash is all but impossible).
constexpr int kNameAttempts = 16;
constexpr std::size_t kRandomBytes = 8;
constexpr DWORD kReadBlock = 64 * 1024;

// What a file's bytes are compared by after they were written: their count and a 64-bit FNV-1a.
class ByteDigest {
public:
    void Add(const std::uint8_t* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) hash_ = (hash_ ^ data[i]) * kPrime;
        count_ += size;
    }
    bool operator==(const ByteDigest& other) const {
        return hash_ == other.hash_ && count_ == other.count_;
    }

private:
    static constexpr std::uint64_t kPrime = 1099511628211ull;
    std::uint64_t hash_ = 14695981039346656037ull;
    std::uint64_t count_ = 0;
};

// Appends kRandomBytes random bytes in hexadecimal; false when the system gives none.
bool AppendRandomText(std::string& text) {
    unsigned char bytes[kRandomBytes];
    if (!RtlGenRandom(bytes, sizeof bytes)) return false;
    static const char kDigits[] = "0123456789abcdef";
    for (unsigned char byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return true;
}

std::string CurrentFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, folder);
    return length <= MAX_PATH ? Narrow(folder, length) : std::string();
}

bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Removes what the folder holds, then the folder. A link is removed itself (Windows) or left
// (Wine, which would remove what it leads to), never entered: an entry whose final path is not
// inside `root` (the folder's own final path) is never deleted.
bool RemoveTree(const std::string& folder, const std::string& root) {
    bool complete = true;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(LongPath((folder + "\\*")).c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = Narrow(found.cFileName);
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            const DWORD attributes = found.dwFileAttributes;
            const std::string reached = root.empty() ? std::string() : FinalPathOfEntry(path);
            const bool leadsOut = !reached.empty() && !IsInside(reached, root);
            if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
                complete &= IsLink(attributes) || leadsOut
                                ? RemoveDirectoryW(LongPath(path).c_str()) != 0
                                : RemoveTree(path, root);
                continue;
            }
            if (leadsOut) {
                complete = false;
                continue;
            }
            if (attributes & FILE_ATTRIBUTE_READONLY) {
                SetFileAttributesW(LongPath(path).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
            }
            complete &= DeleteFileW(LongPath(path).c_str()) != 0;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(LongPath(folder).c_str()) != 0 && complete;
}

class Win32HeldFile : public HeldFile {
public:
    Win32HeldFile(std::string path, HANDLE writing) : path_(std::move(path)), file_(writing) {}

    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (sealed_ || failed_) return false;
        written_.Add(data, size);
        while (size > 0) {
            const DWORD chunk = size > kReadBlock ? kReadBlock : DWORD(size);
            DWORD done = 0;
            if (!WriteFile(file_.get(), data, chunk, &done, nullptr) || done != chunk) {
                failed_ = true;
                return false;
            }
            data += chunk;
            size -= chunk;
        }
        return true;
    }

    bool Seal() override {
        if (sealed_ || failed_) return false;
        sealed_ = true;
        // The system loader cannot map a file someone holds for writing: the writing handle goes
        // and a reading one that shares reading only takes its place. What the name leads to in
        // between is checked to be a plain file holding exactly the bytes written.
        file_.Reset();
        file_.Reset(CreateFileW(LongPath(path_).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        BY_HANDLE_FILE_INFORMATION information{};
        if (!file_ || !GetFileInformationByHandle(file_.get(), &information) ||
            (information.dwFileAttributes &
             (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
            file_.Reset();
            return false;
        }
        ByteDigest found;
        std::string block(kReadBlock, '\0');
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file_.get(), &block[0], kReadBlock, &got, nullptr)) {
                file_.Reset();
                return false;
            }
            if (got == 0) break;
            found.Add(reinterpret_cast<const std::uint8_t*>(block.data()), got);
        }
        if (!(found == written_)) file_.Reset();
        return bool(file_);
    }

private:
    std::string path_;
    FileHandle file_;
    ByteDigest written_;
    bool sealed_ = false;
    bool failed_ = false;
};

class Win32PrivateFolder : public PrivateFolder {
public:
    Win32PrivateFolder(std::string path, HANDLE hold)
        : PrivateFolder(std::move(path)), hold_(hold) {}

    bool RemoveWithContents() override {
        hold_.Reset();
        // A program started in the folder (the preparatory program) made it current.
        const std::string& path = Path();
        if (IsInside(CurrentFolder(), path)) {
            SetCurrentDirectoryW(Wide(path.substr(0, path.find_last_of('\\') + 1)).c_str());
        }
        return RemoveTree(path, FinalPathOfEntry(path));
    }

private:
    FileHandle hold_;
};

class Win32PrivateFiles : public PrivateFiles {
public:
    std::unique_ptr<PrivateFolder> CreatePrivateFolder(const std::string& parent,
                                                       const std::string& prefix) override {
        const std::string user = CurrentUserSid();
        if (user.empty()) return nullptr;
        // Full access for the user and the administrators, inherited by everything inside, and
        // nothing taken over from the parent folder. An elevated run labels the folder high
        // integrity (inherited too): a process of the same user that is not elevated can then
        // neither add files beside the programs the run starts elevated from it nor change
        // them, though the access list lets the user in.
        std::string rules = "D:P(A;OICI;FA;;;" + user + ")(A;OICI;FA;;;BA)";
        if (RunsElevated()) rules += "S:(ML;OICI;NW;;;HI)";
        LocalMemory<PSECURITY_DESCRIPTOR> descriptor;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
                Wide(rules).c_str(), SDDL_REVISION_1, descriptor.Out(), nullptr)) {
            return nullptr;
        }
        SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
        std::string path = parent + '\\';
        path += prefix;
        const std::size_t named = path.size();
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            path.resize(named);
            if (!AppendRandomText(path)) return nullptr;
            if (!CreateDirectoryW(LongPath(path).c_str(), &attributes)) {
                if (GetLastError() == ERROR_ALREADY_EXISTS) continue;
                return nullptr;
            }
            // Held without delete sharing: the folder cannot be renamed or removed under the run.
            HANDLE hold = CreateFileW(
                LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
            if (hold == INVALID_HANDLE_VALUE) {
                RemoveDirectoryW(LongPath(path).c_str());
                return nullptr;
            }
            return std::make_unique<Win32PrivateFolder>(std::move(path), hold);
        }
        return nullptr;
    }

    std::unique_ptr<HeldFile> CreateNewFile(const std::string& path) override {
        HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return nullptr;
        return std::make_unique<Win32HeldFile>(path, file);
    }
};

}  // namespace

PrivateFiles& HostPrivateFiles() {
    static Win32PrivateFiles files;
    return files;
}

}  // namespace vesk
