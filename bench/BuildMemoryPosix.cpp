// build_memory_bench: the peak memory of `veskbuild build` and `veskbuild compress` for one large
// product file of 10, 100 and 400 MB, beside makensis (where installed) packing the same file.
// Each tool runs as a child process; its peak resident size comes from wait4.
//
//   build_memory_bench [SIZES_MB...]     (default 10 100 400)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Run {
    bool ok = false;
    double peakMiB = 0, seconds = 0;
};

// Runs the program with its arguments, output discarded.
Run Measure(const std::vector<std::string>& command) {
    std::fflush(stdout);  // else the child would write what is buffered again
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) return run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMiB = double(usage.ru_maxrss) / 1024.0;  // KiB on Linux
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run;
}

// A product file that compresses about as well as programs do: runs of text-like words between
// stretches of noise, written block by block.
void WriteProductFile(const std::string& path, std::uint64_t bytes) {
    static const char* const kWords[] = {"setup ",  "install ", "folder ", "registry ", "file ",
                                         "window ", "\r\n",     "the ",    "of ",       "key "};
    std::mt19937 rng(12345);
    std::ofstream out(path, std::ios::binary);
    std::string block;
    for (std::uint64_t written = 0; written < bytes; written += block.size()) {
        block.clear();
        while (block.size() < (1u << 20)) {
            if (rng() % 4 == 0) {
                for (int i = 0; i < 512; ++i) block += char(rng());
            } else {
                for (int i = 0; i < 64; ++i) block += kWords[rng() % 10];
            }
        }
        block.resize(std::size_t(std::min<std::uint64_t>(block.size(), bytes - written)));
        out.write(block.data(), std::streamsize(block.size()));
    }
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool OnPath(const std::string& program) {
    return Measure({"sh", "-c", "command -v " + program}).ok;
}

std::string Cell(const Run& run) {
    char text[64];
    if (!run.ok) return "failed";
    std::snprintf(text, sizeof text, "%7.1f MiB %6.1f s", run.peakMiB, run.seconds);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10, 100, 400};
    const std::string veskbuild = VESK_VESKBUILD_PATH;
    const bool nsis = OnPath("makensis");

    fs::path dir = fs::temp_directory_path() / ("vesk-build-bench-" + std::to_string(getpid()));
    fs::create_directories(dir / "product");
    std::string stub = "MZ";
    stub.resize(64 * 1024, '\x90');
    WriteText((dir / "stub.exe").string(), stub);
    WriteText((dir / "project.xml").string(),
              "<InstallProject>\n<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\n"
              "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<ProjectName>Bench</ProjectName>\n"
              "</SubTask>\n</Task>\n<Task ID=\"2402\" Type=\"DataSetting\" IsExec=\"0\">\n"
              "<SubTask ID=\"1\" Type=\"GetAllVar\">\n<PathDesc>[InstallDir]</PathDesc>\n"
              "<PathValue>product</PathValue>\n</SubTask>\n</Task>\n</InstallProject>\n");
    WriteText((dir / "bench.nsi").string(),
              "OutFile \"" + (dir / "nsis-setup.exe").string() +
                  "\"\nInstallDir $TEMP\\bench\n"
                  "RequestExecutionLevel user\nSection\nSetOutPath $INSTDIR\nFile \"" +
                  (dir / "product" / "data.bin").string() + "\"\nSectionEnd\n");

    std::printf("Peak memory and time for one product file (veskbuild: %s)\n", veskbuild.c_str());
    std::printf("%8s  %-22s  %-22s  %-22s\n", "input", "veskbuild build", "veskbuild compress",
                nsis ? "makensis (zlib)" : "makensis (not installed)");
    for (int mb : sizes) {
        std::string data = (dir / "product" / "data.bin").string();
        WriteProductFile(data, std::uint64_t(mb) << 20);
        Run build =
            Measure({veskbuild, "build", (dir / "project.xml").string(), "-o",
                     (dir / "out").string(), "--stub", (dir / "stub.exe").string(), "--quiet"});
        Run compress = Measure({veskbuild, "compress", data, (dir / "data.lzss").string()});
        Run makensis = nsis ? Measure({"makensis", "-V1", (dir / "bench.nsi").string()}) : Run();
        std::printf("%5d MB  %-22s  %-22s  %-22s\n", mb, Cell(build).c_str(),
                    Cell(compress).c_str(), nsis ? Cell(makensis).c_str() : "-");
        std::fflush(stdout);
        fs::remove_all(dir / "out");
        fs::remove(dir / "data.lzss");
    }
    fs::remove_all(dir);
    return 0;
}
