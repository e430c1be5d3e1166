// The mixed corpus the LZSS benchmark measures: files an installer carries, found on this machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vesk::bench {

struct CorpusFile {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

struct CorpusPart {
    std::string name;                  // "PE binaries", "text", "bitmaps"
    std::vector<std::string> sources;  // folders the files came from
    std::vector<CorpusFile> files;

    std::size_t Bytes() const;
};

// Gathers about `totalBytes` of files, spread evenly over each source's sorted file list so that
// the same machine always gives the same corpus: three eighths Windows PE binaries, three eighths
// text (documentation, C headers), a quarter 24-bit bitmaps (BMP files, or PNG icons turned into
// BMPs). A part falls short when the machine lacks its sources.
std::vector<CorpusPart> BuildCorpus(std::size_t totalBytes);

}  // namespace vesk::bench
