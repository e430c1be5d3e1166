// The uninstall of an install that left its product record: it removes all the install made and
// nothing else, acts only on a log the record vouches for, and falls back to the log alone only
// for an install that kept no record.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "install/ProductIdentity.h"
#include "install/Rollback.h"
#include "install/SharedFiles.h"
#include "install/WholeProduct.h"
#include "project/EngineKey.h"
#include "project/RegistryKey.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"
#include "uninstaller/RecordPlan.h"
#include "uninstaller/RemovalText.h"
#include "uninstaller/UninstallDecision.h"
#include "uninstaller/UninstallWorker.h"

namespace vesk {
namespace {

using test::InstallBench;
using test::WholeProduct;

constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kLog = "C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml";
const std::string kRecords = "C:\\WINDOWS\\System32\\VeskInstall\\Records";

// The whole product installed, the install's copies let go of, as after a completed run.
struct InstalledProduct {
    InstalledProduct() {
        before = product.State();
        product.LeaveUserPage("Ann", "Ann's Company");
        product.Install();
        LetGoOfCopies(run.session.records.TakeKeptCopies(), run.files);
    }

    UninstallDecision Decide() {
        PathResolver paths(run.facts, run.registry, "C:\\Apps\\Demo");
        return DecideUninstall(run.files, paths, kLog, "Uninstall ");
    }

    UninstallResult Remove(const UninstallPlan& plan) {
        UninstallServices services{run.files, run.registry, product.fonts, run.processes};
        SilentReport report;
        UninstallTexts texts(0x409);
        return UninstallWorker(services, report, texts).Run(plan);
    }

