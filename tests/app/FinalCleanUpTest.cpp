// The final clean-up: temporary files always, the rollback only after an install that failed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FinalCleanUp.h"
#include "platform/PrivateFiles.h"

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

// The clean-up of a run whose temporary folder was made.
struct CleanUpRun {
    SharedFlags flags;
    InstallRecords records;
    RecordingRemoval removal;
    LoggedFolders folders{removal.log};
    RunFolder runFolder{folders};

    CleanUpRun() { runFolder.Create("T:", "~run"); }
    void CleanUp(const std::function<std::string()>& windowsFolder) {
        FinalCleanUp(flags, records, removal, windowsFolder, runFolder);
    }
};

TEST(FinalCleanUpTest, RollbackKeepsFilesUnderTheWindowsOrBdeFolderAnywhereInThePath) {
    struct Case {
        const char* path;
        const char* windows;
        bool kept;
    };
    const Case cases[] = {
        {"C:\\WINDOWS\\System32\\vesk.dll", "C:\\WINDOWS", true},
        {"c:\\windows\\fonts\\vesk.ttf", "C:\\Windows", true},
        {"D:\\Backup\\C:\\Windows\\x", "C:\\WINDOWS", true},  // anywhere, not only at the start
        {"C:\\WINDOWSX\\tool.exe", "C:\\WINDOWS", true},      // a plain text match
        {"C:\\WINNT\\a.dll", "C:\\WINDOWS", false},
        {"C:\\Program Files\\Vesk\\app.exe", "C:\\WINDOWS", false},
        {"C:\\Program Files\\Common Files\\Borland Shared\\BDE\\idapi32.dll", "C:\\WINDOWS", true},
        {"c:\\program files\\common files\\borland shared\\bde\\x.cfg", "C:\\WINDOWS", true},
        {"C:\\Program Files\\Common Files\\Borland Shared\\x.dll", "C:\\WINDOWS", false},
        {"D:\\Program Files\\Common Files\\Borland Shared\\BDE\\x", "C:\\WINDOWS", false},
        {"E:\\Apps\\x.exe", "E:\\WIN", false},
        {"E:\\WIN\\x.exe", "e:\\win", true},
        {"E:\\Apps\\x.exe", "", true},  // Windows folder unknown: nothing can be told apart
        {"", "C:\\WINDOWS", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeptOnRollback(c.path, c.windows), c.kept) << c.path << " / " << c.windows;
    }
}

std::string WindowsFolder() {
    return "C:\\WINDOWS";
}

// For runs with no installed file to judge: the Windows folder must not be asked.
std::string UnaskedWindowsFolder() {
    ADD_FAILURE() << "the Windows folder was asked";
    return "";
}

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
    run.CleanUp(UnaskedWindowsFolder);
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
    run.CleanUp(WindowsFolder);
    EXPECT_TRUE(run.flags.setupFinished);
    EXPECT_EQ(run.removal.log, (std::vector<std::string>{
                                   "delete T:\\1VeskInstall.xml",
                                   "delete T:\\1lang.ini",
                                   "delete C:\\Program Files\\Vesk\\app.exe",
                                   "delete C:\\Program Files\\Vesk\\Data\\a.dat",
                                   "wait 100",
                                   "cd C:\\",
                                   "rmdir C:\\Program Files\\Vesk\\Data",
                                   "rmdir C:\\Program Files\\Vesk",
                                   "remove tree T:\\~run",
                               }));

    // A second run finds nothing left to do.
    run.removal.log.clear();
    run.CleanUp(UnaskedWindowsFolder);
    EXPECT_EQ(run.removal.log, (std::vector<std::string>{"wait 100", "cd C:\\"}));
}

TEST(FinalCleanUpTest, UsersFilesComeBackOnRollbackAndTheirCopiesGoAfterACompletedInstall) {
    struct Case {
        bool installOk;
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
        flags.installOk = c.installOk;
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
        RecordingRemoval removal;
        RunFolder notMade(HostPrivateFiles());
        FinalCleanUp(flags, records, removal, WindowsFolder, notMade);
        EXPECT_EQ(removal.log, c.expected) << c.installOk;
        EXPECT_TRUE(records.KeptFiles().empty());
    }
}

}  // namespace
}  // namespace vesk
