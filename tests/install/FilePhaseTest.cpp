// The file phase: every kind with its follow-up, the uninstaller's version rule, write errors,
// a missing volume, and the progress by FileQty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/SetupExitCode.h"
#include "install/FileInstaller.h"
#include "install/InstallBench.h"
#include "install/Rollback.h"
#include "project/TaskSlots.h"
#include "support/RecordingFonts.h"

namespace vesk {
namespace {

using test::InstallBench;

std::vector<std::string> Progress(const std::vector<std::string>& log) {
    std::vector<std::string> positions;
    for (const std::string& line : log) {
        if (!line.empty() && line.back() == '%') positions.push_back(line);
    }
    return positions;
}

TEST(FilePhaseTest, EveryKindIsWrittenRecordedAndFollowedUp) {
    InstallBench run;
    run.session.folders.Add("[InstallDir]");
    run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::FileQty, "6");
    run.AddFile("[TempFileDir]\\~VeskInstall-Header.bmp", 'K');
    run.AddFile("[InstallDir]\\app.exe", 'A');
    run.AddFile("[InstallDir]\\setup helper.exe", 'L');
    run.AddFile("[InstallDir]\\photo.png", 'N');
    run.AddFile("[InstallDir]\\settings.reg", 'R');
    run.AddFile("[Windows Directory]\\Vesk-UnInstall.exe", 'U');
    run.AddFile("[InstallDir]\\notes.txt", 'x');
    run.Run();

    // Every file written is journalled, the uninstaller and its language file too: a rollback
    // takes away what was not there before.
    EXPECT_EQ(run.ProductFiles(),
              (std::vector<std::string>{
                  "C:\\Apps\\Demo\\app.exe", "C:\\Apps\\Demo\\setup helper.exe",
                  "C:\\Apps\\Demo\\photo.png", "C:\\Apps\\Demo\\settings.reg",
                  "C:\\WINDOWS\\Vesk-UnInstall.exe", "C:\\WINDOWS\\System32\\VeskInstall\\409.ini",
                  "C:\\Apps\\Demo\\notes.txt"}));
    EXPECT_EQ(Progress(run.report.log),
              (std::vector<std::string>{"16%", "33%", "50%", "66%", "83%", "100%", "100%"}));
    EXPECT_FALSE(run.files.FileExists("C:\\TEMP\\~VeskInstall-Header.bmp"));
    // L is run, quoted, in its folder and then deleted; R is applied and deleted.
    ASSERT_EQ(run.processes.calls.size(), 1u);
    const test::RecordingProcesses::Call& call = run.processes.calls[0];
    EXPECT_EQ(call.kind, test::RecordingProcesses::Kind::RunAndWait);
    EXPECT_EQ(call.commandLine, "\"C:\\Apps\\Demo\\setup helper.exe\"");
    EXPECT_EQ(call.folder, "C:\\Apps\\Demo");
    EXPECT_EQ(run.operations, (std::vector<std::string>{"reg-data C:\\Apps\\Demo\\settings.reg"}));
    for (const char* name : {"app.exe", "photo.png", "notes.txt"}) {
        EXPECT_TRUE(run.files.FileExists(std::string("C:\\Apps\\Demo\\") + name)) << name;
    }
    for (const char* name : {"setup helper.exe", "settings.reg"}) {
        EXPECT_FALSE(run.files.FileExists(std::string("C:\\Apps\\Demo\\") + name)) << name;
    }
    // U: written, its language file and version kept.
    EXPECT_TRUE(run.files.FileExists("C:\\WINDOWS\\Vesk-UnInstall.exe"));
    EXPECT_EQ(run.files.files["C:\\WINDOWS\\System32\\VeskInstall\\409.ini"],
              "\xEF\xBB\xBF" + run.session.texts.Lines().Join());  // UTF-8, marked
    EXPECT_EQ(run.registry.StringValue(RegistryRoot::LocalMachine,
                                       "SOFTWARE\\VeskSoft\\VeskInstall", "LastVersion"),
              "5.05");
    EXPECT_EQ(run.extractor.timed.size(), 6u);
    EXPECT_EQ(run.report.log.back(), "completed");
    // One 3 ms pause after every entry, K included.
    EXPECT_EQ(std::count(run.pauses.begin(), run.pauses.end(), InstallWorker::kItemPauseMs), 8);
}

TEST(FilePhaseTest, ANewerUninstallerIsCountedButNeitherWrittenNorFollowedUp) {
    struct Case {
        const char* recorded;  // LastVersion before the install; nullptr: none
        bool written;
    };
    const Case cases[] = {{nullptr, true}, {"", true},   {"5.05", true}, {"5.0", true},
                          {"5.1", false},  {"6", false}, {"junk", true}};
    for (const Case& c : cases) {
        InstallBench run;
        if (c.recorded) {
            run.registry.PutString(RegistryRoot::LocalMachine, "SOFTWARE\\VeskSoft\\VeskInstall",
                                   "LastVersion", c.recorded);
        }
        run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::FileQty, "1");
        run.AddFile("[Windows Directory]\\Vesk-UnInstall.exe", 'U');
        run.Run();
        EXPECT_EQ(run.files.FileExists("C:\\WINDOWS\\Vesk-UnInstall.exe"), c.written) << c.recorded;
        EXPECT_EQ(run.files.FileExists("C:\\WINDOWS\\System32\\VeskInstall\\409.ini"), c.written);
        EXPECT_EQ(Progress(run.report.log), (std::vector<std::string>{"100%", "100%"}));
        EXPECT_EQ(run.report.log.back(), "completed");
    }
}

