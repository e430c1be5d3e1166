// The session's stamped temporary names and its records.
#include <gtest/gtest.h>

#include <thread>

#include "session/SetupSession.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

TEST(SetupSessionTest, TemporaryNamesCarryTheRunsStampAndFollowTheInstallFolder) {
    test::FakeSystemFacts facts;
    test::MemoryRegistry registry;
    SetupSession session(facts, registry);
    session.start.startStamp = "2004030514030745";
    EXPECT_EQ(session.TempNameFor("[TempFileDir]\\~VeskInstall-SoftDoc.HTM"),
              "C:\\TEMP\\2004030514030745~VeskInstall-SoftDoc.HTM");
    session.paths.SetInstallDir("D:\\Apps");
    EXPECT_EQ(session.Resolve("[InstallDir]\\a.txt"), "D:\\Apps\\a.txt");
    EXPECT_EQ(session.texts.SystemLanguageId(), "409");
}

TEST(InstallRecordsTest, RecordsFromAnotherThreadAreTakenWholeAndOnlyOnce) {
    InstallRecords records;
    std::thread worker([&records] {
        for (int i = 0; i < 1000; ++i) records.AddInstalledFile("f" + std::to_string(i));
    });
    std::size_t seen = 0;
    while (seen < 1000) seen += records.TakeInstalledFiles().size();
    worker.join();
    EXPECT_EQ(seen, 1000u);
    EXPECT_TRUE(records.InstalledFiles().empty());
}

}  // namespace
}  // namespace vesk
