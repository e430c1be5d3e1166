// Reading the walk account line by line.
#include "builder/trial/WalkAccount.h"

#include <cstdlib>

#include "builder/trial/WalkAccountFormat.h"

namespace vesk::trial {
namespace {

std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == account::kSeparator) {
            fields.emplace_back();
        } else if (c == '\\' && i + 1 < line.size()) {
            const char next = line[++i];
            fields.back() += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The exit code a field holds; -1 for one that is not a number.
long ExitCode(const std::string& field) {
    char* end = nullptr;
    const long code = std::strtol(field.c_str(), &end, 10);
    return field.empty() || *end ? -1 : code;
}

}  // namespace

void WalkAccount::Read(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string> f = Fields(line);
        const std::string& kind = f[0];
        const std::size_t n = f.size() - 1;
        if ((kind == account::kPage || kind == account::kMessage || kind == account::kWindow) &&
            n >= 2) {
            steps.push_back({kind, f[1], f[2]});
        } else if (kind == account::kDestination && n >= 1) {
            destination = f[1];
        } else if (kind == account::kSetupExit && n >= 1) {
            setupExit = ExitCode(f[1]);
            setupEnded = setupExit >= 0;
        } else if (kind == account::kUninstall && n >= 2) {
            uninstallCommand = f[1];
            uninstallEntry = f[2];
        } else if (kind == account::kUninstallerExit && n >= 1) {
            uninstallerExit = ExitCode(f[1]);
            uninstallerEnded = uninstallerExit >= 0;
        } else if (kind == account::kLink && n >= 6) {
            shortcuts.push_back({f[1], f[2], f[3], f[4], f[5], f[6], {}});
        } else if (kind == account::kLinkUnread && n >= 2) {
            ShortcutReading unread;
            unread.link = f[1];
            unread.unreadWhy = f[2];
            shortcuts.push_back(std::move(unread));
        } else if (kind == account::kFailure && n >= 1) {
            failures.push_back(f[1]);
        }
    }
}

}  // namespace vesk::trial
