// What the builder reads on a POSIX build machine: symbolic links in the sources, devices and
// pipes where files belong, and an interrupt in the middle of a build.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "BuildTestKit.h"
#include "builder/veskbuild/Commands.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::BuildTestKit;

TEST(BuildInputsTest, LinksOutOfTheSourceFolderOrToFoldersStayOut) {
    struct Case {
        const char* name;
        const char* link;    // below product/
        const char* points;  // the link's target, relative to the link's folder
        bool packed;
        const char* warning;  // part of the warning, "" for none
    };
    const Case cases[] = {
        {"file outside", "secret", "../outside/secret.txt", false, "outside the source folder"},
        {"folder outside", "ext", "../outside", false, "outside the source folder"},
        {"absolute, outside", "passwd", "/etc/passwd", false, "to /etc/passwd, outside"},
        {"file inside", "alias.txt", "docs/a.txt", true, ""},
        {"folder inside", "docs-link", "docs", false, "not followed"},
        {"the source folder itself", "self", ".", false, "not followed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("outside/secret.txt", "private key");
        kit.Write("product/docs/a.txt", "docs");
        kit.WriteProject();
        fs::create_symlink(c.points, kit.Path(std::string("product/") + c.link));
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
        std::string project = builder.Project().ToText();
        std::string target = std::string("[InstallDir]\\") + c.link;
        EXPECT_EQ(project.find(target + ",") != std::string::npos, c.packed);
        EXPECT_EQ(project.find("private key"), std::string::npos);
        const auto& warnings = builder.Summary().warnings;
        if (*c.warning) {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_NE(warnings[0].find(std::string("product/") + c.link), std::string::npos);
            EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
        } else {
            EXPECT_TRUE(warnings.empty());
        }
    }
}

TEST(BuildInputsTest, ChainedFolderLinksAreScannedOnce) {
    // Each folder links twice to the next: followed, the 48 levels would give 2^48 paths.
    BuildTestKit kit;
    constexpr int kLevels = 48;
    for (int i = 0; i < kLevels; ++i) {
        std::string folder = "product/d" + std::to_string(i) + "/";
        kit.Write(folder + "file.txt", "level " + std::to_string(i));
        if (i + 1 < kLevels) {
            fs::create_symlink("../d" + std::to_string(i + 1), kit.Path(folder + "a"));
            fs::create_symlink("../d" + std::to_string(i + 1), kit.Path(folder + "b"));
        }
    }
    kit.WriteProject();
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
    EXPECT_EQ(builder.Summary().installedFiles, std::size_t(kLevels));
    EXPECT_EQ(builder.Summary().warnings.size(), std::size_t(2 * (kLevels - 1)));
}

TEST(BuildInputsTest, DevicesAndPipesAreRefusedWithoutReading) {
    struct Case {
        const char* name;
        void (*prepare)(BuildTestKit& kit, BuildOptions& options);
        const char* error;
    };
    const Case cases[] = {
        {"device as project",
         [](BuildTestKit&, BuildOptions& options) { options.projectPath = "/dev/zero"; },
         "/dev/zero: cannot be read: it is not a regular file"},
        {"device as stub",
         [](BuildTestKit&, BuildOptions& options) { options.stubPath = "/dev/zero"; },
         "the engine stub cannot be read (/dev/zero: is not a regular file"},
        {"pipe as project",
         [](BuildTestKit& kit, BuildOptions& options) {
             ASSERT_EQ(mkfifo(kit.Path("pipe.xml").c_str(), 0600), 0);
             options.projectPath = kit.Path("pipe.xml");
         },
         "pipe.xml: cannot be read: it is not a regular file"},
        {"pipe as stub",
         [](BuildTestKit& kit, BuildOptions& options) {
             ASSERT_EQ(mkfifo(kit.Path("pipe.exe").c_str(), 0600), 0);
             options.stubPath = kit.Path("pipe.exe");
         },
         "pipe.exe: is not a regular file"},
        {"pipe among the sources",
         [](BuildTestKit& kit, BuildOptions&) {
             ASSERT_EQ(mkfifo(kit.Path("product/pipe").c_str(), 0600), 0);
         },
         "product/pipe: neither a file nor a folder"},
        {"device as uninstaller",
         [](BuildTestKit& kit, BuildOptions& options) {
             kit.WriteProject(
                 "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\n<SubTask ID=\"1\" "
                 "Type=\"GetValue\">\n<CreateUnInstall1>1</CreateUnInstall1>\n</SubTask>\n"
                 "</Task>\n");
             options.uninstallerPath = "/dev/zero";
         },
         "--uninstaller: /dev/zero is not a file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/a.txt", "a");
        kit.WriteProject();
        BuildOptions options = kit.Options();
        c.prepare(kit, options);
        SetupBuilder builder;
        EXPECT_FALSE(builder.Build(options));
        EXPECT_NE(builder.LastError().find(c.error), std::string::npos) << builder.LastError();
        EXPECT_FALSE(fs::exists(kit.Path("out")));
    }
    BuildTestKit kit;
    EXPECT_EQ(tool::CompressCommand({"/dev/zero", kit.Path("z.lzss")}), 1);
    EXPECT_FALSE(fs::exists(kit.Path("z.lzss")));
}

// A product file swapped once the scan has seen it, while earlier files are being packed: the
// build reads only the file it scanned, never what now lies under its name.
TEST(BuildInputsTest, ASourceSwappedAfterTheScanIsRefused) {
    struct Case {
        const char* name;
        void (*swap)(const BuildTestKit& kit);
        const char* error;
    };
    const Case cases[] = {
        {"a link to an outside file of the same size",
         [](const BuildTestKit& kit) {
             fs::remove(kit.Path("product/b.txt"));
             fs::create_symlink(kit.Path("outside/secret.txt"), kit.Path("product/b.txt"));
         },
         "product/b.txt: is a symbolic link"},
        {"another file of the same size and time moved over it",
         [](const BuildTestKit& kit) {
             fs::copy_file(kit.Path("outside/secret.txt"), kit.Path("product/new.tmp"));
             fs::last_write_time(kit.Path("product/new.tmp"),
                                 fs::last_write_time(kit.Path("product/b.txt")));
             fs::rename(kit.Path("product/new.tmp"), kit.Path("product/b.txt"));
         },
         "product/b.txt: is another file than the one scanned"},
        {"the same file, grown",
         [](const BuildTestKit& kit) { kit.Write("product/b.txt", "bbbbbbbbbbbbbbbbbbbbbbbbbb"); },
         "product/b.txt: changed while the setup was built"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("outside/secret.txt", "private key");
        kit.Write("product/a.txt", "first");
        kit.Write("product/b.txt", "public data");  // as long as the secret
        kit.WriteProject();
        SetupBuilder builder;
        bool swapped = false;
        builder.SetProgressHandler([&](const BuildProgress&) {
            if (!swapped) c.swap(kit);
            swapped = true;
        });
        EXPECT_FALSE(builder.Build(kit.Options()));
        EXPECT_TRUE(swapped);
        EXPECT_NE(builder.LastError().find(c.error), std::string::npos) << builder.LastError();
        EXPECT_FALSE(fs::exists(kit.Path("out")));
    }
}

TEST(BuildInputsTest, AnInterruptedBuildLeavesNothing) {
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        BuildTestKit kit;
        // Enough work that the build is still writing when the signal comes.
        kit.Write("product/big.bin", test::FixtureBytes(48 << 20, 3, true));
        kit.WriteProject();
        std::atomic<bool> done{false};
        std::thread interrupter([&] {
            while (!done && !fs::exists(kit.Path("new/out/Setup.exe.part"))) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            if (!done) kill(getpid(), signal);
        });
        int code = tool::BuildCommand({kit.Path("project.xml"), "-o", kit.Path("new/out"), "--stub",
                                       kit.Path("stub.exe"), "--quiet"});
        done = true;
        interrupter.join();
        EXPECT_EQ(code, 130);
        EXPECT_FALSE(fs::exists(kit.Path("new")));
    }
}

}  // namespace
}  // namespace vesk
