// An install and the clean-up after it over one file system: a rolled-back install gives back
// the user's files and folders as they were; a completed one leaves no copies behind.
#include <gtest/gtest.h>

#include <string>

#include "app/FinalCleanUp.h"
#include "install/InstallBench.h"
#include "project/TaskSlots.h"

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

void CleanUp(InstallBench& run) {
    FinalCleanUp(
        run.session.flags, run.session.records, run.files,
        [] { return std::string("C:\\WINDOWS"); }, run.session.runFolder);
}

std::string Files(const InstallBench& run) {
    std::string listing;
    for (const auto& file : run.files.files) listing += file.first + "=" + file.second + "\n";
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
        // Every file as it was: contents back, no copies left, the font under the Windows folder
        // kept as the clean-up always did.
        EXPECT_EQ(
            Files(run),
            before + "C:\\WINDOWS\\Fonts\\demo.ttf=[Windows Directory]\\Fonts\\demo.ttf body\n")
            << c.stopAt;
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

}  // namespace
}  // namespace vesk
