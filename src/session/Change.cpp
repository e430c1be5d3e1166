// Kinds of change and the shorthands that make them.
#include "session/Change.h"

#include <utility>

#include "project/NameCase.h"

namespace vesk {

bool IsFileChange(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::FileCreated:
        case ChangeKind::FileReplaced:
        case ChangeKind::FileOverwritten:
        case ChangeKind::FileRemoved:
        case ChangeKind::FileAtRestart:
            return true;
        default:
            return false;
    }
}

bool IsFolderChange(ChangeKind kind) {
    return kind == ChangeKind::FolderCreated || kind == ChangeKind::FolderRemoved;
}

bool IsRegistryChange(ChangeKind kind) {
    switch (kind) {
        case ChangeKind::RegistryKeyCreated:
        case ChangeKind::RegistryValueSet:
        case ChangeKind::RegistryValueDeleted:
        case ChangeKind::RegistryKeyDeleted:
            return true;
        default:
            return false;
    }
}

std::string ChangeIdentity(const Change& change) {
    switch (change.kind) {
        case ChangeKind::FolderCreated:
        case ChangeKind::FolderRemoved:
            return "d" + UpperName(change.path);
        case ChangeKind::FileCreated:
        case ChangeKind::FileReplaced:
        case ChangeKind::FileOverwritten:
        case ChangeKind::FileRemoved:
        case ChangeKind::FileAtRestart:
            return "f" + UpperName(change.path);
        case ChangeKind::RegistryKeyCreated:
        case ChangeKind::RegistryKeyDeleted:
            return "k" + std::to_string(int(change.root)) + UpperName(change.path);
        case ChangeKind::RegistryValueSet:
        case ChangeKind::RegistryValueDeleted:
            return "v" + std::to_string(int(change.root)) + UpperName(change.path) + "\\" +
                   UpperName(change.name);
        case ChangeKind::FontAdded:
            return "t" + UpperName(change.path);
        case ChangeKind::FontListed:
            return "l" + UpperName(change.name);
        case ChangeKind::ComponentRegistered:
        case ChangeKind::ComponentUnregistered:
            return "c" + UpperName(change.path);
        case ChangeKind::SharedFileCounted:
            return "s" + UpperName(change.name);
    }
    return std::string();
}

Change FileChange(ChangeKind kind, const std::string& path, const std::string& copy) {
    Change change;
    change.kind = kind;
    change.path = path;
    change.copy = copy;
    return change;
}

Change FolderChange(ChangeKind kind, const std::string& path) {
    Change change;
    change.kind = kind;
    change.path = path;
    return change;
}

Change RegistryKeyChange(ChangeKind kind, RegistryRoot root, const std::string& keyPath) {
    Change change;
    change.kind = kind;
    change.root = root;
    change.path = keyPath;
    return change;
}

Change RegistryValueChange(ChangeKind kind, RegistryRoot root, const std::string& keyPath,
                           const std::string& name, std::optional<RegistryValue> before,
                           std::optional<RegistryValue> after) {
    Change change = RegistryKeyChange(kind, root, keyPath);
    change.name = name;
    change.before = std::move(before);
    change.after = std::move(after);
    return change;
}

RegistryValue StringValue(const std::string& text) {
    return RegistryValue{kRegistryString, text + '\0'};
}

std::string TextOf(const RegistryValue& value) {
    return value.data.substr(0, value.data.find('\0'));
}

}  // namespace vesk
