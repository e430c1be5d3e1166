// The default language file: its section layout, line ends, the English texts the engine relies
// on, and Chinese sections that are complete and well-formed in their code pages.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "project/TextKey.h"
#include "resources/LanguageFile.h"

namespace vesk {
namespace {

constexpr int kUninstallerOnly = -1;

struct ExpectedText {
    int number;  // the engine's key number, or kUninstallerOnly
    const char* key;
    const char* english;
};

// Every key in file order with its English text, byte for byte (the misspellings and the
// surrounding spaces are what the engine joins with names, paths and numbers).
const ExpectedText kExpectedTexts[] = {
    {0, "InstallDesc", " Setup"},
    {1, "LoadingInstallFiles", "Initialize VeskInstall Wizard..."},
    {2, "ReadFileErrorDesc", "An error ocured while reading "},
    {3, "WriteFileErrorDesc", "An error ocured while Writing "},
    {4, "ErrorExitInstallDesc", ". Do you want to abort this install?"},
    {5, "CancelInstall", "Cancel Install!"},
    {6, "SureDesc", "&OK"},
    {7, "InsertMediaDesc", "Select location"},
    {8, "InsertMediaDesc0", "Please insert the disk: "},
    {9, "InsertMediaDesc1", " Disk"},
    {10, "InsertMediaDesc2", " and click OK!"},
    {11, "InsertMediaDesc3", "Location:"},
    {12, "InsertMediaBrowseDesc", "&Browse"},
    {13, "BackButtonDesc", "< &Back"},
    {14, "NextButtonDesc", "&Next >"},
    {15, "CancelButtonDesc", "Cancel"},
    {16, "CompleteButtonDesc", "&Finish"},
    {17, "ExitInstallTitle", "Exit Setup"},
    {18, "ExitInstallMessage",
     "Setup is not complete. If you quit now, the program will not be installed. Exit Setup?"},
    {19, "ProjectName", " Project Name "},
    {20, "WelcomeWndDesc1", "Welcome to the "},
    {21, "WelcomeWndDesc2", "Setup Wizard!"},
    {22, "WelcomeWndDesc3", "It is recommended that you close all other applications before"},
    {23, "WelcomeWndDesc4", "continue. Click Next to continue, or Cancel to exit Setup."},
    {24, "ReadSoftDocSubject", "License Agreement"},
    {25, "ReadSoftDocDesc", "Please read the following license agreement carefully."},
    {26, "ReadSoftDocDesc2", ""},
    {27, "ReadSoftDocAcceptDesc", "I &accept the agreement"},
    {28, "ReadSoftDocRejectDesc", "I &do not accept the agreement"},
    {29, "ShowReadmeSubject", "Installation Notes"},
    {30, "ShowReadmeDesc", "Important installation information."},
    {31, "RegisterInfoSubject", "User Information"},
    {32, "RegisterInfoDesc", "Please fill in your user information and click Next to continue."},
    {33, "RegisterInfoCompanyDesc", "Company:"},
    {34, "RegisterInfoUserDesc", "Name:"},
    {36, "ProgramFolderSubject", "Select Program Folder"},
    {37, "ProgramFolderDesc", "Please select a program folder."},
    {38, "ProgramFolderDesc2",
     "Setup will add program icons to the Program Folder listed below. You may type a new folder "
     "name, or select one from the existing folders list. Click Next to continue."},
    {39, "ProgramFolderDesc3", "Program Folders:"},
    {40, "ProgramFolderDesc4", "Existing Folders:"},
    {41, "ChangePathSubject", "Choose Destination Location"},
    {42, "ChangePathDesc", "Please change the destination location or use default."},
    {43, "ChangePathDesc2", "You can change the destination location. Click Next to copy files."},
    {44, "ChangePathFreeSpaceDesc1", "Disk "},
    {45, "ChangePathFreeSpaceDesc2", ":"},
    {46, "ChangePathSoftSizeDesc1", "The program requires at least "},
    {47, "ChangePathSoftSizeDesc2", "of disk space."},
    {48, "ChangePathFreeSpaceDesc3", "free space"},
    {49, "InstallProcessSubject", "Setup"},
    {50, "InstallProcessDesc", "The program files are being installed."},
    {51, "InstallProcessDesc2", "Status: Installing..."},
    {52, "CreateFolderDesc", "Status: Creating folders..."},
    {53, "CopyFileDesc", "Status: Copying new files..."},
    {54, "CreateFileLinkDesc", "Status: Creating program icons..."},
    {55, "InstallFontDesc", "Status: Installing fonts..."},
    {56, "RegisterComDesc", "Status: Registering application components..."},
    {57, "OperationRegistryDesc", "Status: Creating registry items..."},
    {58, "ClearFileDesc", "Status: Removing temp files..."},
    {59, "ShowFinishSubject", "Installation Complete"},
    {60, "ShowFinishDesc", " is now installed."},
    {61, "ShowFinishDesc1", "I want to restart my computer now."},
    {62, "MessageDesc", "Message"},
    {63, "InstallComplete", " is now installed."},
    {64, "UnInstallDesc", "Uninstall "},
    {kUninstallerOnly, "UnInstallButtonDesc", "&Uninstall"},
    {kUninstallerOnly, "CloseButtonDesc", "&Close"},
    {kUninstallerOnly, "UnInstallWindowTitle", " Uninstall"},
    {kUninstallerOnly, "UnInstallWindowSubject", "Uninstall Program"},
    {kUninstallerOnly, "UnInstallWindowDesc", "The program will be removed from your computer."},
    {kUninstallerOnly, "UnInstallWindowDesc2",
     "Click Uninstall to remove the program and all of its components, or Close to exit."},
    {kUninstallerOnly, "UnInstallReadyDesc", "Status: Ready to uninstall."},
    {kUninstallerOnly, "RemoveFileDesc", "Status: Removing files..."},
    {kUninstallerOnly, "RemoveFolderDesc", "Status: Removing folders..."},
    {kUninstallerOnly, "RemoveRegistryDesc", "Status: Removing registry items..."},
    {kUninstallerOnly, "UnInstallComplete", " has been removed from your computer."},
    {66, "FolderNameErrorDesc", "This folder name cannot be used: "},
    {67, "CreateFolderErrorDesc", "The folder cannot be created: "},
};

struct Line {
    std::string key;
    std::string text;
};

struct Section {
    std::string header;
    std::vector<Line> lines;
};

// The file's lines without their CR LF; any other line end, or a last line without one, fails
// the test that asked.
std::vector<std::string> SplitCrLfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        const std::string::size_type end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line has no CR LF: " << bytes.substr(start);
            lines.push_back(bytes.substr(start));
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<Section> ParseSections(const std::string& bytes) {
    std::vector<Section> sections;
    for (const std::string& line : SplitCrLfLines(bytes)) {
        if (!line.empty() && line[0] == '[') {
            sections.push_back({line, {}});
            continue;
        }
        if (sections.empty()) {
            ADD_FAILURE() << "line before the first header: " << line;
            continue;
        }
        const std::string::size_type equals = line.find('=');
        if (equals == std::string::npos) {
            ADD_FAILURE() << "line without '=': " << line;
            continue;
        }
        sections.back().lines.push_back({line.substr(0, equals), line.substr(equals + 1)});
    }
    return sections;
}

const std::vector<Section>& DefaultSections() {
    static const std::vector<Section> sections = ParseSections(DefaultLanguageFile());
    return sections;
}

const Line* FindLine(const Section& section, const std::string& key) {
    for (const Line& line : section.lines) {
        if (line.key == key) {
            return &line;
        }
    }
    return nullptr;
}

// Whether every byte of text belongs to a complete character of the code page: ASCII, or a
// lead byte followed by a trail byte in the given ranges.
struct DoubleByteRanges {
    unsigned char leadFirst, leadLast;
    unsigned char trailLowFirst, trailLowLast;  // 0, 0 when the code page has no low trail bytes
    unsigned char trailHighFirst, trailHighLast;
};
const DoubleByteRanges kGb2312 = {0xA1, 0xF7, 0, 0, 0xA1, 0xFE};
const DoubleByteRanges kBig5 = {0xA1, 0xF9, 0x40, 0x7E, 0xA1, 0xFE};

bool IsWellFormed(const std::string& text, const DoubleByteRanges& r) {
    for (std::string::size_type i = 0; i < text.size(); ++i) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead < 0x20) {
                return false;
            }
            continue;
        }
        if (lead < r.leadFirst || lead > r.leadLast || i + 1 == text.size()) {
            return false;
        }
        const unsigned char trail = static_cast<unsigned char>(text[++i]);
        const bool low =
            r.trailLowFirst != 0 && trail >= r.trailLowFirst && trail <= r.trailLowLast;
        const bool high = trail >= r.trailHighFirst && trail <= r.trailHighLast;
        if (!low && !high) {
            return false;
        }
    }
    return true;
}

