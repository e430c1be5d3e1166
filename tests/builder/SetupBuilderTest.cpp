// The builder's choices: which kind every file gets and where it goes in the file list, the
// computed fields, the project it writes, and one clear refusal for every kind of bad input.
#include <gtest/gtest.h>

#include <filesystem>

#include "BuildTestKit.h"
#include "builder/inspection/SetupInspector.h"
#include "project/TaskSlots.h"
#include "project/TextLineList.h"
#include "resources/LanguageFile.h"
#include "support/BmpBuilder.h"
#include "support/SetupFixture.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::BuildTestKit;
using test::FixtureBytes;
using test::ReadWholeFile;

const char kRegistryData[] = "[HKEY_CURRENT_USER\\Software\\Vesk Test]\r\n\"Path\"=\"C:\\x\"\r\n";

// A project that uses every kind: start-up files, ordinary, raw by pattern, raw because LZSS
// does not shrink it, a program (L), a registry data file (R) and the uninstaller (U).
void WriteEveryKind(const BuildTestKit& kit) {
    kit.Write("pictures/top.bmp", BuildTestKit::BitmapBytes());
    kit.Write("pictures/ad.bmp", BuildTestKit::BitmapBytes());
    kit.Write("pictures/welcome.bmp", BuildTestKit::BitmapBytes());
    kit.Write("docs/licence.mht", "MIME-Version: 1.0\r\n\r\nlicence");
    kit.Write("docs/readme.htm", "<html>readme</html>");
    kit.Write("tools/prepare.exe", "MZ prepare");
    kit.Write("product/a.txt", std::string(3000, 'a'));
    kit.Write("product/data/photo.png", FixtureBytes(500, 1, true));
    kit.Write("product/data/noise.bin", FixtureBytes(3000, 2, false));
    kit.Write("product/data/empty.txt", "");
    kit.Write("product/setup/prepare.exe", "MZ" + std::string(100, 'p'));
    kit.Write("temp/settings.reg", kRegistryData);
    kit.Write("uninstaller.exe", "MZ" + std::string(200, 'u'));
    kit.WriteProject(
        "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
        "<SubTask ID=\"1\" Type=\"ShowBitmap\">\n<File>pictures/welcome.bmp</File>\n</SubTask>\n"
        "</Task>\n"
        "<Task ID=\"2003\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
        "<SubTask ID=\"1\" Type=\"ShowSoftDoc\">\n<FileType>M</FileType>\n"
        "<File>docs/licence.mht</File>\n</SubTask>\n</Task>\n"
        "<Task ID=\"2004\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
        "<SubTask ID=\"1\" Type=\"ShowReadme\">\n<FileType>S</FileType>\n"
        "<File>docs/readme.htm</File>\n</SubTask>\n</Task>\n"
        "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\n"
        "<SubTask ID=\"1\" Type=\"GetValue\">\n<CreateUnInstall1>1</CreateUnInstall1>\n"
        "</SubTask>\n</Task>\n"
        "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\n"
        "<SubTask ID=\"1\" Type=\"FolderList\">\n<Folder>[InstallDir]\\logs</Folder>\n</SubTask>\n"
        "<SubTask ID=\"2\" Type=\"FileList\">\n"
        "<File>[InstallDir]\\setup\\prepare.exe,,,l,</File>\n"
        "<File>[tempfiledir]\\SETTINGS.reg,,,R,</File>\n"
        "<File>[InstallDir]\\a.txt,,,N,2004-3-5 14:3:7</File>\n"
        "</SubTask>\n</Task>\n",
        "<TopFramePicture>pictures/top.bmp</TopFramePicture>\n"
        "<AdPicture>pictures/ad.bmp</AdPicture>\n"
        "<ProvideForInstall>tools/prepare.exe</ProvideForInstall>\n",
        "<PathDesc>[TempFileDir]</PathDesc>\n<PathValue>temp</PathValue>\n");
}

