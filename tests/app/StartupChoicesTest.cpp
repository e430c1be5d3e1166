// The choices start-up reads: the folder it proposes for the install, the program folder and the
// preparatory program.
#include <gtest/gtest.h>

#include "app/StartupChoices.h"
#include "support/FakeSystemFacts.h"
#include "support/MemoryRegistry.h"

namespace vesk {
namespace {

using test::FakeSystemFacts;
using test::MemoryRegistry;

InstallProject ProjectWith(const std::string& name, const std::string& installPath,
                           const std::string& extra = "") {
    InstallProject project;
    project.Parse(
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
        "<Version>VeskInstall5.0</Version>\r\n"
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
        "<ProjectName>" +
        name + "</ProjectName>\r\n<InstallPath>" + installPath + "</InstallPath>\r\n" + extra +
        "</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2404\" Type=\"CreateShortcutMenu\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetValue\">\r\n"
        "<Description>Vesk Tools</Description>\r\n</SubTask>\r\n</Task>\r\n"
        "</InstallProject>\r\n");
    return project;
}

constexpr char kProductKey[] = "SOFTWARE\\VeskSoft\\VeskInstall\\Demo";

TEST(StartupChoicesTest, EarlierInstallFolderReplacesTheProjectsWhenNotEmpty) {
    struct Case {
        const char* label;
        const char* installPath;
        const char* registryPath;  // null: no "Path" value
        bool keyExists;
        const char* expected;
    };
    const Case cases[] = {
        {"value present", "[Program Files]\\Demo", "D:\\Apps\\Demo", true, "D:\\Apps\\Demo"},
        {"value empty", "[Program Files]\\Demo", "", true, "C:\\Program Files\\Demo"},
        {"value missing", "[Program Files]\\Demo", nullptr, true, "C:\\Program Files\\Demo"},
        {"key missing", "[Windows Directory]\\Demo", nullptr, false, "C:\\WINDOWS\\Demo"},
        {"plain path", "E:\\Demo", nullptr, false, "E:\\Demo"},
        {"empty project path", "", "F:\\Old", true, "F:\\Old"},
    };
    for (const Case& c : cases) {
        FakeSystemFacts facts;
        MemoryRegistry registry;
        if (c.keyExists) registry.AddKey(RegistryRoot::LocalMachine, kProductKey);
        if (c.registryPath) {
            registry.PutString(RegistryRoot::LocalMachine, kProductKey, "Path", c.registryPath);
        }
        PathResolver resolver(facts, registry);
        InstallProject project = ProjectWith("Demo", c.installPath);
        EXPECT_EQ(ProposedInstallFolder(project, resolver, registry), c.expected) << c.label;
        // The key is only read: a run that ends here leaves no key behind. No key is left open.
        EXPECT_EQ(registry.HasKey(RegistryRoot::LocalMachine, kProductKey), c.keyExists) << c.label;
        EXPECT_EQ(registry.OpenHandles(), 0) << c.label;
    }
}

TEST(StartupChoicesTest, ReadOnlyEngineKeyStillGivesTheEarlierFolder) {
    FakeSystemFacts facts;
    MemoryRegistry registry;
    registry.PutString(RegistryRoot::LocalMachine, kProductKey, "Path", "D:\\Kept");
    registry.MakeReadOnly(RegistryRoot::LocalMachine, kProductKey);
    PathResolver resolver(facts, registry);
    EXPECT_EQ(ProposedInstallFolder(ProjectWith("Demo", "E:\\Demo"), resolver, registry),
              "D:\\Kept");
}

TEST(StartupChoicesTest, ProgramFolderAndPreparatoryProgramComeFromTheProject) {
    InstallProject plain = ProjectWith("Demo", "E:\\Demo");
    EXPECT_EQ(ProposedProgramFolder(plain), "Vesk Tools");
    EXPECT_EQ(PreparatoryProgramSetting(plain), "");
    InstallProject preparing =
        ProjectWith("Demo", "E:\\Demo", "<ProvideForInstall>prep.exe</ProvideForInstall>\r\n");
    EXPECT_EQ(PreparatoryProgramSetting(preparing), "prep.exe");
}

}  // namespace
}  // namespace vesk
