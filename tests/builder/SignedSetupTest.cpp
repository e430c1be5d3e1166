// Signed and damaged setups through the tools: build --sign-command with osslsigncode under a
// certificate made here (Setup.exe and the uninstaller it carries), list and extract of the
// signed set, and the damage report of both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "builder/veskbuild/Commands.h"
#include "support/PeProbe.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::BuildTestKit;
using test::ReadWholeFile;

bool Available(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// A self-signed code-signing certificate and its key in `dir`, made with openssl.
bool MakeTestCertificate(const std::string& dir) {
    const std::string command =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "
        "'/CN=VeskInstall test signer' -keyout '" +
        dir + "/key.pem' -out '" + dir + "/cert.pem' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Task 2410 asking for an uninstall record, so that the setup carries the uninstaller.
const char kUninstallRecord[] =
    "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\n<SubTask ID=\"1\" "
    "Type=\"GetValue\">\n<CreateUnInstall1>1</CreateUnInstall1>\n</SubTask>\n</Task>\n";

// A project with a product file, and a real PE image as the stub (osslsigncode signs only those).
BuildTestKit& SignableKit(BuildTestKit& kit) {
    kit.Write("stub.exe", test::MakeTestStub(true, true));
    kit.Write("product/readme.txt", test::FixtureBytes(30000, 5, true));
    kit.Write("product/data.bin", test::FixtureBytes(20000, 6, false));
    kit.WriteProject();
    return kit;
}

TEST(SignedSetupTest, BuildSignsSetupExeAndTheToolsReadIt) {
    if (!Available("osslsigncode") || !Available("openssl")) {
        GTEST_SKIP() << "osslsigncode or openssl missing (scripts/deps.sh installs them)";
    }
    BuildTestKit kit;
    SignableKit(kit);
    const std::string uninstaller = test::MakeTestStub(false, false);
    kit.Write("uninstaller.exe", uninstaller);
    kit.WriteProject(kUninstallRecord);
    ASSERT_TRUE(MakeTestCertificate(kit.Dir()));
    BuildOptions options = kit.Options();
    options.uninstallerPath = kit.Path("uninstaller.exe");
    options.diskSize = "25K";  // Setup2.Cab ... stay unsigned
    options.signCommand = "osslsigncode sign -certs '" + kit.Path("cert.pem") + "' -key '" +
                          kit.Path("key.pem") + "' -in {file} -out {file}.signed >/dev/null && " +
                          "mv {file}.signed {file}";
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    const std::string setup = kit.Path("out/Setup.exe");
    ASSERT_GT(builder.Summary().volumes, 1);

    // osslsigncode itself finds the signature it made.
    EXPECT_EQ(std::system(("osslsigncode verify -CAfile '" + kit.Path("cert.pem") + "' -in '" +
                           setup + "' >/dev/null 2>&1")
                              .c_str()),
              0);
    SetupInspector inspector;
    ASSERT_TRUE(inspector.Open(setup)) << inspector.LastError();
    EXPECT_GT(inspector.Reader().CertificateSize(), 0);
    EXPECT_TRUE(inspector.Reader().Checked());
    EXPECT_EQ(ReadWholeFile(setup).substr(0, 2), "MZ");
    EXPECT_NE(ReadWholeFile(kit.Path("out/Setup2.Cab")).substr(0, 2), "MZ");

    testing::internal::CaptureStdout();
    EXPECT_EQ(tool::ListCommand({setup}), tool::kExitSuccess);
    const std::string listing = testing::internal::GetCapturedStdout();
    EXPECT_NE(listing.find("Signed:"), std::string::npos) << listing;
    EXPECT_NE(listing.find("every volume verified"), std::string::npos) << listing;
    ASSERT_EQ(tool::ExtractCommand({setup, kit.Path("x"), "--quiet"}), tool::kExitSuccess);
    EXPECT_EQ(ReadWholeFile(kit.Path("x/InstallDir/data.bin")),
              ReadWholeFile(kit.Path("product/data.bin")));

    // The uninstaller the user's machine runs is signed too; the one given stays as it was, and
    // the signed copy is gone from the output folder.
    EXPECT_EQ(std::system(("osslsigncode verify -CAfile '" + kit.Path("cert.pem") + "' -in '" +
                           kit.Path("x/Windows Directory/Vesk-UnInstall.exe") + "' >/dev/null 2>&1")
                              .c_str()),
              0);
    EXPECT_EQ(ReadWholeFile(kit.Path("uninstaller.exe")), uninstaller);
    EXPECT_FALSE(fs::exists(kit.Path("out/Vesk-UnInstall.exe.part")));
}

TEST(SignedSetupTest, ASigningCommandThatFailsOrSpoilsLeavesNoSetup) {
#ifdef _WIN32
    GTEST_SKIP() << "the commands are POSIX shell commands";
#endif
    struct Case {
        const char* name;
        std::string command;
        bool uninstaller;  // the setup carries one, signed first
        const char* error;
    };
    const Case cases[] = {
        {"exits with 3", "exit 3", false, "exited with 3"},
        {"appends bytes without a certificate table", "printf 12345 >> {file}", false,
         "no longer reads as this setup"},
        {"rewrites a byte of the payload",
         "printf Z | dd of={file} bs=1 seek=5000 conv=notrunc 2>/dev/null", false,
         "the setup is damaged"},
        {"signs nothing", "true", false, "Setup.exe.part without a certificate table"},
        {"fails on the uninstaller", "exit 4", true,
         "Vesk-UnInstall.exe.part (the uninstaller the setup carries) failed: the command exited "
         "with 4"},
        {"leaves the uninstaller unsigned", "true", true,
         "Vesk-UnInstall.exe.part without a certificate table"},
        {"spoils the uninstaller", "printf 12345 > {file}", true, "is no longer a Windows program"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        SignableKit(kit);
        BuildOptions options = kit.Options();
        if (c.uninstaller) {
            kit.WriteProject(kUninstallRecord);
            kit.Write("uninstaller.exe", test::MakeTestStub(false, false));
            options.uninstallerPath = kit.Path("uninstaller.exe");
        }
        options.signCommand = c.command;
        SetupBuilder builder;
        EXPECT_FALSE(builder.Build(options));
        EXPECT_NE(builder.LastError().find(c.error), std::string::npos) << builder.LastError();
        EXPECT_FALSE(fs::exists(kit.Path("out"))) << "the output folder stays as it was";
    }
}

TEST(SignedSetupTest, ListAndExtractReportADamagedSet) {
    test::TempDir dir;
    test::FixtureSet set = test::BuildFixtureSet(
        dir / "Setup.exe", 3000, 20000,
        {{test::FixtureBytes(30000, 1, false), true}, {test::FixtureBytes(30000, 2, false), true}});
    ASSERT_EQ(set.volumePaths.size(), 4u);
    std::string volume = ReadWholeFile(set.volumePaths[2]);
    volume[50] = char(volume[50] ^ 1);
    ASSERT_TRUE(test::WriteWholeFile(set.volumePaths[2], volume));
    struct Case {
        const char* name;
        tool::Arguments args;
        int (*command)(const tool::Arguments&);
    };
    const Case cases[] = {{"list", {set.setupPath}, tool::ListCommand},
                          {"extract", {set.setupPath, dir / "out"}, tool::ExtractCommand}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(c.command(c.args), tool::kExitDamaged);
        testing::internal::GetCapturedStdout();
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(errors.rfind("veskbuild: the setup is damaged: " + set.volumePaths[2], 0), 0u)
            << errors;
    }
}

}  // namespace
}  // namespace vesk
