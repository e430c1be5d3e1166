// A one-line progress bar on a terminal: "[#######.............]  35%  12/34 files".
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vesk::tool {

class ProgressBar {
public:
    // Draws on `stream` only when it is a terminal and `enabled` is set; otherwise does nothing.
    ProgressBar(std::FILE* stream, bool enabled);
    ~ProgressBar() { Clear(); }

    void Update(std::uint64_t done, std::uint64_t total, std::size_t files, std::size_t fileCount);
    // Removes the bar from its line.
    void Clear();

    // The line for these figures, without the carriage return.
    static std::string Line(std::uint64_t done, std::uint64_t total, std::size_t files,
                            std::size_t fileCount);

private:
    std::FILE* stream_;
    bool active_;
    bool drawn_ = false;
    std::string last_;
};

}  // namespace vesk::tool