TEST(SetupBuilderTest, EveryKindWhereItBelongs) {
    BuildTestKit kit;
    WriteEveryKind(kit);
    BuildOptions options = kit.Options();
    options.uninstallerPath = kit.Path("uninstaller.exe");
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    EXPECT_TRUE(builder.Summary().warnings.empty());

    SetupInspector setup;
    ASSERT_TRUE(setup.Open(kit.Path("out/Setup.exe"))) << setup.LastError();
    struct Expected {
        const char* target;
        char letter;
        const char* source;  // nullptr: the language file
    };
    const Expected expected[] = {
        {"[TempFileDir]\\~VeskInstall-Language.ini", 'K', nullptr},
        {"[TempFileDir]\\~VeskInstall-AdPicture.bmp", 'K', "pictures/ad.bmp"},
        {"[TempFileDir]\\~VeskInstall-TopFramePicture.bmp", 'K', "pictures/top.bmp"},
        {"[TempFileDir]\\~VeskInstall-WelcomeWndPicture.bmp", 'K', "pictures/welcome.bmp"},
        {"[TempFileDir]\\~VeskInstall-SoftDoc.MHT", 'K', "docs/licence.mht"},
        {"[TempFileDir]\\~VeskInstall-SoftReadme.HTM", 'K', "docs/readme.htm"},
        {"[TempFileDir]\\~VeskInstall-ProvideForInstall.exe", 'K', "tools/prepare.exe"},
        {"[InstallDir]\\a.txt", 'N', "product/a.txt"},
        {"[InstallDir]\\data\\empty.txt", 'A', "product/data/empty.txt"},
        {"[InstallDir]\\data\\noise.bin", 'N', "product/data/noise.bin"},
        {"[InstallDir]\\data\\photo.png", 'N', "product/data/photo.png"},
        {"[InstallDir]\\setup\\prepare.exe", 'L', "product/setup/prepare.exe"},
        {"[TempFileDir]\\settings.reg", 'R', "temp/settings.reg"},
        {"[Windows Directory]\\Vesk-UnInstall.exe", 'U', "uninstaller.exe"},
    };
    ASSERT_EQ(setup.Entries().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const FileEntry& entry = setup.Entries()[i];
        SCOPED_TRACE(entry.rawPath);
        EXPECT_EQ(entry.rawPath, expected[i].target);
        EXPECT_EQ(entry.letter, expected[i].letter);
        std::string body;
        ASSERT_TRUE(setup.ReadBody(entry, body)) << setup.LastError();
        EXPECT_EQ(body, expected[i].source ? ReadWholeFile(kit.Path(expected[i].source))
                                           : DefaultLanguageFile());
        if (i > 0) {
            EXPECT_GE(entry.offset, setup.Entries()[i - 1].offset);
        }
    }
    EXPECT_EQ(setup.Entries()[7].timeText, "2004-3-5 14:3:7");

    const InstallProject& project = setup.Project();
    EXPECT_EQ(project.GetValue("2401", SubTaskType::GetAllVar, FieldKind::FileQty), "7");
    std::uint64_t installed = 3000 + 0 + 3000 + 500 + 102 + sizeof kRegistryData - 1 + 202;
    EXPECT_EQ(project.GetValue("2401", SubTaskType::GetAllVar, FieldKind::SoftwareSize),
              std::to_string(installed));
    // A set in one file: DiskSize exceeds the executable.
    EXPECT_GT(std::uint64_t(setup.DiskSize()), fs::file_size(kit.Path("out/Setup.exe")));
    EXPECT_EQ(setup.Folders(),
              (std::vector<std::string>{"[InstallDir]\\logs", "[InstallDir]", "[InstallDir]\\data",
                                        "[InstallDir]\\setup"}));
}

