// Resolution of path variables against the system facts, the registry and the install folder.
#include "project/PathResolver.h"

#include "project/OsVersion.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"

namespace vesk {

PathResolver::PathResolver(const SystemFacts& system, Registry& registry, std::string installDir)
    : system_(system), registry_(registry), installDir_(std::move(installDir)) {}

std::string PathResolver::Resolve(const std::string& text) const {
    if (text.empty() || text[0] != '[') return text;
    std::size_t close = text.find(']');
    if (close == std::string::npos) return text;
    const std::string token = text.substr(0, close + 1);
    const std::string tail = text.substr(close + 1);

    switch (PathVariableKindFromToken(token)) {
        case PathVariableKind::ProgramFiles: {
            if (scope_ == InstallScope::User) {
                return InUserFolder(UserFolder::LocalAppData, "\\Programs", tail, text);
            }
            std::string folder = "C:\\Program Files";
            std::string windows = system_.WindowsFolder();
            if (!windows.empty()) folder[0] = windows[0];
            return folder + tail;
        }
        case PathVariableKind::InstallDir: {
            constexpr std::size_t kDriveRootLength = 3;  // "D:\"
            std::string result =
                installDir_.size() == kDriveRootLength ? installDir_.substr(0, 2) : installDir_;
            result += tail;
            if (result.size() < kDriveRootLength) result += '\\';
            return result;
        }
        case PathVariableKind::WindowsDirectory:
            return system_.WindowsFolder() + tail;
        case PathVariableKind::SystemDirectory:
            return system_.SystemFolder() + tail;
        case PathVariableKind::DesktopDirectory: {
            std::optional<std::string> desktop = system_.DesktopFolder();
            return desktop ? *desktop + tail : text;
        }
        case PathVariableKind::AbsoluteDirectory:
            return tail;
        case PathVariableKind::TempFileDir: {
            if (!tempFolder_.empty()) return tempFolder_ + tail;
            std::string temp = system_.TempPath();
            if (!temp.empty() && temp.back() == '\\') temp.pop_back();
            return temp + tail;
        }
        case PathVariableKind::StartMenu:
            if (scope_ == InstallScope::User) {
                return InUserFolder(UserFolder::Programs, "", tail, text);
            }
            return StartMenuFolder() + tail;
        case PathVariableKind::Startup:
            if (scope_ == InstallScope::User) {
                return InUserFolder(UserFolder::Startup, "", tail, text);
            }
            return Resolve(PathVariableToken(PathVariableKind::StartMenu) + "\\" +
                           StartupFolderName() + tail);
        case PathVariableKind::QuickLaunch:
        case PathVariableKind::None:
            return text;
    }
    return text;
}

std::string PathResolver::InUserFolder(UserFolder folder, const std::string& suffix,
                                       const std::string& tail, const std::string& text) const {
    const std::optional<std::string> path = system_.UserFolderPath(folder);
    return path && !path->empty() ? *path + suffix + tail : text;
}

std::string PathResolver::StartMenuFolder() const {
    // Windows 98 and Me keep the Programs folder under the Windows folder; the registry value
    // there may name a per-user profile.
    if (IsWin98OrMe(OsVersionCode(system_))) {
        return system_.WindowsFolder() + "\\Start Menu\\Programs";
    }
    RegistryKey key(registry_, RegistryRoot::LocalMachine);
    key.OpenForReading(kShellFoldersKey);
    return key.ReadString("Common Programs");
}

std::string PathResolver::StartupFolderName() const {
    // The Startup folder's own name is localised; take it from the registered path.
    RegistryKey key(registry_, RegistryRoot::LocalMachine);
    key.Open(kShellFoldersKey, true);
    return FileNameOf(key.ReadString("Common Startup"));
}

std::function<std::string(const std::string&)> PathResolver::Expander() const {
    return [this](const std::string& text) { return Resolve(text); };
}

}  // namespace vesk
