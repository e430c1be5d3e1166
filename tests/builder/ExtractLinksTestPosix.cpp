// extract into a folder where links were planted: nothing is written through one, and a file of
// the setup's name that has a second name elsewhere is replaced, not written through.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "builder/veskbuild/Commands.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::TempDir;

TEST(ExtractLinksTest, NothingIsWrittenThroughALinkInTheOutputFolder) {
    struct Case {
        const char* name;
        std::function<void(const std::string& dir)> plant;  // in dir/out, before the extraction
        bool extracted;
    };
    const Case cases[] = {
        {"nothing planted", [](const std::string&) {}, true},
        {"an earlier extraction",
         [](const std::string& dir) {
             fs::create_directories(dir + "out/InstallDir");
             test::WriteWholeFile(dir + "out/InstallDir/a.txt", "older");
         },
         true},
        {"a link to a folder outside",
         [](const std::string& dir) {
             fs::create_directory_symlink("../elsewhere", dir + "out/InstallDir");
         },
         false},
        {"a link to a file outside",
         [](const std::string& dir) {
             fs::create_directories(dir + "out/InstallDir");
             fs::create_symlink("../../elsewhere/victim.txt", dir + "out/InstallDir/a.txt");
         },
         false},
        {"a dangling link",
         [](const std::string& dir) {
             fs::create_directories(dir + "out/InstallDir");
             fs::create_symlink("../../elsewhere/new.txt", dir + "out/InstallDir/a.txt");
         },
         false},
        {"a link as the project's name",
         [](const std::string& dir) {
             fs::create_symlink("../elsewhere/victim.txt", dir + "out/project.xml");
         },
         false},
        {"a second name of a file outside",
         [](const std::string& dir) {
             fs::create_directories(dir + "out/InstallDir");
             fs::create_hard_link(dir + "elsewhere/victim.txt", dir + "out/InstallDir/a.txt");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directories(dir / "out");
        fs::create_directories(dir / "elsewhere");
        test::WriteWholeFile(dir / "elsewhere/victim.txt", "the user's own");
        const test::FixtureSet set =
            test::BuildFixtureSet(dir / "Setup.exe", 1000, 1 << 20,
                                  {{"from the setup", false, 0, "[InstallDir]\\a.txt"}});
        c.plant(dir.Path());
        testing::internal::CaptureStderr();
        const int code = tool::ExtractCommand({set.setupPath, dir / "out", "--quiet"});
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, c.extracted ? 0 : 1) << errors;
        if (!c.extracted) {
            EXPECT_NE(errors.find("is in the way of a"), std::string::npos) << errors;
        } else {
            EXPECT_EQ(ReadWholeFile(dir / "out/InstallDir/a.txt"), "from the setup");
        }
        EXPECT_EQ(ReadWholeFile(dir / "elsewhere/victim.txt"), "the user's own");
        EXPECT_FALSE(fs::exists(dir / "elsewhere/a.txt"));
        EXPECT_FALSE(fs::exists(dir / "elsewhere/new.txt"));
        EXPECT_FALSE(fs::exists(dir / "elsewhere/project.xml"));
    }
}

}  // namespace
}  // namespace vesk