TEST(SetupBuilderTest, WrittenProjectReadsBackUnchanged) {
    BuildTestKit kit;
    WriteEveryKind(kit);
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
    const std::string text = builder.Project().ToText();
    InstallProject reread;
    reread.Parse(text);
    EXPECT_EQ(reread.ToText(), text);
    ASSERT_EQ(reread.TaskCount(), std::size_t(kTaskSlotCount));
    for (int slot = 0; slot < kTaskSlotCount; ++slot) {
        EXPECT_EQ(reread.TaskAt(std::size_t(slot)).Id(), TaskIdForSlot(slot));
    }
    SetupInspector setup;
    ASSERT_TRUE(setup.Open(kit.Path("out/Setup.exe")));
    EXPECT_EQ(setup.ProjectText(), text);
    // Without --uninstaller the record is asked for but cannot be honoured: a warning says so.
    ASSERT_EQ(builder.Summary().warnings.size(), 1u);
    EXPECT_NE(builder.Summary().warnings[0].find("--uninstaller"), std::string::npos);
}

TEST(SetupBuilderTest, TheUninstallerBesideTheToolServesWhenNoneIsGiven) {
    struct Case {
        const char* name;
        bool recordAsked;
        const char* given;    // --uninstaller; "" for none
        const char* bundled;  // beside the tool; "" for none, "missing" for one not there
        const char* packed;   // the U entry's source; "" for no entry
        const char* warning;  // part of the only warning; "" for none
    };
    const Case cases[] = {
        {"the bundled one", true, "", "bundled.exe", "bundled.exe", ""},
        {"the given one first", true, "given.exe", "bundled.exe", "given.exe", ""},
        {"none beside the tool", true, "", "missing", "", "none came with veskbuild"},
        {"no record asked", false, "", "bundled.exe", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/a.txt", "a");
        kit.Write("given.exe", "MZ given");
        kit.Write("bundled.exe", "MZ bundled");
        kit.WriteProject(c.recordAsked ? "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\n"
                                         "<SubTask ID=\"1\" Type=\"GetValue\">\n"
                                         "<CreateUnInstall2>1</CreateUnInstall2>\n</SubTask>\n"
                                         "</Task>\n"
                                       : "");
        BuildOptions options = kit.Options();
        if (*c.given) options.uninstallerPath = kit.Path(c.given);
        if (*c.bundled) options.bundledUninstallerPath = kit.Path(c.bundled);
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(options)) << builder.LastError();
        const std::vector<std::string>& warnings = builder.Summary().warnings;
        if (*c.warning) {
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
        } else {
            EXPECT_TRUE(warnings.empty()) << warnings[0];
        }
        SetupInspector setup;
        ASSERT_TRUE(setup.Open(kit.Path("out/Setup.exe"))) << setup.LastError();
        const FileEntry& last = setup.Entries().back();
        EXPECT_EQ(last.letter == 'U', *c.packed != 0);
        if (*c.packed) {
            std::string body;
            ASSERT_TRUE(setup.ReadBody(last, body));
            EXPECT_EQ(body, ReadWholeFile(kit.Path(c.packed)));
        }
    }
}

TEST(SetupBuilderTest, PagesKeepTheWrittenOrderAndDefaultsFillTheGaps) {
    struct Case {
        std::vector<const char*> written;  // after 2401 and 2402
        const char* pages;                 // the page tasks of the setup's project, in order
    };
    const Case cases[] = {
        {{}, "2002 2003 2004 2005 2006 2007 2008 2009 2010"},
        {{"2002", "2003", "2004", "2005", "2006", "2007", "2008", "2009", "2010"},
         "2002 2003 2004 2005 2006 2007 2008 2009 2010"},
        {{"2002", "2008"}, "2002 2003 2004 2005 2006 2007 2008 2009 2010"},
        {{"2005", "2404", "2003"}, "2002 2004 2005 2003 2006 2007 2008 2009 2010"},
        {{"2010", "2002"}, "2003 2004 2005 2006 2007 2008 2009 2010 2002"},
        {{"2009", "2004", "2007"}, "2002 2003 2005 2006 2008 2009 2004 2007 2010"},
    };
    for (const Case& c : cases) {
        std::string tasks, trace;
        for (const char* id : c.written) {
            const bool page = IsPageSlot(TaskSlotFromIdOrLabel(id));
            tasks += std::string("<Task ID=\"") + id + "\" Type=\"" +
                     (page ? "ShowDialogBox\" IsExec=\"1" : "DataSetting\" IsExec=\"0") +
                     "\">\n</Task>\n";
            trace += std::string(id) + " ";
        }
        SCOPED_TRACE(trace);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject(tasks);
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
        std::string order;
        for (const Task& task : builder.Project().Tasks()) order += task.Id() + " ";
        EXPECT_EQ(order, "2401 " + std::string(c.pages) +
                             " 2402 2403 2404 2405 2409 2406 2410 2407 2408 2411 2412 ");
    }
}

