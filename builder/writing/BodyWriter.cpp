// Streaming bodies into the container.
#include "builder/writing/BodyWriter.h"

#include <algorithm>

#include "builder/plan/InputFile.h"

namespace vesk {
namespace {

constexpr std::size_t kBlockSize = std::size_t(1) << 20;

}  // namespace

// Passes bytes to the container, refusing those that would take the stream past the limit.
class BodyWriter::LimitedSink : public ByteSink {
public:
    LimitedSink(ContainerWriter& container, std::int64_t limit)
        : container_(container), limit_(limit) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (container_.StreamLength() + std::int64_t(size) > limit_) {
            overLimit = true;
            return false;
        }
        return container_.AppendBody(data, size);
    }
    bool overLimit = false;

private:
    ContainerWriter& container_;
    std::int64_t limit_;
};

// The bytes of one source in blocks, as the encoder asks for them: polls the stop request and
// reports progress after every block.
class BodyWriter::SourceReader : public ByteSource {
public:
    SourceReader(const BodySource& source, const std::atomic<bool>* stop,
                 const std::function<void(std::uint64_t)>& progress)
        : source_(source), stop_(stop), progress_(progress) {}

    bool Open() {
        if (!source_.hostPath.empty() && !file_.Open(source_.hostPath, source_.identity)) {
            error = file_.LastError();
            return false;
        }
        return true;
    }
    bool Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
        got = 0;
        if (stop_ && stop_->load()) {
            stopped = true;
            error = "interrupted";
            return false;
        }
        capacity = std::min(capacity, kBlockSize);
        if (source_.hostPath.empty()) {
            got = std::min<std::size_t>(capacity, source_.bytes->size() - std::size_t(done));
            std::copy_n(source_.bytes->data() + done, got, buffer);
        } else if (!file_.Read(buffer, capacity, got)) {
            error = file_.LastError();
            return false;
        }
        done += got;
        if (progress_ && got > 0) progress_(done);
        return true;
    }

    std::uint64_t done = 0;
    bool stopped = false;
    std::string error;  // empty while nothing failed

private:
    const BodySource& source_;
    const std::atomic<bool>* stop_;
    const std::function<void(std::uint64_t)>& progress_;
    InputFile file_;
};

BodyWriter::BodyWriter(ContainerWriter& container, std::int64_t streamLimit,
                       const std::atomic<bool>* stop, BodyMethod method,
                       std::uint32_t lzmaDictionary)
    : container_(container),
      limit_(streamLimit),
      stop_(stop),
      method_(method),
      encoder_(std::make_unique<LzssEncoder>()),
      lzma_(lzmaDictionary),
      block_(kBlockSize) {}

bool BodyWriter::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool BodyWriter::Write(const std::string& target, const BodySource& source, FileKind kind,
                       WrittenBody& written) {
    const ContainerWriter::Mark start = container_.BodyStart();
    bool encode = kind != FileKind::Raw && source.size > 0;
    if (!Pass(target, source, encode)) return false;
    std::int64_t size = container_.StreamLength() - start.stream;
    // A file that LZSS does not make smaller is stored as it is.
    if (encode && kind == FileKind::Ordinary && std::uint64_t(size) >= source.size) {
        if (!container_.RewindTo(start)) return Fail(container_.LastError());
        kind = FileKind::Raw;
        if (!Pass(target, source, false)) return false;
        size = container_.StreamLength() - start.stream;
    }
    if (size > 0) container_.RecordBody(std::int32_t(start.stream), source.size);
    written.kind = kind;
    written.offset = std::int32_t(start.stream);
    written.size = std::int32_t(size);
    return true;
}

// One pass over the source into the container, encoded or raw.
bool BodyWriter::Pass(const std::string& target, const BodySource& source, bool encode) {
    LimitedSink sink(container_, limit_);
    SourceReader reader(source, stop_, progress_);
    if (!reader.Open()) return Fail(reader.error);
    bool written = true;
    if (encode && method_ == BodyMethod::Lzma) {
        written = lzma_.Encode(reader, source.size, sink);
        if (!written && reader.error.empty() && !sink.overLimit && !lzma_.LastError().empty()) {
            return Fail(target + ": " + lzma_.LastError());
        }
    } else {
        if (encode) encoder_->Begin(sink);
        std::size_t got = 0;
        do {
            if (!reader.Read(block_.data(), block_.size(), got)) break;
            if (got > 0)
                written =
                    encode ? encoder_->Feed(block_.data(), got) : sink.Write(block_.data(), got);
        } while (got > 0 && written);
        if (encode && written && reader.error.empty()) written = encoder_->Finish();
    }
    if (!reader.error.empty()) {
        stopped_ = reader.stopped;
        return Fail(reader.error);
    }
    if (!written) {
        if (sink.overLimit) {
            return Fail(target + ": with this file the data stream would pass " +
                        std::to_string(limit_) + " bytes, the most a setup can hold (2 GiB)");
        }
        return Fail(container_.LastError());
    }
    if (reader.done != source.size) {
        return Fail(source.hostPath + ": changed while the setup was built (" +
                    std::to_string(reader.done) + " bytes, planned with " +
                    std::to_string(source.size) + ")");
    }
    return true;
}

}  // namespace vesk
