// The uninstall plan computed from a log and the install's records: what goes, in which order,
// and what stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "project/RegistryKey.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "uninstaller/RemovalText.h"
#include "uninstaller/UninstallPlan.h"

namespace vesk {
namespace {

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kFolder = "C:\\Program Files\\Demo Company\\Demo";
const std::string kLog = kFolder + "\\VeskInstall Demo 1.2.xml";
const std::string kGroup = "C:\\All Users\\Start Menu\\Programs\\Demo";
const std::string kVersionKey = "SOFTWARE\\VeskSoft\\VeskInstall\\Demo\\1.2";
const std::string kProductKey = "SOFTWARE\\VeskSoft\\VeskInstall\\Demo";
const std::string kQuickLaunch = "\\Application Data\\Microsoft\\Internet Explorer\\Quick Launch";

std::string Field(const std::string& name, const std::string& value) {
    return "<" + name + ">" + value + "</" + name + ">";
}

std::string Registry(const std::string& fields) {
    return "<SubTask ID=\"10001\" Type=\"Registry\">\r\n" + fields + "</SubTask>\r\n";
}

// An item written at install time (RegOperType 0); `extra` fields go first, as written.
std::string Item(const std::string& root, const std::string& key, const std::string& name,
                 bool keyOnly, bool toDelete, const std::string& operation = "0") {
    return (root.empty() ? "" : Field("RegRootKey", root) + "\r\n") + Field("RegSubKey", key) +
           "\r\n" + Field("RegVarName", name) + "\r\n" + Field("RegVarValue", "x") + "\r\n" +
           Field("RegDataType", "0") + "\r\n" + Field("RegOperType", operation) + "\r\n" +
           Field("IsOnlyToKey", keyOnly ? "1" : "0") + "\r\n" +
           Field("IsToDelete", toDelete ? "1" : "0") + "\r\n";
}

// A log of the demo's kind, with items the uninstaller must pass over.
std::string DemoLog(const std::string& installPath = "[Program Files]\\Demo Company\\Demo") {
    std::string log =
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
        "<Version>VeskInstall5.0</Version>\r\n"
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n" +
        Field("ProjectName", "Demo") + "\r\n" + Field("InstallPath", installPath) + "\r\n" +
        Field("ProductVersion", "1.2") +
        "\r\n</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2005\" Type=\"ShowDialogBox\" IsExec=\"1\">\r\n"
        "<SubTask ID=\"10002\" Type=\"EditBox\">\r\n" +
        Field("Description", "|RegisterInfoUserDesc|") + "\r\n" +
        Item("HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Demo Company\\Demo", "UserName", false, true) +
        "</SubTask>\r\n<SubTask ID=\"10003\" Type=\"EditBox\">\r\n" +
        Field("Description", "|RegisterInfoCompanyDesc|") + "\r\n" +
        Item("", "\\SOFTWARE\\Demo Company\\Demo", "Company", false, false) +
        "</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n" +
        Field("Description", "Demo") +
        "\r\n</SubTask>\r\n<SubTask ID=\"10002\" Type=\"CreateShortcutMenu\">\r\n" +
        Field("Description", "Readme") + "\r\n" + Field("File", "Readme.txt") + "\r\n" +
        Field("Folder", "[InstallDir]") + "\r\n" + Field("IsToFileLinkGroup", "1") + "\r\n" +
        Field("IsToDesktop", "1") + "\r\n" + Field("IsToStartup", "0") + "\r\n" +
        Field("IsToQuickLaunch", "1") +
        "\r\n</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2406\" Type=\"DataSetting\" IsExec=\"0\">\r\n" +
        Registry(
            Item("HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Demo Company\\Demo", "Version", false, true)) +
        Registry(Item("HKEY_CURRENT_USER", "\\Software\\Demo Company\\Demo", "", true, true)) +
        // Carries the root over from the item before it.
        Registry(Item("", "\\Software\\Other\\Key", "X", false, true)) +
        // Deleted by the install, kept by the user, too broad to go whole.
        Registry(Item("HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Gone", "Y", false, true, "1")) +
        Registry(Item("", "\\SOFTWARE\\Demo Company\\Keep", "Z", false, false)) +
        Registry(Item("", "\\SOFTWARE", "", true, true)) +
        Registry(
            Item("", "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "", true, true)) +
        "</Task>\r\n"
        "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n" +
        Field("CreateUnInstall1", "1") + "\r\n" + Field("CreateUnInstall2", "1") +
        "\r\n</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2407\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n" +
        Field("File", "[Windows Directory]\\Fonts\\Demo.ttf") +
        "\r\n</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"FolderList\">\r\n";
    for (const char* folder : {"[InstallDir]", "[InstallDir]\\data", "[InstallDir]\\logs",
                               "[Start Menu]\\", "[Windows Directory]\\Fonts", "[TempFileDir]",
                               "[Program Files]", "[Desktop Directory]\\..\\Public"}) {
        log += Field("Folder", folder) + "\r\n";
    }
    log += "</SubTask>\r\n<SubTask ID=\"10002\" Type=\"FileList\">\r\n";
    for (const char* entry : {"[TempFileDir]\\~VeskInstall-Language.ini,0,9,K,2004-3-5 14:3:7",
                              "[InstallDir]\\Readme.txt,9,9,A,2004-3-5 14:3:7",
                              "[InstallDir]\\data\\a.png,18,9,N,2004-3-5 14:3:7",
                              "[Windows Directory]\\Fonts\\Demo.ttf,27,9,A,2004-3-5 14:3:7",
                              "[TempFileDir]\\settings.reg,36,9,R,2004-3-5 14:3:7",
                              "[InstallDir]\\prepare.exe,45,9,L,2004-3-5 14:3:7",
                              "[Windows Directory]\\Vesk-UnInstall.exe,54,9,U,2004-3-5 14:3:7",
                              "[InstallDir]\\..\\..\\WINDOWS\\win.ini,63,9,A,2004-3-5 14:3:7",
                              "[InstallDir]\\readme.TXT,9,9,A,2004-3-5 14:3:7"}) {
        log += Field("File", entry) + "\r\n";
    }
    return log + "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
}

// The machine after the install: its shell folders and the records of the install.
struct Machine {
    Machine() {
        const std::string shell =
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
        registry.PutString(kMachine, shell, "Common Programs",
                           "C:\\All Users\\Start Menu\\Programs");
        registry.PutString(kMachine, shell, "Common Startup",
                           "C:\\All Users\\Start Menu\\Programs\\Startup");
        registry.PutString(kMachine, shell, "Common AppData",
                           "C:\\Documents and Settings\\All Users\\Application Data");
        registry.PutString(kMachine, kVersionKey, "ProgramFolder", kGroup);
        registry.PutString(kMachine, kVersionKey, "UnInstallFileLink",
                           kGroup + "\\Uninstall Demo 1.2.lnk");
        registry.PutString(kMachine, kProductKey, "Path", kFolder);
        registry.PutString(kMachine, kProductKey, "Version", "1.2");
    }

    UninstallPlan Plan(const std::string& logText = DemoLog(), const std::string& logPath = kLog) {
        log.Parse(logText);
        const std::string folder = logPath.substr(0, logPath.rfind('\\'));
        PathResolver paths(facts, registry, folder);
        return PlanUninstall({log, logPath, "Uninstall "}, paths);
    }

    std::vector<std::string> Described(const UninstallPlan& plan) const {
        std::vector<std::string> lines;
        for (const Removal& removal : plan.removals) lines.push_back(test::Described(removal));
        return lines;
    }

    test::FakeSystemFacts facts;
    test::MemoryRegistry registry;
    InstallProject log;
};

TEST(UninstallPlanTest, RemovesWhatTheLogNamesInOrderAndNothingElse) {
    Machine machine;
    const UninstallPlan plan = machine.Plan();
    const std::string hklm = "HKEY_LOCAL_MACHINE\\", hkcu = "HKEY_CURRENT_USER\\";
    const std::vector<std::string> expected = {
        // The font leaves the system's table before its file goes.
        "font C:\\WINDOWS\\Fonts\\Demo.ttf",
        // Shortcuts: program group, desktop, the user's Quick Launch folder; the uninstall
        // shortcut.
        "file " + kGroup + "\\Readme.Lnk",
        "file C:\\Documents and Settings\\Ann\\Desktop\\Readme.Lnk",
        "file C:\\Documents and Settings\\Ann" + kQuickLaunch + "\\Readme.Lnk",
        "file " + kGroup + "\\Uninstall Demo 1.2.lnk",
        // Files of kinds A and N, each once; not K, R, L, U, nor one that leads out.
        "file " + kFolder + "\\Readme.txt",
        "file " + kFolder + "\\data\\a.png",
        "file C:\\WINDOWS\\Fonts\\Demo.ttf",
        // Registry items marked for removal, the root carried over; then the record.
        "value " + hklm + "SOFTWARE\\Demo Company\\Demo : UserName",
        "value " + hklm + "SOFTWARE\\Demo Company\\Demo : Version",
        "value " + hkcu + "Software\\Other\\Key : X",
        "tree " + hklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.2",
        "tree " + hklm + kVersionKey,
        "value " + hklm + kProductKey + " : Path",
        "value " + hklm + kProductKey + " : Version",
        // Keys looked at once the rest is gone, the deepest first: a key-only item's too, as a
        // log does not say which keys the install made.
        "empty " + hklm + "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
        "empty " + hklm + kProductKey,
        "empty " + hklm + "SOFTWARE\\Demo Company\\Demo",
        "empty " + hkcu + "Software\\Demo Company\\Demo",
        "empty " + hkcu + "Software\\Other\\Key",
        "empty " + hklm + "SOFTWARE",
        // The log last of the files, then the folders, the deepest first: the install folder's
        // own path below [Program Files], the program group; never a folder a token names.
        "file " + kLog,
        "folder " + kGroup,
        "folder " + kFolder + "\\data",
        "folder " + kFolder + "\\logs",
        "folder " + kFolder,
        "folder C:\\Program Files\\Demo Company",
    };
    EXPECT_EQ(machine.Described(plan), expected);
    EXPECT_EQ(plan.title, "Demo 1.2");
    EXPECT_EQ(plan.installFolder, kFolder);

    // The status each part is shown under: the log among the files.
    for (const Removal& removal : plan.removals) {
        const bool registry = removal.kind == RemovalKind::RegistryValue ||
                              removal.kind == RemovalKind::RegistryTree ||
                              removal.kind == RemovalKind::EmptyRegistryKey;
        const RemovalPhase phase = registry                              ? RemovalPhase::Registry
                                   : removal.kind == RemovalKind::Folder ? RemovalPhase::Folders
                                                                         : RemovalPhase::Files;
        EXPECT_EQ(removal.phase, phase) << test::Described(removal);
    }

    // What stays on purpose: the shared uninstaller, its language files, its version.
    const std::vector<std::string> keptStarts = {
        "C:\\WINDOWS\\Vesk-UnInstall.exe: ", "C:\\WINDOWS\\System32\\VeskInstall: ",
        "LastVersion under "};
    ASSERT_EQ(plan.kept.size(), keptStarts.size());
    for (std::size_t i = 0; i < keptStarts.size(); ++i) {
        EXPECT_EQ(plan.kept[i].rfind(keptStarts[i], 0), 0u) << plan.kept[i];
    }
}

TEST(UninstallPlanTest, FollowsTheRecordsTheInstallLeft) {
    struct Case {
        const char* name;
        std::string logPath;
        void (*prepare)(test::MemoryRegistry&);
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const std::string hklm = "HKEY_LOCAL_MACHINE\\";
    const Case cases[] = {
        {"a later install of another version owns Path and Version",
         kLog,
         [](test::MemoryRegistry& registry) {
             registry.PutString(kMachine, kProductKey, "Version", "1.3");
             registry.PutString(kMachine, kProductKey, "Path", "C:\\Apps\\Demo 1.3");
         },
         {"tree " + hklm + kVersionKey, "empty " + hklm + kProductKey},
         {"value " + hklm + kProductKey + " : Path", "value " + hklm + kProductKey + " : Version"}},
        {"the user chose another folder: only it goes, not the proposal's",
         "D:\\Mine\\Demo\\VeskInstall Demo 1.2.xml",
         [](test::MemoryRegistry& registry) {
             registry.PutString(kMachine, kProductKey, "Path", "D:\\Mine\\Demo");
         },
         {"folder D:\\Mine\\Demo", "folder D:\\Mine\\Demo\\data", "file D:\\Mine\\Demo\\Readme.txt",
          "value " + hklm + kProductKey + " : Path"},
         {"folder D:\\Mine", "folder C:\\Program Files\\Demo Company", "folder " + kFolder}},
        {"no program group: no shortcut at all",
         kLog,
         [](test::MemoryRegistry& registry) {
             registry.PutString(kMachine, kVersionKey, "ProgramFolder", "");
         },
         {"file " + kFolder + "\\Readme.txt"},
         {"file " + kGroup + "\\Readme.Lnk",
          "file C:\\Documents and Settings\\Ann\\Desktop\\Readme.Lnk", "folder " + kGroup}},
        {"no version key: the group the log proposes, the uninstall shortcut by its name",
         kLog,
         [](test::MemoryRegistry& registry) {
             if (auto product = registry.Open(kMachine, kProductKey, RegistryAccess::All)) {
                 product->DeleteSubKey("1.2");
             }
         },
         {"file " + kGroup + "\\Readme.Lnk", "file " + kGroup + "\\Uninstall Demo 1.2.Lnk",
          "folder " + kGroup},
         {"file " + kGroup + "\\Uninstall Demo 1.2.lnk"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Machine machine;
        c.prepare(machine.registry);
        const std::vector<std::string> plan = machine.Described(machine.Plan(DemoLog(), c.logPath));
        for (const std::string& line : c.present) {
            EXPECT_NE(std::find(plan.begin(), plan.end(), line), plan.end()) << "missing " << line;
        }
        for (const std::string& line : c.absent) {
            EXPECT_EQ(std::find(plan.begin(), plan.end(), line), plan.end()) << "has " << line;
        }
    }
}

}  // namespace
}  // namespace vesk