    InstallBench run;
    WholeProduct product{run};
    std::string before;
};

TEST(RecordUninstallTest, AFullUninstallLeavesTheMachineAsBeforeButTheUsersFiles) {
    InstalledProduct installed;
    ASSERT_EQ(installed.run.report.log.back(), "completed");
    installed.run.files.Put("C:\\Apps\\Demo\\data\\mine.txt", "the user's");
    installed.run.files.readOnly.insert("C:\\Apps\\Demo\\app.exe");
    const UninstallDecision decision = installed.Decide();
    ASSERT_EQ(decision.kind, UninstallDecision::Kind::Remove) << decision.problem;
    const UninstallResult result = installed.Remove(decision.plan);
    EXPECT_TRUE(result.left.empty());
    EXPECT_TRUE(result.atRestart.empty());

    // Expected: the machine before the install, with the user's file, what every product of
    // the engine shares (the uninstaller, its language file and version, the records folder),
    // and what the product meant to change for good (the user's old log it removed, the value
    // its registry item deleted).
    InstallBench expectedRun;
    WholeProduct expected(expectedRun);
    test::MemoryFileSystem& files = expectedRun.files;
    files.Put("C:\\Apps\\Demo\\data\\mine.txt", "the user's");
    for (const char* shared :
         {"C:\\WINDOWS\\Vesk-UnInstall.exe", "C:\\WINDOWS\\System32\\VeskInstall\\409.ini"}) {
        files.Put(shared, installed.run.files.files[shared]);
    }
    files.AddFolders(kRecords);
    files.RemoveFile("C:\\Apps\\Demo\\old.log");
    expectedRun.registry.PutString(kMachine, std::string(kEngineKey).substr(1), "LastVersion",
                                   "5.05");
    RegistryKey(expectedRun.registry).DeleteValue("\\SOFTWARE\\Demo Company\\Demo\\Obsolete");
    EXPECT_EQ(installed.product.State(), expected.State());
    // The component was unregistered while its file was there.
    const std::vector<std::string> programs = installed.run.processes.Log();
    ASSERT_FALSE(programs.empty());
    EXPECT_NE(programs.back().find("/u /s \"C:\\Apps\\Demo\\grid.dll\""), std::string::npos);
}

TEST(RecordUninstallTest, OnlyALogTheRecordVouchesForIsActedOn) {
    struct Case {
        const char* what;
        std::function<void(InstallBench&)> change;
        UninstallDecision::Kind kind;
        bool fromRecord;  // the plan removes the record
    };
    auto editLog = [](const std::string& from, const std::string& to) {
        return [from, to](InstallBench& run) {
            std::string& log = run.files.files[kLog];
            ASSERT_NE(log.find(from), std::string::npos) << from;
            log.replace(log.find(from), from.size(), to);
        };
    };
    const std::string end = "</InstallProject>";
    const Case cases[] = {
        {"the log as the install wrote it", [](InstallBench&) {}, UninstallDecision::Kind::Remove,
         true},
        {"a system file added to the log",
         editLog(end,
                 "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\r\n"
                 "<SubTask ID=\"10002\" Type=\"FileList\">\r\n"
                 "<File>[System Directory]\\canary.dll,0,1,A,2004-3-5 14:3:7</File>\r\n"
                 "</SubTask>\r\n</Task>\r\n" +
                     end),
         UninstallDecision::Kind::Refused, false},
        {"a path in the log changed",
         editLog("[InstallDir]\\old.log", "[System Directory]\\canary.dll"),
         UninstallDecision::Kind::Refused, false},
        {"another log put in its place",
         [](InstallBench& run) {
             run.files.files[kLog] = "<InstallProject>\r\n</InstallProject>\r\n";
         },
         UninstallDecision::Kind::Refused, false},
        {"the log removed", [](InstallBench& run) { run.files.RemoveFile(kLog); },
         UninstallDecision::Kind::Refused, false},
        {"an install that kept no record",
         [](InstallBench& run) {
             for (const std::string& name : run.files.FilesIn(kRecords)) {
                 run.files.RemoveFile(kRecords + "\\" + name);
             }
         },
         UninstallDecision::Kind::Remove, false},
    };
    for (const Case& c : cases) {
        InstalledProduct installed;
        installed.run.files.Put("C:\\WINDOWS\\System32\\canary.dll", "a system file");
        c.change(installed.run);
        const UninstallDecision decision = installed.Decide();
        EXPECT_EQ(decision.kind, c.kind) << c.what;
        if (decision.kind == UninstallDecision::Kind::Refused) {
            EXPECT_EQ(decision.entryKey,
                      "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.2")
                << c.what;
            EXPECT_NE(decision.problem.find(kLog), std::string::npos) << c.what;
            EXPECT_TRUE(decision.plan.removals.empty()) << c.what;
        }
        const std::vector<std::string> lines = test::Described(decision.plan);
        const std::string recordLine = "file " + kRecords + "\\" + RecordFileName("Demo");
        EXPECT_EQ(std::count(lines.begin(), lines.end(), recordLine), c.fromRecord ? 1 : 0)
            << c.what;
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find("canary"), std::string::npos) << c.what;
        }
        installed.Remove(decision.plan);
        EXPECT_TRUE(installed.run.files.FileExists("C:\\WINDOWS\\System32\\canary.dll")) << c.what;
    }
}