TEST(LanguageFileTest, HoldsEnglishFirstThenSimplifiedThenTraditionalChinese) {
    const std::vector<Section>& sections = DefaultSections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].header, "[Language=409]");
    EXPECT_EQ(sections[1].header, "[Language=804]");
    EXPECT_EQ(sections[2].header, "[Language=404,c04,1404]");
    // The fallback for an unlisted locale is the file's first line.
    EXPECT_EQ(DefaultLanguageFile().rfind("[Language=409]\r\n", 0), 0u);
}

TEST(LanguageFileTest, EveryLineEndsWithCrLf) {
    const std::string bytes = DefaultLanguageFile();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    for (std::string::size_type i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
        } else if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
        }
        EXPECT_NE(bytes[i], '\0') << "NUL at " << i;
    }
    EXPECT_EQ(bytes.find(";"), std::string::npos) << "a source comment line was not dropped";
}

TEST(LanguageFileTest, EverySectionHasTheSameKeysInTheSameOrder) {
    for (const Section& section : DefaultSections()) {
        SCOPED_TRACE(section.header);
        ASSERT_EQ(section.lines.size(), std::size(kExpectedTexts));
        for (std::size_t i = 0; i < section.lines.size(); ++i) {
            EXPECT_EQ(section.lines[i].key, kExpectedTexts[i].key) << "line " << i;
        }
    }
}

