// Drawing the progress bar.
#include "ProgressBar.h"

#include "Terminal.h"

namespace vesk::tool {

namespace {
constexpr int kBarWidth = 30;
}

ProgressBar::ProgressBar(std::FILE* stream, bool enabled)
    : stream_(stream), active_(enabled && IsTerminal(stream)) {}

std::string ProgressBar::Line(std::uint64_t done, std::uint64_t total, std::size_t files,
                              std::size_t fileCount) {
    int percent = total == 0 ? 100 : int(done * 100 / total);
    int filled = percent * kBarWidth / 100;
    std::string line = "[" + std::string(std::size_t(filled), '#') +
                       std::string(std::size_t(kBarWidth - filled), '.') + "] ";
    char figures[64];
    std::snprintf(figures, sizeof figures, "%3d%%  %zu/%zu files", percent, files, fileCount);
    return line + figures;
}

void ProgressBar::Update(std::uint64_t done, std::uint64_t total, std::size_t files,
                         std::size_t fileCount) {
    if (!active_) return;
    std::string line = Line(done, total, files, fileCount);
    if (line == last_) return;
    last_ = line;
    std::fprintf(stream_, "\r%s", line.c_str());
    std::fflush(stream_);
    drawn_ = true;
}

void ProgressBar::Clear() {
    if (!drawn_) return;
    std::fprintf(stream_, "\r%s\r", std::string(last_.size(), ' ').c_str());
    std::fflush(stream_);
    drawn_ = false;
}

}  // namespace vesk::tool
