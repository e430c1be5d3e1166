// Finds the product's files: every file and folder below the source folders of task 2402.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "builder/plan/InputFile.h"
#include "builder/plan/SourceExcludes.h"
#include "platform/CalendarTime.h"
#include "project/Task.h"

namespace vesk {

// A PathDesc/PathValue pair: a target folder ("[InstallDir]\Help") and the builder-side folder
// whose content it receives.
struct SourceBinding {
    std::string target;
    std::string source;    // as the project writes it
    std::string hostPath;  // resolved against the project's folder
};

struct SourceFile {
    std::string hostPath;
    // The file to read: hostPath, or for a link inside the source folder the file it leads to.
    // Read without following a link at its end, and only while it is still `identity`.
    std::string readPath;
    FileIdentity identity;
    std::string target;  // binding target + the relative path, backslash-separated
    std::uint64_t size = 0;
    CalendarTime time;  // last-write time, local
};

class SourceScanner {
public:
    // Reads the pairs of task 2402 (every GetAllVar subtask, in order) and lists what lies below
    // each source folder: files of a folder before its subfolders, names in byte order, so the
    // same tree always gives the same list. False (see LastError) for a pair without its other
    // half, a missing source folder, a name a target path cannot hold, two files with one target,
    // a file that cannot be read or is 2 GiB or larger, a link that leads nowhere.
    //
    // Symbolic links: a link to a file inside the source folder is packed as that file; a link
    // to a folder is not followed (a folder inside is packed under its own name), nor is a link
    // that leads out of the source folder; both are left out with a warning naming the link. So
    // nothing outside the source folder gets in, and the scan visits every real folder once.
    bool Scan(const Task& folderBinding, const std::string& baseDir);

    const std::vector<SourceBinding>& Bindings() const { return bindings_; }
    const std::vector<SourceFile>& Files() const { return files_; }
    // Folders to create, parents first: each bound target folder (a bare system token such as
    // "[Windows Directory]" excepted, those exist) and the target of every source subfolder.
    const std::vector<std::string>& Folders() const { return folders_; }
    // What was left out, in scan order, and the links that were not followed.
    const std::vector<ExcludedSource>& Excluded() const { return excluded_; }
    const std::vector<std::string>& Warnings() const { return warnings_; }
    const std::string& LastError() const { return error_; }

private:
    bool Fail(std::string message);
    bool ReadBindings(const Task& folderBinding, const std::string& baseDir);
    bool Walk(const std::string& hostDir, const std::string& targetDir, const std::string& root);
    // Whether the link `hostPath` is a file inside the source folder (`resolved` then names it);
    // false with `why` for the warning when it is left out, or with the error set.
    bool FollowLink(const std::string& hostPath, const std::string& root, std::string& resolved,
                    std::string& why);
    bool AddFile(const std::string& hostPath, const std::string& readPath,
                 const std::string& target);
    bool AddFolder(const std::string& target);

    std::vector<SourceBinding> bindings_;
    std::vector<SourceFile> files_;
    std::vector<std::string> folders_;
    std::set<std::string> folderKeys_;
    std::map<std::string, std::string> fileKeys_;  // target key -> host path
    SourceExcludes excludes_;
    std::vector<ExcludedSource> excluded_;
    std::vector<std::string> warnings_;
    std::string error_;
};

}  // namespace vesk