TEST(SetupBuilderTest, LanguageFileHasThreeSectionsWithTheSameKeys) {
    BuildTestKit kit;
    kit.Write("product/a.txt", "a");
    kit.WriteProject();
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(kit.Options())) << builder.LastError();
    SetupInspector setup;
    ASSERT_TRUE(setup.Open(kit.Path("out/Setup.exe")));
    std::string body;
    ASSERT_TRUE(setup.ReadBody(setup.Entries().at(0), body));
    TextLineList lines;
    lines.SplitAppend(body, false);
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> keys;
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '[') {
            headers.push_back(line);
            keys.emplace_back();
        } else {
            ASSERT_FALSE(keys.empty()) << line;
            keys.back().push_back(line.substr(0, line.find('=')));
        }
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"[Language=409]", "[Language=804]",
                                                 "[Language=404,c04,1404]"}));
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1], keys[0]);
    EXPECT_EQ(keys[2], keys[0]);
    EXPECT_EQ(keys[0].back(), "CreateFolderErrorDesc");
    EXPECT_EQ(body.substr(body.size() - 2), "\r\n");
}

TEST(SetupBuilderTest, EmptyFileAtAVolumeBoundaryStaysInTheVolumeBefore) {
    BuildTestKit kit;
    kit.Write("product/a.bin", FixtureBytes(5000, 3, false));
    kit.Write("product/zz.txt", "");
    kit.WriteProject();
    SetupBuilder builder;
    ASSERT_TRUE(builder.Build(kit.Options("first"))) << builder.LastError();
    SetupInspector first;
    ASSERT_TRUE(first.Open(kit.Path("first/Setup.exe")));
    const std::int32_t streamEnd = first.Entries().back().offset;  // where the empty file sits

    // With the stream ending exactly at the end of volume 1, no Setup2.Cab exists; the empty
    // entry must not send the engine looking for one.
    BuildOptions options = kit.Options("second");
    options.diskSize = std::to_string(streamEnd);
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    EXPECT_EQ(builder.Summary().volumes, 1);
    SetupInspector second;
    ASSERT_TRUE(second.Open(kit.Path("second/Setup.exe")));
    const FileEntry& empty = second.Entries().back();
    EXPECT_EQ(empty.size, 0);
    EXPECT_EQ(empty.offset, streamEnd - 1);
    EXPECT_EQ(second.VolumeOf(empty), 1);
    std::string body = "x";
    EXPECT_TRUE(second.ReadBody(empty, body)) << second.LastError();
    EXPECT_EQ(body, "");
}

struct BadInput {
    const char* name;
    void (*prepare)(BuildTestKit& kit, BuildOptions& options);
    const char* error;  // part of the message
};

