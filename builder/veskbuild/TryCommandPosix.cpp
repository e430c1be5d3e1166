// try: a setup (built first from a project) installed and removed again in a throwaway Wine
// prefix on a virtual display, with a report of what it did and what it left.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "builder/trial/HostPrograms.h"
#include "builder/trial/TrialReport.h"
#include "builder/trial/TrialRun.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "builder/veskbuild/Interrupts.h"
#include "builder/veskbuild/TerminalText.h"

namespace vesk::tool {
namespace {

namespace fs = std::filesystem;

constexpr char kDefaultOutput[] = "try";
constexpr char kSetupFolder[] = "setup";
constexpr char kReportName[] = "report.html";
constexpr char kWalkerName[] = "walk_setup.exe";
constexpr int kMinimumDpi = 96;
constexpr int kMaximumDpi = 480;
constexpr std::size_t kSummaryFindings = 10;

// The programs of the host a run needs, and what gives them on Debian.
constexpr const char* kHostPrograms[] = {"wine", "wineserver", "Xvfb"};
constexpr char kDebianPackages[] =
    "On Debian: sudo dpkg --add-architecture i386 && sudo apt-get update &&\n"
    "           sudo apt-get install wine wine32 xvfb";

bool IsProject(const std::string& path) {
    if (path.size() < 4) return false;
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) c = char(std::tolower(static_cast<unsigned char>(c)));
    return end == ".xml";
}

// The programs of kHostPrograms that PATH lacks, named one after the other; "" when it has all.
std::string MissingHostPrograms() {
    std::string missing;
    for (const char* program : kHostPrograms) {
        if (trial::FindOnPath(program).empty())
            missing += (missing.empty() ? "" : ", ") + std::string(program);
    }
    return missing;
}

// Builds the project into `folder` as `build` does, with the options of `line` it shares.
int BuildSetup(const std::string& project, const std::string& folder, const CommandLine& line) {
    Arguments build = {project, "-o", folder};
    for (const char* option : {"--stub", "--compression", "--uninstaller"}) {
        if (line.Has(option)) build.insert(build.end(), {option, line.Value(option)});
    }
    for (const std::string& define : line.Values("--define"))
        build.insert(build.end(), {"-D", define});
    if (line.Has("--quiet")) build.push_back("--quiet");
    return BuildCommand(build);
}

// UTF-8 lines on stdout, each escaped: they quote what the setup wrote.
void PrintLines(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::printf("%s\n", EscapeControls(text.substr(start, end - start), true).c_str());
        start = end + 1;
    }
}

bool ParseDpi(const std::string& text, int& dpi) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    dpi = std::stoi(text);
    return dpi >= kMinimumDpi && dpi <= kMaximumDpi;
}

}  // namespace

int TryCommand(const Arguments& args) {
    CommandLine line;
    int exitCode = kExitSuccess;
    if (!ParseCommandLine("try", args, line, exitCode)) return exitCode;
    if (line.Operands().size() != 1) {
        return UsageError("try", line.Operands().empty() ? "a project or a setup is needed"
                                                         : "give one project or setup");
    }
    trial::TrialOptions options;
    if (line.Has("--dpi") && !ParseDpi(line.Value("--dpi"), options.dpi)) {
        return UsageError(
            "try", "--dpi takes a number from 96 to 480, not \"" + line.Value("--dpi") + "\"");
    }
    const std::string missing = MissingHostPrograms();
    if (!missing.empty()) {
        std::fprintf(stderr,
                     "veskbuild: try: a setup is tried under Wine on a virtual display, and this "
                     "machine lacks %s.\n%s\n",
                     missing.c_str(), kDebianPackages);
        return kExitUsage;
    }
    options.walkerPath =
        line.Has("--walker") ? line.Value("--walker") : BesideTheTool(kHelperFolder, kWalkerName);
    if (!fs::is_regular_file(options.walkerPath)) {
        std::fprintf(stderr,
                     "veskbuild: try: the walk program %s is missing: it comes with veskbuild "
                     "(give another with --walker)\n",
                     EscapeControls(options.walkerPath, true).c_str());
        return kExitUsage;
    }
    const bool quiet = line.Has("--quiet");
    const fs::path folder =
        fs::absolute(line.Has("--output") ? line.Value("--output") : kDefaultOutput);
    std::string input = line.Operands()[0];
    if (IsProject(input)) {
        const std::string setupFolder = (folder / kSetupFolder).string();
        const int built = BuildSetup(input, setupFolder, line);
        std::fflush(stdout);  // the build's summary before the run's stages on stderr
        if (built != kExitSuccess) return built;
        input = (fs::path(setupFolder) / "Setup.exe").string();
    }
    if (!fs::is_regular_file(input)) return Failure(input + ": no such setup");

    options.setupPath = fs::absolute(input).lexically_normal().string();
    options.outputDir = folder.lexically_normal().string();
    options.walkerPath = fs::absolute(options.walkerPath).lexically_normal().string();
    options.keep = line.Has("--keep");
    options.silent = line.Has("--silent");
    options.stop = &WatchInterrupts();
    if (!quiet) {
        options.onStage = [](const std::string& stage) {
            std::fprintf(stderr, "veskbuild: try: %s\n", stage.c_str());
        };
    }
    trial::TrialResult result;
    std::string why;
    const bool ran = trial::RunTrial(options, result, why);
    if (options.stop->load()) {
        Failure("try was interrupted; the prefix is removed");
        return kInterruptedExitCode;
    }
    if (!ran) return Failure("try: " + why);

    const trial::Findings findings = trial::ListFindings(result);
    const std::string report = (folder / kReportName).string();
    std::string error;
    if (!WriteFileBytes(report, trial::ReportHtml(result, findings), error)) return Failure(error);
    if (!quiet || !findings.Empty()) {
        PrintLines(trial::SummaryText(result, findings, report, kSummaryFindings));
    }
    if (!findings.failures.empty()) return kExitFailure;
    return findings.traces.empty() ? kExitSuccess : kExitTraces;
}

}  // namespace vesk::tool
