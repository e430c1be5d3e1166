// An install and the clean-up after it over one file system: a rolled-back install gives back
// the user's files and folders as they were; a completed one leaves no copies behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "install/FinalCleanUp.h"
#include "install/InstallBench.h"
#include "install/WholeProduct.h"
#include "project/TaskSlots.h"
#include "support/RecordingFonts.h"

namespace vesk {
namespace {

using test::InstallBench;

// The user had C:\Apps\Demo with a settings file, a helper program and a desktop link of the
// product's name; the install writes over all three and adds files and a folder of its own.
void UsersMachine(InstallBench& run) {
    run.files.Put("C:\\Apps\\Demo\\settings.ini", "the user's settings");
    run.files.Put("C:\\Apps\\Demo\\tool.exe", "the user's tool");
    run.files.Put("C:\\Documents and Settings\\Ann\\Desktop\\Demo.Lnk", "the user's link");
    run.session.programFolder = "Demo";
    for (const char* folder : {"[InstallDir]", "[InstallDir]\\data\\cache"}) {
        run.session.folders.Add(folder);
    }
    run.AddFile("[InstallDir]\\settings.ini", 'A');
    run.AddFile("[InstallDir]\\tool.exe", 'L');
    run.AddFile("[InstallDir]\\data\\cache\\a.bin", 'N');
    run.AddFile("[Windows Directory]\\Fonts\\demo.ttf", 'A');
    SubTask link("10002", SubTaskType::CreateShortcutMenu);
    link.Add(FieldKind::Description, "Demo")
        .Add(FieldKind::Folder, "[InstallDir]")
        .Add(FieldKind::File, "settings.ini")
        .Add(FieldKind::IsToDesktop, "1");
    run.AddSubTask(kSlotShortcuts, link);
}

void CleanUp(InstallBench& run, test::RecordingFonts& fonts) {
    UndoServices system{run.files, run.registry, fonts, run.processes};
    FinalCleanUp(run.session.flags, run.session.records, system, run.session.runFolder);
}

void CleanUp(InstallBench& run) {
    test::RecordingFonts fonts;
    CleanUp(run, fonts);
}

// The files, the engine's records of installed products aside.
std::string Files(const InstallBench& run) {
    std::string listing;
    for (const auto& file : run.files.files) {
        if (file.first.find("\\VeskInstall\\Records\\") != std::string::npos) continue;
        listing += file.first + "=" + file.second + "\n";
    }
    return listing;
}

TEST(RollbackTest, AnInstallEndedEarlyGivesBackTheUsersFilesAndFolders) {
    struct Case {
        const char* stopAt;  // the status at which Cancel is pressed and answered Yes
    };
    for (const Case& c : {Case{"Fonts"}, Case{"Clearing"}, Case{"Shortcuts"}}) {
        InstallBench run;
        UsersMachine(run);
        const std::string before = Files(run);
        run.report.cancelAt = c.stopAt;
        run.report.answers = {true};
        run.Run();
        ASSERT_EQ(run.report.log.back(), "ended early");
        CleanUp(run);
        // Every file as it was: contents back, no copies left, no file of the install left,
        // under the Windows folder neither.
        EXPECT_EQ(Files(run), before) << c.stopAt;
        EXPECT_TRUE(run.files.FolderExists("C:\\Apps\\Demo")) << "a folder of the user's";
        EXPECT_FALSE(run.files.FolderExists("C:\\Apps\\Demo\\data"));
        EXPECT_FALSE(run.files.FolderExists("C:\\All Users\\Start Menu\\Programs\\Demo"));
    }
}

TEST(RollbackTest, ACompletedInstallKeepsItsFilesAndRemovesTheCopies) {
    InstallBench run;
    UsersMachine(run);
    run.Run();
    ASSERT_EQ(run.report.log.back(), "completed");
    CleanUp(run);
    EXPECT_EQ(
        Files(run),
        "C:\\Apps\\Demo\\data\\cache\\a.bin=[InstallDir]\\data\\cache\\a.bin body\n"
        "C:\\Apps\\Demo\\settings.ini=[InstallDir]\\settings.ini body\n"
        // The program ran and went; the user's file of that name is back.
        "C:\\Apps\\Demo\\tool.exe=the user's tool\n"
        "C:\\Documents and Settings\\Ann\\Desktop\\Demo.Lnk=link to C:\\Apps\\Demo\\settings.ini\n"
        "C:\\WINDOWS\\Fonts\\demo.ttf=[Windows Directory]\\Fonts\\demo.ttf body\n");
    EXPECT_TRUE(run.files.FolderExists("C:\\Apps\\Demo\\data\\cache"));
}

// The number of pauses of a whole install of the product: Cancel pressed during the last one
// is answered by the uninstall record.
std::size_t PausesOfAWholeInstall() {
    InstallBench run;
    test::WholeProduct product(run);
    product.Install();
    return run.pauses.size();
}

TEST(RollbackTest, EveryWayAnInstallEndsEarlyLeavesTheMachineAsItWas) {
    struct Case {
        const char* what;
        std::function<void(InstallBench&)> stop;
        bool registered;  // the component was registered before the end
    };
    auto cancelAt = [](const char* status) {
        return [status](InstallBench& run) {
            run.report.cancelAt = status;
            run.report.answers = {true};
        };
    };
    const std::size_t lastPause = PausesOfAWholeInstall();
    const Case cases[] = {
        {"cancel while folders are made", cancelAt("Folders"), false},
        {"cancel while files are written", cancelAt("Files"), false},
        {"cancel while fonts are added", cancelAt("Fonts"), false},
        {"cancel while registry items are written", cancelAt("Registry"), false},
        {"cancel while components are registered", cancelAt("Components"), true},
        {"cancel while files are removed", cancelAt("Clearing"), true},
        {"cancel while shortcuts are made", cancelAt("Shortcuts"), true},
        {"cancel as the uninstall record is written",
         [lastPause](InstallBench& run) {
             run.cancelAfterPauses = lastPause;
             run.report.answers = {true};
         },
         true},
        {"a volume the user gave up",
         [](InstallBench& run) { run.extractor.giveUp = "C:\\Apps\\Demo\\data\\a.png"; }, false},
        {"a file that cannot be written",
         [](InstallBench& run) {
             run.files.locked.insert("C:\\Apps\\Demo\\data\\a.png");
             run.report.answers = {true};
         },
         false},
    };
    for (const Case& c : cases) {
        InstallBench run;
        test::WholeProduct product(run);
        const std::string before = product.State();
        product.LeaveUserPage("Ann", "Ann's Company");
        c.stop(run);
        product.Install();
        ASSERT_EQ(run.report.log.back(), "ended early") << c.what;
        ASSERT_NE(product.State(), before) << c.what;
        const std::size_t runsBefore = run.processes.calls.size();
        CleanUp(run, product.fonts);
        EXPECT_EQ(product.State(), before) << c.what;
        const std::vector<std::string> log = run.processes.Log();
        const std::vector<std::string> programs(log.begin() + runsBefore, log.end());
        EXPECT_EQ(programs.size(), c.registered ? 1u : 0u) << c.what;
        for (const std::string& program : programs) {
            EXPECT_NE(program.find("/u /s"), std::string::npos) << c.what;
        }
    }
}

TEST(RollbackTest, LeavingTheWizardAfterTheUserPageKeepsTheInstalledValues) {
    // An earlier install left the user's name; a later setup is left after its user page.
    InstallBench run;
    test::WholeProduct product(run);
    const std::string before = product.State();
    product.LeaveUserPage("Typed", "Typed Company");
    product.LeaveUserPage("Typed again", "");  // Back, and the page left again
    EXPECT_EQ(run.registry.StringValue(RegistryRoot::LocalMachine, "SOFTWARE\\Demo Company\\Demo",
                                       "UserName"),
              "Typed again");
    CleanUp(run, product.fonts);
    EXPECT_EQ(product.State(), before);
}

}  // namespace
}  // namespace vesk
