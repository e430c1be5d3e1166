// build: a project file in, Setup.exe and its volumes out.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "Commands.h"
#include "Interrupts.h"
#include "ProgressBar.h"
#include "SetupBuilder.h"
#include "SourceDateEpoch.h"
#include "platform/SystemFacts.h"

namespace vesk::tool {
namespace {

namespace fs = std::filesystem;

// Where the engine stub lies in the installed layout: out/bin/veskbuild beside out/stub/Setup.exe.
std::string DefaultStubPath() {
    fs::path program = HostSystemFacts().ModuleFileName();
    return (program.parent_path() / ".." / "stub" / "Setup.exe").lexically_normal().string();
}

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
        std::printf("    %s: %s\n", left.hostPath.c_str(), left.reason.c_str());
    }
}

}  // namespace

int BuildCommand(const Arguments& args) {
    BuildOptions options;
    bool quiet = false, verbose = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string* value = nullptr;
        if (arg == "-o" || arg == "--output") {
            value = &options.outputDir;
        } else if (arg == "--stub") {
            value = &options.stubPath;
        } else if (arg == "--disk-size") {
            value = &options.diskSize;
        } else if (arg == "--identity") {
            value = &options.identity;
        } else if (arg == "--uninstaller") {
            value = &options.uninstallerPath;
        } else if (arg == "-q" || arg == "--quiet") {
            quiet = true;
            continue;
        } else if (arg == "-v" || arg == "--verbose") {
            verbose = true;
            continue;
        } else if (!arg.empty() && arg[0] == '-') {
            return UsageError("build: unknown option " + arg);
        } else if (options.projectPath.empty()) {
            options.projectPath = arg;
            continue;
        } else {
            return UsageError("build takes one project file");
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            return UsageError("build: " + arg + " needs a value");
        }
        *value = args[++i];
    }
    if (options.projectPath.empty()) return UsageError("build needs a project file");
    if (options.stubPath.empty()) options.stubPath = DefaultStubPath();
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch && *epoch) {
        std::int64_t seconds = 0;
        std::string why;
        if (!ParseSourceDateEpoch(epoch, seconds, why))
            return UsageError("SOURCE_DATE_EPOCH " + why);
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
    for (const std::string& warning : builder.Summary().warnings) {
        std::fprintf(stderr, "veskbuild: warning: %s\n", warning.c_str());
    }
    if (!built && builder.Summary().interrupted) {
        Failure("interrupted; nothing was written");
        return kInterruptedExitCode;
    }
    if (!built) return Failure(builder.LastError());
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    PrintSummary(builder.Summary(), elapsed.count());
    PrintLeftOut(builder.Summary(), verbose);
    return 0;
}

}  // namespace vesk::tool
