// build and check: a project file in, Setup.exe and its volumes (or just the verdict) out.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "builder/SetupBuilder.h"
#include "builder/plan/SourceDateEpoch.h"
#include "builder/veskbuild/CommandTable.h"
#include "builder/veskbuild/Commands.h"
#include "builder/veskbuild/Interrupts.h"
#include "builder/veskbuild/ProgressBar.h"
#include "builder/veskbuild/TerminalText.h"

namespace vesk::tool {
namespace {

// 1234567 -> "1,234,567".
std::string Grouped(std::uint64_t value) {
    std::string digits = std::to_string(value), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

void PrintSummary(const BuildSummary& summary, double seconds) {
    std::printf("Setup written:");
    for (std::size_t i = 0; i < summary.outputFiles.size(); ++i) {
        std::printf("%s %s", i ? "," : "", summary.outputFiles[i].c_str());
    }
    std::printf("\n");
    std::printf("  files      %zu in the file list: %zu installed (%zu stored raw), %zu start-up\n",
                summary.entries, summary.installedFiles, summary.rawFiles, summary.startupEntries);
    std::printf("  folders    %zu\n", summary.folders);
    std::printf("  bytes in   %s\n", Grouped(summary.bytesIn).c_str());
    double ratio = summary.bytesIn ? 100.0 * double(summary.bytesOut) / double(summary.bytesIn) : 0;
    std::printf("  bytes out  %s (%.1f%% of in)\n", Grouped(summary.bytesOut).c_str(), ratio);
    if (summary.method == BodyMethod::Lzma) {
        std::printf("  method     LZMA, dictionary %s bytes\n",
                    Grouped(summary.lzmaDictionary).c_str());
    } else if (summary.method == BodyMethod::LzmaSolid) {
        std::printf("  method     LZMA-SOLID, %zu blocks, dictionary up to %s bytes\n",
                    summary.solidBlocks, Grouped(summary.lzmaDictionary).c_str());
    } else {
        std::printf("  method     LZSS\n");
    }
    std::printf("  volumes    %d (DiskSize %s; Setup.exe %s bytes)\n", summary.volumes,
                Grouped(std::uint64_t(summary.diskSize)).c_str(),
                Grouped(std::uint64_t(summary.setupSize)).c_str());
    std::printf("  identity   %s\n", summary.identity.c_str());
    std::printf("  time       %.2f s\n", seconds);
}

// What the sources held that the setup does not get: a count, or with --verbose each path.
void PrintLeftOut(const BuildSummary& summary, bool verbose) {
    if (summary.excluded.empty()) return;
    std::printf("  left out   %zu%s\n", summary.excluded.size(),
                verbose ? ":" : " files and folders (--verbose names them)");
    if (!verbose) return;
    for (const ExcludedSource& left : summary.excluded) {
        std::printf("    %s: %s\n", ForTerminal(left.hostPath).c_str(), left.reason.c_str());
    }
}

// The options both commands share; false (with the exit code) when the line is no use.
bool ProjectOptions(const std::string& command, const Arguments& args, CommandLine& line,
                    BuildOptions& options, int& exitCode) {
    if (!ParseCommandLine(command, args, line, exitCode)) return false;
    if (line.Operands().size() != 1) {
        exitCode = UsageError(command, line.Operands().empty() ? "a project file is needed"
                                                               : "give one project file");
        return false;
    }
    options.projectPath = line.Operands()[0];
    options.uninstallerPath = line.Value("--uninstaller");
    options.bundledUninstallerPath = BesideTheTool(kStubFolder, "Vesk-UnInstall.exe");
    options.defines = line.Values("--define");
    options.warningsAreErrors = line.Has("--werror");
    options.allowMissingTargets = line.Has("--allow-missing-targets");
    return true;
}

// "project.xml: 3 errors, 1 warning".
std::string Counts(const std::string& project, std::size_t errors, std::size_t warnings) {
    auto counted = [](std::size_t count, const char* what) {
        return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
    };
    return project + ": " + (errors ? counted(errors, "error") : std::string("no errors")) + ", " +
           counted(warnings, "warning");
}

// The errors of a build that failed, then how many there were when there was more than one.
int BuildFailure(const SetupBuilder& builder, const BuildOptions& options, bool quiet) {
    Failure(builder.LastError());
    const BuildSummary& summary = builder.Summary();
    if (summary.errorCount > 1 && !quiet) {
        std::fprintf(
            stderr, "veskbuild: %s\n",
            Counts(options.projectPath, summary.errorCount, summary.warnings.size()).c_str());
    }
    return kExitFailure;
}

// The files the project names that the setup does not install, allowed by
// --allow-missing-targets: counted, and with --verbose named.
void PrintMissingTargets(const BuildSummary& summary, bool verbose) {
    if (summary.missingTargets.empty()) return;
    std::printf(
        "  elsewhere  %zu target%s the setup does not install (--allow-missing-targets)%s\n",
        summary.missingTargets.size(), summary.missingTargets.size() == 1 ? "" : "s",
        verbose ? ":" : "");
    if (!verbose) return;
    for (const std::string& target : summary.missingTargets) {
        std::printf("    %s\n", ForTerminal(target).c_str());
    }
}

void PrintWarnings(const SetupBuilder& builder, bool quiet) {
    if (quiet) return;
    for (const std::string& warning : builder.Summary().warnings) Warning(warning);
}

}  // namespace

int BuildCommand(const Arguments& args) {
    CommandLine line;
    BuildOptions options;
    int exitCode = kExitSuccess;
    if (!ProjectOptions("build", args, line, options, exitCode)) return exitCode;
    options.outputDir = line.Value("--output");
    options.stubPath = line.Value("--stub");
    options.diskSize = line.Value("--disk-size");
    options.compression = line.Value("--compression");
    options.identity = line.Value("--identity");
    options.signCommand = line.Value("--sign-command");
    if (options.stubPath.empty()) options.stubPath = BesideTheTool(kStubFolder, "Setup.exe");
    const bool quiet = line.Has("--quiet");
    const bool verbose = line.Has("--verbose");
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch && *epoch) {
        std::int64_t seconds = 0;
        std::string why;
        if (!ParseSourceDateEpoch(epoch, seconds, why)) {
            return UsageError("build", "SOURCE_DATE_EPOCH " + why);
        }
        options.sourceDateEpoch = seconds;
    }
    options.stop = &WatchInterrupts();

