// The install worker on a thread of its own while the user-interface side reads its records and
// runs the final clean-up, as the wizard does when it is closed during an install. Built with
// ThreadSanitizer by scripts/test.sh (build/tsan), where a race on the records fails the run.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "install/FinalCleanUp.h"
#include "install/InstallBench.h"
#include "platform/WorkerThread.h"
#include "support/RecordingFonts.h"

namespace vesk {
namespace {

// Counts every removal; the clean-up's own file system, apart from the worker's.
class CountingRemoval : public FileRemoval {
public:
    std::map<std::string, int> removed;
    std::vector<std::string> folders;
    bool RemoveFile(const std::string& path) override {
        ++removed[path];
        return true;
    }
    bool RenameFile(const std::string&, const std::string&) override { return true; }
    bool RemoveFolder(const std::string& path) override {
        folders.push_back(path);
        return true;
    }
    bool SetCurrentFolder(const std::string&) override { return true; }
    void Pause(int) override {}
    bool CreateFolder(const std::string&) override { return true; }
    bool ClearReadOnly(const std::string&) override { return true; }
    bool RemoveAtRestart(const std::string&) override { return true; }
    bool ReplaceAtRestart(const std::string&, const std::string&) override { return true; }
};

TEST(ConcurrentCleanUpTest, CleanUpDuringTheInstallLosesNoRecordAndStopsTheWorker) {
    constexpr int kFiles = 3000;
    test::InstallBench run;
    for (int i = 0; i < 40; ++i) run.session.folders.Add("[InstallDir]\\d" + std::to_string(i));
    for (int i = 0; i < kFiles; ++i) {
        run.AddFile("[InstallDir]\\d" + std::to_string(i % 40) + "\\f" + std::to_string(i), 'A');
    }
    run.session.records.AddTempFile("C:\\TEMP\\project.xml");

    WorkerThread worker;  // the engine's own thread (a std::thread here)
    ASSERT_TRUE(worker.Start([&run] { run.Run(); }));
    // The user-interface side: watch the records grow, then close the wizard mid-install.
    std::size_t seen = 0;
    while (seen < 200 && !run.session.flags.setupFinished) {
        seen = run.session.records.InstalledFiles().size();
        run.session.records.CreatedFolders();
        run.session.records.KeptFiles();
    }
    CountingRemoval removal;
    test::MemoryRegistry registry;
    test::RecordingFonts fonts;
    test::RecordingProcesses processes;
    UndoServices system{removal, registry, fonts, processes};
    run.session.flags.installOk = false;  // the wizard's Cancel: the clean-up rolls back
    FinalCleanUp(run.session.flags, run.session.records, system, run.session.runFolder);
    worker.Join();
    // What the worker recorded after the first clean-up is there for the next one.
    FinalCleanUp(run.session.flags, run.session.records, system, run.session.runFolder);

    EXPECT_EQ(run.report.log.back(), "ended early") << "the worker saw setupFinished";
    EXPECT_GE(seen, 200u);
    std::size_t installed = 0;
    for (const auto& file : run.files.files) {
        if (file.first.rfind("C:\\Apps\\Demo\\", 0) != 0) continue;
        ++installed;
        EXPECT_EQ(removal.removed[file.first], 1) << file.first << " removed once";
    }
    EXPECT_GE(installed, seen);
    EXPECT_LT(installed, std::size_t(kFiles)) << "the file phase stopped early";
    EXPECT_EQ(removal.removed["C:\\TEMP\\project.xml"], 1);
    EXPECT_TRUE(run.session.records.InstalledFiles().empty());
    EXPECT_TRUE(run.session.records.CreatedFolders().empty());
}

}  // namespace
}  // namespace vesk
