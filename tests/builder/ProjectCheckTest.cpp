// The project checks: the mistakes a packager makes that the setup would take silently, each
// refused or warned about with the file and line, as `veskbuild check` and `build` report them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "BuildTestKit.h"
#include "builder/checks/DefaultTasks.h"
#include "builder/starter/StarterProject.h"
#include "builder/veskbuild/Commands.h"
#include "project/TaskSlots.h"
#include "support/BmpBuilder.h"

namespace vesk {
namespace {

using test::BuildTestKit;

// Lines of BuildTestKit::WriteProject: properties start on line 7, extra bindings on line 13
// (after one property line: 14), further tasks on line 15.
constexpr int kTasksLine = 15;

std::string Line(int number) {
    return "project.xml:" + std::to_string(number) + ": ";
}

std::string Task(const std::string& id, const std::string& body, const char* type = "DataSetting",
                 int isExec = 0) {
    return "<Task ID=\"" + id + "\" Type=\"" + type + "\" IsExec=\"" + std::to_string(isExec) +
           "\">\n" + body + "</Task>\n";
}

std::string SubTask(const std::string& id, const std::string& type, const std::string& fields) {
    return "<SubTask ID=\"" + id + "\" Type=\"" + type + "\">\n" + fields + "</SubTask>\n";
}

// A Registry subtask whose root key is on the line after the subtask's, the key on the next,
// the data type two lines further on.
std::string RegistryItem(const std::string& root, const std::string& key,
                         const std::string& dataType) {
    return SubTask("1", "Registry",
                   "<RegRootKey>" + root + "</RegRootKey>\n<RegSubKey>" + key +
                       "</RegSubKey>\n<RegVarName>x</RegVarName>\n<RegDataType>" + dataType +
                       "</RegDataType>\n<RegVarValue>1</RegVarValue>\n"
                       "<RegOperType>0</RegOperType>\n<IsOnlyToKey>0</IsOnlyToKey>\n");
}

std::string Shortcut(const std::string& id, const std::string& type, const std::string& flag) {
    return SubTask(id, type,
                   "<Description>Go</Description>\n<File>A.txt</File>\n"
                   "<Folder>[InstallDir]</Folder>\n<IsToDesktop>" +
                       flag + "</IsToDesktop>\n");
}

struct Outcome {
    bool checked = false;
    std::string errors;
    std::vector<std::string> warnings;
    std::vector<std::string> missingTargets;
};

Outcome Check(const BuildTestKit& kit, std::vector<std::string> defines = {}, bool werror = false,
              bool allowMissingTargets = false) {
    BuildOptions options = kit.Options();
    options.checkOnly = true;
    options.defines = std::move(defines);
    options.warningsAreErrors = werror;
    options.allowMissingTargets = allowMissingTargets;
    SetupBuilder builder;
    Outcome outcome;
    outcome.checked = builder.Build(options);
    outcome.errors = builder.LastError();
    outcome.warnings = builder.Summary().warnings;
    outcome.missingTargets = builder.Summary().missingTargets;
    return outcome;
}

struct Example {
    const char* name;
    std::string tasks, properties, bindings;
    bool error;           // false: a warning, the project still builds
    std::string message;  // part of the only error or warning, line included
};

// The mistakes that used to build without a word.
const Example kExamples[] = {
    {"misspelt token in a PathDesc", "", "",
     "<PathDesc>[InstalDir]\\Help</PathDesc>\n<PathValue>product</PathValue>\n", true,
     Line(13) + "PathDesc of task 2402: \"[InstalDir]\\Help\": [InstalDir] is no folder token "
                "(did you mean [InstallDir]?)"},
    {"token without its space as InstallPath", "",
     "<InstallPath>[ProgramFiles]\\Vesk</InstallPath>\n", "", true,
     Line(7) + "InstallPath of task 2401: \"[ProgramFiles]\\Vesk\": [ProgramFiles] is no folder "
               "token (did you mean [Program Files]?)"},
    {"relative InstallPath", "", "<InstallPath>Vesk\\Demo</InstallPath>\n", "", true,
     Line(7) + "InstallPath of task 2401: \"Vesk\\Demo\" is a relative path"},
    {"[InstallDir] as InstallPath", "", "<InstallPath>[InstallDir]\\x</InstallPath>\n", "", true,
     Line(7) + "InstallPath of task 2401: \"[InstallDir]\\x\": [InstallDir] is the folder this "
               "chooses"},
    {"token run into the folder", "", "<InstallPath>[Program Files]Vesk</InstallPath>\n", "", true,
     "write a backslash after [Program Files]"},
    {"misspelt root key", Task("2406", RegistryItem("HKEY_LOCAL_MACHIN", "\\Software\\V", "0")), "",
     "", true,
     Line(kTasksLine + 2) + "RegRootKey of task 2406: \"HKEY_LOCAL_MACHIN\" is no root key (did "
                            "you mean HKEY_LOCAL_MACHINE?)"},
    {"abbreviated root key", Task("2406", RegistryItem("HKLM", "\\Software\\V", "0")), "", "", true,
     "the setup knows the root keys by their full names only (HKEY_LOCAL_MACHINE)"},
    {"data type by name", Task("2406", RegistryItem("HKEY_CURRENT_USER", "\\Software\\V", "dword")),
     "", "", true,
     Line(kTasksLine + 5) + "RegDataType of task 2406: \"dword\": write 0 for a text value, 1 "
                            "for a number (DWORD) or 2 for an expandable text (REG_EXPAND_SZ); "
                            "the setup reads it as 0"},
    {"bracket in a registry value that is no token",
     Task("2406", SubTask("1", "Registry",
                          "<RegRootKey>HKEY_CURRENT_USER</RegRootKey>\n<RegSubKey>\\S</RegSubKey>\n"
                          "<RegVarValue>[Install Dir]\\a.exe</RegVarValue>\n")),
     "", "", true,
     Line(kTasksLine + 4) + "RegVarValue of task 2406: \"[Install Dir]\\a.exe\" holds \"[Install "
                            "Dir]\", which is no path token"},
    {"key without its leading backslash",
     Task("2406", RegistryItem("HKEY_CURRENT_USER", "Software\\V", "0")), "", "", true,
     Line(kTasksLine + 3) + "RegSubKey of task 2406: \"Software\\V\" must start with a backslash: "
                            "the setup drops the first character, so it would use the key "
                            "\"oftware\\V\""},
    {"flag written as a word",
     Task("2404", SubTask("1", "GetValue", "<Description>P</Description>\n") +
                      Shortcut("2", "CreateShortcutMenu", "yes")),
     "", "", true,
     Line(kTasksLine + 8) + "IsToDesktop of task 2404: \"yes\" is a flag, 0 or 1: the setup reads "
                            "it as 0 (not set)"},
    {"misspelt text key",
     Task("2002", SubTask("1", "GetValue", "<Description>|WelcomWndDesc2|</Description>\n"),
          "ShowDialogBox", 1),
     "", "", true,
     Line(kTasksLine + 2) + "Description of task 2002: \"|WelcomWndDesc2|\": |WelcomWndDesc2| "
                            "names no text of the language table (did you mean WelcomeWndDesc2?)"},
    {"entity", "", "<CompanyDesc>Smith &amp; Sons</CompanyDesc>\n", "", true,
     Line(7) + "CompanyDesc of task 2401: \"Smith &amp; Sons\" holds \"&amp;\", which the setup "
               "shows as it is"},
    {"character reference", "", "<CompanyDesc>Caf&#233; &amp</CompanyDesc>\n", "", true,
     Line(7) + "CompanyDesc of task 2401: \"Caf&#233; &amp\" holds \"&#233;\""},
    {"text neither GB2312 nor UTF-8", "", "<CompanyDesc>Caf\xE9</CompanyDesc>\n", "", true,
     Line(7) + "byte 17 (0xE9) starts no GB2312 character"},
    {"field in a task that never reads it", "", "<IsToDesktop>1</IsToDesktop>\n", "", false,
     Line(7) + "task 2401: the setup never reads <IsToDesktop> in a GetAllVar subtask of this "
               "task (task 2404 reads it, in a CreateShortcutMenu subtask)"},
    {"shortcut subtask retyped Registry",
     Task("2404", SubTask("1", "GetValue", "<Description>P</Description>\n") +
                      Shortcut("2", "Registry", "1")),
     "", "", false,
     Line(kTasksLine + 4) + "task 2404: the setup never reads a Registry subtask in this task and "
                            "passes it over (its fields belong in a CreateShortcutMenu subtask)"},
    {"subtask ID given twice",
     Task("2404", SubTask("1", "GetValue", "<Description>P</Description>\n") +
                      Shortcut("1", "CreateShortcutMenu", "1")),
     "", "", false,
     Line(kTasksLine + 4) + "task 2404: the subtask ID \"1\" is given twice (also on line 16)"},
    {"finish page check boxes sharing an ID",
     Task("2010",
          SubTask("7", "RunApp",
                  "<Description>a</Description>\n<File>A.txt</File>\n<Folder>[InstallDir]</"
                  "Folder>\n<AppParameter></AppParameter>\n") +
              SubTask("7", "RunApp",
                      "<Description>b</Description>\n<File>A.txt</File>\n<Folder>[InstallDir]</"
                      "Folder>\n<AppParameter></AppParameter>\n"),
          "ShowDialogBox", 1),
     "", "", true,
     Line(kTasksLine + 7) + "task 2010: the subtask ID \"7\" is given twice (also on line 16): "
                            "the finish page's check boxes would share one control ID"},
    {"finish page program that never starts",
     Task("2010",
          SubTask("7", "RunApp",
                  "<Description>a</Description>\n<File>A.txt</File>\n<Folder>[InstallDir]</"
                  "Folder>\n"),
          "ShowDialogBox", 1),
     "", "", false, Line(kTasksLine + 1) + "task 2010: the RunApp subtask has no AppParameter"},
    {"misspelt token in a compression exclusion",
     Task("2408", SubTask("1", "GetValue", "<File>[InstallDri]\\media\\*</File>\n")), "", "", true,
     Line(kTasksLine + 2) + "File of task 2408: \"[InstallDri]\\media\\*\": "
                            "[InstallDri] is no folder token (did you mean [InstallDir]?)"},
    {"[QuickLaunch] as a folder",
     Task("2412", SubTask("1", "FolderList", "<Folder>[QuickLaunch]\\x</Folder>\n"),
          "ExtractFiles"),
     "", "", true, "the setup does not resolve [QuickLaunch] in a path"},
    {"licence of an unknown form",
     Task("2003",
          SubTask("1", "ShowSoftDoc", "<FileType>H</FileType>\n<File>product/A.txt</File>\n"),
          "ShowDialogBox", 1),
     "", "", true,
     Line(kTasksLine + 2) + "FileType of task 2003: \"H\": write S for an HTML document or M"},
    {"user information entry that writes nothing",
     Task("2005",
          SubTask("1", "EditBox",
                  "<Description>|ProgramFolderDesc|</Description>\n"
                  "<RegRootKey>HKEY_CURRENT_USER</RegRootKey>\n<RegSubKey>\\V</RegSubKey>\n"),
          "ShowDialogBox", 1),
     "", "", false, Line(kTasksLine + 2) + "Description of task 2005: \"|ProgramFolderDesc|\": "},
    {"missing picture", "", "<TopFramePicture>top.bmp</TopFramePicture>\n", "", true,
     Line(7) + "TopFramePicture of task 2401 names \"top.bmp\", which does not exist"},
};

TEST(ProjectCheckTest, IssueExamplesFailOrWarnWithTheirLine) {
    for (const Example& example : kExamples) {
        SCOPED_TRACE(example.name);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(example.tasks, example.properties, example.bindings);
        Outcome outcome = Check(kit);
        ASSERT_EQ(outcome.checked, !example.error) << outcome.errors;
        const std::string found =
            example.error ? outcome.errors
                          : (outcome.warnings.size() == 1
                                 ? outcome.warnings[0]
                                 : std::to_string(outcome.warnings.size()) + " warnings");
        EXPECT_NE(found.find(example.message), std::string::npos) << found;
        if (example.error) {
            EXPECT_EQ(outcome.errors.find('\n'), std::string::npos) << "one error expected";
        }
    }
}

// What a -D value (or the project itself) may not carry: a step out of a folder token into a
// target path, a character a file name cannot hold into the values that name the install log and
// registry keys. Each is refused with the line of the field that holds it.
TEST(ProjectCheckTest, ValuesThatWouldLeaveTheirFolderOrNameNoFileAreRefused) {
    struct Case {
        const char* name;
        std::string properties, bindings;
        std::vector<std::string> defines;
        std::string error;  // empty: the project checks clean
    };
    const Case cases[] = {
        {"a version from -D", "<ProductVersion>${V}</ProductVersion>\n", "", {"V=1.2.3 beta"}, ""},
        {"a control character in the version from -D",
         "<ProductVersion>${V}</ProductVersion>\n",
         "",
         {"V=1.2\x1b[31m"},
         Line(7) + "ProductVersion of task 2401: \"1.2\x1b[31m\": a control"},
        {"a stream name in the version",
         "<ProductVersion>1.2:x</ProductVersion>\n",
         "",
         {},
         Line(7) + "ProductVersion of task 2401: \"1.2:x\": ':' is not allowed"},
        {"a subkey in the product's name",
         "<ProjectName>${N}</ProjectName>\n",
         "",
         {"N=Demo\\Run"},
         Line(7) + "ProjectName of task 2401: \"Demo\\Run\": '\\' is not"},
        {"-D climbing out of the install folder's token",
         "<InstallPath>[Program Files]\\${SUB}</InstallPath>\n",
         "",
         {"SUB=..\\..\\Windows"},
         "InstallPath of task 2401, \"[Program Files]\\..\\..\\Windows\", is no folder Windows "
         "can hold"},
        {"-D climbing out of a target folder",
         "",
         "<PathDesc>[InstallDir]\\${SUB}</PathDesc>\n<PathValue>product</PathValue>\n",
         {"SUB=...\\System32"},
         Line(13) + "PathDesc of task 2402: \"[InstallDir]\\...\\System32\": a path may not step "
                    "through \"...\""},
        {"a dot folder in a drive path",
         "",
         "<PathDesc>C:\\Tools\\.\\x</PathDesc>\n<PathValue>product</PathValue>\n",
         {},
         Line(13) + "PathDesc of task 2402: \"C:\\Tools\\.\\x\": a path may not step"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject("", c.properties, c.bindings);
        const Outcome outcome = Check(kit, c.defines);
        EXPECT_EQ(outcome.checked, c.error.empty()) << outcome.errors;
        EXPECT_NE(outcome.errors.find(c.error), std::string::npos) << outcome.errors;
    }
}

TEST(ProjectCheckTest, NamesOutsideTheVocabularyGetASuggestion) {
    struct Case {
        std::string tasks;
        const char* message;
    };
    const Case cases[] = {
        {Task("2041", ""), "project.xml:15: task \"2041\" is not one of the task slots"},
        {Task("2041", ""), "(did you mean 2401?)"},
        {Task("2404", SubTask("1", "CreateShortcutMenue", "")),
         "project.xml:16: unknown subtask type \"CreateShortcutMenue\" (did you mean "
         "CreateShortcutMenu?)"},
        {Task("2404", SubTask("1", "GetValue", "<Descripton>x</Descripton>\n")),
         "project.xml:17: unknown field <Descripton> (did you mean Description?)"},
        {Task("2404", "", "DataSeting"), "(did you mean DataSetting?)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(c.tasks);
        Outcome outcome = Check(kit);
        EXPECT_FALSE(outcome.checked);
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << outcome.errors;
    }
}

TEST(ProjectCheckTest, EveryErrorIsReportedAndWerrorFailsOnWarnings) {
    BuildTestKit kit;
    kit.Write("product/A.txt", "a");
    kit.WriteProject("",
                     "<InstallPath>[Progam Files]\\V</InstallPath>\n<IsShow>1</IsShow>\n"
                     "<DiskSize>1.5M</DiskSize>\n");
    Outcome outcome = Check(kit);
    EXPECT_FALSE(outcome.checked);
    EXPECT_NE(outcome.errors.find(Line(7) + "InstallPath"), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("\n" + kit.Path("project.xml") +
                                  ":9: DiskSize of task 2401: "
                                  "\"1.5M\" has an unknown unit"),
              std::string::npos)
        << outcome.errors;
    ASSERT_EQ(outcome.warnings.size(), 1u);
    EXPECT_NE(outcome.warnings[0].find(Line(8) + "task 2401: the setup never reads <IsShow>"),
              std::string::npos);

    kit.WriteProject("", "<IsShow>1</IsShow>\n");
    EXPECT_TRUE(Check(kit).checked);
    outcome = Check(kit, {}, true);
    EXPECT_FALSE(outcome.checked);
    EXPECT_NE(outcome.errors.find(Line(7) + "task 2401: the setup never reads <IsShow>"),
              std::string::npos)
        << outcome.errors;
    EXPECT_TRUE(outcome.warnings.empty());
}

TEST(ProjectCheckTest, LaterStepsNameTheLineToo) {
    struct Case {
        const char* name;
        std::string tasks;
        bool error;
        std::string message;
    };
    const Case cases[] = {
        {"uninstall record without an uninstaller",
         Task("2410", SubTask("1", "GetValue", "<CreateUnInstall1>1</CreateUnInstall1>\n")), false,
         Line(kTasksLine) + "task 2410 asks for an uninstall record"},
        {"font the setup does not carry",
         Task("2407", SubTask("1", "GetValue", "<File>[Windows Directory]\\Fonts\\x.ttf</File>\n")),
         true, Line(kTasksLine + 2) + "task 2407: the font"},
        {"mark for a file no source holds",
         Task("2412", SubTask("1", "FileList", "<File>[InstallDir]\\b.exe,,,L,</File>\n"),
              "ExtractFiles"),
         true, Line(kTasksLine + 2) + "task 2412 gives [InstallDir]\\b.exe the kind L"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(c.tasks);
        Outcome outcome = Check(kit);
        EXPECT_EQ(outcome.checked, !c.error);
        const std::string found =
            c.error ? outcome.errors : (outcome.warnings.empty() ? "" : outcome.warnings[0]);
        EXPECT_NE(found.find(c.message), std::string::npos) << found;
    }
}

TEST(ProjectCheckTest, EveryStructuralMistakeInOneRunInFileOrder) {
    BuildTestKit kit;
    kit.Write("product/A.txt", "a");
    test::BmpBuilder topPicture;
    topPicture.headerSize = 124;
    topPicture.pixels = std::string(4, '\x7f');
    kit.Write("top.bmp", topPicture.Bytes());
    kit.Write("welcome.bmp", "\x89PNG\r\n\x1a\n" + std::string(60, '\0'));
    kit.Write("project.xml",
              "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<InstallProject>\n"
              "<Task Type=\"DataSetting\" ID=\"2401\" IsExec=\"0\">\n"  // 3: attributes
              "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<ProjectName>Test</ProjectName>\n"
              "<TopFramePicture>top.bmp</TopFramePicture>\n"  // 6: a header the setup cannot read
              "<AdPicture/>\n"                                // 7
              "</SubTask>\n</Task>\n"
              "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
              "<SubTask ID=\"1\" Type=\"ShowBitmap\">\n"
              "<File>welcome.bmp</File>\n"  // 12: a PNG
              "</SubTask>\n</Task>\n"
              "<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"1\">\n"  // 15: a data task shown
              "<SubTask ID=\"1\" Type=\"GetAllVars\">\n"                // 16: no such type
              "<PathDesc>[InstallDir]</PathDesc>\n<PathValue>product</PathValue>\n</SubTask>\n"
              "<SubTask ID=\"2\" Type=\"GetAllVar\">\n"
              "<PathDesc>[InstallDir]</PathDesc>\n<PathValue>product</PathValue>\n</SubTask>\n"
              "</Task>\n</InstallProject>\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(tool::CheckCommand({kit.Path("project.xml")}), tool::kExitFailure);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    const std::string output = testing::internal::GetCapturedStderr();

    const std::string prefix = "veskbuild: " + kit.Path("project.xml");
    std::vector<std::string> errors;
    std::size_t start = 0;
    for (std::size_t end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = output.substr(start, end - start);
        const std::string rest = line.substr(std::min(line.size(), prefix.size() + 1));
        if (line.rfind(prefix + ":", 0) == 0 && !rest.empty() && std::isdigit(rest[0])) {
            errors.push_back(rest);
        }
    }
    const std::vector<std::string> expected = {
        "3: write the attributes of a task in the order ID, Type, IsExec",
        "6: top.bmp (TopFramePicture of task 2401): the setup cannot show this picture (a BMP "
        "with a 124-byte header",
        "7: write an empty field as <AdPicture></AdPicture>",
        "12: the ShowBitmap File of task 2002 names \"welcome.bmp\", which is no BMP picture",
        "15: task 2402 has IsExec=\"1\", but only the wizard page tasks",
        "16: unknown subtask type \"GetAllVars\" (did you mean GetAllVar?)",
    };
    ASSERT_EQ(errors.size(), expected.size()) << output;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(errors[i].rfind(expected[i], 0), 0u) << errors[i];
    }
    EXPECT_NE(output.find(prefix + ": 6 errors, 0 warnings\n"), std::string::npos) << output;
}

TEST(ProjectCheckTest, RegistryNumbersMustReadAsWritten) {
    struct Case {
        std::string data;
        const char* error;  // nullptr: accepted
    };
    const Case cases[] = {
        {"0", nullptr},
        {"-2147483648", nullptr},
        {"2147483647", nullptr},
        {"five",
         "RegVarValue of task 2406: \"five\" is no number (RegDataType 1): the setup would "
         "write 0"},
        {"12abc", "\"12abc\" is no number (RegDataType 1): the setup would write 12"},
        {"4294967295", "the setup reads numbers up to 2147483647 and would write that; write -1"},
        {"0x1F", "\"0x1F\": write the number in decimal, 31: the setup reads it as 0"},
        {"", "empty: with RegDataType 1 the setup writes the number 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(Task("2406", RegistryItem("HKEY_CURRENT_USER", "\\Software\\V", "1")));
        std::string project = test::ReadWholeFile(kit.Path("project.xml"));
        const std::string value = "<RegVarValue>1</RegVarValue>";
        project.replace(project.find(value), value.size(),
                        "<RegVarValue>" + c.data + "</RegVarValue>");
        kit.Write("project.xml", project);
        Outcome outcome = Check(kit);
        EXPECT_EQ(outcome.checked, c.error == nullptr) << outcome.errors;
        if (c.error) {
            EXPECT_NE(outcome.errors.find(Line(kTasksLine + 6) + "RegVarValue"), std::string::npos)
                << outcome.errors;
            EXPECT_NE(outcome.errors.find(c.error), std::string::npos) << outcome.errors;
        }
    }
    // A text value, or an item that deletes, takes any data.
    BuildTestKit kit;
    kit.Write("product/A.txt", "a");
    kit.WriteProject(Task("2406", RegistryItem("HKEY_CURRENT_USER", "\\Software\\V", "0") +
                                      SubTask("2", "Registry",
                                              "<RegRootKey>HKEY_CURRENT_USER</RegRootKey>\n"
                                              "<RegDataType>1</RegDataType>\n"
                                              "<RegOperType>1</RegOperType>\n")));
    Outcome outcome = Check(kit);
    EXPECT_TRUE(outcome.checked) << outcome.errors;
}

TEST(ProjectCheckTest, ASetupForTheCurrentUserRefusesWhatNeedsAdministratorRights) {
    struct Case {
        std::string tasks, bindings;
        const char* error;  // part of the error; nullptr: the project checks clean
    };
    const std::string product =
        "<PathDesc>[InstallDir]</PathDesc>\n<PathValue>product</PathValue>\n";
    const Case cases[] = {
        {Task("2406", RegistryItem("HKEY_CURRENT_USER", "\\Software\\V", "0")), "", nullptr},
        {Task("2406", RegistryItem("HKEY_LOCAL_MACHINE", "\\Software\\V", "0")), "",
         "RegRootKey of task 2406: \"HKEY_LOCAL_MACHINE\" is below HKEY_LOCAL_MACHINE, which a "
         "setup for the current user (InstallScope user) cannot write"},
        {Task("2406", RegistryItem("HKEY_CLASSES_ROOT", "\\.vesk", "0")), "",
         "use HKEY_CURRENT_USER (HKEY_CURRENT_USER\\Software\\Classes for file types)"},
        {"", "<PathDesc>[System Directory]</PathDesc>\n<PathValue>product</PathValue>\n",
         "PathDesc of task 2402: \"[System Directory]\" installs into [System Directory], which "
         "only administrators can write"},
        {Task("2405", SubTask("1", "GetValue", "<File>[InstallDir]\\A.ocx</File>\n")), "",
         "File of task 2405: \"[InstallDir]\\A.ocx\" is registered for every user (Regsvr32)"},
        {Task("2407", SubTask("1", "GetValue", "<File>[InstallDir]\\A.ttf</File>\n")), "",
         "File of task 2407: \"[InstallDir]\\A.ttf\": fonts are installed for every user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error ? c.error : "accepted");
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(c.tasks, "<InstallScope>user</InstallScope>\n", c.bindings);
        const Outcome outcome = Check(kit, {}, false, true);
        if (!c.error) {
            EXPECT_TRUE(outcome.checked) << outcome.errors;
        } else {
            EXPECT_NE(outcome.errors.find(c.error), std::string::npos) << outcome.errors;
        }
    }
    // The same items in a setup for the machine are no mistake.
    BuildTestKit kit;
    kit.Write("product/A.txt", "a");
    kit.WriteProject(Task("2406", RegistryItem("HKEY_LOCAL_MACHINE", "\\Software\\V", "0")),
                     "<InstallScope>Machine</InstallScope>\n");
    EXPECT_TRUE(Check(kit).checked);
    kit.WriteProject("", "<InstallScope>users</InstallScope>\n");
    EXPECT_NE(Check(kit).errors.find("InstallScope of task 2401: \"users\": write machine"),
              std::string::npos);
}

TEST(ProjectCheckTest, TargetsTheSetupDoesNotInstallAreErrorsUnlessAllowed) {
    struct Case {
        const char* name;
        std::string tasks;
        std::string message;
    };
    const std::string page = SubTask("1", "GetValue", "<Description>P</Description>\n");
    const Case cases[] = {
        {"shortcut",
         Task("2404", page + SubTask("2", "CreateShortcutMenu",
                                     "<Description>Go</Description>\n<File>go.exe</File>\n"
                                     "<Folder>[InstallDir]\\bin</Folder>\n")),
         Line(kTasksLine + 6) +
             "task 2404: the shortcut \"Go\" points at [InstallDir]\\bin\\go.exe, "
             "which the setup does not install"},
        {"font", Task("2407", SubTask("1", "GetValue", "<File>[InstallDir]\\x.ttf</File>\n")),
         Line(kTasksLine + 2) +
             "task 2407: the font [InstallDir]\\x.ttf is not among the setup's "
             "files (--allow-missing-targets when something else puts it there)"},
        {"component", Task("2405", SubTask("1", "GetValue", "<File>[InstallDir]\\x.ocx</File>\n")),
         Line(kTasksLine + 2) + "task 2405: the component [InstallDir]\\x.ocx"},
        {"program after the install",
         Task("2010",
              SubTask("7", "RunApp",
                      "<Description>Run</Description>\n<File>run.exe</File>\n"
                      "<Folder>[InstallDir]</Folder>\n<AppParameter></AppParameter>\n"),
              "ShowDialogBox", 1),
         Line(kTasksLine + 3) + "task 2010: the program \"Run\" points at [InstallDir]\\run.exe, "
                                "which the setup does not install"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(c.tasks);
        Outcome outcome = Check(kit);
        EXPECT_FALSE(outcome.checked);
        EXPECT_NE(outcome.errors.find(c.message), std::string::npos) << outcome.errors;
        outcome = Check(kit, {}, false, true);
        EXPECT_TRUE(outcome.checked) << outcome.errors;
        ASSERT_EQ(outcome.missingTargets.size(), 1u);
        EXPECT_NE(outcome.missingTargets[0].find(c.message.substr(0, 40)), std::string::npos);
    }
}

TEST(ProjectCheckTest, DefaultsAndTheStarterProjectCheckClean) {
    test::TempDir dir;
    StarterProject starter;
    ASSERT_TRUE(starter.Write(dir / "starter")) << starter.LastError();
    BuildOptions options;
    options.projectPath = dir / "starter/project.xml";
    options.checkOnly = true;
    options.warningsAreErrors = true;
    SetupBuilder builder;
    EXPECT_TRUE(builder.Build(options)) << builder.LastError();
    EXPECT_TRUE(builder.Summary().warnings.empty());
}

}  // namespace
}  // namespace vesk
