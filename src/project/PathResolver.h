// Turns a project path that starts with a path variable into a real folder path, asking the
// system and reading the current install folder on every call.
#pragma once

#include <functional>
#include <string>

#include "platform/Registry.h"
#include "platform/SystemFacts.h"
#include "project/InstallScope.h"
#include "project/PathVariable.h"

namespace vesk {

// The per-machine shell folders, under HKEY_LOCAL_MACHINE.
constexpr char kShellFoldersKey[] =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

class PathResolver {
public:
    PathResolver(const SystemFacts& system, Registry& registry, std::string installDir = {});

    // The destination folder behind "[InstallDir]".
    const std::string& InstallDir() const { return installDir_; }
    void SetInstallDir(const std::string& folder) { installDir_ = folder; }

    // The folder behind "[TempFileDir]": the run's own temporary folder once it is made; until
    // then (empty) the system's temporary folder without its trailing backslash.
    void SetTempFolder(const std::string& folder) { tempFolder_ = folder; }

    // For whom the install is: a user's install resolves "[Program Files]" to the user's
    // programs folder (local application data + "\Programs"), "[Start Menu]" and "[Startup]"
    // to the user's own; Machine (the default) to the machine's.
    InstallScope Scope() const { return scope_; }
    void SetScope(InstallScope scope) { scope_ = scope; }

    const SystemFacts& System() const { return system_; }
    Registry& SystemRegistry() const { return registry_; }

    // The path with its leading token replaced; a text without a leading token, with an
    // unclosed "[", with an unknown token or with "[QuickLaunch]" is returned unchanged, and so
    // is "[Desktop Directory]…" when the shell cannot name the desktop, and a user's folder
    // token when the shell cannot name that folder. Any length.
    std::string Resolve(const std::string& text) const;

    // Resolve as a function object (for ParseFileEntry); it refers to this resolver.
    std::function<std::string(const std::string&)> Expander() const;

private:
    // text with its token replaced by the user's `folder`; unchanged when the shell cannot
    // name it.
    std::string InUserFolder(UserFolder folder, const std::string& suffix, const std::string& tail,
                             const std::string& text) const;
    std::string StartMenuFolder() const;
    std::string StartupFolderName() const;

    const SystemFacts& system_;
    Registry& registry_;
    std::string installDir_;
    std::string tempFolder_;
    InstallScope scope_ = InstallScope::Machine;
};

}  // namespace vesk
