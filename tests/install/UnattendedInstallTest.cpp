// Setup.exe /S without windows: the wizard's choices made by rule, no pauses, a failure that
// ends the install instead of a question, and every item of the install in the run's log.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/SetupExitCode.h"
#include "app/UnattendedInstall.h"
#include "install/InstallBench.h"
#include "install/UnattendedReport.h"
#include "platform/Utf8.h"
#include "project/TaskSlots.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::InstallBench;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr std::size_t kTimeColumns = 9;  // "   0.125 " before the kind

SubTask RegistryItem(SubTaskType type, const std::string& description, const std::string& name) {
    SubTask item("10002", type);
    if (!description.empty()) item.Add(FieldKind::Description, description);
    item.Add(FieldKind::RegRootKey, "HKEY_LOCAL_MACHINE")
        .Add(FieldKind::RegSubKey, "\\SOFTWARE\\Demo")
        .Add(FieldKind::RegVarName, name)
        .Add(FieldKind::RegVarValue, "1.2");
    return item;
}

// A bench whose run goes through RunUnattendedInstall with a log in a temporary folder.
struct UnattendedRun {
    UnattendedRun() {
        EXPECT_TRUE(bench.session.log.Open(dir / "setup.log"));
        bench.registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                 "RegisteredOwner", "Ann Admin");
        bench.registry.PutString(kMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                 "RegisteredOrganization", "Works");
        bench.session.folders.Add("[InstallDir]");
        bench.AddFile("[InstallDir]\\a.txt", 'A');
    }
    void Run() {
        bench.LoadProject();
        Task page = Task::ForSlot(kSlotUserInformation, true);
        page.Add(RegistryItem(SubTaskType::EditBox, "|RegisterInfoUserDesc|", "UserName"));
        page.Add(RegistryItem(SubTaskType::EditBox, "|RegisterInfoCompanyDesc|", "Company"));
        bench.session.project.Add(page);
        UnattendedReport report(bench.session.log);
        InstallServices services = bench.Services();
        RunUnattendedInstall(bench.session, services, report);
        outcome = report.Outcome();
    }
    // The log's lines without their times (and without the UTF-8 mark that opens the log).
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::string bytes = test::ReadWholeFile(dir / "setup.log");
        EXPECT_TRUE(StripUtf8ByteOrderMark(bytes));
        std::istringstream text(bytes);
        for (std::string line; std::getline(text, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line.size() > kTimeColumns ? line.substr(kTimeColumns) : line);
        }
        return lines;
    }

    test::TempDir dir;
    InstallBench bench;
    InstallOutcome outcome = InstallOutcome::EndedEarly;
};

