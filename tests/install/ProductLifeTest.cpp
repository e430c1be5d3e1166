// A product's life on one machine: versions compared, an upgrade that takes over the installed
// version, files shared by two products, a file that was there before, and a record that cannot
// be written.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/InstalledProduct.h"
#include "app/SetupPreparation.h"
#include "install/FinalCleanUp.h"
#include "install/InstallBench.h"
#include "install/ProductIdentity.h"
#include "install/SharedFiles.h"
#include "project/PathParts.h"
#include "project/RegistryKey.h"
#include "project/TaskSlots.h"
#include "support/RecordingFonts.h"
#include "support/TempDir.h"
#include "uninstaller/UninstallDecision.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {
namespace {

using test::InstallBench;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string kRecords = "C:\\WINDOWS\\System32\\VeskInstall\\Records";

TEST(ProductLifeTest, VersionsCompareByTheirNumbersPartByPart) {
    struct Case {
        const char* a;
        const char* b;
        int order;
    };
    const Case cases[] = {
        {"1.0", "2.0", -1}, {"1.10", "1.9", 1},  {"1.2", "1.2.0", 0}, {"2", "1.9.9", 1},
        {"1.02", "1.2", 0}, {"1.2b", "1.2a", 1}, {"1.2", "1.2a", -1}, {"beta", "BETA", 0},
        {"", "0", 0},       {"10.0", "9.99", 1},
    };
    for (const Case& c : cases) {
        const int order = CompareVersions(c.a, c.b);
        EXPECT_EQ(order < 0 ? -1 : order > 0 ? 1 : 0, c.order) << c.a << " vs " << c.b;
        const int back = CompareVersions(c.b, c.a);
        EXPECT_EQ(back < 0 ? -1 : back > 0 ? 1 : 0, -c.order) << c.b << " vs " << c.a;
    }
}

// One version of a product installed on `machine` (the previous bench, or none: a fresh one);
// the install's copies let go of as after a completed run.
struct Version {
    Version(const std::string& name, const std::string& version, InstallBench* machine,
            const std::vector<std::string>& files, const std::string& productId = "") {
        if (machine) {
            run.files = machine->files;
            run.registry.CopyFrom(machine->registry);
        }
        run.Set(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProjectName, name);
        run.Set(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::CompanyDesc, "Vesk");
        if (!productId.empty()) {
            run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProductId,
                    productId);
        }
        run.session.texts.SetText(TextKey::ProjectName, name + " " + version);
        run.session.folders.Add("[InstallDir]");
        for (const std::string& file : files) run.AddFile(file, 'A');
        run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, "1");
        run.session.programFolder = name;
        SubTask link("10002", SubTaskType::CreateShortcutMenu);
        link.Add(FieldKind::Description, name)
            .Add(FieldKind::Folder, "[InstallDir]")
            .Add(FieldKind::File, "app.exe")
            .Add(FieldKind::IsToFileLinkGroup, "1");
        run.AddSubTask(kSlotShortcuts, link);
        run.Set(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProductVersion, version);
        run.LoadProject();
        found = FindInstalledProduct(run.session, run.files);
        ProposeFolders(run.session);
        if (found == InstalledVersion::None) run.session.paths.SetInstallDir("C:\\Apps\\" + name);
        InstallServices services = run.Services();
        InstallWorker(run.session, run.report, services).Run();
        LetGoOfCopies(run.session.records.TakeKeptCopies(), run.files);
    }

    // Removes the product as its uninstall entry would.
    UninstallResult Uninstall(const std::string& log) {
        PathResolver paths(run.facts, run.registry, FolderOf(log));
        const UninstallDecision decision = DecideUninstall(run.files, paths, log, "Uninstall ");
        EXPECT_EQ(decision.kind, UninstallDecision::Kind::Remove) << decision.problem;
        test::RecordingFonts fonts;
        UninstallServices services{run.files, run.registry, fonts, run.processes};
        SilentReport report;
        UninstallTexts texts(0x409);
        return UninstallWorker(services, report, texts).Run(decision.plan);
    }

    std::uint32_t SharedCount(const std::string& path) const {
        RegistryKey key(const_cast<test::MemoryRegistry&>(run.registry));
        if (!key.OpenForReading(std::string("\\") + kSharedFilesKey)) return 0;
        return SharedCountOf(key.Handle()->QueryValue(path));
    }

    InstallBench run;
    InstalledVersion found = InstalledVersion::None;
};

