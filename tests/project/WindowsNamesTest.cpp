// The names Windows can hold, one name and folder paths.
#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "project/WindowsNames.h"

namespace vesk {
namespace {

TEST(WindowsNamesTest, FolderPathsHoldOnlyNamesWindowsCanCreate) {
    struct Case {
        const char* folders;
        const char* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {"Vendor\\Tool", nullptr},
        {"Vesk Demo", nullptr},
        {"", nullptr},
        {"\\Vendor\\\\Tool\\", nullptr},
        {"A:B?*|", "':'"},
        {"Vendor\\Tool?", "'?'"},
        {"Vendor\\x\"y", "'\"'"},
        {"Vendor\\a<b>", "'<'"},
        {"Vendor/Tool", "'/'"},
        {"Tool.", "trailing dot"},
        {"Tool ", "trailing dot"},
        {"Vendor\\aux", "device"},
        {"com9.log", "device"},
        {"CONOUT$", "device"},
        {"console", nullptr},
        {"CON .txt", "device"},
        {"Vendor\\AUX  .ini", "device"},
        {"com0", "device"},
        {"LPT0.log", "device"},
        {"CONSOLE .txt", nullptr},
        {"NUL-x .txt", nullptr},
        {"tab\there", "control character"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folders);
        std::string why;
        const bool ok = CheckWindowsFolderNames(c.folders, why);
        EXPECT_EQ(ok, c.refusal == nullptr) << why;
        if (c.refusal) {
            EXPECT_NE(why.find(c.refusal), std::string::npos) << why;
        }
    }
    // A double-byte character whose trail byte is '|' is one character, not a '|'.
    if (IsSystemLeadByte(0xB1)) {
        std::string why;
        EXPECT_TRUE(CheckWindowsName("\xB1|", why)) << why;
    }
    EXPECT_TRUE(HasDriveRoot("c:\\"));
    EXPECT_FALSE(HasDriveRoot("C:"));
    EXPECT_FALSE(HasDriveRoot("1:\\"));
}

}  // namespace
}  // namespace vesk