TEST(FilePhaseTest, AWriteErrorAsksAndYesEndsTheInstallWhileNoCarriesOn) {
    struct Case {
        const char* target;
        char kind;
        bool asked;
        bool answer;
    };
    // C:\Gone does not exist, so nothing can be written there.
    const Case cases[] = {
        {"C:\\Gone\\a.txt", 'A', true, false},
        {"C:\\Gone\\a.txt", 'A', true, true},
        {"C:\\Gone\\sqlUniRL.dll", 'A', false, false},
        {"C:\\Gone\\SQLUNIRL.DLL", 'N', true, true},
        {"C:\\Gone\\my-sqlunirl.dll.bak", 'L', false, false},
    };
    for (const Case& c : cases) {
        InstallBench run;
        run.AddFile(std::string("[Absolute Directory]") + c.target, c.kind);
        run.AddFile("[Windows Directory]\\after.txt", 'A');
        if (c.asked) run.report.answers = {c.answer};
        run.Run();
        const std::string question = std::string("? Message: Cannot write ") + c.target + ". Stop?";
        EXPECT_EQ(std::count(run.report.log.begin(), run.report.log.end(), question),
                  c.asked ? 1 : 0)
            << c.target;
        const bool stopped = c.asked && c.answer;
        EXPECT_EQ(run.report.log.back(), stopped ? "ended early" : "completed") << c.target;
        EXPECT_TRUE(run.session.flags.setupFinished);  // by Yes, or by the completed end
        EXPECT_EQ(run.session.flags.installOk, !stopped);
        // Carrying on treats the entry as written: timed, counted, followed by the next one.
        EXPECT_EQ(run.extractor.timed.size(), stopped ? 0u : 2u) << c.target;
        EXPECT_EQ(run.files.FileExists("C:\\WINDOWS\\after.txt"), !stopped);
        EXPECT_EQ(run.session.records.InstalledFiles().front(), c.target);
    }
}