TEST(ProductLifeTest, ANewerVersionTakesOverTheInstalledOneAndItsRemovalLeavesNeither) {
    Version first("Demo", "1.0", nullptr,
                  {"[InstallDir]\\app.exe", "[InstallDir]\\old.txt", "[InstallDir]\\notes.txt",
                   "[System Directory]\\shared.dll"});
    ASSERT_EQ(first.run.report.log.back(), "completed");
    // The user edits a file the product brought and adds one of their own.
    first.run.files.Put("C:\\Apps\\Demo\\notes.txt", "the user's notes");
    first.run.files.Put("C:\\Apps\\Demo\\mine.txt", "the user's");

    Version second(
        "Demo", "2.0", &first.run,
        {"[InstallDir]\\app.exe", "[InstallDir]\\new.txt", "[System Directory]\\shared.dll"});
    EXPECT_EQ(second.found, InstalledVersion::Older);
    ASSERT_EQ(second.run.report.log.back(), "completed");
    test::MemoryFileSystem& files = second.run.files;
    // One entry, one version key, the product's values of the new version.
    EXPECT_FALSE(second.run.registry.HasKey(kMachine, kUninstallKey + "Demo 1.0"));
    EXPECT_TRUE(second.run.registry.HasKey(kMachine, kUninstallKey + "Demo 2.0"));
    EXPECT_FALSE(
        second.run.registry.HasKey(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall\\Demo\\1.0"));
    EXPECT_EQ(second.run.registry.StringValue(kMachine, "SOFTWARE\\VeskSoft\\VeskInstall\\Demo",
                                              "Version"),
              "2.0");
    // The dropped file goes, the changed one and the user's stay, the new one is there.
    EXPECT_FALSE(files.FileExists("C:\\Apps\\Demo\\old.txt"));
    EXPECT_EQ(files.files["C:\\Apps\\Demo\\notes.txt"], "the user's notes");
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Demo\\mine.txt"));
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Demo\\new.txt"));
    EXPECT_FALSE(files.FileExists("C:\\Apps\\Demo\\VeskInstall Demo 1.0.xml"));
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Demo\\VeskInstall Demo 2.0.xml"));
    // The shared file is the product's once.
    EXPECT_EQ(second.SharedCount("C:\\WINDOWS\\System32\\shared.dll"), 1u);
    EXPECT_EQ(files.FilesIn(kRecords).size(), 1u);

    second.Uninstall("C:\\Apps\\Demo\\VeskInstall Demo 2.0.xml");
    // Nothing of either version; the user's files and the file they changed stay.
    for (const char* gone :
         {"C:\\Apps\\Demo\\app.exe", "C:\\Apps\\Demo\\new.txt", "C:\\WINDOWS\\System32\\shared.dll",
          "C:\\All Users\\Start Menu\\Programs\\Demo\\Demo.Lnk"}) {
        EXPECT_FALSE(files.FileExists(gone)) << gone;
    }
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Demo\\mine.txt"));
    EXPECT_TRUE(files.FileExists("C:\\Apps\\Demo\\notes.txt"));
    EXPECT_FALSE(files.FolderExists("C:\\All Users\\Start Menu\\Programs\\Demo"));
    EXPECT_TRUE(files.FilesIn(kRecords).empty());
    for (const char* key : {"SOFTWARE\\VeskSoft\\VeskInstall\\Demo",
                            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 2.0"}) {
        EXPECT_FALSE(second.run.registry.HasKey(kMachine, key)) << key;
    }
    EXPECT_EQ(second.SharedCount("C:\\WINDOWS\\System32\\shared.dll"), 0u);
}

TEST(ProductLifeTest, TheSameVersionRepairsAndAnOlderOneIsFoundNewer) {
    Version first("Demo", "2.0", nullptr, {"[InstallDir]\\app.exe"});
    first.run.files.RemoveFile("C:\\Apps\\Demo\\app.exe");  // broken
    Version repair("Demo", "2.0", &first.run, {"[InstallDir]\\app.exe"});
    EXPECT_EQ(repair.found, InstalledVersion::Same);
    EXPECT_TRUE(repair.run.files.FileExists("C:\\Apps\\Demo\\app.exe"));
    EXPECT_TRUE(repair.run.registry.HasKey(kMachine, kUninstallKey + "Demo 2.0"));
    EXPECT_EQ(repair.run.files.FilesIn(kRecords).size(), 1u);

    InstallBench older;
    older.files = repair.run.files;
    older.registry.CopyFrom(repair.run.registry);
    older.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProjectName, "Demo");
    older.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::CompanyDesc, "Vesk");
    older.LoadProject();  // ProductVersion 1.2
    EXPECT_EQ(FindInstalledProduct(older.session, older.files), InstalledVersion::Newer);
    EXPECT_NE(OlderOverNewerQuestion(older.session).find("Demo 2.0"), std::string::npos);

    // A renamed product with the same ProductId is the same product; without one it is another.
    struct Case {
        const char* name;
        const char* productId;
        bool same;
    };
    Version withId("Demo", "1.0", nullptr, {"[InstallDir]\\app.exe"}, "{1234}");
    for (const Case& c : {Case{"Demo Pro", "{1234}", true}, Case{"Demo Pro", "", false},
                          Case{"Demo", "{5678}", false}}) {
        InstallBench renamed;
        renamed.files = withId.run.files;
        renamed.Set(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProjectName, c.name);
        renamed.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::CompanyDesc, "Vesk");
        if (*c.productId) {
            renamed.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::ProductId,
                        c.productId);
        }
        renamed.LoadProject();
        EXPECT_EQ(FindInstalledProduct(renamed.session, renamed.files) != InstalledVersion::None,
                  c.same)
            << c.name << " " << c.productId;
    }
}

