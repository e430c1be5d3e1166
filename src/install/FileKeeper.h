// The install's file changes as the journal needs them: what a file name held before the install
// wrote or removed it, and a copy of a user's file to give back on a rollback.
#pragma once

#include <set>
#include <string>

#include "platform/FileSystem.h"
#include "session/InstallRecords.h"

namespace vesk {

class FileKeeper {
public:
    // `stamp` (the run's time stamp) makes the copies' names unique to the run.
    FileKeeper(FileSystem& files, InstallRecords& records, std::string stamp)
        : files_(files), records_(records), stamp_(std::move(stamp)) {}

    // Called before the install writes `path`, and journals what was there. Nothing there: the
    // file is created (FileCreated). A file there that this run has not written itself is
    // renamed beside it to KeptName (copied there when it cannot be renamed) and journalled as
    // replaced; when neither works, as overwritten, and the install goes on (a rollback then
    // leaves the file as the install wrote it rather than delete what was the user's).
    // In a folder this run made (NoteNewFolder) nothing can be there yet: the file is journalled
    // as created without a look at the disk.
    void BeforeWrite(const std::string& path);
    // Called once the install has written `path`: the journal notes how it left the file.
    void AfterWrite(const std::string& path);
    // Called after the install deleted its own file at `path` by design (a program run, a
    // registry data file applied): the user's earlier file, if one was kept, goes back at once.
    void PutBack(const std::string& path);
    // Takes the file at `path` away. One this run wrote is deleted; any other is renamed to
    // KeptName (copied there and deleted when it cannot be renamed) and journalled as removed,
    // so a rollback gives it back; one that can be neither kept nor deleted stays. True when the
    // file is gone.
    bool Remove(const std::string& path);

    // `folder` did not exist before this run made it.
    void NoteNewFolder(const std::string& folder);
    // Whether the file at `path` lies directly in a folder this run made.
    bool InNewFolder(const std::string& path) const;

    // The name of the copy: the file's own name with the run's stamp appended.
    static std::string KeptName(const std::string& path, const std::string& stamp);

private:
    FileSystem& files_;
    InstallRecords& records_;
    std::string stamp_;
    std::set<std::string> written_;     // upper-cased paths this run has written
    std::set<std::string> newFolders_;  // upper-cased, without a trailing separator
};

}  // namespace vesk
