// What a project's texts become in the setup: UTF-8 converted to GB2312 by the builder's own
// table, GB2312 kept, and ${NAME} placeholders filled in from -D.
#include <gtest/gtest.h>

#include "BuildTestKit.h"
#include "builder/reading/CodePageText.h"
#include "builder/reading/Gb2312Table.h"
#include "builder/reading/ProjectDefines.h"
#include "builder/reading/ProjectReader.h"

namespace vesk {
namespace {

TEST(ProjectTextTest, Utf8BecomesGb2312WhereItHasACode) {
    struct Case {
        std::string utf8;
        std::string gb2312;  // empty: refused
        const char* why;
    };
    const Case cases[] = {
        {"Vesk 1.2", "Vesk 1.2", nullptr},
        {"Caf\xC3\xA9 \xE2\x80\x94", "Caf\xA8\xA6 \xA1\xAA", nullptr},  // pinyin e, em dash
        {"\xE4\xB8\xAD\xE6\x96\x87", "\xD6\xD0\xCE\xC4", nullptr},      // zhong wen
        {"\xC2\xB7", "\xA1\xA4", nullptr},                              // middle dot, as Windows
        {"\xE2\x98\x95", "", "(U+2615) has no code in GB2312"},
        {"\xC3\x9F", "", "(U+00DF) has no code"},  // sharp s: not in GB2312
        {"a\xC3", "", "byte 2 is not UTF-8"},
        {"\xC0\xAF", "", "byte 1 is not UTF-8"},  // an overlong '/'
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out, why;
        EXPECT_EQ(Utf8ToGb2312(c.utf8, out, why), c.why == nullptr) << why;
        if (!c.why) {
            EXPECT_EQ(out, c.gb2312);
        } else {
            EXPECT_NE(why.find(c.why), std::string::npos) << why;
        }
    }
}

TEST(ProjectTextTest, EveryGb2312CharacterGoesThereAndBack) {
    unsigned assigned = 0;
    for (unsigned cell = 0; cell < kGb2312CellCount; ++cell) {
        if (!kGb2312Cells[cell]) continue;
        ++assigned;
        const std::string bytes = {char(kGb2312FirstByte + cell / kGb2312RowLength),
                                   char(kGb2312FirstByte + cell % kGb2312RowLength)};
        std::string why, back;
        ASSERT_TRUE(CheckGb2312(bytes, why)) << why;
        ASSERT_TRUE(Utf8ToGb2312(Gb2312ToUtf8(bytes), back, why)) << cell << ": " << why;
        EXPECT_EQ(back, bytes) << cell;
    }
    EXPECT_GE(assigned, 7445u);  // every character of GB2312
}

TEST(ProjectTextTest, ProjectFilesAreReadInTheirEncoding) {
    struct Case {
        const char* name;
        std::string value;         // written in the file
        std::string comment;       // a comment line before the task
        std::string projectValue;  // what the project holds; empty: refused
        const char* error;
    };
    const Case cases[] = {
        {"UTF-8", "Caf\xC3\xA9", "", "Caf\xC3\xA9", nullptr},
        {"GB2312", "\xD6\xD0\xCE\xC4", "", "\xE4\xB8\xAD\xE6\x96\x87", nullptr},
        {"UTF-8 with a symbol in a comment", "Caf\xC3\xA9", "<!-- \xE2\x98\x95 -->\n",
         "Caf\xC3\xA9", nullptr},
        {"UTF-8 of any script", "\xC3\x86r\xC3\xB8 \xCE\xA9 \xE2\x98\x95", "",
         "\xC3\x86r\xC3\xB8 \xCE\xA9 \xE2\x98\x95", nullptr},
        {"GB2312 with a broken character", "\xD6\xD0\xCE", "", "", "p.xml:5: byte 16 (0xCE)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "<InstallProject>\n" + c.comment +
                                 "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
                                 "<SubTask ID=\"1\" Type=\"GetAllVar\">\n" +
                                 std::string(c.comment.empty() ? "\n" : "") + "<ProjectName>" +
                                 c.value +
                                 "</ProjectName>\n</SubTask>\n</Task>\n</InstallProject>\n";
        ProjectReader reader;
        const bool read = reader.ReadText(text, "p.xml");
        EXPECT_EQ(read, c.error == nullptr) << reader.LastError();
        if (read) {
            EXPECT_EQ(reader.Project().ProjectName(), c.projectValue);
        } else {
            EXPECT_NE(reader.LastError().find(c.error), std::string::npos) << reader.LastError();
        }
    }
}

TEST(ProjectTextTest, DefinesFillInPlaceholders) {
    struct Case {
        std::vector<std::string> defines;
        std::string version;  // the ProductVersion as written
        std::string value;    // as the setup carries it; empty: refused
        const char* error;
    };
    const Case cases[] = {
        {{"VERSION=2.5"}, "${VERSION}", "2.5", nullptr},
        {{"MAJOR=2", "MINOR=5", "MINOR=6"}, "${MAJOR}.${MINOR} beta", "2.6 beta", nullptr},
        {{"NAME=Caf\xC3\xA9"}, "${NAME}", "Caf\xC3\xA9", nullptr},
        {{"EMPTY="}, "v${EMPTY}", "v", nullptr},
        {{}, "$${VERSION}", "${VERSION}", nullptr},
        {{}, "${VERSION}", "", "project.xml:7: ${VERSION} is not defined: give -D VERSION=VALUE"},
        {{"VERSOIN=1"}, "${VERSION}", "", "(did you mean VERSOIN?)"},
        {{}, "${VERSION", "", "project.xml:7: \"${\" without its \"}\""},
        {{"1X=2"}, "1", "", "-D 1X=2: \"1X\" is no name"},
        {{"X"}, "1", "", "-D X: write NAME=VALUE"},
        {{"X=a<b"}, "1", "", "the value of X holds '<'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        test::BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject("", "<ProductVersion>" + c.version + "</ProductVersion>\n");
        BuildOptions options = kit.Options();
        options.defines = c.defines;
        SetupBuilder builder;
        const bool built = builder.Build(options);
        EXPECT_EQ(built, c.error == nullptr) << builder.LastError();
        if (built) {
            EXPECT_EQ(builder.Project().GetValue("2401", SubTaskType::GetAllVar,
                                                 FieldKind::ProductVersion),
                      c.value);
        } else {
            EXPECT_NE(builder.LastError().find(c.error), std::string::npos) << builder.LastError();
        }
    }
}

TEST(ProjectTextTest, PlaceholdersInCommentsAreLeftAlone) {
    ProjectDefines defines;
    ProjectReader reader;
    reader.SetDefines(&defines);
    EXPECT_TRUE(
        reader.ReadText("<!-- ${UNDEFINED} -->\n<InstallProject>\n</InstallProject>\n", "p.xml"))
        << reader.LastError();
}

}  // namespace
}  // namespace vesk
