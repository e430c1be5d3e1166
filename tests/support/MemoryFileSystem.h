// An in-memory file system for native tests: Windows paths, names compared without regard to
// ASCII letter case, drive roots that always exist, and files that can be locked.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace vesk::test {

// Orders names as Windows compares them: ASCII letters without regard to case.
struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class MemoryFileSystem : public FileSystem {
public:
    std::map<std::string, std::string, CaseLess> files;  // path -> content
    std::set<std::string, CaseLess> folders;             // drive roots not listed
    std::set<std::string, CaseLess> locked;              // refuse removal, renaming and writing
    std::set<std::string, CaseLess> readOnly;            // refuse removal and writing until cleared
    std::map<std::string, std::uint64_t, CaseLess> times;  // write times; every write a new one
    std::vector<std::string> log;                          // "rmdir X", "cd X", "wait N"
    std::vector<std::string> atRestart;  // removals asked for at restart, "FROM > TO" replacements
    bool refuseRestart = false;          // RemoveAtRestart fails
    bool refuseCurrentFolder = false;    // SetCurrentFolder fails
    std::set<std::string, CaseLess> links;      // names a link holds: CreateAnew refuses them
    std::vector<std::string> guarded;           // folders GuardFolder was given
    mutable int existenceChecks = 0;            // FileExists calls
    std::vector<std::string> protectedFolders;  // folders ProtectFolder was given

    // A file and every folder above it.
    void Put(const std::string& path, const std::string& content);
    void AddFolders(const std::string& path);

    bool RemoveFile(const std::string& path) override;
    bool RenameFile(const std::string& from, const std::string& to) override;
    bool RemoveFolder(const std::string& path) override;
    bool SetCurrentFolder(const std::string& path) override;
    void Pause(int milliseconds) override;
    bool CreateFolder(const std::string& path) override;
    bool FolderExists(const std::string& path) const override;
    bool FileExists(const std::string& path) const override;
    bool DuplicateFile(const std::string& from, const std::string& to) override;
    bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
    std::unique_ptr<NewFile> CreateAnew(const std::string& path, std::string& why) override;
    bool ProtectFolder(const std::string& path) override;
    bool GuardFolder(const std::string& folder) override;
    std::optional<std::string> ReadWholeFile(const std::string& path) const override;
    bool RemoveAtRestart(const std::string& path) override;
    bool ReplaceAtRestart(const std::string& from, const std::string& to) override;
    bool ClearReadOnly(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) const override;
    std::vector<std::string> FilesIn(const std::string& folder) const override;

private:
    // The folder holding `path` exists (a drive root always does).
    bool ParentExists(const std::string& path) const;
    void Written(const std::string& path);

    std::uint64_t clock_ = 0;
};

}  // namespace vesk::test
