// Fuzzes the container reader on a whole setup file: the input is written to a temporary file,
// opened as the setup executable (its PE headers, the tail before a certificate table, the
// checksum block and the checks it asks for), its project section decoded, its lines checked as
// a file list, and a few bodies whose places come from the input's first bytes extracted with
// volume arithmetic on. Nothing may fault or leak.
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "container/ContainerReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Counts what it is given instead of keeping it.
class CountingSink : public vesk::ByteSink {
public:
    bool Write(const std::uint8_t*, std::size_t size) override {
        count += size;
        return true;
    }
    std::size_t count = 0;
};

// A private folder, so that no "Setup2.Cab" lying around is taken for a volume.
const std::string& SetupPath() {
    static const std::string path = [] {
        char folder[] = "/tmp/vesk-fuzz-container-XXXXXX";
        Check(mkdtemp(folder) != nullptr);
        return std::string(folder) + "/Setup.exe";
    }();
    return path;
}

std::int32_t Word(const std::uint8_t* data, std::size_t size, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) {
        if (at + k < size) v |= std::uint32_t(data[at + k]) << (8 * k);
    }
    return std::int32_t(v);
}

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = SetupPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr);
    Check(std::fwrite(data, 1, size, file) == size);
    Check(std::fclose(file) == 0);

    std::atomic<bool> finished{false};
    auto reader = std::make_unique<vesk::ContainerReader>(finished);

    if (!reader->OpenContainer(path)) {
        Check(size < vesk::kTailSize || !reader->DamagedVolume().empty());
        return 0;
    }
    std::string project;
    if (reader->ReadProjectText(project)) {
        // Each stream byte gives at most 18 bytes (a reference), 8 literals need 9 bytes.
        Check(project.size() <= std::size_t(reader->Tail().projectSize) * 9);
        Check(project.size() <= vesk::kMaxProjectText);
        std::vector<std::string> lines;
        for (std::size_t start = 0; start < project.size() && lines.size() < 1000;) {
            std::size_t end = project.find('\n', start);
            if (end == std::string::npos) end = project.size();
            lines.push_back(project.substr(start, end - start));
            start = end + 1;
        }
        const bool accepted = reader->CheckFileList(lines);
        Check(accepted == reader->DamagedVolume().empty());
    }

    // Places of a few bodies from the input's first bytes (as a setup's file list would give).
    reader->SetVolumeArithmetic(true);
    reader->SetVolumeSize(Word(data, size, 2));
    const std::int32_t offset = Word(data, size, 6), length = Word(data, size, 10);
    const std::int32_t flags = Word(data, size, 14);
    const struct {
        std::int32_t offset, size;
        bool raw;
    } entries[] = {
        {offset, length, (flags & 1) != 0},
        {std::int32_t(std::uint32_t(offset) + std::uint32_t(flags >> 1 & 0xFFF)),
         length / 2 + (flags >> 13 & 0xFF), (flags & 1) == 0},
        {std::int32_t(reader->Tail().projectOffset & 0x7FFFFFFF),
         std::int32_t(reader->Tail().projectSize & 0x7FFFFFFF), false},
    };
    for (const auto& e : entries) {
        CountingSink sink;
        bool ok = reader->ExtractTo(sink, e.offset, e.size, e.raw);
        if (ok && e.raw) Check(sink.count == std::size_t(e.size));
        if (ok && !e.raw) Check(sink.count <= std::size_t(e.size) * 9);
    }
    return 0;
}
