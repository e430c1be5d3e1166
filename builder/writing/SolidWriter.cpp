// Encoding solid blocks, a few at a time.
#include "builder/writing/SolidWriter.h"

#include <algorithm>
#include <limits>
#include <thread>

#include "builder/plan/InputFile.h"
#include "codec/lzma/LzmaBodyEncoder.h"
#include "container/Crc32.h"

namespace vesk {
namespace {

constexpr std::size_t kReadBlock = std::size_t(1) << 20;

// Gathers an encoded body in memory.
class MemorySink : public ByteSink {
public:
    explicit MemorySink(std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        bytes_.insert(bytes_.end(), data, data + size);
        return true;
    }

private:
    std::vector<std::uint8_t>& bytes_;
};

// The files of a block one after the other, each checked to be what the plan found.
class MemberReader : public ByteSource {
public:
    MemberReader(const SolidBlockFiles& files, const std::atomic<bool>* stop, Crc32& crc)
        : files_(files), stop_(stop), crc_(crc) {}

    bool Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
        got = 0;
        capacity = std::min(capacity, kReadBlock);
        while (got == 0 && next_ <= files_.size()) {
            if (stop_ && stop_->load()) {
                stopped = true;
                error = "interrupted";
                return false;
            }
            if (!open_ && !OpenNext()) return next_ > files_.size();
            if (!ReadCurrent(buffer, capacity, got)) return false;
        }
        crc_.Update(buffer, got);
        return true;
    }

    bool stopped = false;
    std::string error;

private:
    bool OpenNext() {
        if (next_ == files_.size()) {
            ++next_;  // the end
            return false;
        }
        const BodySource& source = files_[next_].source;
        done_ = 0;
        if (!source.hostPath.empty() && !file_.Open(source.hostPath, source.identity)) {
            error = file_.LastError();
            next_ = files_.size() + 1;
            return false;
        }
        open_ = true;
        return true;
    }
    bool ReadCurrent(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) {
        const BodySource& source = files_[next_].source;
        if (source.hostPath.empty()) {
            got = std::min<std::size_t>(capacity, source.bytes->size() - std::size_t(done_));
            std::copy_n(source.bytes->data() + done_, got, buffer);
        } else if (!file_.Read(buffer, capacity, got)) {
            error = file_.LastError();
            return false;
        }
        done_ += got;
        if (got > 0) return true;
        if (done_ != source.size) {
            error = source.hostPath + ": changed while the setup was built (" +
                    std::to_string(done_) + " bytes, planned with " + std::to_string(source.size) +
                    ")";
            return false;
        }
        file_.Close();
        open_ = false;
        ++next_;
        return true;
    }

    const SolidBlockFiles& files_;
    const std::atomic<bool>* stop_;
    Crc32& crc_;
    std::size_t next_ = 0;
    bool open_ = false;
    std::uint64_t done_ = 0;
    InputFile file_;
};

}  // namespace

struct SolidWriter::Encoded {
    std::vector<std::uint8_t> body;
    std::uint64_t decoded = 0;
    std::uint32_t crc = 0;
    std::uint32_t dictionary = 0;
    bool ok = false;
    bool stopped = false;
    std::string error;
};

SolidWriter::SolidWriter(ContainerWriter& container, std::int64_t streamLimit,
                         const std::atomic<bool>* stop, unsigned threads)
    : container_(container), limit_(streamLimit), stop_(stop), threads_(std::max(threads, 1u)) {}

std::uint32_t SolidWriter::DictionaryFor(std::uint64_t bytes) {
    return LzmaDictionaryFor(bytes, kSolidDictionary);
}

bool SolidWriter::Write(const std::vector<SolidBlockFiles>& blocks,
                        std::vector<std::vector<std::uint32_t>>& positions) {
    positions.assign(blocks.size(), {});
    auto encode = [this](const SolidBlockFiles& files, Encoded& out) {
        for (const SolidMember& member : files) out.decoded += member.source.size;
        out.dictionary = DictionaryFor(out.decoded);
        Crc32 crc;
        MemberReader reader(files, stop_, crc);
        MemorySink sink(out.body);
        LzmaBodyEncoder encoder(out.dictionary);
        out.ok = encoder.Encode(reader, out.decoded, sink);
        out.stopped = reader.stopped;
        out.error = !reader.error.empty() ? reader.error : encoder.LastError();
        out.crc = crc.Value();
        if (out.ok && !reader.error.empty()) out.ok = false;
    };
    for (std::size_t first = 0; first < blocks.size(); first += threads_) {
        const std::size_t count = std::min<std::size_t>(threads_, blocks.size() - first);
        std::vector<Encoded> encoded(count);
        std::vector<std::thread> workers;
        for (std::size_t k = 1; k < count; ++k) {
            workers.emplace_back(encode, std::cref(blocks[first + k]), std::ref(encoded[k]));
        }
        encode(blocks[first], encoded[0]);
        for (std::thread& worker : workers) worker.join();
        for (std::size_t k = 0; k < count; ++k) {
            if (!Append(blocks[first + k], encoded[k], positions[first + k])) return false;
        }
    }
    return true;
}

bool SolidWriter::Append(const SolidBlockFiles& files, Encoded& encoded,
                         std::vector<std::uint32_t>& positions) {
    if (!encoded.ok) {
        stopped_ = encoded.stopped;
        error_ = encoded.error.empty() ? "the LZMA encoder failed" : encoded.error;
        if (!stopped_ && !files.empty() && encoded.error.find(": ") == std::string::npos) {
            error_ = files.front().target + ": " + error_;
        }
        return false;
    }
    const std::int64_t start = container_.StreamLength();
    const std::uint64_t decodedBefore = index_.DecodedTotal();
    constexpr std::uint64_t kMost = std::uint64_t(std::numeric_limits<std::int32_t>::max());
    if (start + std::int64_t(encoded.body.size()) > limit_ ||
        decodedBefore + encoded.decoded > kMost) {
        error_ = files.front().target + ": with this block the data stream would pass " +
                 std::to_string(limit_) + " bytes, the most a setup can hold (2 GiB)";
        return false;
    }
    if (!container_.AppendBody(encoded.body.data(), encoded.body.size())) {
        error_ = container_.LastError();
        return false;
    }
    container_.RecordBody(std::int32_t(start), encoded.decoded);
    SolidBlock block;
    block.offset = std::uint32_t(start);
    block.stored = std::uint32_t(encoded.body.size());
    block.decoded = std::uint32_t(encoded.decoded);
    block.crc = encoded.crc;
    index_.AddBlock(block);
    largestDictionary_ = std::max(largestDictionary_, encoded.dictionary);
    std::uint64_t at = decodedBefore;
    for (const SolidMember& member : files) {
        positions.push_back(std::uint32_t(at));
        at += member.source.size;
    }
    return true;
}

}  // namespace vesk
