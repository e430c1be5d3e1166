// The uninstaller's command line as the uninstall entry, the shortcut and administrators give it.
#include <gtest/gtest.h>

#include <string>

#include "uninstaller/UninstallCommand.h"

namespace vesk {
namespace {

const std::string kLog = "C:\\Program Files\\Vesk Demo\\VeskInstall Vesk Demo 1.2.xml";
const std::string kQuoted = "\"" + kLog + "\"";

TEST(UninstallCommandTest, ReadsTheLogPathQuotedOrNotAndTheSwitches) {
    struct Case {
        std::string arguments;
        std::string logPath;
        bool silent;
        bool help;
        std::string error;  // a part of the message; "" for none
    };
    const Case cases[] = {
        // As the shortcut and the uninstall entry pass it, and as the engine's record once did.
        {" " + kQuoted, kLog, false, false, ""},
        {" " + kLog, kLog, false, false, ""},
        {"\t" + kLog + "  ", kLog, false, false, ""},
        {"C:\\a  b\\log.xml", "C:\\a  b\\log.xml", false, false, ""},
        // QuietUninstallString, and switches before the path, in any letter case.
        {" " + kQuoted + " /S", kLog, true, false, ""},
        {" " + kLog + " /S", kLog, true, false, ""},
        {"/s " + kQuoted, kLog, true, false, ""},
        {"/S /? " + kLog, kLog, true, true, ""},
        {"/?", "", false, true, ""},
        // Refused.
        {"", "", false, false, "No install log"},
        {" /S", "", true, false, "No install log"},
        {"\"\" /S", "", true, false, "No install log"},
        {kQuoted + " /X", "", false, false, "Unknown switch /X"},
        {"/quiet " + kLog, "", false, false, "Unknown switch /quiet"},
        // A refused line with /S is still silent: nothing may wait for a click.
        {"/S /quiet " + kLog, "", true, false, "Unknown switch /quiet"},
        {kQuoted + " /X /S", "", true, false, "Unknown switch /X"},
        {"\"C:\\a b\\log.xml", "", false, false, "not closed"},
        {kQuoted + " extra", "", false, false, "in quotes"},
        {"\"C:\\a\" \"C:\\b\"", "", false, false, "in quotes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const UninstallCommand command = ParseUninstallCommand(c.arguments);
        EXPECT_EQ(command.logPath, c.logPath);
        EXPECT_EQ(command.silent, c.silent);
        EXPECT_EQ(command.help, c.help);
        if (c.error.empty()) {
            EXPECT_EQ(command.error, "");
        } else {
            EXPECT_NE(command.error.find(c.error), std::string::npos) << command.error;
        }
    }
}

TEST(UninstallCommandTest, TakesTheArgumentsAfterTheProgramsOwnPath) {
    const std::string uninstaller = "C:\\WINDOWS\\Vesk-UnInstall.exe";
    const struct {
        std::string line, arguments;
    } cases[] = {
        {"\"" + uninstaller + "\" " + kQuoted + " /S", " " + kQuoted + " /S"},
        {uninstaller + " " + kLog, " " + kLog},
        {"\"C:\\My Tools\\Vesk-UnInstall.exe\"" + kQuoted, kQuoted},
        {uninstaller, ""},
        {"\"" + uninstaller, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentsOf(c.line), c.arguments) << c.line;
    // The uninstall entry's QuietUninstallString, read back whole.
    const UninstallCommand quiet =
        ParseUninstallCommand(ArgumentsOf("\"" + uninstaller + "\" " + kQuoted + " /S"));
    EXPECT_EQ(quiet.logPath, kLog);
    EXPECT_TRUE(quiet.silent);
}

}  // namespace
}  // namespace vesk
