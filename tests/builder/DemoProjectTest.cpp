// The demo of examples/demo builds cleanly, spans two volumes and extracts to its sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "builder/veskbuild/Commands.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::FilesBelow;
using test::ReadWholeFile;

const fs::path kDemo = fs::path(VESK_SOURCE_DIR) / "examples" / "demo";

TEST(DemoProjectTest, BuildsIntoTwoVolumesThatGiveTheSourcesBack) {
    ASSERT_TRUE(fs::exists(kDemo / "project.xml")) << kDemo;
    test::TempDir dir;
    // A stand-in of the engine's size: with the demo's DiskSize (720K) and about 660 KB of data,
    // an engine of 60 KB to 719 KB makes two volumes.
    std::string stub = test::BuildTestKit::StubBytes();
    stub.resize(450 * 1024, 'x');
    test::WriteWholeFile(dir / "stub.exe", stub);
    test::WriteWholeFile(dir / "uninstaller.exe", "MZ" + std::string(1000, 'u'));

    BuildOptions options;
    options.projectPath = (kDemo / "project.xml").string();
    options.stubPath = dir / "stub.exe";
    options.outputDir = dir / "out";
    options.uninstallerPath = dir / "uninstaller.exe";
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    EXPECT_TRUE(builder.Summary().warnings.empty()) << builder.Summary().warnings.front();
    EXPECT_EQ(builder.Summary().volumes, 2);
    EXPECT_EQ(builder.Summary().diskSize, 720 * 1024);

    {
        SetupInspector setup;
        ASSERT_TRUE(setup.Open(dir / "out/Setup.exe")) << setup.LastError();
        std::map<char, int> kinds;
        for (const FileEntry& entry : setup.Entries()) ++kinds[entry.letter];
        EXPECT_EQ(kinds['K'], 5);  // language, header and welcome pictures, licence, readme
        EXPECT_EQ(kinds['R'], 1);
        EXPECT_EQ(kinds['U'], 1);  // the uninstall record is on
        EXPECT_GE(kinds['N'], 4);  // the pictures of the gallery and the archive
        EXPECT_GE(kinds['A'], 6);
        EXPECT_EQ(setup.Project().GetValue("2407", SubTaskType::GetValue, FieldKind::File),
                  "[Windows Directory]\\Fonts\\DejaVuSansMono.ttf");
    }
    ASSERT_EQ(tool::ExtractCommand({dir / "out/Setup.exe", dir / "x"}), 0);
    EXPECT_EQ(FilesBelow(dir / "x/InstallDir"), FilesBelow(kDemo / "product"));
    EXPECT_EQ(FilesBelow(dir / "x/Windows Directory/Fonts"), FilesBelow(kDemo / "fonts"));
    EXPECT_EQ(ReadWholeFile(dir / "x/TempFileDir/demo-settings.reg"),
              ReadWholeFile((kDemo / "setup/demo-settings.reg").string()));
    EXPECT_TRUE(fs::is_directory(dir / "x/InstallDir/logs"));
}

}  // namespace
}  // namespace vesk
