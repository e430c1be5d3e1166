// Fuzzes the LZMA body decoder through the engine's reader: the input is the one body of a set
// whose project says LZMA, extracted as the engine extracts a file; and the decoder alone, fed
// in pieces, must reach the same verdict and the same bytes. Nothing may fault, leak or pass the
// dictionary cap, and a body that decodes yields exactly the length its header names.
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "codec/lzma/LzmaBodyDecoder.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerReader.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Keeps a checksum and a count of what it is given instead of the bytes.
class DigestSink : public vesk::ByteSink {
public:
    bool Write(const std::uint8_t* data, std::size_t size) override {
        for (std::size_t i = 0; i < size; ++i) digest = (digest ^ data[i]) * 1099511628211ull;
        count += size;
        return true;
    }
    std::uint64_t digest = 14695981039346656037ull;
    std::uint64_t count = 0;
};

const std::string& SetupPath() {
    static const std::string path = [] {
        char folder[] = "/tmp/vesk-fuzz-lzma-XXXXXX";
        Check(mkdtemp(folder) != nullptr);
        return std::string(folder) + "/Setup.exe";
    }();
    return path;
}

// The body at stream position 0, then the project section listing it, then the tail.
void WriteSet(const std::uint8_t* body, std::size_t size) {
    const std::string project =
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"1\" Type=\"GetAllVar\">\r\n<CompressType>LZMA</CompressType>\r\n"
        "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
    std::vector<std::uint8_t> section;
    vesk::LzssEncode(reinterpret_cast<const std::uint8_t*>(project.data()), project.size(),
                     section);
    vesk::ContainerTail tail{};
    Check(vesk::SetIdentityText(tail, "fuzz"));
    tail.projectOffset = std::uint32_t(size);
    tail.projectSize = std::uint32_t(section.size());
    tail.volumeCounter = vesk::kVolumeCounterValue;
    tail.volumeNumber = 1;
    std::uint8_t tailBytes[vesk::kTailSize];
    vesk::EncodeTail(tail, tailBytes);
    std::FILE* file = std::fopen(SetupPath().c_str(), "wb");
    Check(file != nullptr);
    Check(std::fwrite(body, 1, size, file) == size);
    Check(std::fwrite(section.data(), 1, section.size(), file) == section.size());
    Check(std::fwrite(tailBytes, 1, sizeof tailBytes, file) == sizeof tailBytes);
    Check(std::fclose(file) == 0);
}

std::uint64_t HeaderLength(const std::uint8_t* data, std::size_t size) {
    std::uint64_t length = 0;
    for (int i = 7; i >= 0; --i) {
        const std::size_t at = vesk::kLzmaPropertiesSize + std::size_t(i);
        length = length << 8 | (at < size ? data[at] : 0);
    }
    return length;
}

}  // namespace

// The libraries are built with recoverable sanitizer checks; here any undefined behaviour stops.
extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > (1u << 20)) return 0;
    WriteSet(data, size);
    std::atomic<bool> finished{false};
    auto reader = std::make_unique<vesk::ContainerReader>(finished);
    std::string project;
    Check(reader->OpenContainer(SetupPath()));
    Check(reader->ReadProjectText(project));
    Check(reader->SetBodyMethod("LZMA"));
    reader->SetVolumeSize(1 << 30);
    reader->SetVolumeArithmetic(true);
    DigestSink extracted;
    const bool ok = reader->ExtractTo(extracted, 0, std::int32_t(size), false);
    Check(ok || !reader->DamagedVolume().empty() || !reader->LastError().empty());
    const std::uint64_t length = HeaderLength(data, size);
    if (ok && length != vesk::kLzmaUnknownLength) Check(extracted.count == length);

    // The decoder alone, in pieces of a length taken from the input (1..64).
    static auto decoder = std::make_unique<vesk::LzmaBodyDecoder>();
    decoder->Reset();
    DigestSink pieces;
    const std::size_t piece = data[0] % 64 + 1;
    bool fed = true;
    for (std::size_t at = 0; fed && at < size; at += piece) {
        fed = decoder->Feed(data + at, piece < size - at ? piece : size - at, pieces);
    }
    fed = fed && decoder->Finish();
    Check(fed == ok);
    Check(decoder->DictionaryBytes() <= vesk::kMaxLzmaDictionary);
    if (ok) Check(pieces.digest == extracted.digest && pieces.count == extracted.count);
    return 0;
}
