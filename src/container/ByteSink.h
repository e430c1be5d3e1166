// Where decoded or copied bytes go: a file being extracted, memory, a checksum.
#pragma once

#include <cstddef>
#include <cstdint>
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

}  // namespace vesk