TEST(ProductLifeTest, SharedAndEarlierFilesStayWhileAnotherProductNeedsThem) {
    InstallBench machine;
    machine.files.Put("C:\\WINDOWS\\System32\\system.dll", "the system's");
    Version a("A", "1.0", &machine,
              {"[InstallDir]\\app.exe", "[System Directory]\\shared.dat",
               "[System Directory]\\system.dll"});
    EXPECT_EQ(a.SharedCount("C:\\WINDOWS\\System32\\shared.dat"), 1u);
    // Found there, uncounted: someone else's, who keeps a count the list never had.
    EXPECT_EQ(a.SharedCount("C:\\WINDOWS\\System32\\system.dll"), 2u);
    Version b("B", "1.0", &a.run, {"[InstallDir]\\app.exe", "[System Directory]\\shared.dat"});
    EXPECT_EQ(b.SharedCount("C:\\WINDOWS\\System32\\shared.dat"), 2u);

    b.Uninstall("C:\\Apps\\A\\VeskInstall A 1.0.xml");
    EXPECT_TRUE(b.run.files.FileExists("C:\\WINDOWS\\System32\\shared.dat")) << "B needs it";
    EXPECT_EQ(b.SharedCount("C:\\WINDOWS\\System32\\shared.dat"), 1u);
    EXPECT_TRUE(b.run.files.FileExists("C:\\WINDOWS\\System32\\system.dll")) << "it was there";
    EXPECT_FALSE(b.run.files.FileExists("C:\\Apps\\A\\app.exe"));

    b.Uninstall("C:\\Apps\\B\\VeskInstall B 1.0.xml");
    EXPECT_FALSE(b.run.files.FileExists("C:\\WINDOWS\\System32\\shared.dat")) << "nobody needs it";
    EXPECT_EQ(b.SharedCount("C:\\WINDOWS\\System32\\shared.dat"), 0u);
    EXPECT_TRUE(b.run.files.FileExists("C:\\WINDOWS\\System32\\system.dll"));
    EXPECT_EQ(b.SharedCount("C:\\WINDOWS\\System32\\system.dll"), 1u);
}

TEST(ProductLifeTest, ARecordThatCannotBeWrittenFailsAndRollsBackTheInstall) {
    struct Case {
        const char* what;
        std::function<void(InstallBench&)> spoil;
        const char* error;  // the log line starts so
    };
    const Case cases[] = {
        {"a folder where the log goes",
         [](InstallBench& run) {
             run.files.AddFolders("C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml");
         },
         "Error     cannot write the log C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml: a folder"},
        {"a file where the records folder goes",
         [](InstallBench& run) {
             run.files.Put("C:\\WINDOWS\\System32\\VeskInstall\\Records", "in the way");
         },
         "Error     cannot write the product's record "},
        {"an uninstall entry refused",
         [](InstallBench& run) { run.registry.MakeReadOnly(kMachine, kUninstallKey + "Demo 1.2"); },
         "Error     the uninstall entry "},
    };
    for (const Case& c : cases) {
        InstallBench run;
        run.session.folders.Add("[InstallDir]");
        run.AddFile("[InstallDir]\\app.exe", 'A');
        run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, "1");
        c.spoil(run);
        const std::string registry = run.registry.Dump();
        std::map<std::string, std::string, test::CaseLess> files(run.files.files.begin(),
                                                                 run.files.files.end());
        test::TempDir dir;
        ASSERT_TRUE(run.session.log.Open(dir / "setup.log"));
        run.Run();
        EXPECT_EQ(run.report.log.back(), "ended early") << c.what;
        EXPECT_TRUE(run.session.flags.installFailed) << c.what;
        test::RecordingFonts fonts;
        UndoServices system{run.files, run.registry, fonts, run.processes};
        FinalCleanUp(run.session.flags, run.session.records, system, run.session.runFolder);
        EXPECT_EQ(run.registry.Dump(), registry) << c.what;
        EXPECT_EQ(run.files.files, files) << c.what;
        EXPECT_NE(test::ReadWholeFile(dir / "setup.log").find(c.error), std::string::npos)
            << c.what;
    }
}

}  // namespace
}  // namespace vesk
