// The walk account read back: what the walk program saw during the install and the removal
// (the lines are described in trial/WalkAccountFormat.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vesk::trial {

// A window the walk met: a wizard page, a message box, or a window of an unattended run.
struct WalkStep {
    std::string kind;     // account::kPage, kMessage or kWindow
    std::string picture;  // the picture's file name in the pictures folder, "" when none
    std::string text;     // the page's name, the message's text, the window's title
};

struct ShortcutReading {
    std::string link;  // as Windows names it
    std::string target;
    std::string arguments;
    std::string folder;
    std::string icon;
    std::string description;
    std::string unreadWhy;  // not empty when the link service could not read it
};

struct WalkAccount {
    std::vector<WalkStep> steps;
    std::string destination;
    bool setupEnded = false;  // an exit code was recorded
    long setupExit = -1;
    std::string uninstallCommand;
    std::string uninstallEntry;
    bool uninstallerEnded = false;
    long uninstallerExit = -1;
    std::vector<ShortcutReading> shortcuts;
    std::vector<std::string> failures;

    // Adds what the account text says; lines of unknown kinds and with too few fields are passed
    // over (the walk may be newer than this reader).
    void Read(std::string_view text);
};

}  // namespace vesk::trial
