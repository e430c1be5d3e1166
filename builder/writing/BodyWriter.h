// Streams file bodies into a setup container, in bounded blocks whatever a file's size.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "builder/plan/InputFile.h"
#include "builder/writing/ContainerWriter.h"
#include "codec/BodyMethod.h"
#include "codec/lzma/LzmaBodyEncoder.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/FileKind.h"

namespace vesk {

// Where a body's bytes come from: a file of the build machine of the size the plan found, or
// bytes in memory (the language file).
struct BodySource {
    std::string hostPath;                // empty: `bytes`
    const std::string* bytes = nullptr;  // used when hostPath is empty
    std::uint64_t size = 0;
    // The file must be this one (as scanned), opened without following a link; null: any.
    const FileIdentity* identity = nullptr;
};

struct WrittenBody {
    FileKind kind = FileKind::Ordinary;
    std::int32_t offset = 0;  // StreamPosition
    std::int32_t size = 0;    // bytes in the stream
};

// Reads each source once in blocks of at most 1 MiB and encodes it with the set's method straight
// into the container; a file of kind A whose encoding is not smaller is taken back and stored raw
// (kind N), read a second time. An empty file is an empty body whatever the method. A file that
// changed size since it was planned, a stream that would pass the setup's limit, a sink error or a
// stop request ends the write with a message (and Stopped() for the last).
class BodyWriter {
public:
    // `stop` (may be null) is polled between blocks. LZMA bodies name `lzmaDictionary`.
    BodyWriter(ContainerWriter& container, std::int64_t streamLimit, const std::atomic<bool>* stop,
               BodyMethod method = BodyMethod::Lzss,
               std::uint32_t lzmaDictionary = kDefaultLzmaDictionary);

    // Told the bytes of the current source read so far, after every block.
    void SetProgressHandler(std::function<void(std::uint64_t)> handler) {
        progress_ = std::move(handler);
    }

    // Writes the body of `target` (named in messages). Raw (N) bodies are copied, every other kind
    // encoded.
    bool Write(const std::string& target, const BodySource& source, FileKind kind,
               WrittenBody& written);

    bool Stopped() const { return stopped_; }
    const std::string& LastError() const { return error_; }

private:
    class LimitedSink;
    class SourceReader;

    bool Fail(std::string message);
    bool Pass(const std::string& target, const BodySource& source, bool encode);

    ContainerWriter& container_;
    std::int64_t limit_;
    const std::atomic<bool>* stop_;
    std::function<void(std::uint64_t)> progress_;
    BodyMethod method_;
    std::unique_ptr<LzssEncoder> encoder_;
    LzmaBodyEncoder lzma_;
    std::vector<std::uint8_t> block_;
    bool stopped_ = false;
    std::string error_;
};

}  // namespace vesk
