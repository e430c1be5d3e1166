// The uninstaller's texts: those of the language file the install kept for it, by key name, with
// the engine's own language file behind them.
#pragma once

#include <cstdint>
#include <string>

#include "project/TextLineList.h"

namespace vesk {

// The keys the uninstaller shows.
enum class UninstallText {
    UnInstallDesc,  // what the uninstall shortcut's name starts with
    UnInstallButtonDesc,
    CloseButtonDesc,
    UnInstallWindowTitle,  // follows the product's name and version in the title bar
    UnInstallWindowSubject,
    UnInstallWindowDesc,
    UnInstallWindowDesc2,
    UnInstallReadyDesc,
    RemoveFileDesc,
    RemoveFolderDesc,
    RemoveRegistryDesc,
    UnInstallComplete,  // follows the product's name and version in the final message
    MessageDesc,        // the caption of a message
};

class UninstallTexts {
public:
    // The section of the engine's own language file for `systemLocaleId`, as a setup would
    // choose it: what stands where the kept file lacks a key, or when there is none.
    explicit UninstallTexts(std::uint32_t systemLocaleId);

    // Takes the kept language file's lines ("key=text", no section header).
    void Keep(const TextLineList& lines) { kept_ = lines; }

    // The kept file's text of the key, else the engine's; "" when neither has it.
    std::string Get(UninstallText key) const;

    // The kept language files to try, in order, below the system folder: the one named after
    // the system's locale (a setup keeps the section it showed under that name), then "409"
    // (the name it keeps any other section under).
    static std::string KeptFileName(std::uint32_t systemLocaleId);
    static constexpr const char* kFallbackFileName = "409.ini";
    // The folder below the system folder that holds them.
    static constexpr const char* kKeptFolder = "\\VeskInstall\\";

private:
    TextLineList kept_;
    TextLineList engine_;
};

}  // namespace vesk
