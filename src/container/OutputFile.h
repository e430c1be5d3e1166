// A file being written by an extraction: created or truncated, closed on every path out.
#pragma once

#include <cstdio>
#include <string>

#include "codec/ByteSink.h"

namespace vesk {

class OutputFile : public ByteSink {
public:
    OutputFile() = default;
    ~OutputFile() override { Close(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Create(const std::string& path);
    bool Write(const std::uint8_t* data, std::size_t size) override;
    // False when buffered bytes could not be written.
    bool Close();

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace vesk
