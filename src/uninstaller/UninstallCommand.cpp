// Reading the uninstaller's command line.
#include "uninstaller/UninstallCommand.h"

#include <vector>

namespace vesk {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One word of the line: a quoted text or a run of non-blank characters.
struct Word {
    std::size_t begin = 0;  // first character, the opening quote included
    std::size_t end = 0;    // one past the last, the closing quote included
    bool quoted = false;
    bool closed = true;  // a quoted word found its closing quote
};

std::vector<Word> WordsOf(const std::string& line) {
    std::vector<Word> words;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        if (at == line.size()) break;
        Word word;
        word.begin = at;
        if (line[at] == '"') {
            word.quoted = true;
            const std::size_t close = line.find('"', at + 1);
            word.closed = close != std::string::npos;
            at = word.closed ? close + 1 : line.size();
        } else {
            while (at < line.size() && !IsBlank(line[at])) ++at;
        }
        word.end = at;
        words.push_back(word);
    }
    return words;
}

bool IsSwitch(const std::string& line, const Word& word) {
    return !word.quoted && line[word.begin] == '/';
}

// Takes one switch into `command`; false, with the error set, for one the uninstaller lacks.
bool TakeSwitch(const std::string& text, UninstallCommand& command) {
    if (text == "/S" || text == "/s") {
        command.silent = true;
    } else if (text == "/?") {
        command.help = true;
    } else {
        command.error = "Unknown switch " + text + ".";
        return false;
    }
    return true;
}

}  // namespace

std::string ArgumentsOf(const std::string& commandLine) {
    std::size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        const std::size_t close = commandLine.find('"', 1);
        at = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (at < commandLine.size() && !IsBlank(commandLine[at])) ++at;
    }
    return commandLine.substr(at);
}

UninstallCommand ParseUninstallCommand(const std::string& arguments) {
    UninstallCommand command;
    const std::vector<Word> words = WordsOf(arguments);
    // Known before anything is refused: a refused line with /S must not wait for a click either.
    for (const Word& word : words) {
        const std::string text = arguments.substr(word.begin, word.end - word.begin);
        if (IsSwitch(arguments, word) && (text == "/S" || text == "/s")) command.silent = true;
    }
    std::size_t first = 0, last = words.size();
    // Switches lead or trail; what lies between them is the log path.
    while (first < last && IsSwitch(arguments, words[first])) {
        const Word& word = words[first++];
        if (!TakeSwitch(arguments.substr(word.begin, word.end - word.begin), command)) {
            return command;
        }
    }
    while (last > first && IsSwitch(arguments, words[last - 1])) {
        const Word& word = words[--last];
        if (!TakeSwitch(arguments.substr(word.begin, word.end - word.begin), command)) {
            return command;
        }
    }
    if (first == last) {
        if (!command.help) command.error = "No install log is given.";
        return command;
    }
    const std::string path =
        arguments.substr(words[first].begin, words[last - 1].end - words[first].begin);
    if (last - first == 1 && words[first].quoted) {
        if (!words[first].closed) {
            command.error = "The quote before " + path + " is not closed.";
        } else {
            command.logPath = path.substr(1, path.size() - 2);
        }
    } else if (path.find('"') != std::string::npos) {
        command.error = "Cannot tell the install log from the rest of " + path +
                        ": give the log path alone, in quotes.";
    } else {
        command.logPath = path;
    }
    if (command.error.empty() && command.logPath.empty())
        command.error = "No install log is given.";
    if (!command.error.empty()) command.logPath.clear();
    return command;
}

std::string UninstallUsage() {
    // Paragraphs without line breaks of their own: the message box wraps them.
    return "Vesk-UnInstall.exe [/S] LOG\r\n\r\n"
           "Removes the product whose install log is LOG (the file \"VeskInstall <product>.xml\" "
           "in its install folder), as its entry in the list of installed programs does.\r\n\r\n"
           "/S  removes it without a window or message (a wrong line then writes this text to "
           "the console it was started from). The exit code says how it went: 0 removed, 1 not "
           "removed or not completely (a missing or damaged log, a file that stays), 2 closed "
           "before Uninstall, 3 this text shown (/? or a wrong line), 4 nothing removed because "
           "the log is not the one the install recorded (missing or changed), 3010 removed once "
           "Windows restarts (files in use).\r\n\r\n"
           "/?  shows this text.";
}

}  // namespace vesk