const BadInput kBadInputs[] = {
    {"missing source folder",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("", "",
                          "<PathDesc>[InstallDir]\\Help</PathDesc>\n<PathValue>help</PathValue>\n");
     },
     "the source folder \"help\" of [InstallDir]\\Help does not exist"},
    {"PathDesc without PathValue",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("", "", "<PathDesc>[InstallDir]\\Help</PathDesc>\n");
     },
     "has no PathValue"},
    {"two sources for one target",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.Write("other/A.TXT", "2");
         kit.WriteProject("", "",
                          "<PathDesc>[InstallDir]</PathDesc>\n<PathValue>other</PathValue>\n");
     },
     "would be installed as [InstallDir]\\A.TXT"},
    {"entry over 4095 characters",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("", "",
                          "<PathDesc>[InstallDir]\\" + std::string(4100, 'd') +
                              "</PathDesc>\n<PathValue>product</PathValue>\n");
     },
     "the engine reads at most 4095"},
    {"stream over the limit",
     [](BuildTestKit&, BuildOptions& options) { options.streamLimit = 4096 + 500; },
     "the data stream would pass 4596 bytes"},
    {"disk size option below the stub",
     [](BuildTestKit&, BuildOptions& options) { options.diskSize = "4K"; },
     "--disk-size 4K is too small: a volume must be larger than the engine stub"},
    {"disk size field below the stub",
     [](BuildTestKit& kit, BuildOptions&) { kit.WriteProject("", "<DiskSize>1000</DiskSize>\n"); },
     "DiskSize 1000 of task 2401 is too small"},
    {"disk size field unreadable",
     [](BuildTestKit& kit, BuildOptions&) { kit.WriteProject("", "<DiskSize>1.44M</DiskSize>\n"); },
     "DiskSize of task 2401: \"1.44M\" has an unknown unit"},
    {"disk size option unreadable",
     [](BuildTestKit&, BuildOptions& options) { options.diskSize = "lots"; },
     "--disk-size: \"lots\" is not a size"},
    {"identity too long",
     [](BuildTestKit&, BuildOptions& options) { options.identity = std::string(60, '1'); },
     "longer than 59 characters"},
    {"missing stub",
     [](BuildTestKit& kit, BuildOptions& options) { options.stubPath = kit.Path("none.exe"); },
     "the engine stub"},
    {"missing picture",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("", "<TopFramePicture>top.bmp</TopFramePicture>\n");
     },
     "TopFramePicture of task 2401 names \"top.bmp\", which does not exist"},
    {"picture that is no BMP",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.Write("top.png", "\x89PNG....");
         kit.WriteProject("", "<TopFramePicture>top.png</TopFramePicture>\n");
     },
     "which is no BMP picture"},
    {"picture with a 124-byte header",
     [](BuildTestKit& kit, BuildOptions&) {
         test::BmpBuilder bmp;
         bmp.headerSize = 124;
         bmp.pixels = std::string(4, '\0');
         kit.Write("welcome.bmp", bmp.Bytes());
         kit.WriteProject(
             "<Task ID=\"2002\" Type=\"ShowDialogBox\" IsExec=\"1\">\n"
             "<SubTask ID=\"1\" Type=\"ShowBitmap\">\n<File>welcome.bmp</File>\n"
             "</SubTask>\n</Task>\n");
     },
     "project.xml:17: welcome.bmp (the ShowBitmap File of task 2002): the setup cannot show this "
     "picture (a BMP with a 124-byte header); save it as a BMP with a 40-byte header"},
    {"preparatory program that is no program",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.Write("prepare.bat", "@echo off");
         kit.WriteProject("", "<ProvideForInstall>prepare.bat</ProvideForInstall>\n");
     },
     "which is no Windows program"},
    {"mark for a file that is not there",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject(
             "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\n"
             "<SubTask ID=\"1\" Type=\"FileList\">\n<File>[InstallDir]\\b.exe,,,L,</File>\n"
             "</SubTask>\n</Task>\n");
     },
     "gives [InstallDir]\\b.exe the kind L, but no source folder"},
    {"mark with an offset",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject(
             "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\n"
             "<SubTask ID=\"1\" Type=\"FileList\">\n<File>[InstallDir]\\A.txt,5,,L,</File>\n"
             "</SubTask>\n</Task>\n");
     },
     "leave offset and size empty"},
    {"registry data file with LF lines",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.Write("product/x.reg", "[HKEY_CURRENT_USER\\A]\n\"x\"=\"y\"\n");
         kit.WriteProject(
             "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\n"
             "<SubTask ID=\"1\" Type=\"FileList\">\n<File>[InstallDir]\\x.reg,,,R,</File>\n"
             "</SubTask>\n</Task>\n");
     },
     "x.reg: registry data file (kind R): line 1 ends with LF alone"},
    {"uninstaller that is not there",
     [](BuildTestKit& kit, BuildOptions& options) {
         options.uninstallerPath = kit.Path("nothing.exe");
         kit.WriteProject(
             "<Task ID=\"2410\" Type=\"DataSetting\" IsExec=\"0\">\n"
             "<SubTask ID=\"1\" Type=\"GetValue\">\n<CreateUnInstall2>1</CreateUnInstall2>\n"
             "</SubTask>\n</Task>\n");
     },
     "--uninstaller:"},
    {"project with a typo",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("", "<Projectname>x</Projectnam>\n");
     },
     "project.xml:7: the value of <Projectname> must end at its closing tag"},
    {"task outside the slots",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("<Task ID=\"3000\" Type=\"DataSetting\" IsExec=\"0\">\n</Task>\n");
     },
     "\"3000\" is not one of the task slots"},
    {"IsExec on a task that is no page",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"1\">\n</Task>\n");
     },
     "project.xml:15: task 2404 has IsExec=\"1\", but only the wizard page tasks 2002 ... 2010 "
     "may have IsExec=\"1\"; write IsExec=\"0\""},
    {"output folder inside a source folder",
     [](BuildTestKit& kit, BuildOptions& options) {
         options.outputDir = kit.Path("product/setup/");
     },
     "lies in the source folder \"product\" of [InstallDir]"},
    {"product name Windows cannot hold in a folder",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.Write("project.xml",
                   "<InstallProject>\n<Version>VeskInstall5.0</Version>\n"
                   "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
                   "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<ProjectName>A:B?*|</ProjectName>\n"
                   "</SubTask>\n</Task>\n</InstallProject>\n");
     },
     "project.xml:3: the InstallPath of task 2401, \"[Program Files]\\A:B?*|\" (made from "
     "ProjectName and CompanyDesc), is no folder Windows can hold: \"A:B?*|\": ':' is not "
     "allowed"},
    {"install path with a trailing dot",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject("", "<InstallPath>C:\\Tools.\\Test</InstallPath>\n");
     },
     "the InstallPath of task 2401, \"C:\\Tools.\\Test\", is no folder Windows can hold: "
     "\"Tools.\": Windows drops a trailing dot"},
    {"program folder name naming a device",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.WriteProject(
             "<Task ID=\"2404\" Type=\"DataSetting\" IsExec=\"0\">\n"
             "<SubTask ID=\"1\" Type=\"GetValue\">\n<Description>Vendor\\Aux</Description>\n"
             "</SubTask>\n</Task>\n");
     },
     "project.xml:15: the program folder name, the Description of task 2404's GetValue, "
     "\"Vendor\\Aux\", is no folder Windows can hold: \"Aux\": \"AUX\" names a device"},
    {"program folder made from a product name Windows cannot hold",
     [](BuildTestKit& kit, BuildOptions&) {
         kit.Write("project.xml",
                   "<InstallProject>\n<Version>VeskInstall5.0</Version>\n"
                   "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
                   "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<ProjectName>Tool?</ProjectName>\n"
                   "<InstallPath>[Program Files]\\Tool</InstallPath>\n"
                   "</SubTask>\n</Task>\n</InstallProject>\n");
     },
     "the program folder name, the Description of task 2404's GetValue, \"Tool?\" (made from "
     "ProjectName), is no folder Windows can hold: \"Tool?\": '?' is not allowed"},
    {"missing project",
     [](BuildTestKit& kit, BuildOptions& options) { options.projectPath = kit.Path("nope.xml"); },
     "nope.xml: cannot be read"},
