// Language sections chosen by locale, texts by key, and the section written for the uninstaller.
#include <gtest/gtest.h>

#include "project/LanguageTable.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

TextLineList Lines(const std::string& text) {
    TextLineList lines;
    lines.SplitAppend(text, false);
    return lines;
}

// Sections 804, 409 and the Traditional Chinese one, each naming its language in ProjectName.
const char kFile[] =
    "[Language=804]\r\n"
    "InstallDesc=zh-CN Setup\r\n"
    "ProjectName=804\r\n"
    "[Language=409]\r\n"
    "InstallDesc= Setup\r\n"
    "ProjectName=409\r\n"
    "ReadSoftDocDesc2=\r\n"
    "[Language=404,c04,1404]\r\n"
    "ProjectName=404\r\n";

TEST(LanguageTableTest, TheSectionFollowsTheSystemLocale) {
    struct Case {
        std::uint32_t locale;
        const char* languageId;
        const char* projectName;
    };
    const Case cases[] = {
        {0x0804, "804", "804"},
        {0x0409, "409", "409"},   // not the first section
        {0x0C04, "C04", "404"},   // second item of the list, written in lower case
        {0x1404, "1404", "404"},  // last item, closed by the "]" that is cut off
        {0x0404, "404", "404"},
        {0x0411, "409", "804"},  // no match: the first section, named 409 whatever it is
        {0x0004, "409", "804"},  // "4" is no item of "404"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.languageId);
        LanguageTable table(c.locale);
        table.LoadLines(Lines(kFile));
        EXPECT_EQ(table.LanguageId(), c.languageId);
        EXPECT_EQ(table.GetText(TextKey::ProjectName), c.projectName);
    }
}

TEST(LanguageTableTest, TheAskedLanguageComesFirstThenTheUsersThenTheSystems) {
    struct Case {
        std::vector<std::uint32_t> preferred;  // /LANG=, the user's interface, the locale
        const char* languageId;
        const char* projectName;
    };
    const Case cases[] = {
        {{0x0804, 0x0409, 0x0409}, "804", "804"},  // /LANG= over everything
        {{0, 0x0404, 0x0804}, "404", "404"},       // the user's language over the locale
        {{0, 0x0411, 0x0C04}, "C04", "404"},       // a language the file lacks: the next one
        {{0, 0x0809, 0x0411}, "409", "409"},       // English (UK) finds English (US)
        {{0x1004, 0x0411, 0x0411}, "409", "804"},  // Chinese regions never stand in
        {{0x0411, 0x0412, 0x0419}, "409", "804"},  // none at all: the first section, as 409
        {{0, 0, 0}, "409", "804"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.languageId);
        LanguageTable table(0x0409);
        table.PreferLanguages(c.preferred);
        table.LoadLines(Lines(kFile));
        EXPECT_EQ(table.LanguageId(), c.languageId);
        EXPECT_EQ(table.GetText(TextKey::ProjectName), c.projectName);
    }
}

TEST(LanguageTableTest, SectionsAreDecodedFromTheirCodePage) {
    const char kStored[] =
        "[Language=409]\r\nInstallDesc= Setup\r\n"
        "[Language=804]\r\nInstallDesc=\xB0\xB2\xD7\xB0\r\n"
        "[Language=404,c04,1404]\r\nInstallDesc=\xA6\x77\xB8\xCB\r\n"
        "[Language=411;UTF-8]\r\nInstallDesc=\xE3\x82\xBB\xE3\x83\x83\xE3\x83\x88\r\n"
        "[Language=419;utf-8]\r\nInstallDesc=\xD0\xA3\xD1\x81\xD1\x82\r\n";
    const struct {
        std::uint32_t language;
        const char* text;
    } cases[] = {
        {0x0409, " Setup"},
        {0x0804, "\xE5\xAE\x89\xE8\xA3\x85"},
        {0x1404, "\xE5\xAE\x89\xE8\xA3\x9D"},
        {0x0411, "\xE3\x82\xBB\xE3\x83\x83\xE3\x83\x88"},
        {0x0419, "\xD0\xA3\xD1\x81\xD1\x82"},
    };
    for (const auto& c : cases) {
        LanguageTable table(c.language);
        table.LoadLines(Lines(kStored));
        EXPECT_EQ(table.GetText(TextKey::InstallDesc), c.text) << c.language;
    }
}

