// Streaming bodies into the container.
#include "BodyWriter.h"

#include "InputFile.h"

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

BodyWriter::BodyWriter(ContainerWriter& container, std::int64_t streamLimit,
                       const std::atomic<bool>* stop)
    : container_(container),
      limit_(streamLimit),
      stop_(stop),
      encoder_(std::make_unique<LzssEncoder>()),
      block_(kBlockSize) {}

bool BodyWriter::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool BodyWriter::Write(const std::string& target, const BodySource& source, FileKind kind,
                       WrittenBody& written) {
    const ContainerWriter::Mark start = container_.BodyStart();
    bool encode = kind != FileKind::Raw;
    if (!Pass(target, source, encode)) return false;
    std::int64_t size = container_.StreamLength() - start.stream;
    // A file that LZSS does not make smaller is stored as it is.
    if (encode && kind == FileKind::Ordinary && source.size > 0 &&
        std::uint64_t(size) >= source.size) {
        if (!container_.RewindTo(start)) return Fail(container_.LastError());
        kind = FileKind::Raw;
        if (!Pass(target, source, false)) return false;
        size = container_.StreamLength() - start.stream;
    }
    written.kind = kind;
    written.offset = std::int32_t(start.stream);
    written.size = std::int32_t(size);
    return true;
}

// One pass over the source into the container, encoded or raw.
bool BodyWriter::Pass(const std::string& target, const BodySource& source, bool encode) {
    LimitedSink sink(container_, limit_);
    auto sinkError = [&]() {
        if (sink.overLimit) {
            return Fail(target + ": with this file the data stream would pass " +
                        std::to_string(limit_) + " bytes, the most a setup can hold (2 GiB)");
        }
        return Fail(container_.LastError());
    };
    if (encode) encoder_->Begin(sink);
    auto put = [&](const std::uint8_t* data, std::size_t size) {
        return encode ? encoder_->Feed(data, size) : sink.Write(data, size);
    };

    std::uint64_t done = 0;
    if (source.hostPath.empty()) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(source.bytes->data());
        if (!put(data, source.bytes->size())) return sinkError();
        done = source.bytes->size();
    } else {
        InputFile file;
        if (!file.Open(source.hostPath)) return Fail(file.LastError());
        std::size_t got = 0;
        do {
            if (stop_ && stop_->load()) {
                stopped_ = true;
                return Fail("interrupted");
            }
            if (!file.Read(block_.data(), block_.size(), got)) return Fail(file.LastError());
            if (got > 0 && !put(block_.data(), got)) return sinkError();
            done += got;
            if (progress_) progress_(done);
        } while (got > 0);
    }
    if (encode && !encoder_->Finish()) return sinkError();
    if (done != source.size) {
        return Fail(source.hostPath + ": changed while the setup was built (" +
                    std::to_string(done) + " bytes, planned with " + std::to_string(source.size) +
                    ")");
    }
    return true;
}

}  // namespace vesk
