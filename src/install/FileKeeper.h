// Keeps a user's file that the install is about to overwrite, so a rollback can give it back.
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

    // Called before the install writes `path`. A file there that this run has not written
    // itself is renamed beside it to KeptName (copied there when it cannot be renamed) and
    // recorded; when neither works, the install goes on as the file would be overwritten anyway.
    void BeforeWrite(const std::string& path);
    // Called after the install deleted its own file at `path` by design (a program run, a
    // registry data file applied): the user's earlier file, if one was kept, goes back at once.
    void PutBack(const std::string& path);

    // The name of the copy: the file's own name with the run's stamp appended.
    static std::string KeptName(const std::string& path, const std::string& stamp);

private:
    FileSystem& files_;
    InstallRecords& records_;
    std::string stamp_;
    std::set<std::string> written_;  // upper-cased paths this run has written
};

}  // namespace vesk
