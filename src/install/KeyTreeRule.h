// Which registry keys may be removed with everything in them. The system's own trees (the roots,
// SOFTWARE, the classes, the run keys, SYSTEM ...) never go whole, whatever a record or a log
// says: at most the keys an install made below them.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace vesk {

// Whether the key at `keyPath` (below `root`, backslashes, any letter case) may be removed with
// every key and value in it. False for a root and the keys right below it, for the keys of the
// system's rule table and the keys above them (and, for the trees the table keeps whole such as
// SYSTEM or the run keys, the keys below them), for the engine's records (uninstall entries,
// shell folders, fonts, the engine's key), and for anything below HKEY_CURRENT_CONFIG. The
// classes root counts as HKEY_LOCAL_MACHINE\SOFTWARE\Classes, a user's hive below
// HKEY_USERS as HKEY_CURRENT_USER, and Wow6432Node as the key it mirrors.
bool MayRemoveTree(RegistryRoot root, const std::string& keyPath);

}  // namespace vesk
