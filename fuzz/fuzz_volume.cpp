// Fuzzes the acceptance of a second volume: a set of Setup.exe and Setup2.Cab is written once (its
// checksum block records SHA-256), and each input changes the Cab (bytes of its stream, of its
// tail, its length, or the whole file) before the reader opens the set and reads every body. A
// Cab is accepted only when its stream bytes are the original's, and then every body reads back
// as written; nothing may fault or leak.
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "builder/writing/ContainerWriter.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

constexpr std::int32_t kDiskSize = 6000;

struct Body {
    std::string content;
    bool raw;
    std::int32_t offset = 0, size = 0;
};

struct Set {
    std::string setupPath, cabPath;
    std::string cab;  // as written
    std::vector<Body> bodies;
};

std::string Bytes(std::size_t size, std::uint32_t seed, bool text) {
    std::string bytes;
    for (std::uint32_t state = seed; bytes.size() < size;) {
        state = state * 1664525u + 1013904223u;
        bytes += text ? char('a' + (state >> 28)) : char(state >> 24);
    }
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr);
    Check(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    Check(std::fclose(file) == 0);
}

std::string ReadFile(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    Check(file != nullptr);
    char block[4096];
    for (std::size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) {
        bytes.append(block, got);
    }
    std::fclose(file);
    return bytes;
}

// A 2000-byte stub, an LZSS body that crosses into Setup2.Cab and two more behind it.
const Set& TheSet() {
    static const Set set = [] {
        char folder[] = "/tmp/vesk-fuzz-volume-XXXXXX";
        Check(mkdtemp(folder) != nullptr);
        Set s;
        s.setupPath = std::string(folder) + "/Setup.exe";
        s.cabPath = std::string(folder) + "/Setup2.Cab";
        s.bodies = {{Bytes(9000, 1, true), false},
                    {Bytes(900, 2, false), true},
                    {Bytes(3000, 3, true), false}};
        vesk::ContainerWriter writer;
        Check(writer.Begin(s.setupPath, "MZ" + std::string(1998, 's'), kDiskSize));
        std::string project = "<InstallProject>\r\n";
        for (Body& body : s.bodies) {
            std::vector<std::uint8_t> stored(body.content.begin(), body.content.end());
            if (!body.raw) {
                stored.clear();
                vesk::LzssEncode(reinterpret_cast<const std::uint8_t*>(body.content.data()),
                                 body.content.size(), stored);
            }
            Check(writer.AddBody(stored.data(), stored.size(), body.offset));
            writer.RecordBody(body.offset, body.content.size());
            body.size = std::int32_t(stored.size());
        }
        project += "</InstallProject>\r\n";
        Check(writer.Finish(project, "4711"));
        Check(writer.VolumeCount() >= 2);
        s.cab = ReadFile(s.cabPath);
        return s;
    }();
    return set;
}

// The Cab the input makes: mode 0 changes stream bytes, 1 tail bytes, 2 cuts or lengthens it,
// 3 takes the rest of the input as the whole file.
std::string CabFor(const std::string& original, const std::uint8_t* data, std::size_t size) {
    if (size == 0) return original;
    const unsigned mode = data[0] % 4;
    ++data;
    --size;
    if (mode == 3) return std::string(reinterpret_cast<const char*>(data), size);
    std::string cab = original;
    const std::size_t stream = cab.size() - vesk::kTailSize;
    if (mode == 2) {
        std::size_t length = size >= 2 ? (data[0] | data[1] << 8) % (cab.size() + 64) : 0;
        cab.resize(length, char(size > 2 ? data[2] : 0));
        return cab;
    }
    for (std::size_t i = 0; i + 3 <= size; i += 3) {
        const std::size_t at = std::size_t(data[i] | data[i + 1] << 8);
        const std::size_t where = mode == 0 ? at % stream : stream + at % vesk::kTailSize;
        cab[where] = char(data[i + 2]);
    }
    return cab;
}

}  // namespace

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Set& set = TheSet();
    const std::string cab = CabFor(set.cab, data, size);
    WriteFile(set.cabPath, cab);

    std::atomic<bool> finished{false};
    auto reader = std::make_unique<vesk::ContainerReader>(finished);
    std::string project;
    Check(reader->OpenContainer(set.setupPath) && reader->ReadProjectText(project));
    reader->SetVolumeSize(kDiskSize);
    bool accepted = true;
    for (const Body& body : set.bodies) {
        vesk::StringSink sink;
        if (!reader->ExtractTo(sink, body.offset, body.size, body.raw)) {
            accepted = false;
            break;
        }
        Check(sink.bytes == body.content);
    }
    const std::size_t stream = set.cab.size() - vesk::kTailSize;
    auto identity = [](const std::string& volume) {
        std::uint8_t tail[vesk::kTailSize];
        std::copy(volume.end() - vesk::kTailSize, volume.end(), tail);
        return vesk::IdentityOf(vesk::DecodeTail(tail));
    };
    const bool sameName = cab.size() >= vesk::kTailSize && identity(cab) == identity(set.cab);
    if (accepted) {
        // Only the tail may differ: beside the identity's text and the volume number, nothing
        // of it is read.
        Check(sameName && cab.size() == set.cab.size());
        Check(cab.compare(0, stream, set.cab, 0, stream) == 0);
        Check(cab.compare(cab.size() - 4, 4, set.cab, set.cab.size() - 4, 4) == 0);
    } else {
        // A file that names itself part of the set and is not its volume is damage, never
        // taken for a missing volume.
        Check(!sameName || !reader->DamagedVolume().empty());
    }
    return 0;
}