// One record change, on a machine prepared for it, and what the uninstall does with it.
TEST(RecordUninstallTest, EachRecordedChangeIsUndoneOrKeptByItsRule) {
    const std::string key = "SOFTWARE\\Demo";
    const std::string shared = std::string(kSharedFilesKey);
    struct Case {
        const char* what;
        std::function<void(test::MemoryRegistry&)> machine;
        Change change;
        std::vector<std::string> plan;  // without the record's own file
    };
    auto value = [&](const char* name, std::optional<RegistryValue> before, const char* after) {
        return RegistryValueChange(ChangeKind::RegistryValueSet, kMachine, key, name, before,
                                   StringValue(after));
    };
    auto holds = [&](const char* name, const char* text) {
        return
            [=](test::MemoryRegistry& registry) { registry.PutString(kMachine, key, name, text); };
    };
    auto counted = [&](std::uint32_t count) {
        return [=](test::MemoryRegistry& registry) {
            registry.AddKey(kMachine, shared);
            RegistryKey counts(registry);
            counts.Open("\\" + shared, false);
            counts.WriteDword("C:\\WINDOWS\\System32\\shared.dll", count);
        };
    };
    Change sharedFile =
        RegistryValueChange(ChangeKind::SharedFileCounted, kMachine, shared,
                            "C:\\WINDOWS\\System32\\shared.dll", std::nullopt, std::nullopt);
    Change keyTree = RegistryKeyChange(ChangeKind::RegistryKeyCreated, kMachine, key);
    keyTree.wholeTree = true;
    // A record that says the install made a tree of the system's, key-only.
    Change classesTree = keyTree;
    classesTree.path = "SOFTWARE\\Classes";
    Change keptFile = FileChange(ChangeKind::FileCreated, "C:\\WINDOWS\\Vesk-UnInstall.exe");
    keptFile.keepAtUninstall = true;
    Change listing;
    listing.kind = ChangeKind::FontListed;
    listing.name = "Demo (TrueType)";
    listing.before = StringValue("older.ttf");
    const std::string hklm = "HKEY_LOCAL_MACHINE\\";
    const Case cases[] = {
        {"a value the install made",
         holds("New", "1"),
         value("New", std::nullopt, "1"),
         {"value " + hklm + key + " : New"}},
        {"a value it wrote over, unchanged since",
         holds("Old", "install's"),
         value("Old", StringValue("user's"), "install's"),
         {"restore " + hklm + key + " : Old = \"user's\""}},
        {"a value it wrote over, changed since",
         holds("Old", "changed"),
         value("Old", StringValue("user's"), "install's"),
         {}},
        {"a key it made",
         nullptr,
         RegistryKeyChange(ChangeKind::RegistryKeyCreated, kMachine, key),
         {"empty " + hklm + key}},
        {"a key it made for a key-only item", nullptr, keyTree, {"tree " + hklm + key}},
        {"a system's tree, whatever the record says",
         nullptr,
         classesTree,
         {"empty " + hklm + "SOFTWARE\\Classes"}},
        {"a file it made",
         nullptr,
         FileChange(ChangeKind::FileCreated, "C:\\App\\a.exe"),
         {"file C:\\App\\a.exe"}},
        {"a file that was there",
         nullptr,
         FileChange(ChangeKind::FileReplaced, "C:\\App\\b.dll"),
         {}},
        {"a file every product shares", nullptr, keptFile, {}},
        {"a folder it made",
         nullptr,
         FolderChange(ChangeKind::FolderCreated, "C:\\App\\data"),
         {"folder C:\\App\\data"}},
        {"a folder Windows names",
         nullptr,
         FolderChange(ChangeKind::FolderCreated, "C:\\WINDOWS\\System32"),
         {}},
        {"a component",
         nullptr,
         FileChange(ChangeKind::ComponentRegistered, "C:\\App\\grid.ocx", "C:\\R.exe"),
         {"unregister C:\\App\\grid.ocx"}},
        {"a font",
         nullptr,
         FileChange(ChangeKind::FontAdded, "C:\\WINDOWS\\Fonts\\d.ttf"),
         {"font resource C:\\WINDOWS\\Fonts\\d.ttf"}},
        {"a font listing over an earlier one",
         nullptr,
         listing,
         {"font listing Demo (TrueType) = \"older.ttf\""}},
        {"a shared file no other install uses",
         counted(1),
         sharedFile,
         {"value " + hklm + shared + " : C:\\WINDOWS\\System32\\shared.dll"}},
        {"a shared file another install uses",
         counted(3),
         sharedFile,
         {"restore " + hklm + shared + " : C:\\WINDOWS\\System32\\shared.dll = 2"}},
    };
    for (const Case& c : cases) {
        test::FakeSystemFacts facts;
        test::MemoryRegistry registry;
        if (c.machine) c.machine(registry);
        PathResolver paths(facts, registry, "C:\\App");
        ProductRecord record;
        record.changes = {c.change};
        std::vector<std::string> plan = test::Described(PlanFromRecord(record, "R", paths));
        const auto recordFile = std::find(plan.begin(), plan.end(), "file R");
        ASSERT_NE(recordFile, plan.end()) << c.what;
        plan.erase(recordFile);
        EXPECT_EQ(plan, c.plan) << c.what;
    }
}

}  // namespace
}  // namespace vesk
