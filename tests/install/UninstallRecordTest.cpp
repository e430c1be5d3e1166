// The uninstall record of the last phase: log, uninstall entry, version key, uninstall
// shortcut and the product's values, as task 2410 asks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "install/InstallBench.h"
#include "project/TaskSlots.h"

namespace vesk {
namespace {

using test::InstallBench;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
const std::string kLog = "C:\\Apps\\Demo\\VeskInstall Demo 1.2.xml";
const std::string kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo 1.2";
const std::string kProduct = "SOFTWARE\\VeskSoft\\VeskInstall\\Demo";
const std::string kLink = "C:\\All Users\\Start Menu\\Programs\\Demo\\Uninstall Demo 1.2.Lnk";

InstallBench& Prepared(InstallBench& run, const char* entry, const char* shortcut,
                       const char* programFolder) {
    run.session.folders.Add("[InstallDir]");
    run.session.programFolder = programFolder;
    run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall1, entry);
    run.Add(kSlotUninstallOptions, SubTaskType::GetValue, FieldKind::CreateUnInstall2, shortcut);
    return run;
}

TEST(UninstallRecordTest, WritesWhatTask2410AsksAndAlwaysTheProductsValues) {
    struct Case {
        const char* entry;
        const char* shortcut;
        const char* programFolder;
        bool log;
        std::optional<std::string> linkValue;  // UnInstallFileLink; nullopt: not written
        const char* programFolderValue;
    };
    const std::string group = "C:\\All Users\\Start Menu\\Programs\\Demo";
    const Case cases[] = {
        {"0", "0", "Demo", false, std::nullopt, group.c_str()},
        {"1", "0", "Demo", true, std::nullopt, group.c_str()},
        {"0", "1", "Demo", true, group + "\\Uninstall Demo 1.2.lnk", group.c_str()},
        {"1", "1", "", true, std::string(), ""},
    };
    for (const Case& c : cases) {
        InstallBench run;
        Prepared(run, c.entry, c.shortcut, c.programFolder).Run();
        SCOPED_TRACE(std::string(c.entry) + c.shortcut + c.programFolder);
        EXPECT_EQ(run.report.log.back(), "completed");
        EXPECT_EQ(run.files.FileExists(kLog), c.log);
        if (c.log) {
            EXPECT_EQ(run.files.files[kLog], run.session.project.ToText());
        }
        const bool entry = std::string(c.entry) == "1";
        EXPECT_EQ(run.registry.StringValue(kMachine, kEntry, "DisplayName"),
                  entry ? std::optional<std::string>("Demo 1.2") : std::nullopt);
        // Both paths quoted: the install folder may hold blanks.
        EXPECT_EQ(run.registry.StringValue(kMachine, kEntry, "UninstallString"),
                  entry ? std::optional<std::string>("\"C:\\WINDOWS\\Vesk-UnInstall.exe\" \"" +
                                                     kLog + "\"")
                        : std::nullopt);
        EXPECT_EQ(run.registry.StringValue(kMachine, kProduct + "\\1.2", "ProgramFolder"),
                  c.programFolderValue);
        EXPECT_EQ(run.registry.StringValue(kMachine, kProduct + "\\1.2", "UnInstallFileLink"),
                  c.linkValue);
        EXPECT_EQ(run.registry.StringValue(kMachine, kProduct, "Path"), "C:\\Apps\\Demo");
        EXPECT_EQ(run.registry.StringValue(kMachine, kProduct, "Version"), "1.2");
        const bool withLink = c.linkValue && !c.linkValue->empty();
        EXPECT_EQ(run.links.links.count(kLink), withLink ? 1u : 0u);
        if (withLink) {
            const ShellLink& link = run.links.links[kLink];
            EXPECT_EQ(link.target, "C:\\WINDOWS\\Vesk-UnInstall.exe");
            EXPECT_EQ(link.arguments, "\"" + kLog + "\"");
            EXPECT_EQ(link.workingFolder, "C:\\WINDOWS");
            const std::vector<std::string> files = run.session.records.InstalledFiles();
            EXPECT_NE(std::find(files.begin(), files.end(), kLink), files.end());
        }
    }
}

// Beside the name and the command, what the system's list of programs and administrators read.
TEST(UninstallRecordTest, TheUninstallEntryDescribesTheProductForTheSystem) {
    struct Case {
        const char* softwareSize;
        std::optional<std::uint32_t> kib;  // EstimatedSize; nullopt: not written
    };
    const Case cases[] = {{"", std::nullopt}, {"1", 1}, {"1024", 1}, {"1048577", 1025}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.softwareSize);
        InstallBench run;
        Prepared(run, "1", "0", "Demo");
        run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::CompanyDesc,
                "Demo Works");
        run.Add(kSlotProjectProperties, SubTaskType::GetAllVar, FieldKind::SoftwareSize,
                c.softwareSize);
        run.Run();
        const std::string command = "\"C:\\WINDOWS\\Vesk-UnInstall.exe\" \"" + kLog + "\"";
        const std::pair<const char*, std::string> strings[] = {
            {"QuietUninstallString", command + " /S"},
            {"DisplayVersion", "1.2"},
            {"Publisher", "Demo Works"},
            {"InstallLocation", "C:\\Apps\\Demo"},
            {"DisplayIcon", "C:\\WINDOWS\\Vesk-UnInstall.exe"},
        };
        for (const auto& value : strings) {
            EXPECT_EQ(run.registry.StringValue(kMachine, kEntry, value.first), value.second)
                << value.first;
        }
        auto dword = [&](const char* name) -> std::optional<std::uint32_t> {
            const auto value = run.registry.Value(kMachine, kEntry, name);
            if (!value || value->type != kRegistryDword || value->data.size() != 4) {
                return std::nullopt;
            }
            std::uint32_t number = 0;
            for (int i = 3; i >= 0; --i) number = number << 8 | std::uint8_t(value->data[i]);
            return number;
        };
        EXPECT_EQ(dword("NoModify"), 1u);
        EXPECT_EQ(dword("NoRepair"), 1u);
        EXPECT_EQ(dword("EstimatedSize"), c.kib);
    }
}

TEST(UninstallRecordTest, YesAfterTheLogLeavesTheRegistryUntouched) {
    InstallBench run;
    Prepared(run, "1", "1", "Demo");
    // Cancel pressed during the pause after the shortcut phase, the last one before the record.
    // Pauses: the first status, the one folder, then seven phases.
    run.cancelAfterPauses = 1 + 1 + 7;
    run.report.answers = {true};
    run.Run();
    EXPECT_EQ(run.report.log.back(), "ended early");
    EXPECT_TRUE(run.files.FileExists(kLog));
    EXPECT_FALSE(run.registry.HasKey(kMachine, kEntry));
    EXPECT_FALSE(run.registry.HasKey(kMachine, kProduct + "\\1.2"));
    EXPECT_FALSE(run.registry.StringValue(kMachine, kProduct, "Path"));
    EXPECT_TRUE(run.links.links.empty());
}

}  // namespace
}  // namespace vesk
