// A product installed for the current user (InstallScope user): it goes to the user's folders and
// HKEY_CURRENT_USER and leaves the machine's untouched, and its record takes it all away again.
#include <gtest/gtest.h>

#include <sstream>

#include "install/InstallBench.h"
#include "install/Rollback.h"
#include "project/EngineKey.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"
#include "support/RecordingFonts.h"
#include "uninstaller/UninstallDecision.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {
namespace {

using test::InstallBench;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kLocal = "C:\\Users\\Ann\\AppData\\Local";
const std::string kFolder = kLocal + "\\Programs\\Demo";
const std::string kStartMenu =
    "C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";

struct UserProduct {
    UserProduct() {
        for (const char* folder : {"C:\\Users\\Ann\\AppData\\Local",
                                   "C:\\Users\\Ann\\AppData\\Roaming\\Microsoft\\Windows\\Start "
                                   "Menu\\Programs\\Startup"}) {
            run.files.AddFolders(folder);
        }
        run.registry.AddKey(kUser, "Software");
        run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::InstallScope, "user");
        run.session.programFolder = "Demo";
        for (const char* folder : {"[InstallDir]", "[Program Files]\\Common", "[Start Menu]\\"})
            run.session.folders.Add(folder);
        run.AddFile("[InstallDir]\\app.exe", 'A');
        // Outside the install folder, yet counted in no list of the machine's.
        run.AddFile("[Program Files]\\Common\\shared.dll", 'A');
        run.AddFile("[Program Files]\\VeskInstall\\Vesk-UnInstall.exe", 'U');
        SubTask item("10001", SubTaskType::Registry);
        item.Add(FieldKind::RegRootKey, "HKEY_CURRENT_USER")
            .Add(FieldKind::RegSubKey, "\\Software\\Classes\\Demo.File\\shell\\open\\command")
            .Add(FieldKind::RegVarValue, "\"[InstallDir]\\app.exe\" \"%1\"")
            .Add(FieldKind::IsToDelete, "1");
        run.AddSubTask(kSlotRegistry, item);
        SubTask link("10002", SubTaskType::CreateShortcutMenu);
        link.Add(FieldKind::Description, "Demo")
            .Add(FieldKind::Folder, "[InstallDir]")
            .Add(FieldKind::File, "app.exe")
            .Add(FieldKind::IsToFileLinkGroup, "1")
            .Add(FieldKind::IsToStartup, "1");
        run.AddSubTask(kSlotShortcuts, link);
        run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, "1");
        run.LoadProject();
        // As the start-up does: the scope from the project, then the folders it proposes.
        run.session.paths.SetScope(ReadInstallScope(run.session.project));
        run.session.paths.SetInstallDir(run.session.Resolve("[Program Files]\\Demo"));
        machineBefore = MachineState();
        InstallServices services = run.Services();
        InstallWorker(run.session, run.report, services).Run();
        LetGoOfCopies(run.session.records.TakeKeptCopies(), run.files);
    }

    // The registry but HKEY_CURRENT_USER, and the files and folders outside the user's.
    std::string MachineState() const {
        std::string state;
        std::istringstream dump(run.registry.Dump());
        const char user = char('0' + int(kUser));
        bool inUser = false;
        for (std::string line; std::getline(dump, line);) {
            if (!line.empty() && line[0] != ' ') inUser = line[0] == user;
            if (!inUser) state += line + "\n";
        }
        for (const auto& file : run.files.files) {
            if (file.first.rfind("C:\\Users\\", 0) != 0) state += file.first + "\n";
        }
        for (const std::string& folder : run.files.folders) {
            if (folder.rfind("C:\\Users\\", 0) != 0) state += folder + "\\\n";
        }
        return state;
    }

    InstallBench run;
    std::string machineBefore;
};

TEST(UserScopeTest, AUserInstallWritesOnlyTheUsersFoldersAndKeysAndItsRecordRemovesIt) {
    UserProduct product;
    InstallBench& run = product.run;
    ASSERT_EQ(run.report.log.back(), "completed");
    EXPECT_EQ(product.MachineState(), product.machineBefore);

    const std::string uninstaller = kLocal + "\\Programs\\VeskInstall\\Vesk-UnInstall.exe";
    const std::string log = kFolder + "\\VeskInstall Demo 1.2.xml";
    EXPECT_TRUE(run.files.FileExists(kFolder + "\\app.exe"));
    EXPECT_TRUE(run.files.FileExists(kLocal + "\\Programs\\Common\\shared.dll"));
    EXPECT_TRUE(run.files.FileExists(uninstaller));
    EXPECT_TRUE(run.files.FileExists(kLocal + "\\Programs\\VeskInstall\\409.ini"));
    EXPECT_TRUE(run.files.FileExists(kStartMenu + "\\Demo\\Demo.Lnk"));
    EXPECT_TRUE(run.files.FileExists(kStartMenu + "\\Startup\\Demo.Lnk"));
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.2";
    EXPECT_EQ(run.registry.StringValue(kUser, entry, "UninstallString"),
              "\"" + uninstaller + "\" \"" + log + "\"");
    EXPECT_EQ(run.registry.StringValue(kUser, std::string(kEngineKey).substr(1) + "\\Demo", "Path"),
              kFolder);
    EXPECT_EQ(
        run.registry.StringValue(kUser, "Software\\Classes\\Demo.File\\shell\\open\\command", ""),
        "\"" + kFolder + "\\app.exe\" \"%1\"");

    // The uninstaller finds the user's record and removes the product in the user's scope.
    PathResolver paths(run.facts, run.registry, kFolder);
    const UninstallDecision decision = DecideUninstall(run.files, paths, log, "Uninstall ");
    ASSERT_EQ(decision.kind, UninstallDecision::Kind::Remove) << decision.problem;
    test::RecordingFonts fonts;
    UninstallServices services{run.files, run.registry, fonts, run.processes};
    SilentReport report;
    UninstallTexts texts(0x409);
    EXPECT_TRUE(UninstallWorker(services, report, texts).Run(decision.plan).left.empty());
    EXPECT_FALSE(run.files.FileExists(kFolder + "\\app.exe"));
    EXPECT_FALSE(run.files.FileExists(kLocal + "\\Programs\\Common\\shared.dll"));
    EXPECT_FALSE(run.files.FileExists(kStartMenu + "\\Startup\\Demo.Lnk"));
    EXPECT_FALSE(run.registry.HasKey(kUser, entry));
    EXPECT_FALSE(run.registry.HasKey(kUser, "Software\\Classes\\Demo.File"));
    EXPECT_EQ(product.MachineState(), product.machineBefore);
}

}  // namespace
}  // namespace vesk
