// Default and project exclude patterns for the source folders.
#include "builder/plan/SourceExcludes.h"

#include <algorithm>

#include "builder/plan/FileKindRules.h"

namespace vesk {

// Version-control folders and the files desktops leave behind.
const char* const SourceExcludes::kDefaultExcludes[6] = {".git",      ".svn", "Thumbs.db",
                                                         ".DS_Store", "*~",   "desktop.ini"};

void SourceExcludes::Load(const Task& folderBinding) {
    patterns_.assign(std::begin(kDefaultExcludes), std::end(kDefaultExcludes));
    keep_.clear();
    for (const SubTask& subtask : folderBinding.SubTasks()) {
        for (const Field& field : subtask.Fields()) {
            if (field.Kind() != FieldKind::File || field.Value().empty()) continue;
            const std::string& pattern = field.Value();
            if (pattern[0] == '!') {
                keep_.push_back(pattern.substr(1));
            } else {
                patterns_.push_back(pattern);
            }
        }
    }
}

std::string SourceExcludes::RuleFor(const std::string& name, const std::string& target) const {
    auto matches = [&](const std::string& pattern) {
        bool whole = pattern.find('\\') != std::string::npos;
        return WildcardMatch(pattern, whole ? target : name);
    };
    for (std::size_t i = 0; i < patterns_.size(); ++i) {
        if (!matches(patterns_[i])) continue;
        if (std::any_of(keep_.begin(), keep_.end(), matches)) return "";
        bool byDefault = i < std::size(kDefaultExcludes);
        return (byDefault ? "left out by default (" : "left out by the pattern \"") + patterns_[i] +
               (byDefault ? ")" : "\" of task 2402");
    }
    return "";
}

}  // namespace vesk
