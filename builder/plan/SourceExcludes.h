// Which files and folders below a source folder stay out of the setup.
#pragma once

#include <string>
#include <vector>

#include "project/Task.h"

namespace vesk {

// A file or folder below a source folder that the setup does not get, and why.
struct ExcludedSource {
    std::string hostPath;
    std::string reason;
};

// What a scan leaves out. A name matching one of kDefaultExcludes, or a pattern of the project
// (task 2402, one File per pattern: "*.log" is matched against every file and folder name,
// "[InstallDir]\docs\drafts" with a backslash against the whole target path; '*' and '?' as in
// task 2408, letter case ignored), is left out, a folder with everything in
// it. A pattern "!NAME" takes names back that the defaults or other patterns leave out.
class SourceExcludes {
public:
    static const char* const kDefaultExcludes[6];

    void Load(const Task& folderBinding);
    // The rule that leaves out the file or folder `name` whose target is `target`, or "".
    std::string RuleFor(const std::string& name, const std::string& target) const;

private:
    std::vector<std::string> patterns_, keep_;
};

}  // namespace vesk