TEST(UnattendedInstallTest, EveryChoiceIsMadeByRuleAndEveryItemLogged) {
    UnattendedRun run;
    InstallBench& bench = run.bench;
    bench.session.folders.Add("[InstallDir]\\logs");
    bench.AddFile("[InstallDir]\\setup-step.exe", 'L');
    bench.Add(kSlotFonts, SubTaskType::GetValue, FieldKind::File,
              "[Windows Directory]\\Fonts\\a.ttf");
    bench.AddSubTask(kSlotRegistry, RegistryItem(SubTaskType::Registry, "", "Version"));
    bench.Add(kSlotComponentRegistration, SubTaskType::GetValue, FieldKind::File,
              "[InstallDir]\\a.ocx");
    bench.files.Put("C:\\Apps\\old.tmp", "x");
    bench.Add(kSlotClearFiles, SubTaskType::GetValue, FieldKind::File, "C:\\Apps\\old.tmp");
    bench.session.programFolder = "Demo";
    SubTask shortcut("10002", SubTaskType::CreateShortcutMenu);
    shortcut.Add(FieldKind::Description, "Read me")
        .Add(FieldKind::Folder, "[InstallDir]")
        .Add(FieldKind::File, "a.txt")
        .Add(FieldKind::IsToFileLinkGroup, "1");
    bench.AddSubTask(kSlotShortcuts, shortcut);
    bench.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, "1");
    run.Run();

    EXPECT_EQ(run.outcome, InstallOutcome::Completed);
    EXPECT_EQ(InstallExitCode(bench.session.flags, false), kSetupCompleted);
    EXPECT_TRUE(bench.pauses.empty()) << "an unattended install does not pause";
    EXPECT_TRUE(bench.session.flags.licenceAccepted);
    EXPECT_EQ(bench.registry.StringValue(kMachine, "SOFTWARE\\Demo", "UserName"), "Ann Admin");
    EXPECT_EQ(bench.registry.StringValue(kMachine, "SOFTWARE\\Demo", "Company"), "Works");
    ASSERT_FALSE(bench.session.records.CreatedFolders().empty());
    EXPECT_EQ(bench.session.records.CreatedFolders().front(), "C:\\Apps\\Demo");
    // Links are kept out of the install folder; the folders made for it and in it get the
    // install folder's access list, the program group and the records' folder do not.
    EXPECT_EQ(bench.files.guarded, std::vector<std::string>{"C:\\Apps\\Demo"});
    EXPECT_EQ(bench.files.protectedFolders,
              (std::vector<std::string>{"C:\\Apps\\Demo", "C:\\Apps\\Demo\\logs"}));
    const std::string group = "C:\\All Users\\Start Menu\\Programs\\Demo";
    const std::vector<std::string> expected = {
        "Setup     user information: \"Ann Admin\", \"Works\"",
        "Registry  HKEY_LOCAL_MACHINE\\SOFTWARE\\Demo: UserName = \"Ann Admin\"",
        "Registry  HKEY_LOCAL_MACHINE\\SOFTWARE\\Demo: Company = \"Works\"",
        "Setup     install folder C:\\Apps\\Demo, program folder Demo",
        "Phase     folders",
        "Folder    " + group + " (created)",
        "Folder    C:\\Apps\\Demo (exists)",
        "Folder    C:\\Apps\\Demo\\logs (created)",
        "Phase     files",
        "File      C:\\Apps\\Demo\\a.txt",
        "File      C:\\Apps\\Demo\\setup-step.exe",
        "File      ran C:\\Apps\\Demo\\setup-step.exe, exit code 0",
        "Phase     fonts",
        "Font      C:\\WINDOWS\\Fonts\\a.ttf",
        "Phase     registry items",
        "Registry  HKEY_LOCAL_MACHINE\\SOFTWARE\\Demo: Version = \"1.2\"",
        "Phase     components",
        "Component C:\\Apps\\Demo\\a.ocx",
        "Phase     files to remove",
        "Removed   C:\\Apps\\old.tmp",
        "Phase     shortcuts",
        "Shortcut  " + group + "\\Read me.Lnk -> C:\\Apps\\Demo\\a.txt",
        "Phase     uninstall record",
        "Record    log C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml",
        "Record    uninstall entry HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\"
        "CurrentVersion\\Uninstall\\Demo 1.2: \"C:\\WINDOWS\\Vesk-UnInstall.exe\" "
        "\"C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml\"",
        "Record    product key HKEY_LOCAL_MACHINE\\SOFTWARE\\VeskSoft\\VeskInstall\\Demo: "
        "Path = \"C:\\Apps\\Demo\", Version = \"1.2\"",
        // The product's record, in the engine's own folder.
        "Folder    C:\\WINDOWS\\System32\\VeskInstall\\Records (created)",
        "Record    record C:\\WINDOWS\\System32\\VeskInstall\\Records\\Demo-E0D73214.rec",
    };
    EXPECT_EQ(run.Lines(), expected);
}

// Nobody can answer a question or insert a disk: the install ends as a failure, later phases do
// not run, and the log says why.
TEST(UnattendedInstallTest, AFailureEndsTheInstallWithoutAQuestion) {
    struct Case {
        const char* what;
        std::function<void(InstallBench&)> prepare;
        const char* error;  // an Error line of the log starts so
    };
    const Case cases[] = {
        {"file not writable",
         [](InstallBench& bench) { bench.files.locked.insert("C:\\Apps\\Demo\\a.txt"); },
         "Error     cannot write C:\\Apps\\Demo\\a.txt"},
        {"volume missing",
         [](InstallBench& bench) { bench.extractor.giveUp = "C:\\Apps\\Demo\\a.txt"; },
         "Error     cannot write C:\\Apps\\Demo\\a.txt"},
        {"install folder not made",
         [](InstallBench& bench) { bench.files.Put("C:\\Apps\\Demo", "a file of that name"); },
         "Error     cannot create the install folder C:\\Apps\\Demo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UnattendedRun run;
        c.prepare(run.bench);
        run.Run();
        const SharedFlags& flags = run.bench.session.flags;
        EXPECT_EQ(InstallExitCode(flags, true), kSetupFailed);
        EXPECT_FALSE(flags.installOk);
        const std::vector<std::string> lines = run.Lines();
        EXPECT_NE(
            std::find_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.rfind(c.error, 0) == 0; }),
            lines.end());
        EXPECT_EQ(std::find(lines.begin(), lines.end(), "Phase     fonts"), lines.end());
        EXPECT_TRUE(run.bench.report.log.empty()) << "the wizard's report was used";
    }
}

}  // namespace
}  // namespace vesk