#ifndef _WIN32
    {"broken link among the sources",
     [](BuildTestKit& kit, BuildOptions&) {
         fs::create_symlink(kit.Path("gone"), kit.Path("product/link"));
     },
     "product/link: cannot be read"},
    {"'<' in a file name",
     [](BuildTestKit& kit, BuildOptions&) { kit.Write("product/a<b.txt", "x"); },
     "a<b.txt: unusable name: '<' cannot be written in the project file"},
    {"line break in a folder name",
     [](BuildTestKit& kit, BuildOptions&) { kit.Write("product/two\nlines/x.txt", "x"); },
     "unusable name: a line break cannot be written in the project file"},
#endif
};

TEST(SetupBuilderTest, BadInputGetsItsMessageAndLeavesNoOutput) {
    for (const BadInput& bad : kBadInputs) {
        SCOPED_TRACE(bad.name);
        BuildTestKit kit;
        kit.Write("product/A.txt", FixtureBytes(2000, 4, false));
        kit.WriteProject();
        BuildOptions options = kit.Options();
        bad.prepare(kit, options);
        SetupBuilder builder;
        EXPECT_FALSE(builder.Build(options));
        EXPECT_NE(builder.LastError().find(bad.error), std::string::npos) << builder.LastError();
        EXPECT_FALSE(fs::exists(kit.Path("out"))) << builder.LastError();
    }
}

