// Exit codes and messages of the uninstaller.
#include "uninstaller/UninstallOutcome.h"

#include "runtime/RuntimeFailure.h"

namespace vesk {

static_assert(kUninstallFailed == kRuntimeFailureExitCode,
              "a program whose runtime cannot go on ends the removal as failed");
namespace {

constexpr char kLineBreak[] = "\r\n";

// Appends an empty line, the heading and the paths, each on a line of its own.
void AppendList(std::string& text, const char* heading, const std::vector<std::string>& paths) {
    text += kLineBreak;
    text += kLineBreak;
    text += heading;
    for (const std::string& path : paths) {
        text += kLineBreak;
        text += path;
    }
}

}  // namespace

int ExitCodeOf(const UninstallResult& result) {
    if (!result.left.empty()) return kUninstallFailed;
    return result.atRestart.empty() ? kUninstallRemoved : kUninstallAtRestart;
}

std::string FinalMessage(const UninstallTexts& texts, const std::string& title,
                         const UninstallResult& result) {
    std::string text = title + texts.Get(UninstallText::UnInstallComplete);
    if (!result.atRestart.empty()) {
        AppendList(text, "These files are in use; they will be removed when Windows restarts:",
                   result.atRestart);
    }
    if (!result.left.empty()) {
        AppendList(text, "These files could not be removed; delete them yourself:", result.left);
    }
    return text;
}

std::string LogProblemMessage(LogState state, const std::string& path) {
    if (state == LogState::Missing) {
        return "The install log " + path +
               " is not there, so nothing was removed. The product may have been removed "
               "already, or its install folder moved.";
    }
    return "The install log " + path +
           " is damaged (it is cut short or names no product), so nothing was removed: only a "
           "whole log says what the install put on this computer.";
}

std::string RecordProblemMessage(const std::string& path, const std::string& title) {
    return "The install log " + path + " is missing or is not the one the install of " + title +
           " wrote, so nothing was removed: the uninstaller removes only what the install "
           "recorded, and that record belongs to a log as it was written.";
}

std::string RemoveEntryQuestion(const std::string& title) {
    return "Remove " + title +
           " from the list of installed programs all the same? Its files and settings stay "
           "where they are.";
}

}  // namespace vesk