TEST(FilePhaseTest, AVolumeTheUserGivesUpEndsTheInstallWithoutAQuestion) {
    InstallBench run;
    run.AddFile("[Windows Directory]\\first.txt", 'A');
    run.AddFile("[Windows Directory]\\second.txt", 'A');
    run.AddFile("[Windows Directory]\\third.txt", 'A');
    run.extractor.giveUp = "C:\\WINDOWS\\second.txt";
    run.Run();
    EXPECT_EQ(run.LogFrom("Files"), (std::vector<std::string>{"Files", "ended early"}));
    EXPECT_FALSE(run.session.flags.installOk);
    EXPECT_FALSE(run.files.FileExists("C:\\WINDOWS\\third.txt"));
    EXPECT_EQ(run.session.records.InstalledFiles().size(), 2u);
}

// A file a program holds open is replaced when Windows restarts; one the install needs now, or
// one the system will not replace later, is a write error as before.
TEST(FilePhaseTest, AFileInUseIsReplacedAtTheRestart) {
    struct Case {
        const char* what;
        char kind;
        bool refuseRestart;
        bool atRestart;  // replaced at the restart, no question
    };
    const Case cases[] = {
        {"a product file", 'A', false, true},
        {"a program to run now", 'L', false, false},
        {"a restart the system refuses", 'A', true, false},
    };
    const std::string target = "C:\\Apps\\Demo\\app.exe";
    for (const Case& c : cases) {
        InstallBench run;
        run.files.Put(target, "the running program");
        run.files.locked.insert(target);
        run.files.refuseRestart = c.refuseRestart;
        run.AddFile("[InstallDir]\\app.exe", c.kind);
        if (!c.atRestart) run.report.answers = {true};
        run.Run();
        EXPECT_EQ(run.report.log.back(), c.atRestart ? "completed" : "ended early") << c.what;
        EXPECT_EQ(run.session.flags.restartNeeded.load(), c.atRestart) << c.what;
        const std::string waiting = target + ".~VeskNew20040305140307045";
        EXPECT_EQ(run.files.atRestart, c.atRestart
                                           ? std::vector<std::string>{waiting + " > " + target}
                                           : std::vector<std::string>())
            << c.what;
        EXPECT_EQ(run.files.FileExists(waiting), c.atRestart) << c.what;
        if (c.atRestart) {
            EXPECT_EQ(InstallExitCode(run.session.flags, false), kSetupRestartRequired);
            // A rollback leaves nothing for the restart to put in place.
            test::RecordingFonts fonts;
            UndoServices system{run.files, run.registry, fonts, run.processes};
            RollBack(run.session.records.TakeChanges(), system);
            EXPECT_FALSE(run.files.FileExists(waiting));
            EXPECT_EQ(run.files.files[target], "the running program");
        }
    }
}

TEST(FilePhaseTest, ProgressIsDoneOverFileQtyTruncatedAndNeverDividesByZero) {
    struct Case {
        int done, total, position;
    };
    const Case cases[] = {{1, 3, 33}, {2, 3, 66},  {3, 3, 100}, {29, 100, 28},  // (29/100)*100
                          {0, 5, 0},  {9, 7, 100}, {1, 0, -1},  {1, -4, -1}};
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressPosition(c.done, c.total), c.position) << c.done << "/" << c.total;
    }
    for (const char* fileQty : {"0", "", "none"}) {
        InstallBench run;
        run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::FileQty, fileQty);
        run.AddFile("[Windows Directory]\\a.txt", 'A');
        run.Run();
        EXPECT_EQ(Progress(run.report.log), (std::vector<std::string>{"100%"})) << fileQty;
    }
    // The bar moves only when its position changes: 0.5 %, 1 %, 1.5 % of 200 files.
    InstallBench run;
    run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::FileQty, "200");
    for (const char* name : {"a", "b", "c"})
        run.AddFile(std::string("[Windows Directory]\\") + name, 'A');
    run.Run();
    EXPECT_EQ(Progress(run.report.log), (std::vector<std::string>{"1%", "100%"}));
}

}  // namespace
}  // namespace vesk
