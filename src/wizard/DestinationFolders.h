// The folders the destination page's commit made, between the commit and the install.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "session/InstallRecords.h"

namespace vesk {

// Held by the wizard for the destination page, which fills it, and the progress page, which
// hands it to the install. A folder is either withdrawn by the wizard or handed over to the
// install's records (whose rollback removes it), never both.
class DestinationFolders {
public:
    // The folders a commit made, top first; those kept before must have been withdrawn.
    void Keep(std::vector<std::string> made) { made_ = std::move(made); }
    // The user commits another folder, or the wizard ends before the install: the folders kept
    // go again where nothing has been put into them (WithdrawFolders), and are forgotten.
    void Withdraw(FileSystem& files);
    // The install starts: every folder kept becomes a folder the install created, and none is
    // withdrawn any more.
    void HandOver(InstallRecords& records);

private:
    std::vector<std::string> made_;
};

}  // namespace vesk