TEST(LanguageFileTest, EnglishTextsAreTheOnesTheEngineJoins) {
    const std::vector<Section>& sections = DefaultSections();
    ASSERT_FALSE(sections.empty());
    int expectedNumber = 0;
    for (const ExpectedText& expected : kExpectedTexts) {
        SCOPED_TRACE(expected.key);
        if (expected.number != kUninstallerOnly) {
            // Numbers 35 and 65 are reserved and have no line.
            if (expectedNumber == 35 || expectedNumber == 65) {
                ++expectedNumber;
            }
            EXPECT_EQ(expected.number, expectedNumber++);
        }
        const Line* line = FindLine(sections[0], expected.key);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->text, expected.english);
    }
    EXPECT_EQ(expectedNumber, kTextKeyCount);
}

TEST(LanguageFileTest, EngineKeyNamesMatchTheFile) {
    // GetText finds a line by the name the engine gives the number; a name that differs from the
    // file's would leave that caption blank.
    for (const ExpectedText& expected : kExpectedTexts) {
        if (expected.number != kUninstallerOnly) {
            EXPECT_EQ(TextKeyName(expected.number), expected.key) << expected.number;
        }
    }
    const std::vector<Section>& sections = DefaultSections();
    ASSERT_FALSE(sections.empty());
    for (int number = 0; number < kTextKeyCount; ++number) {
        const std::string name = TextKeyName(number);
        if (!name.empty()) {
            EXPECT_NE(FindLine(sections[0], name), nullptr) << name;
        }
    }
}

