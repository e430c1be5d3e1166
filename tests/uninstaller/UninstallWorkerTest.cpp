// An install in memory removed again: what the install made goes, the user's file and folder
// stay, a file in use waits for the restart, and the user sees each part as it goes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "install/InstallBench.h"
#include "project/TaskSlots.h"
#include "support/RecordingFonts.h"
#include "uninstaller/UninstallLog.h"
#include "uninstaller/UninstallOutcome.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {
namespace {

using test::InstallBench;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kLog = "C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml";

class RecordingReport : public UninstallReport {
public:
    std::vector<std::string> log;
    void SetStatus(const std::string& text) override { log.push_back("status " + text); }
    void SetItem(const std::string& text) override { log.push_back("item " + text); }
    void SetProgress(int percent) override { log.push_back(std::to_string(percent) + "%"); }
};

SubTask RegistryItem(const char* root, const char* key, const char* name, const char* keyOnly) {
    SubTask item("10001", SubTaskType::Registry);
    item.Add(FieldKind::RegRootKey, root)
        .Add(FieldKind::RegSubKey, key)
        .Add(FieldKind::RegVarName, name)
        .Add(FieldKind::RegVarValue, "1")
        .Add(FieldKind::RegDataType, "0")
        .Add(FieldKind::RegOperType, "0")
        .Add(FieldKind::IsOnlyToKey, keyOnly)
        .Add(FieldKind::IsToDelete, "1");
    return item;
}

// The demo's kind of product installed into C:\Apps\Demo on the bench's machine, which already
// holds another product's file and key.
struct InstalledDemo {
    InstalledDemo() {
        run.files.Put("C:\\Apps\\Other\\keep.txt", "another product");
        run.registry.PutString(kMachine, "SOFTWARE\\Demo Company\\Other", "Keep", "1");
        before = run.files;

        run.session.programFolder = "Demo";
        for (const char* folder : {"[InstallDir]", "[InstallDir]\\data", "[Start Menu]\\"}) {
            run.session.folders.Add(folder);
            run.Add(kSlotExtractFiles, SubTaskType::FolderList, FieldKind::Folder, folder);
        }
        const std::pair<const char*, char> files[] = {
            {"[InstallDir]\\Readme.txt", 'A'},
            {"[InstallDir]\\data\\a.bin", 'N'},
            {"[InstallDir]\\bin\\in-use.dll", 'A'},
            {"[Windows Directory]\\Fonts\\Demo.ttf", 'A'},
            {"[Windows Directory]\\Vesk-UnInstall.exe", 'U'},
        };
        for (const auto& file : files) {
            run.AddFile(file.first, file.second);
            run.Add(kSlotExtractFiles, SubTaskType::FileList, FieldKind::File,
                    run.session.files.Lines().back());
        }
        // The bin folder is the install's, though no folder entry names it.
        run.files.AddFolders("C:\\Apps\\Demo\\bin");
        SubTask link("10002", SubTaskType::CreateShortcutMenu);
        link.Add(FieldKind::Description, "Readme")
            .Add(FieldKind::File, "Readme.txt")
            .Add(FieldKind::Folder, "[InstallDir]")
            .Add(FieldKind::IsToFileLinkGroup, "1")
            .Add(FieldKind::IsToDesktop, "1");
        run.Add(kSlotShortcuts, SubTaskType::GetValue, FieldKind::Description, "Demo");
        run.AddSubTask(kSlotShortcuts, link);
        run.AddSubTask(
            kSlotRegistry,
            RegistryItem("HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Demo Company\\Demo", "Version", "0"));
        run.AddSubTask(kSlotRegistry, RegistryItem("HKEY_CURRENT_USER",
                                                   "\\Software\\Demo Company\\Demo", "", "1"));
        run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, "1");
        run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall2, "1");
        run.Add(kSlotFonts, SubTaskType::GetValue, FieldKind::File,
                "[Windows Directory]\\Fonts\\Demo.ttf");
        run.Run();
        fonts.registered["Demo (TrueType)"] = "Demo.ttf";
        fonts.registered["Other (TrueType)"] = "Other.ttf";
        // The product keeps its settings below its key.
        run.registry.PutString(kUser, "Software\\Demo Company\\Demo\\Settings", "Theme", "Dunes");
    }

    UninstallResult Uninstall() {
        // As an install by an engine that kept no record left it: the log alone.
        const std::string records = "C:\\WINDOWS\\System32\\VeskInstall\\Records";
        for (const std::string& name : run.files.FilesIn(records)) {
            run.files.RemoveFile(records + "\\" + name);
        }
        run.files.RemoveFolder(records);
        InstallProject log;
        log.Parse(run.files.files[kLog]);
        PathResolver paths(run.facts, run.registry, "C:\\Apps\\Demo");
        const UninstallPlan plan = PlanUninstall({log, kLog, "Uninstall "}, paths);
        UninstallServices services{run.files, run.registry, fonts, run.processes};
        return UninstallWorker(services, report, texts).Run(plan);
    }

    InstallBench run;
    test::MemoryFileSystem before;
    test::RecordingFonts fonts;
    RecordingReport report;
    UninstallTexts texts{0x409};
};

