// The destination's folders: withdrawn by the wizard or handed to the install, never both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MemoryFileSystem.h"
#include "wizard/DestinationCommit.h"
#include "wizard/DestinationFolders.h"

namespace vesk {
namespace {

using Folders = std::vector<std::string>;

TEST(DestinationFoldersTest, AFolderIsWithdrawnOrHandedOverNeverBoth) {
    struct Case {
        const char* name;
        bool handOver;     // the install starts before the wizard ends
        Folders recorded;  // what the install's records then hold
        bool folderStays;  // whether C:\A\B is still there at the end
    };
    const Case cases[] = {
        {"the wizard ends before the install", false, {}, false},
        {"the install starts", true, {"C:\\A", "C:\\A\\B"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::MemoryFileSystem files;
        InstallRecords records;
        DestinationFolders folders;
        folders.Keep(CommitDestination("C:\\A\\B", files).made);
        if (c.handOver) folders.HandOver(records);
        // The wizard's end withdraws what is still kept: after a hand-over, nothing.
        folders.Withdraw(files);
        EXPECT_EQ(records.CreatedFolders(), c.recorded);
        EXPECT_EQ(files.FolderExists("C:\\A\\B"), c.folderStays);
        // A second end finds nothing left to do.
        files.log.clear();
        folders.Withdraw(files);
        folders.HandOver(records);
        EXPECT_TRUE(files.log.empty());
        EXPECT_EQ(records.CreatedFolders(), c.recorded);
    }
}

TEST(DestinationFoldersTest, ACommitAfterAnotherKeepsOnlyItsOwnFolders) {
    // The user goes back and commits another folder: the first commit's folders are withdrawn
    // before the second is kept, and only the second reaches the install.
    test::MemoryFileSystem files;
    InstallRecords records;
    DestinationFolders folders;
    folders.Keep(CommitDestination("C:\\First", files).made);
    folders.Withdraw(files);
    folders.Keep(CommitDestination("C:\\Second", files).made);
    folders.HandOver(records);
    EXPECT_FALSE(files.FolderExists("C:\\First"));
    EXPECT_TRUE(files.FolderExists("C:\\Second"));
    EXPECT_EQ(records.CreatedFolders(), Folders{"C:\\Second"});
}

}  // namespace
}  // namespace vesk