TEST(SetupBuilderTest, WarnsAboutWhatBuildsButLooksWrong) {
    struct Case {
        const char* name;
        void (*prepare)(BuildTestKit& kit, BuildOptions& options);
        const char* warning;  // part of the only warning
    };
    const Case cases[] = {
        {"uninstaller nobody asked for",
         [](BuildTestKit& kit, BuildOptions& options) {
             kit.Write("u.exe", "MZ");
             options.uninstallerPath = kit.Path("u.exe");
         },
         "--uninstaller ignored"},
        {"ordinary file in the temporary folder",
         [](BuildTestKit& kit, BuildOptions&) {
             kit.Write("temp/x.reg", "");
             kit.WriteProject("", "",
                              "<PathDesc>[TempFileDir]</PathDesc>\n<PathValue>temp</PathValue>\n");
         },
         "[TempFileDir]\\x.reg goes into the temporary folder and stays there"},
#ifndef _WIN32  // mingw's std::filesystem does not keep such narrow names intact
        {"name outside ASCII",
         [](BuildTestKit& kit, BuildOptions&) { kit.Write("product/caf\xC3\xA9.txt", "x"); },
         "outside ASCII"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BuildTestKit kit;
        kit.Write("product/A.txt", "a");
        kit.WriteProject();
        BuildOptions options = kit.Options();
        c.prepare(kit, options);
        SetupBuilder builder;
        ASSERT_TRUE(builder.Build(options)) << builder.LastError();
        ASSERT_EQ(builder.Summary().warnings.size(), 1u);
        EXPECT_NE(builder.Summary().warnings[0].find(c.warning), std::string::npos)
            << builder.Summary().warnings[0];
    }
}

TEST(SetupBuilderTest, FailedBuildKeepsTheEarlierSetup) {
    BuildTestKit kit;
    kit.Write("product/A.txt", FixtureBytes(20000, 5, false));
    kit.WriteProject();
    SetupBuilder builder;
    BuildOptions options = kit.Options();
    options.diskSize = "8K";
    ASSERT_TRUE(builder.Build(options)) << builder.LastError();
    std::string before = test::SetBytes(builder.Summary());
    std::vector<std::string> files = builder.Summary().outputFiles;
    ASSERT_GE(files.size(), 3u);

    options.diskSize = "";
    options.streamLimit = 4096 + 1000;
    EXPECT_FALSE(builder.Build(options));
    std::string after;
    for (const std::string& path : files) after += ReadWholeFile(path);
    EXPECT_EQ(after, before);
    for (const auto& entry : fs::directory_iterator(kit.Path("out"))) {
        EXPECT_EQ(entry.path().extension().string(),
                  entry.path().filename() == "Setup.exe" ? ".exe" : ".Cab");
    }
}

}  // namespace
}  // namespace vesk
