// The file phase of the install: every file-list entry written from the payload by its kind,
// with its follow-up, the progress by FileQty, and the write-error question.
#pragma once

#include <string>

#include "container/FileEntry.h"
#include "install/InstallContext.h"
#include "install/UninstallRecord.h"

namespace vesk {

// The progress bar's position after `done` of `total` files: done / total × 100 in double
// precision, truncated; capped at 100. Nothing (-1) when total is 0 or less: the bar stays.
int ProgressPosition(int done, int total);

class FileInstaller {
public:
    FileInstaller(InstallContext& context, UninstallRecord& record)
        : context_(context), record_(record) {}

    // Writes the entries in order, each logged. Ends early, with installOk cleared, when the
    // user stops at the write-error or the Cancel question, gives up a missing volume, or setup
    // is over; the first two failures also set installFailed.
    void Run();

private:
    enum class Step { Next, Stop };
    Step Install(const FileEntry& entry);
    // A file there that cannot be written over (a program has it open) is written beside it
    // and put in its place when Windows next starts; true when that is arranged (the run then
    // needs a restart).
    bool ReplaceAtRestart(const FileEntry& entry);
    // Whether the entry's file is shared with other products: kept after the install and written
    // outside the install folder (the system or Windows folder, common files, fonts).
    bool Shared(const FileEntry& entry) const;
    // Adds the product to the file's count in the system's shared-file list (SharedFiles); the
    // file `existed` before the install.
    void CountShared(const std::string& path, bool existed);
    // The write-error question; true when the user chose to stop.
    bool StopAfterWriteError(const FileEntry& entry);
    void FollowUp(const FileEntry& entry);
    void Count();

    InstallContext& context_;
    UninstallRecord& record_;
    int done_ = 0;
    int total_ = 0;
    int shown_ = 0;  // the bar's position; it starts at 0
};

}  // namespace vesk