    SetupBuilder builder;
    ProgressBar bar(stderr, !quiet);
    builder.SetProgressHandler([&bar](const BuildProgress& progress) {
        bar.Update(progress.bytesDone, progress.bytesTotal, progress.entry, progress.entryCount);
    });
    auto started = std::chrono::steady_clock::now();
    bool built = builder.Build(options);
    bar.Clear();
    PrintWarnings(builder, quiet);
    if (!built && builder.Summary().interrupted) {
        Failure("interrupted; nothing was written");
        return kInterruptedExitCode;
    }
    if (!built) return BuildFailure(builder, options, quiet);
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (!quiet) PrintSummary(builder.Summary(), elapsed.count());
    if (!quiet) PrintLeftOut(builder.Summary(), verbose);
    if (!quiet) PrintMissingTargets(builder.Summary(), verbose);
    return kExitSuccess;
}

int CheckCommand(const Arguments& args) {
    CommandLine line;
    BuildOptions options;
    int exitCode = kExitSuccess;
    if (!ProjectOptions("check", args, line, options, exitCode)) return exitCode;
    options.checkOnly = true;
    const bool quiet = line.Has("--quiet");

    SetupBuilder builder;
    bool checked = builder.Build(options);
    PrintWarnings(builder, quiet);
    if (!checked) return BuildFailure(builder, options, quiet);
    if (!quiet) {
        std::printf("%s\n",
                    Counts(options.projectPath, 0, builder.Summary().warnings.size()).c_str());
        PrintMissingTargets(builder.Summary(), false);
    }
    return kExitSuccess;
}

}  // namespace vesk::tool
