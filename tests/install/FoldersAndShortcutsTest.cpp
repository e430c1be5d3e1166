// Folder chains, the program group, and the shortcuts of task 2404 in every location.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/FolderChain.h"
#include "install/InstallBench.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

using test::InstallBench;
using test::MemoryFileSystem;
using Paths = std::vector<std::string>;

TEST(FoldersTest, AChainMakesEveryMissingLevelFromTheTopAndReportsOnlyThose) {
    struct Case {
        const char* path;
        Paths made;
    };
    const Case cases[] = {
        {"C:\\Apps\\Vesk\\Demo\\Data",
         {"C:\\Apps\\Vesk", "C:\\Apps\\Vesk\\Demo", "C:\\Apps\\Vesk\\Demo\\Data"}},
        {"C:\\Apps\\Vesk\\", {"C:\\Apps\\Vesk"}},
        {"C:\\Apps\\\\Vesk", {"C:\\Apps\\Vesk"}},
        {"C:\\Apps", {}},  // exists already
        {"C:\\", {}},
        {"C:", {}},
        {"Q:\\Gone\\x", {"Q:\\Gone", "Q:\\Gone\\x"}},  // a drive root always exists here
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        files.AddFolders("C:\\Apps");
        EXPECT_EQ(CreateFolderChain(files, c.path), c.made) << c.path;
        for (const std::string& folder : c.made) EXPECT_TRUE(files.FolderExists(folder));
    }
}

TEST(FoldersTest, TheProgramGroupReplacesTheStartMenuEntryAndBecomesAbsolute) {
    const std::string programs = "C:\\All Users\\Start Menu\\Programs";
    struct Case {
        const char* programFolder;
        Paths folderList;
        Paths created;
        const char* absolute;
    };
    const Case cases[] = {
        {"Vesk Demo",
         {"[start menu]\\", "[InstallDir]", "[InstallDir]\\data"},
         {programs + "\\Vesk Demo", "C:\\Apps\\Demo", "C:\\Apps\\Demo\\data"},
         "C:\\All Users\\Start Menu\\Programs\\Vesk Demo\\"},
        {"Tools\\Vesk",
         {"[InstallDir]"},
         {programs + "\\Tools", programs + "\\Tools\\Vesk", "C:\\Apps\\Demo"},
         "C:\\All Users\\Start Menu\\Programs\\Tools\\Vesk\\"},
        // No program group: the entry stays and names the Programs folder itself. A folder that
        // was there before is never recorded, so a rollback leaves it.
        {"", {"[Start Menu]\\", "[InstallDir]"}, {"C:\\Apps\\Demo"}, ""},
        {"", {"[Windows Directory]\\Fonts", "[InstallDir]"}, {"C:\\Apps\\Demo"}, ""},
    };
    for (const Case& c : cases) {
        InstallBench run;
        run.session.programFolder = c.programFolder;
        for (const std::string& folder : c.folderList) run.session.folders.Add(folder);
        run.Run();
        EXPECT_EQ(run.ProductFolders(), c.created) << c.programFolder;
        EXPECT_EQ(run.session.programFolder, c.absolute);
        EXPECT_EQ(std::count(run.pauses.begin(), run.pauses.end(), InstallWorker::kItemPauseMs),
                  long(c.folderList.size()));
    }
}

SubTask Shortcut(const std::string& flags, const std::string& parameter = "",
                 const std::string& icon = "") {
    SubTask item("10002", SubTaskType::CreateShortcutMenu);
    item.Add(FieldKind::Description, "Demo")
        .Add(FieldKind::File, "demo.exe")
        .Add(FieldKind::Folder, "[InstallDir]\\bin")
        .Add(FieldKind::Parameter, parameter)
        .Add(FieldKind::IconFile, icon);
    const FieldKind kinds[] = {FieldKind::IsToFileLinkGroup, FieldKind::IsToDesktop,
                               FieldKind::IsToStartup, FieldKind::IsToQuickLaunch};
    for (std::size_t i = 0; i < flags.size() && i < 4; ++i) {
        item.Add(kinds[i], std::string(1, flags[i]));
    }
    return item;
}

TEST(ShortcutsTest, EachFlagMakesItsLinksAndEveryLinkIsRecorded) {
    const std::string group = "C:\\All Users\\Start Menu\\Programs\\Demo\\Demo.Lnk";
    const std::string desktop = "C:\\Documents and Settings\\Ann\\Desktop\\Demo.Lnk";
    const std::string startup = "C:\\All Users\\Start Menu\\Programs\\Startup\\Demo.Lnk";
    const std::string quick1 = "C:\\Ann\\Quick Launch\\Demo.Lnk";
    const std::string quick2 = "C:\\All Users\\Quick Launch\\Demo.Lnk";
    struct Case {
        const char* programFolder;
        const char* flags;  // group, desktop, startup, Quick Launch
        Paths links;        // in the order made
    };
    const Case cases[] = {
        {"Demo", "1000", {group}},
        {"Demo", "0100", {desktop}},
        {"Demo", "0010", {startup}},
        {"Demo", "0001", {quick2, quick1}},
        {"Demo", "1111", {group, desktop, startup, quick2, quick1}},
        {"Demo", "0000", {}},
        {"Demo", "", {}},  // flags missing: none set
        {"", "1111", {}},  // no program group: no shortcuts at all
    };
    for (const Case& c : cases) {
        InstallBench run;
        run.session.programFolder = c.programFolder;
        run.AddSubTask(kSlotShortcuts, Shortcut(c.flags));
        run.Run();
        EXPECT_EQ(run.ProductFiles(), c.links) << c.flags << c.programFolder;
        EXPECT_EQ(run.links.links.size(), c.links.size());
    }
}

TEST(ShortcutsTest, ALinkCarriesTargetArgumentsWorkingFolderAndIcon) {
    struct Case {
        const char* parameter;
        const char* icon;
        const char* iconPath;
    };
    const Case cases[] = {{"", "", ""},
                          {"/quiet \"x y\"", "[InstallDir]\\demo.ico", "C:\\Apps\\Demo\\demo.ico"}};
    for (const Case& c : cases) {
        InstallBench run;
        run.session.programFolder = "Demo";
        run.AddSubTask(kSlotShortcuts, Shortcut("1", c.parameter, c.icon));
        run.Run();
        ASSERT_EQ(run.links.links.size(), 1u);
        const ShellLink& link = run.links.links.begin()->second;
        EXPECT_EQ(link.target, "C:\\Apps\\Demo\\bin\\demo.exe");
        EXPECT_EQ(link.workingFolder, "C:\\Apps\\Demo\\bin");
        EXPECT_EQ(link.arguments, c.parameter);
        EXPECT_EQ(link.iconPath, c.iconPath);
        EXPECT_EQ(link.description, "Demo");
        EXPECT_EQ(link.show, kShowNormal);
    }
}

}  // namespace
}  // namespace vesk