TEST(LanguageTableTest, HeadersAreReadPositionally) {
    struct Case {
        const char* header;
        bool matches;  // for locale 0x0C04
    };
    const Case cases[] = {
        {"[Language=C04]", true},
        {"[Whatever=c04]", true},
        {"[Language=404,,C04]", true},
        {"[Language=404, C04]", false},  // nothing is trimmed
        {"[Language=C04", false},        // the last character is cut off whatever it is
        {"[Language C04]", false},
        {"[Language=]", false},
        {"[=", false},
        {"[", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        LanguageTable table(0x0C04);
        table.LoadLines(Lines(std::string("[Language=409]\r\nProjectName=first\r\n") + c.header +
                              "\r\nProjectName=second\r\n"));
        EXPECT_EQ(table.GetText(TextKey::ProjectName), c.matches ? "second" : "first");
        EXPECT_EQ(table.LanguageId(), c.matches ? "C04" : "409");
    }
}

TEST(LanguageTableTest, KeysAreFoundExactlyAndTextsKeptWhole) {
    LanguageTable table(0x0409);
    table.LoadLines(
        Lines("[Language=409]\r\n"
              "InstallDesc= Setup \r\n"
              "installdesc=lower case\r\n"
              "SureDesc=a=b=c\r\n"
              "SureDesc=second\r\n"
              "ReadSoftDocDesc2=\r\n"
              "=reserved\r\n"
              "BackButtonDesc\r\n"
              "NextButtonDesc =spaced key\r\n"
              "[Language=804]\r\n"
              "CancelButtonDesc=other section\r\n"));
    struct Case {
        int key;
        const char* text;
    };
    const Case cases[] = {
        {int(TextKey::InstallDesc), " Setup "},  // spaces belong to the text
        {int(TextKey::SureDesc), "a=b=c"},       // the first "=" ends the key; first line wins
        {int(TextKey::ReadSoftDocDesc2), ""},
        {int(TextKey::BackButtonDesc), ""},    // a line without "=" has no key
        {int(TextKey::NextButtonDesc), ""},    // "NextButtonDesc " is another key
        {int(TextKey::CancelButtonDesc), ""},  // only the chosen section
        {35, ""},                              // reserved: no name, never the empty key
        {65, ""},
        {-1, ""},
        {1000, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(table.GetText(c.key), c.text) << c.key;
    EXPECT_EQ(table.Lines().Count(), 8u);
}

TEST(LanguageTableTest, SetTextReplacesPresentKeysOnly) {
    LanguageTable table(0x0409);
    table.LoadLines(Lines(kFile));
    const std::vector<std::string> before = table.Lines().Lines();
    EXPECT_TRUE(table.SetText(TextKey::ProjectName, "Vesk Demo 1.0"));
    EXPECT_EQ(table.Lines().At(1), "ProjectName=Vesk Demo 1.0");
    EXPECT_EQ(table.GetText(TextKey::ProjectName), "Vesk Demo 1.0");

    LanguageTable untouched(0x0409);
    untouched.LoadLines(Lines(kFile));
    EXPECT_FALSE(untouched.SetText(TextKey::MessageDesc, "absent"));
    EXPECT_FALSE(untouched.SetText(TextKey::Reserved35, "reserved"));
    EXPECT_EQ(untouched.Lines().Lines(), before);
    EXPECT_EQ(KeyReference(TextKey::ProjectName), "|ProjectName|");
    EXPECT_EQ(KeyReference(TextKey::Reserved65), "");
}

TEST(LanguageTableTest, SavedSectionHasNoHeaderAndReadsBackWithoutItsFirstLine) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(dir / "lang.ini", kFile));
    LanguageTable table(0x0409);
    ASSERT_TRUE(table.Load(dir / "lang.ini"));
    table.SetText(TextKey::ProjectName, "Vesk 2.0");
    ASSERT_TRUE(table.SaveSection(dir / "409.ini"));
    EXPECT_EQ(test::ReadWholeFile(dir / "409.ini"),
              "\xEF\xBB\xBFInstallDesc= Setup\r\nProjectName=Vesk 2.0\r\nReadSoftDocDesc2=\r\n");

    LanguageTable reread(0x0409);
    ASSERT_TRUE(reread.Load(dir / "409.ini"));
    EXPECT_EQ(reread.LanguageId(), "409");
    EXPECT_EQ(reread.Lines().Count(), 2u);
    EXPECT_EQ(reread.GetText(TextKey::InstallDesc), "");  // the first line acted as the header
    EXPECT_EQ(reread.GetText(TextKey::ProjectName), "Vesk 2.0");
}

TEST(LanguageTableTest, AMissingOrEmptyFileLeavesAnEmptyEnglishTable) {
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(dir / "c04.ini", kFile));
    ASSERT_TRUE(test::WriteWholeFile(dir / "empty.ini", ""));
    LanguageTable table(0x0C04);
    ASSERT_TRUE(table.Load(dir / "c04.ini"));
    EXPECT_EQ(table.LanguageId(), "C04");
    EXPECT_EQ(table.SystemLanguageId(), "C04");

    EXPECT_FALSE(table.Load(dir / "missing.ini"));
    EXPECT_EQ(table.LanguageId(), "409");
    EXPECT_TRUE(table.Lines().Empty());
    EXPECT_EQ(table.GetText(TextKey::ProjectName), "");

    ASSERT_TRUE(table.Load(dir / "c04.ini"));
    EXPECT_FALSE(table.Load(dir / "empty.ini"));
    EXPECT_TRUE(table.Lines().Empty());
}

TEST(LanguageTableTest, LocaleIdentifiersAsText) {
    EXPECT_EQ(LanguageIdText(0x0804), "804");
    EXPECT_EQ(LanguageIdText(0x0C04), "C04");
    EXPECT_EQ(LanguageIdText(0x1404), "1404");
    EXPECT_EQ(LanguageIdText(0), "0");
    EXPECT_EQ(LanguageIdText(0xABCDEF01), "ABCDEF01");
}

}  // namespace
}  // namespace vesk
