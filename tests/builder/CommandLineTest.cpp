// veskbuild's command-line conventions: option forms, help, version, --quiet, exit codes.
#include <gtest/gtest.h>

#include <filesystem>

#include "BuildTestKit.h"
#include "builder/checks/FieldReference.h"
#include "builder/veskbuild/CommandLine.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using tool::Arguments;

const std::vector<tool::OptionSpec> kOptions = {
    {"--output", "-o", true, false, ""},
    {"--define", "-D", true, true, ""},
    {"--werror", nullptr, false, false, ""},
};

TEST(CommandLineTest, OptionsTakeTheirValueEitherWay) {
    struct Case {
        Arguments args;
        const char* error;  // nullptr: accepted
        std::string output;
        std::vector<std::string> defines;
        std::vector<std::string> operands;
    };
    const Case cases[] = {
        {{"p.xml", "--output", "out"}, nullptr, "out", {}, {"p.xml"}},
        {{"--output=out", "p.xml"}, nullptr, "out", {}, {"p.xml"}},
        {{"-o", "out"}, nullptr, "out", {}, {}},
        {{"-oout"}, nullptr, "out", {}, {}},
        {{"-D", "A=1", "-DB=2", "--define=C=3"}, nullptr, "", {"A=1", "B=2", "C=3"}, {}},
        {{"--", "-o", "x"}, nullptr, "", {}, {"-o", "x"}},
        {{"-"}, nullptr, "", {}, {"-"}},
        {{"--output"}, "--output needs a value", "", {}, {}},
        {{"--output="}, "--output needs a value", "", {}, {}},
        {{"--werror=1"}, "--werror takes no value", "", {}, {}},
        {{"-o", "a", "--output", "b"}, "--output is given twice", "", {}, {}},
        {{"--outptu=x"}, "unknown option --outptu", "", {}, {}},
        {{"-x"}, "unknown option -x", "", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "" : c.args[0]);
        tool::CommandLine line;
        std::string error;
        EXPECT_EQ(line.Parse(c.args, kOptions, error), c.error == nullptr) << error;
        if (c.error) {
            EXPECT_EQ(error, c.error);
            continue;
        }
        EXPECT_EQ(line.Value("--output"), c.output);
        EXPECT_EQ(line.Values("--define"), c.defines);
        EXPECT_EQ(line.Operands(), c.operands);
    }
}

using Outcome = test::CommandOutcome;
constexpr auto Capture = test::CaptureCommand;

TEST(CommandLineTest, EveryCommandHasHelpAndTheSameExitCodes) {
    for (const tool::CommandInfo& command : tool::CommandTable()) {
        SCOPED_TRACE(command.name);
        Outcome help = Capture(command.run, {"--help"});
        EXPECT_EQ(help.exitCode, tool::kExitSuccess);
        EXPECT_EQ(help.out.find(std::string("usage: veskbuild ") + command.name), 0u) << help.out;
        EXPECT_NE(help.out.find("exit codes"), std::string::npos);
        Outcome wrong = Capture(command.run, {"--no-such-option"});
        EXPECT_EQ(wrong.exitCode, tool::kExitUsage);
        EXPECT_NE(wrong.err.find(std::string("see veskbuild help ") + command.name),
                  std::string::npos)
            << wrong.err;
    }
    EXPECT_EQ(tool::VersionText().find("veskbuild "), 0u);
}

TEST(CommandLineTest, QuietPrintsNothingButErrors) {
    test::TempDir dir;
    test::BuildTestKit kit;
    kit.Write("product/A.txt", "quiet please");
    kit.WriteProject("", "<IsShow>1</IsShow>\n");  // a warning, which --quiet keeps back
    test::WriteWholeFile(dir / "in.txt", "some text some text some text");
    struct Case {
        const char* name;
        int (*command)(const Arguments&);
        Arguments args;
    };
    const Case cases[] = {
        {"compress", tool::CompressCommand, {dir / "in.txt", dir / "in.lzss"}},
        {"decompress", tool::DecompressCommand, {dir / "in.lzss", dir / "back.txt"}},
        {"init", tool::InitCommand, {dir / "starter"}},
        {"check", tool::CheckCommand, {kit.Path("project.xml")}},
        {"build",
         tool::BuildCommand,
         {kit.Path("project.xml"), "--output=" + kit.Path("out"), "--stub", kit.Path("stub.exe")}},
        {"extract", tool::ExtractCommand, {kit.Path("out/Setup.exe"), dir / "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arguments quiet = c.args;
        quiet.push_back("--quiet");
        Outcome run = Capture(c.command, quiet);
        EXPECT_EQ(run.exitCode, tool::kExitSuccess) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
    }
    Outcome loud = Capture(tool::CheckCommand, {kit.Path("project.xml")});
    EXPECT_NE(loud.out.find("no errors, 1 warning"), std::string::npos) << loud.out;
    EXPECT_NE(loud.err.find("warning: "), std::string::npos);
    // With --werror the warning is the error, and --quiet lets it through.
    Outcome strict = Capture(tool::CheckCommand, {kit.Path("project.xml"), "--werror", "-q"});
    EXPECT_EQ(strict.exitCode, tool::kExitFailure);
    EXPECT_NE(strict.err.find("project.xml:7: task 2401: the setup never reads <IsShow>"),
              std::string::npos)
        << strict.err;
}

TEST(CommandLineTest, FieldReferenceInDocsIsTheGeneratedOne) {
    const std::filesystem::path docs = std::filesystem::path(VESK_SOURCE_DIR) / "docs";
    const std::string committed = test::ReadWholeFile((docs / "field-reference.md").string());
    ASSERT_FALSE(committed.empty()) << docs;
    // A checkout may turn LF into CR LF.
    std::string normalised;
    for (char c : committed) {
        if (c != '\r') normalised += c;
    }
    EXPECT_TRUE(normalised == FieldReferenceText())
        << "docs/field-reference.md differs from `veskbuild reference`: run "
           "veskbuild reference > docs/field-reference.md";
}

TEST(CommandLineTest, ManualPageNamesEveryCommandAndOption) {
    const std::filesystem::path page =
        std::filesystem::path(VESK_SOURCE_DIR) / "docs" / "veskbuild.1";
    const std::string text = test::ReadWholeFile(page.string());
    ASSERT_FALSE(text.empty()) << page;
    // Roff writes a dash of an option as "\-".
    auto roff = [](const std::string& name) {
        std::string out;
        for (char c : name) out += c == '-' ? std::string("\\-") : std::string(1, c);
        return out;
    };
    for (const tool::CommandInfo& command : tool::CommandTable()) {
        EXPECT_NE(text.find(".B veskbuild " + std::string(command.name)), std::string::npos)
            << command.name << " is not in the synopsis of docs/veskbuild.1";
        for (const tool::OptionSpec& option : command.options) {
            EXPECT_NE(text.find(roff(option.name)), std::string::npos)
                << option.name << " (" << command.name << ") is not in docs/veskbuild.1";
            if (option.shortName) {
                EXPECT_NE(
                    text.find(".BR " + roff(option.shortName) + " \", \" " + roff(option.name)),
                    std::string::npos)
                    << option.shortName << " is not in docs/veskbuild.1";
            }
        }
    }
}

}  // namespace
}  // namespace vesk
