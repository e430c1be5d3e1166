// The final clean-up: temporary files always, the rollback unless an install completed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/FinalCleanUp.h"
#include "platform/PrivateFiles.h"
#include "support/MemoryRegistry.h"
#include "support/RecordingFonts.h"
#include "support/RecordingProcesses.h"

namespace vesk {
namespace {

// Records every operation in order; folders named in `notEmpty` refuse removal.
class RecordingRemoval : public FileRemoval {
public:
    std::vector<std::string> log;
    std::vector<std::string> notEmpty;

    bool RemoveFile(const std::string& path) override {
        log.push_back("delete " + path);
        return true;
    }
    bool RenameFile(const std::string& from, const std::string& to) override {
        log.push_back("rename " + from + " > " + to);
        return true;
    }
    bool RemoveFolder(const std::string& path) override {
        log.push_back("rmdir " + path);
        for (const std::string& folder : notEmpty) {
            if (folder == path) return false;
        }
        return true;
    }
    bool SetCurrentFolder(const std::string& path) override {
        log.push_back("cd " + path);
        return true;
    }
    void Pause(int milliseconds) override { log.push_back("wait " + std::to_string(milliseconds)); }
    bool CreateFolder(const std::string& path) override {
        log.push_back("mkdir " + path);
        return true;
    }
    bool ClearReadOnly(const std::string&) override { return true; }
    bool RemoveAtRestart(const std::string& path) override {
        log.push_back("at restart delete " + path);
        return true;
    }
    bool ReplaceAtRestart(const std::string& from, const std::string& to) override {
        log.push_back("at restart rename " + from + " > " + to);
        return true;
    }
};

// A run's temporary folder "T:\~run" whose removal goes into the same log.
class LoggedFolders : public PrivateFiles {
public:
    explicit LoggedFolders(std::vector<std::string>& log) : log_(log) {}
    std::unique_ptr<PrivateFolder> CreatePrivateFolder(const std::string& parent,
                                                       const std::string& prefix) override {
        return std::make_unique<Folder>(parent + "\\" + prefix, log_);
    }
    std::unique_ptr<HeldFile> CreateNewFile(const std::string&) override { return nullptr; }

private:
    struct Folder : PrivateFolder {
        Folder(const std::string& path, std::vector<std::string>& log)
            : PrivateFolder(path), log_(log) {}
        bool RemoveWithContents() override {
            log_.push_back("remove tree " + Path());
            return true;
        }
        std::vector<std::string>& log_;
    };
    std::vector<std::string>& log_;
};

// The system as the clean-up reaches it: files logged, the rest in memory.
struct CleanUpSystem {
    RecordingRemoval removal;
    test::MemoryRegistry registry;
    test::RecordingFonts fonts;
    test::RecordingProcesses processes;
    UndoServices services{removal, registry, fonts, processes};
};

// The clean-up of a run whose temporary folder was made.
struct CleanUpRun : CleanUpSystem {
    SharedFlags flags;
    InstallRecords records;
    LoggedFolders folders{removal.log};
    RunFolder runFolder{folders};

