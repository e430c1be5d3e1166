// One change a run made to the machine, with what was there before: the unit of the install's
// journal, which a rollback undoes and the uninstall record keeps.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace vesk {

enum class ChangeKind : int {
    FolderCreated,       // `path` did not exist and was made
    FolderRemoved,       // the empty folder `path` was removed
    FileCreated,         // `path` did not exist and was written
    FileReplaced,        // `path` held a file, now kept as `copy` ("" once it is back)
    FileOverwritten,     // `path` held a file that could not be kept and was written over
    FileRemoved,         // the file `path` was taken away, kept as `copy`
    FileAtRestart,       // `path` is in use: the file `copy` takes its place when Windows restarts
    RegistryKeyCreated,  // the key `path` below `root` did not exist and was made
    RegistryValueSet,    // the value `name` of key `path`: `before` (none: absent), now `after`
    RegistryValueDeleted,   // the value `name` of key `path`, which held `before`, was deleted
    RegistryKeyDeleted,     // the key `path`, which held `values` and no subkey, was deleted
    FontAdded,              // the font file `path` went into the system's font table
    FontListed,             // the fonts listing `name`: `before` (none: absent), now `after`
    ComponentRegistered,    // the component `path` was registered by the program `copy`
    ComponentUnregistered,  // the component `path` was unregistered by the program `copy`
    SharedFileCounted,      // the shared-file count of `path`: `before` (none: absent), now `after`
};

// A registry value and its name, as a deleted key held it.
struct NamedRegistryValue {
    std::string name;
    RegistryValue value;
};

struct Change {
    ChangeKind kind = ChangeKind::FileCreated;
    // A file or folder path; a registry key path below `root`, without a leading backslash; a
    // font file; a component.
    std::string path;
    // A registry value's name; a fonts listing's name.
    std::string name;
    // The kept copy of a file; the file waiting for a restart; a registration program.
    std::string copy;
    RegistryRoot root = RegistryRoot::LocalMachine;
    // Registry values, fonts listings (strings) and shared-file counts (numbers).
    std::optional<RegistryValue> before;
    std::optional<RegistryValue> after;
    std::vector<NamedRegistryValue> values;
    // A file as the install left it, so a later setup can tell whether someone changed it.
    std::optional<FileStamp> stamp;
    // The uninstall leaves this change in place (a registry item without IsToDelete, what every
    // install of the engine shares).
    bool keepAtUninstall = false;
    // A key the uninstall removes with everything in it, not only when it is empty (a key-only
    // registry item with IsToDelete).
    bool wholeTree = false;
};

// Whether the change is to a file, a folder, the registry, or something else (fonts,
// components, shared counts).
bool IsFileChange(ChangeKind kind);
bool IsFolderChange(ChangeKind kind);
bool IsRegistryChange(ChangeKind kind);

// What makes two changes changes of one thing (a file's path, a value's key and name, a
// listing's name ...), letter case ignored: "f" + the upper-cased path for any file change.
std::string ChangeIdentity(const Change& change);

// Shorthands for the changes made most often.
Change FileChange(ChangeKind kind, const std::string& path, const std::string& copy = {});
Change FolderChange(ChangeKind kind, const std::string& path);
Change RegistryKeyChange(ChangeKind kind, RegistryRoot root, const std::string& keyPath);
Change RegistryValueChange(ChangeKind kind, RegistryRoot root, const std::string& keyPath,
                           const std::string& name, std::optional<RegistryValue> before,
                           std::optional<RegistryValue> after);

// A string value as the registry stores it (its terminating NUL included), and back (up to the
// first NUL).
RegistryValue StringValue(const std::string& text);
std::string TextOf(const RegistryValue& value);

}  // namespace vesk