TEST(UninstallWorkerTest, RemovesTheInstallAndKeepsTheUsersFileAndFolder) {
    InstalledDemo demo;
    ASSERT_EQ(demo.run.report.log.back(), "completed");
    ASSERT_TRUE(demo.run.files.FileExists(kLog));
    ASSERT_TRUE(demo.run.registry.HasKey(kUser, "Software\\Demo Company\\Demo"));
    demo.run.files.Put("C:\\Apps\\Demo\\data\\mine.txt", "the user's");
    demo.run.files.locked.insert("C:\\Apps\\Demo\\bin\\in-use.dll");

    const UninstallResult result = demo.Uninstall();

    // The file in use goes at the restart, and so do the folders that hold it, if they are empty
    // by then (the user's file keeps the install folder); the user is told.
    const std::vector<std::string> atRestart = {"C:\\Apps\\Demo\\bin\\in-use.dll"};
    EXPECT_EQ(result.atRestart, atRestart);
    EXPECT_TRUE(result.left.empty());
    const std::vector<std::string> scheduled = {"C:\\Apps\\Demo\\bin\\in-use.dll",
                                                "C:\\Apps\\Demo\\bin", "C:\\Apps\\Demo"};
    EXPECT_EQ(demo.run.files.atRestart, scheduled);
    EXPECT_EQ(ExitCodeOf(result), kUninstallAtRestart);
    EXPECT_NE(FinalMessage(demo.texts, "Demo 1.2", result)
                  .find("removed when Windows restarts:\r\nC:\\Apps\\Demo\\bin\\in-use.dll"),
              std::string::npos);

    // On disk: what was there before, the user's file with its folders, the file in use, and
    // the shared uninstaller with its language file.
    test::MemoryFileSystem expected = demo.before;
    expected.Put("C:\\Apps\\Demo\\data\\mine.txt", "the user's");
    expected.Put("C:\\Apps\\Demo\\bin\\in-use.dll",
                 demo.run.files.files["C:\\Apps\\Demo\\bin\\in-use.dll"]);
    expected.Put("C:\\WINDOWS\\Vesk-UnInstall.exe",
                 demo.run.files.files["C:\\WINDOWS\\Vesk-UnInstall.exe"]);
    expected.Put("C:\\WINDOWS\\System32\\VeskInstall\\409.ini",
                 demo.run.files.files["C:\\WINDOWS\\System32\\VeskInstall\\409.ini"]);
    EXPECT_EQ(demo.run.files.files, expected.files);
    EXPECT_EQ(demo.run.files.folders, expected.folders);

    // The registry: nothing of the product, all of the other product and the shared version.
    // A log does not say the install made the key-only item's key: it is not removed with the
    // settings the product keeps below it.
    EXPECT_EQ(
        demo.run.registry.StringValue(kUser, "Software\\Demo Company\\Demo\\Settings", "Theme"),
        "Dunes");
    for (const auto& key : {std::make_pair(kMachine, "SOFTWARE\\Demo Company\\Demo"),
                            std::make_pair(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall\\Demo"),
                            std::make_pair(kMachine,
                                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                           "Uninstall\\Demo 1.2")}) {
        EXPECT_FALSE(demo.run.registry.HasKey(key.first, key.second)) << key.second;
    }
    EXPECT_EQ(demo.run.registry.StringValue(kMachine, "SOFTWARE\\Demo Company\\Other", "Keep"),
              "1");
    EXPECT_EQ(
        demo.run.registry.StringValue(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall", "LastVersion"),
        "5.05");
    EXPECT_EQ(demo.run.registry.OpenHandles(), 0);

    // The font is out of the system's table and no longer listed; another font stays.
    EXPECT_EQ(demo.fonts.removed, std::vector<std::string>{"C:\\WINDOWS\\Fonts\\Demo.ttf"});
    EXPECT_EQ(demo.fonts.registered.size(), 1u);
    EXPECT_EQ(demo.fonts.registered.count("Other (TrueType)"), 1u);
    EXPECT_EQ(demo.fonts.announcements, 1);
}

TEST(UninstallWorkerTest, ShowsEachPartAndItemAsItGoes) {
    InstalledDemo demo;
    demo.Uninstall();
    const std::vector<std::string>& log = demo.report.log;
    std::vector<std::string> statuses;
    for (const std::string& line : log) {
        if (line.rfind("status ", 0) == 0) statuses.push_back(line.substr(7));
    }
    // The log is the last file to go, after the registry.
    const std::vector<std::string> expected = {
        "Status: Removing files...", "Status: Removing registry items...",
        "Status: Removing files...", "Status: Removing folders..."};
    EXPECT_EQ(statuses, expected);
    // Each item before its removal, the bar after it, full at the end with no item left shown.
    const auto first = std::find(log.begin(), log.end(), "item C:\\WINDOWS\\Fonts\\Demo.ttf");
    ASSERT_NE(first, log.end());
    EXPECT_EQ((first + 1)->back(), '%');
    EXPECT_NE(
        std::find(log.begin(), log.end(), "item HKEY_CURRENT_USER\\Software\\Demo Company\\Demo"),
        log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "item " + kLog), log.end());
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], "item ");
    EXPECT_EQ(log.back(), "100%");
}

}  // namespace
}  // namespace vesk
