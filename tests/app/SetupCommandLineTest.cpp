// Setup.exe's switches: quoted and unquoted values, /D= with blanks last on the line, and every
// argument the setup does not know refused rather than ignored.
#include <gtest/gtest.h>

#include "app/SetupCommandLine.h"

namespace vesk {
namespace {

struct Expected {
    bool silent = false;
    bool help = false;
    bool noRestart = false;
    std::string installDir;
    std::string logPath;
};

TEST(SetupCommandLineTest, SwitchesAndTheirValues) {
    struct Case {
        const char* line;
        Expected expected;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"/S", {true}},
        {"/s /NoRestart", {true, false, true}},
        {"/?", {false, true}},
        {"/S /D=C:\\Program Files\\My App", {true, false, false, "C:\\Program Files\\My App"}},
        {"\t/S\t/D=C:\\My App\\  ", {true, false, false, "C:\\My App"}},
        {"/d=\"C:\\My App\"", {false, false, false, "C:\\My App"}},
        {"\"/D=C:\\My App\" /S", {true, false, false, "C:\\My App"}},
        {"\"/D=C:\\My App\t", {false, false, false, "C:\\My App"}},
        {"/D=C:\\", {false, false, false, "C:\\"}},
        {"/LOG=C:\\logs\\setup.log /S", {true, false, false, "", "C:\\logs\\setup.log"}},
        {"/log=\"C:\\my logs\\setup.log\" /S", {true, false, false, "", "C:\\my logs\\setup.log"}},
        {"\"/LOG=C:\\my logs\\a.log\"", {false, false, false, "", "C:\\my logs\\a.log"}},
        {"/LOG=setup.log /NORESTART /S /D=D:\\Apps\\X Y",
         {true, false, true, "D:\\Apps\\X Y", "setup.log"}},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseSetupCommandLine(c.line);
        SCOPED_TRACE(c.line);
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.options.silent, c.expected.silent);
        EXPECT_EQ(parsed.options.help, c.expected.help);
        EXPECT_EQ(parsed.options.noRestart, c.expected.noRestart);
        EXPECT_EQ(parsed.options.installDir, c.expected.installDir);
        EXPECT_EQ(parsed.options.logPath, c.expected.logPath);
    }
}

TEST(SetupCommandLineTest, TheLanguageIsAHexadecimalIdentifier) {
    const struct {
        const char* line;
        std::uint32_t languageId;
    } cases[] = {
        {"", 0},
        {"/LANG=804", 0x804},
        {"/lang=c04 /S", 0xC04},
        {"/S /LANG=409 /D=C:\\A", 0x409},
    };
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = ParseSetupCommandLine(c.line);
        EXPECT_EQ(parsed.error, "") << c.line;
        EXPECT_EQ(parsed.options.languageId, c.languageId) << c.line;
    }
}

TEST(SetupCommandLineTest, WhatTheSetupDoesNotKnowIsRefusedByName) {
    struct Case {
        const char* line;
        const char* named;  // the error names this
        bool silent;        // /S is on the line: the refusal must not wait for a click
    };
    const Case cases[] = {
        {"/X", "/X", false},
        {"/S /Quiet", "/Quiet", true},
        {"/Quiet /s", "/Quiet", true},
        {"-S", "-S", false},
        {"/S/NORESTART", "/S/NORESTART", false},
        {"/S extra", "extra", true},
        {"/LOG=", "/LOG=", false},
        {"/LANG=", "/LANG=", false},
        {"/LANG=zh /S", "/LANG=zh", true},
        {"/LANG=10804", "/LANG=10804", false},
        {"/LANG=0", "/LANG=0", false},
        {"/LOG", "/LOG", false},
        {"/D=", "/D=", false},
        {"/D=Program Files\\App", "Program Files\\App", false},
        {"/D=C:\\a|b", "C:\\a|b", false},
        // A control byte is no part of a character, even after a lead byte.
        {"\"/D=C:\\\xb9\t\\\" /?", "/D=", false},
        {"/D=C:\\App\\CON", "CON", false},
        // The rest of the line is the folder, and a name holds no '/'.
        {"/D=C:\\My App /S", "C:\\My App /S", false},
        {"\"/D=relative\" /S", "relative", true},
    };
    for (const Case& c : cases) {
        const ParsedCommandLine parsed = ParseSetupCommandLine(c.line);
        EXPECT_NE(parsed.error.find(c.named), std::string::npos)
            << c.line << " gave \"" << parsed.error << "\"";
        EXPECT_EQ(parsed.options.silent, c.silent) << c.line;
    }
}

TEST(SetupCommandLineTest, TheHelpNamesEverySwitchAndExitCode) {
    const std::string help = SetupCommandLineHelp();
    for (const char* part : {"/S", "/D=", "/LOG=", "/LANG=", "/NORESTART", "/?",
                             "4 the setup is damaged", "5 a newer version is installed", "3010"}) {
        EXPECT_NE(help.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace vesk
