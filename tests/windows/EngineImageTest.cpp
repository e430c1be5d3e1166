// The engine's programs (the stub and the uninstaller) as Windows finds them before they run: the
// libraries the stub imports, the oldest system their headers name, their application manifest and
// their version information.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "support/PeProbe.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr std::uint16_t kVersionResource = 16;
constexpr std::uint16_t kManifestResource = 24;

// The engine's programs, each with the description its version information gives.
struct Program {
    const char* path;
    const char16_t* description;
};
const Program kPrograms[] = {
    {VESK_STUB_PATH, u"VeskInstall Setup"},
    {VESK_UNINSTALLER_PATH, u"VeskInstall Uninstaller"},
};

test::ProbedImage Probe(const char* path) {
    const std::string bytes = test::ReadWholeFile(path);
    EXPECT_GT(bytes.size(), 1000u) << "program not found at " << path;
    return test::ProbePe(bytes);
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

TEST(EngineImageTest, ImportsOnlyLibrariesThatPullNothingInBeforeTheSearchIsRestricted) {
    // Windows maps these from the system folder whatever lies beside the program (known
    // libraries). The shell, component and common-control libraries pull further ones in by name
    // (comctl32 uxtheme, when it starts): both programs bind them themselves once the search is
    // restricted and those are loaded from the system folder.
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.path);
        const test::ProbedImage image = Probe(program.path);
        ASSERT_EQ(image.problem, "");
        std::set<std::string> imports;
        for (const std::string& name : image.imports) imports.insert(Upper(name));
        EXPECT_EQ(imports, (std::set<std::string>{"ADVAPI32.DLL", "GDI32.DLL", "KERNEL32.DLL",
                                                  "MSVCRT.DLL", "USER32.DLL"}));
    }
}

TEST(EngineImageTest, HeaderAndManifestNameTheSameOldestSystem) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.path);
        const test::ProbedImage image = Probe(program.path);
        ASSERT_EQ(image.problem, "");
        const test::ProbedResource* manifest = image.Find(kManifestResource, 1);
        ASSERT_NE(manifest, nullptr) << "no application manifest";
        const std::string& text = manifest->data;
        for (const char* wanted :
             {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
              "<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>",
              ">true</dpiAware>"}) {
            EXPECT_NE(text.find(wanted), std::string::npos) << wanted;
        }

        // The systems the manifest lists, oldest first, each with its version number.
        struct System {
            const char* id;
            std::array<std::uint16_t, 2> version;
        };
        const System systems[] = {
            {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", {6, 1}},   // 7
            {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", {6, 2}},   // 8
            {"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", {6, 3}},   // 8.1
            {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", {10, 0}},  // 10 and 11
        };
        std::vector<std::string> listed;
        const std::string key = "<supportedOS Id=\"";
        for (std::size_t at = text.find(key); at != std::string::npos;
             at = text.find(key, at + 1)) {
            listed.push_back(text.substr(at + key.size(), 38));
        }
        std::vector<std::string> expected;
        for (const System& system : systems) expected.push_back(system.id);
        EXPECT_EQ(listed, expected);
        // The oldest listed is the oldest the header lets Windows start the stub on.
        EXPECT_EQ(image.osVersion, systems[0].version);
        EXPECT_EQ(image.subsystemVersion, systems[0].version);
    }
}

TEST(EngineImageTest, VersionInformationNamesTheEngine) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.path);
        const test::ProbedImage image = Probe(program.path);
        const test::ProbedResource* version = image.Find(kVersionResource, 1);
        ASSERT_NE(version, nullptr) << "no version information";
        std::array<std::uint16_t, 4> fileVersion{};
        std::map<std::string, std::u16string> strings =
            test::VersionStrings(version->data, fileVersion);
        EXPECT_EQ(strings["ProductName"], u"VeskInstall");
        EXPECT_EQ(strings["FileDescription"], program.description);
        const std::string engineVersion = VESK_ENGINE_VERSION;
        EXPECT_EQ(strings["ProductVersion"],
                  std::u16string(engineVersion.begin(), engineVersion.end()));
        const std::string numbers = std::to_string(fileVersion[0]) + "." +
                                    std::to_string(fileVersion[1]) + "." +
                                    std::to_string(fileVersion[2]);
        EXPECT_EQ(numbers, engineVersion);
    }
}

}  // namespace
}  // namespace vesk
