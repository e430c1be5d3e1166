// What checking a setup's checksums costs the engine: opens the setup with the stub's own build
// of the reader (verifying volume 1 and the project section, as every start does) and a copy
// whose checksum block is hidden (read unchecked, as a setup without the block is), best of
// three each, and prints both times. For the install benchmark.
//
//   checksum_time SETUP.EXE
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "container/ContainerReader.h"

namespace {

// Milliseconds of the fastest of three opens of `path`; -1 when one fails.
double BestOpen(const std::string& path, bool expectChecked) {
    double best = -1;
    for (int round = 0; round < 3; ++round) {
        std::atomic<bool> stop{false};
        auto* reader = new vesk::ContainerReader(stop);
        LARGE_INTEGER frequency, start, end;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&start);
        const bool opened = reader->OpenContainer(path);
        QueryPerformanceCounter(&end);
        const bool checked = reader->Checked();
        delete reader;
        if (!opened || checked != expectChecked) return -1;
        const double ms =
            1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (best < 0 || ms < best) best = ms;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: checksum_time SETUP.EXE\n");
        return 2;
    }
    const std::string setup = argv[1];
    std::string bytes;
    {
        std::ifstream in(setup, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::atomic<bool> stop{false};
    auto* reader = new vesk::ContainerReader(stop);
    if (!reader->OpenContainer(setup) || !reader->Checked()) {
        std::fprintf(stderr, "checksum_time: %s: no checked setup (%s)\n", setup.c_str(),
                     reader->LastError().c_str());
        return 1;
    }
    const std::size_t gap = std::size_t(reader->Tail().projectOffset) + reader->Tail().projectSize;
    delete reader;
    const std::string unchecked = setup + ".unchecked.exe";
    bytes[gap] = '\0';  // no magic: the block is passed over
    std::ofstream(unchecked, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));

    const double checkedMs = BestOpen(setup, true), uncheckedMs = BestOpen(unchecked, false);
    DeleteFileA(unchecked.c_str());
    if (checkedMs < 0 || uncheckedMs < 0) {
        std::fprintf(stderr, "checksum_time: an open failed\n");
        return 1;
    }
    const double megabytes = double(bytes.size()) / 1e6;
    std::printf(
        "checked open: %.1f ms, unchecked open: %.1f ms, for %.1f MB: checking costs %.1f "
        "ms (%.0f MB/s)\n",
        checkedMs, uncheckedMs, megabytes, checkedMs - uncheckedMs,
        megabytes / ((checkedMs - uncheckedMs) / 1000.0));
    return 0;
}
