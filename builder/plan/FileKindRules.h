// Which kind each product file gets: N for the compression exclusions of task 2408, and the
// kinds a project writes for particular files in task 2412.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "container/FileKind.h"
#include "project/Task.h"

namespace vesk {

// One mark of task 2412 as a project writes it: "target,,,KIND,time".
struct KindMark {
    std::string target;
    FileKind kind = FileKind::Ordinary;
    std::string timeText;  // canonical; empty: the file's own time
};

// Reads a mark; false with the reason (without the task or the entry) when the text is not one.
bool ReadKindMark(const std::string& text, KindMark& mark, std::string& why);

// Task 2408 holds patterns, one per File value of its GetValue subtasks: "*.zip" (no backslash)
// is matched against the file name, "[InstallDir]\media\*" (with a backslash) against the whole
// target path; '*' stands for any run of characters, backslashes included, '?' for one; letter
// case is ignored. A matching file is stored raw (kind N).
//
// Task 2412's FileList may name files of the sources with the entry form the builder writes,
// offset and size left empty: "[InstallDir]\setup\prepare.exe,,,L," marks a program run during
// the install, "[TempFileDir]\settings.reg,,,R," a registry data file, N or A force raw or
// compressed storage. A time in the last part ("2004-3-5 14:3:7") replaces the file's own.
class FileKindRules {
public:
    // False (see LastError) for a mark that is not in that form or has another letter.
    bool Load(const Task& exclusions, const Task& extractFiles);

    // The mark's kind, else N when a pattern matches, else A. Counts the mark as used.
    FileKind KindFor(const std::string& target);
    // The time a mark gives the file; empty when it gives none.
    std::string TimeFor(const std::string& target) const;
    // False (with the message) when a mark named a file that no source folder holds; `entry`,
    // when given, receives the mark's text as the project writes it.
    bool CheckMarksUsed(std::string& error, std::string* entry = nullptr) const;

    const std::vector<std::string>& Patterns() const { return patterns_; }
    const std::string& LastError() const { return error_; }

private:
    struct Mark : KindMark {
        std::string entry;  // as written
        bool used = false;
    };

    std::vector<std::string> patterns_;
    std::vector<Mark> marks_;
    std::map<std::string, std::size_t> markIndex_;  // target key -> mark
    std::string error_;
};

// Matches `text` against a pattern of '*' and '?' (letter case ignored).
bool WildcardMatch(const std::string& pattern, const std::string& text);

// Reads "year-month-day hour:minute:second" with the fields in range; false otherwise.
bool ReadMarkTime(const std::string& text, std::string& canonical);

}  // namespace vesk
