// For whom a setup installs: every user of the machine (the default, with administrator rights)
// or the current user alone (no elevation: the user's own folders and HKEY_CURRENT_USER).
#pragma once

#include <optional>
#include <string>

#include "platform/Registry.h"

namespace vesk {

class InstallProject;

enum class InstallScope { Machine, User };

// "machine" or "user".
const char* InstallScopeName(InstallScope scope);
// The scope named in any letter case; nullopt for any other text (an empty one included).
std::optional<InstallScope> InstallScopeFromName(const std::string& name);

// The project's InstallScope (task 2401); absent, empty or unknown: Machine.
InstallScope ReadInstallScope(const InstallProject& project);

// Where the engine's own keys of an install lie (the uninstall entry, the engine's key, the
// product's key): HKEY_LOCAL_MACHINE for the machine, HKEY_CURRENT_USER for a user.
RegistryRoot EngineRoot(InstallScope scope);

// The folder that holds what every product of a scope shares (the uninstaller's language files,
// the products' records; a user's uninstaller too), as a path with a token: below the system
// folder for the machine, below the user's programs folder for a user, who can write there.
const char* EngineFolder(InstallScope scope);
// The products' records, in the engine's folder.
std::string RecordsFolderOf(InstallScope scope);
// The uninstaller: in the Windows folder for the machine, in the engine's folder for a user.
std::string UninstallerPathOf(InstallScope scope);

}  // namespace vesk
