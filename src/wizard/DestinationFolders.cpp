// Withdrawing the destination's folders or handing them to the install.
#include "wizard/DestinationFolders.h"

#include "wizard/DestinationCommit.h"

namespace vesk {

void DestinationFolders::Withdraw(FileSystem& files) {
    WithdrawFolders(files, made_);
    made_.clear();
}

void DestinationFolders::HandOver(InstallRecords& records) {
    for (const std::string& folder : made_) records.AddCreatedFolder(folder);
    made_.clear();
}

}  // namespace vesk
