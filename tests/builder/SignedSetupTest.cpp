// Signed and damaged setups through the tools: build --sign-command with osslsigncode under a
// certificate made here, list and extract of the signed set, and the damage report of both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "BuildTestKit.h"
#include "Commands.h"
#include "SetupInspector.h"
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
    ASSERT_TRUE(MakeTestCertificate(kit.Dir()));
    BuildOptions options = kit.Options();
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
    EXPECT_EQ(ReadWholeFile(kit.Path("out/Setup2.Cab")).find("MZ"), std::string::npos);

    testing::internal::CaptureStdout();
    EXPECT_EQ(tool::ListCommand({setup}), tool::kExitSuccess);
    const std::string listing = testing::internal::GetCapturedStdout();
    EXPECT_NE(listing.find("Signed:"), std::string::npos) << listing;
    EXPECT_NE(listing.find("every volume verified"), std::string::npos) << listing;
    ASSERT_EQ(tool::ExtractCommand({setup, kit.Path("x"), "--quiet"}), tool::kExitSuccess);
    EXPECT_EQ(ReadWholeFile(kit.Path("x/InstallDir/data.bin")),
              ReadWholeFile(kit.Path("product/data.bin")));
}

TEST(SignedSetupTest, ASigningCommandThatFailsOrSpoilsLeavesNoSetup) {
#ifdef _WIN32
    GTEST_SKIP() << "the commands are POSIX shell commands";
#endif
    struct Case {
        const char* name;
        std::string command;
        const char* error;
    };
    const Case cases[] = {
        {"exits with 3", "exit 3", "exited with 3"},
        {"appends bytes without a certificate table", "printf 12345 >> {file}",
         "no longer reads as this setup"},
        {"rewrites a byte of the payload",
         "printf Z | dd of={file} bs=1 seek=5000 conv=notrunc 2>/dev/null", "the setup is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        SignableKit(kit);
        BuildOptions options = kit.Options();
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
