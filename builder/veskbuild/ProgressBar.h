// The build's progress on a terminal, one line redrawn in place:
// "[######..........]  35%  12.3/34.5 MB  12/34 files  8.1 MB/s  0:03 left".
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace vesk::tool {

struct ProgressFigures {
    std::uint64_t done = 0, total = 0;  // bytes
    std::size_t files = 0, fileCount = 0;
    double seconds = 0;  // since the work began
};

class ProgressBar {
public:
    // Seconds since the bar was made.
    using Clock = std::function<double()>;

    // Draws on `stream` only when it is a terminal and `enabled` is set; otherwise does nothing.
    ProgressBar(std::FILE* stream, bool enabled);
    // Draws on `stream` whenever `active`, with the time from `clock` (for tests).
    ProgressBar(std::FILE* stream, bool active, Clock clock);
    ~ProgressBar() { Clear(); }

    // Shows nothing in the first second (a short build prints just its summary), then redraws
    // the line at most ten times a second.
    void Update(std::uint64_t done, std::uint64_t total, std::size_t files, std::size_t fileCount);
    // Removes the bar from its line.
    void Clear();

    // The line for these figures, without the carriage return. The rate is the average so far;
    // the time left assumes it holds.
    static std::string Line(const ProgressFigures& figures);

    static constexpr double kQuietSeconds = 1.0;
    static constexpr double kRedrawSeconds = 0.1;

private:
    std::FILE* stream_;
    bool active_;
    Clock clock_;
    bool drawn_ = false;
    double drawnAt_ = 0;
    std::string last_;
};

}  // namespace vesk::tool
