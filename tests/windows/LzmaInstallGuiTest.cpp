// The engine with LZMA bodies under Wine: the demo built with --compression lzma or lzma-solid
// (its volume 1 ending among the product files) installs with /S file for file as the LZSS demo
// does, and a set whose bodies use a method the engine does not know ends as a damaged setup.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "DemoInstall.h"
#include "GuiDriver.h"
#include "builder/inspection/SetupInspector.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using namespace test;  // the demo's helpers and constants

const std::string kFolder = kTestRoot + "\\Lzma Demo";
constexpr long kDamaged = 4;

long RunToTheEnd(const std::string& setup, const std::string& arguments) {
    ChildProcess process;
    if (!process.Start(setup, arguments)) return -2;
    return process.WaitForExit(kInstallTimeoutMs);
}

TEST(LzmaInstallGuiTest, TheDemoWithLzmaBodiesInstallsFileForFile) {
    if (!DisplayAvailable()) GTEST_SKIP() << "no display";
    struct Case {
        const char* compression;
        BodyMethod method;
    };
    // Solid: the blocks are decoded once each while their files are written in order.
    const Case cases[] = {{"lzma", BodyMethod::Lzma}, {"lzma-solid", BodyMethod::LzmaSolid}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.compression);
        RemoveTheDemo();
        TempDir dir;
        const std::string setup = BuildDemoVariant(dir, nullptr, c.compression);
        ASSERT_FALSE(setup.empty());
        SetupInspector inspector;
        ASSERT_TRUE(inspector.Open(setup)) << inspector.LastError();
        ASSERT_EQ(inspector.Reader().Method(), c.method);
        ASSERT_TRUE(FileExists(dir / "setup\\Setup2.Cab"));

        const std::string log = dir / "setup.log";
        SetEnvironment("VESK_TEST_MARKER", dir / "ran-in.txt");
        EXPECT_EQ(RunToTheEnd(setup, "/S \"/LOG=" + log + "\" /D=" + kFolder), 0)
            << ReadWholeFile(log);
        SetEnvironment("VESK_TEST_MARKER", "");
        ExpectTheDemoInstalled(kFolder, dir);
        RemoveTheDemo();
    }
}

TEST(LzmaInstallGuiTest, AnUnknownMethodIsADamagedSetup) {
    if (!DisplayAvailable()) GTEST_SKIP() << "no display";
    TempDir dir;
    const std::string stub = ReadWholeFile(VESK_STUB_PATH);
    ASSERT_GT(stub.size(), 1000u);
    const FixtureSet set = BuildFixtureSetWithStub(
        dir / "Setup.exe", stub, 1 << 30,
        {{"[Language=409]\r\nSureDesc=OK\r\n", false, 'K'}, {"data", false}}, "20261207",
        "<CompressType>LZ77</CompressType>\r\n");
    const std::string log = dir / "setup.log";
    EXPECT_EQ(RunToTheEnd(set.setupPath, "/S \"/LOG=" + log + "\""), kDamaged);
    const std::string text = ReadWholeFile(log);
    EXPECT_NE(text.find("The setup is damaged: " + set.setupPath), std::string::npos) << text;
    EXPECT_NE(text.find("Result    the setup is damaged (exit code 4)"), std::string::npos) << text;
}

}  // namespace
}  // namespace vesk