    CleanUpRun() { runFolder.Create("T:", "~run"); }
    void CleanUp() { FinalCleanUp(flags, records, services, runFolder); }
};

void FillWithInstall(InstallRecords& records) {
    for (const char* path : {"T:\\1VeskInstall.xml", "T:\\1lang.ini"}) records.AddTempFile(path);
    for (const char* path : {"C:\\Program Files\\Vesk\\app.exe", "C:\\WINDOWS\\vesk.dll",
                             "C:\\Program Files\\Vesk\\Data\\a.dat"}) {
        records.AddInstalledFile(path);
    }
    // In the order made: a parent before its children.
    for (const char* path : {"C:\\Program Files\\Vesk", "C:\\Program Files\\Vesk\\Data"}) {
        records.AddCreatedFolder(path);
    }
}

TEST(FinalCleanUpTest, CompletedInstallLosesOnlyItsTemporaryFiles) {
    CleanUpRun run;
    FillWithInstall(run.records);
    run.flags.installCompleted = true;
    run.CleanUp();
    EXPECT_TRUE(run.flags.setupFinished);
    EXPECT_EQ(run.removal.log,
              (std::vector<std::string>{"delete T:\\1VeskInstall.xml", "delete T:\\1lang.ini",
                                        "remove tree T:\\~run"}));
    EXPECT_EQ(run.records.InstalledFiles().size(), 3u);
    EXPECT_EQ(run.records.CreatedFolders().size(), 2u);
    EXPECT_EQ(run.runFolder.Path(), "");
}

TEST(FinalCleanUpTest, FailedInstallIsRolledBackInOrderAndOnlyOnce) {
    CleanUpRun run;
    FillWithInstall(run.records);
    run.flags.installOk = false;
    run.removal.notEmpty = {"C:\\Program Files\\Vesk"};
    run.CleanUp();
    EXPECT_TRUE(run.flags.setupFinished);
    EXPECT_EQ(run.removal.log, (std::vector<std::string>{
                                   "delete T:\\1VeskInstall.xml",
                                   "delete T:\\1lang.ini",
                                   "delete C:\\Program Files\\Vesk\\app.exe",
                                   // The Windows folder keeps no file the install made.
                                   "delete C:\\WINDOWS\\vesk.dll",
                                   "delete C:\\Program Files\\Vesk\\Data\\a.dat",
                                   "wait 100",
                                   "cd C:\\",
                                   "rmdir C:\\Program Files\\Vesk\\Data",
                                   "rmdir C:\\Program Files\\Vesk",
                                   "remove tree T:\\~run",
                               }));

    // A second run finds nothing left to do.
    run.removal.log.clear();
    run.CleanUp();
    EXPECT_EQ(run.removal.log, (std::vector<std::string>{"wait 100", "cd C:\\"}));
}

TEST(FinalCleanUpTest, UsersFilesComeBackOnRollbackAndTheirCopiesGoAfterACompletedInstall) {
    struct Case {
        bool completed;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {true, {"delete C:\\App\\a.txt.~keep", "delete C:\\WINDOWS\\x.dll.~keep"}},
        {false,
         {"delete C:\\App\\new.txt", "delete C:\\App\\a.txt",
          "rename C:\\App\\a.txt.~keep > C:\\App\\a.txt", "delete C:\\WINDOWS\\x.dll",
          "rename C:\\WINDOWS\\x.dll.~keep > C:\\WINDOWS\\x.dll", "wait 100", "cd C:\\"}},
    };
    for (const Case& c : cases) {
        SharedFlags flags;
        flags.installCompleted = c.completed;
        InstallRecords records;
        // a.txt and x.dll replaced a user's file; run.exe replaced one too, but the install
        // deleted its own run.exe and put the user's back at once.
        for (const char* path :
             {"C:\\App\\a.txt", "C:\\App\\new.txt", "C:\\App\\run.exe", "C:\\WINDOWS\\x.dll"}) {
            records.AddInstalledFile(path);
        }
        records.AddKeptFile("C:\\App\\a.txt", "C:\\App\\a.txt.~keep");
        records.AddKeptFile("C:\\App\\run.exe", "C:\\App\\run.exe.~keep");
        records.AddKeptFile("C:\\WINDOWS\\x.dll", "C:\\WINDOWS\\x.dll.~keep");
        records.MarkPutBack("C:\\App\\run.exe");
        CleanUpSystem system;
        RunFolder notMade(HostPrivateFiles());
        FinalCleanUp(flags, records, system.services, notMade);
        EXPECT_EQ(system.removal.log, c.expected) << c.completed;
        EXPECT_TRUE(records.KeptFiles().empty());
    }
}

}  // namespace
}  // namespace vesk
