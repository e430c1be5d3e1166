// The engine's own registry key: what an install leaves there (the uninstaller's version, and
// per product its folder and version) a later setup reads back.
#pragma once

#include <string>

namespace vesk {

// Under HKEY_LOCAL_MACHINE.
constexpr char kEngineKey[] = "\\SOFTWARE\\VeskSoft\\VeskInstall";

// The key of one product below the engine's key; its "Path" and "Version" name the last install.
inline std::string ProductKeyPath(const std::string& projectName) {
    return std::string(kEngineKey) + "\\" + projectName;
}

}  // namespace vesk
