// Where decoded or copied bytes go: a file being extracted, memory, a checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace vesk {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False when the bytes could not be taken (disk full, write error).
    virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
};

// Collects everything in a string; used for the project section and by the tools.
class StringSink : public ByteSink {
public:
    bool Write(const std::uint8_t* data, std::size_t size) override {
        bytes.append(reinterpret_cast<const char*>(data), size);
        return true;
    }
    std::string bytes;
};

constexpr std::uint64_t kUnbounded = std::numeric_limits<std::uint64_t>::max();

// Passes bytes on to another sink until `limit` bytes have gone through, then refuses them all:
// decoding stops at the bound instead of filling memory or the disk.
class BoundedSink : public ByteSink {
public:
    BoundedSink(ByteSink& inner, std::uint64_t limit) : inner_(inner), limit_(limit) {}
    bool Write(const std::uint8_t* data, std::size_t size) override {
        if (exceeded_ || limit_ - written_ < size) {
            exceeded_ = true;
            return false;
        }
        written_ += size;
        return inner_.Write(data, size);
    }
    // The bytes went past the limit (the inner sink got only those up to it).
    bool Exceeded() const { return exceeded_; }
    // The bytes passed on.
    std::uint64_t Written() const { return written_; }

private:
    ByteSink& inner_;
    std::uint64_t limit_;
    std::uint64_t written_ = 0;
    bool exceeded_ = false;
};

}  // namespace vesk
