// The folders kept free of links (FileSystem::GuardFolder): which paths they cover, the folders
// on the way to a path checked and held, and entries checked to be what their names say.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "platform/HandleWin32.h"
#include "platform/Lock.h"

namespace vesk {

class LinkGuard {
public:
    // Guards `folder` as it is found; false when it cannot be opened.
    bool Guard(const std::string& folder);
    void Release();

    // Whether `path` lies below a guarded folder (after "." and ".." are resolved).
    bool Covers(const std::string& path) const;
    // Checks that every folder on the way to `path` below its guarded folder is a folder of its
    // own that lies where its name says, and holds each, so none can be renamed or swapped for
    // a link. True for a path no guarded folder covers. Otherwise `why` says what is in the way.
    bool CheckWay(const std::string& path, std::string& why);
    // Checks and holds the folder at `path` itself (one just made).
    bool HoldFolder(const std::string& path, std::string& why);
    // Lets go of a held folder, so it can be removed.
    void LetGo(const std::string& path);
    // The final path of the folder at `path` when the guard holds it (a held folder can be
    // neither renamed nor swapped, so its final path stays what the check found); empty
    // otherwise.
    std::string HeldFinalPath(const std::string& path) const;

private:
    struct Root {
        std::string path;   // full path, as guarded
        std::string final;  // its final path
    };
    // The guarded folder covering the full path `full`, or nullptr.
    const Root* RootOf(const std::string& full) const;
    bool Hold(const std::string& folder, const std::string& expected, std::string& why);

    mutable Lock lock_;
    std::vector<Root> roots_;
    std::vector<FileHandle> rootHolds_;
    std::map<std::string, FileHandle> held_;  // by upper-cased full path
};

// The full path of `path`, "." and ".." resolved and separators made backslashes; `path` itself
// when the system cannot make one.
std::string FullPath(const std::string& path);

// What the entry at `path` is, seen through a handle of its own (a link is never followed on
// Windows; under Wine its target is compared with where the name says it lies). `folderFinal`,
// when known (LinkGuard::HeldFinalPath), is the final path of the entry's folder.
enum class EntryKind { Missing, File, Folder, Link };
EntryKind KindOfEntry(HANDLE entry, const std::string& path,
                      const std::string& folderFinal = std::string());

}  // namespace vesk