TEST(LanguageFileTest, ChineseSectionsTranslateEveryTextInTheirCodePage) {
    const std::vector<Section>& sections = DefaultSections();
    ASSERT_EQ(sections.size(), 3u);
    const struct {
        const Section& section;
        DoubleByteRanges codePage;
    } chinese[] = {{sections[1], kGb2312}, {sections[2], kBig5}};
    for (const auto& c : chinese) {
        for (const ExpectedText& expected : kExpectedTexts) {
            SCOPED_TRACE(c.section.header + " " + expected.key);
            const Line* line = FindLine(c.section, expected.key);
            ASSERT_NE(line, nullptr);
            const std::string english = expected.english;
            EXPECT_EQ(line->text.empty(), english.empty());
            EXPECT_TRUE(IsWellFormed(line->text, c.codePage));
            // The sources hold no "?", so one here is a character the conversion replaced.
            EXPECT_EQ(line->text.find('?'), std::string::npos);
            const bool languageNeutral = english.empty() || english == ":";
            if (!languageNeutral) {
                EXPECT_NE(line->text, english) << "left untranslated";
            }
        }
    }
    // Spot checks of the encodings themselves: "取消" in GB2312 and in Big5.
    EXPECT_EQ(FindLine(sections[1], "CancelButtonDesc")->text, "\xC8\xA1\xCF\xFB");
    EXPECT_EQ(FindLine(sections[2], "CancelButtonDesc")->text, "\xA8\xFA\xAE\xF8");
}

TEST(LanguageFileTest, JoinedChineseTextsKeepTheirSeparatingSpaces) {
    // Texts placed directly against the product name, a path or a number: the space on that
    // side keeps a Latin product name or a number apart from the Chinese text.
    const struct {
        const char* key;
        bool leadingSpace;
        bool trailingSpace;
    } cases[] = {
        {"InstallDesc", true, false},               // product name + text
        {"ReadFileErrorDesc", false, true},         // text + path
        {"WriteFileErrorDesc", false, true},        // text + path
        {"ErrorExitInstallDesc", true, false},      // path + text
        {"InsertMediaDesc1", false, true},          // text + disk number
        {"InsertMediaDesc2", true, false},          // disk number + text
        {"ProjectName", true, true},                // replaced at start-up, kept for its shape
        {"WelcomeWndDesc1", false, true},           // text + product name
        {"ChangePathFreeSpaceDesc1", false, true},  // text + drive letter
        {"ShowFinishDesc", true, false},            // product name + text
        {"InstallComplete", true, false},           // product name + text
        {"UnInstallDesc", false, true},             // text + product name
        {"UnInstallWindowTitle", true, false},      // product name + text
        {"UnInstallComplete", true, false},         // product name + text
    };
    const std::vector<Section>& sections = DefaultSections();
    ASSERT_EQ(sections.size(), 3u);
    for (const Section* section : {&sections[1], &sections[2]}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(section->header + " " + c.key);
            const Line* line = FindLine(*section, c.key);
            ASSERT_NE(line, nullptr);
            ASSERT_GE(line->text.size(), 2u);
            EXPECT_EQ(line->text.front() == ' ', c.leadingSpace);
            EXPECT_EQ(line->text.back() == ' ', c.trailingSpace);
        }
    }
}

TEST(LanguageFileTest, AccessKeysMarkALetter) {
    for (const Section& section : DefaultSections()) {
        for (const Line& line : section.lines) {
            SCOPED_TRACE(section.header + " " + line.key);
            const std::string::size_type amp = line.text.find('&');
            if (amp == std::string::npos) {
                continue;
            }
            ASSERT_LT(amp + 1, line.text.size());
            const char letter = line.text[amp + 1];
            EXPECT_TRUE((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'));
            EXPECT_EQ(line.text.find('&', amp + 1), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace vesk
