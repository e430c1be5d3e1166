// Drawing the progress bar.
#include "builder/veskbuild/ProgressBar.h"

#include "builder/veskbuild/Terminal.h"

namespace vesk::tool {

namespace {

constexpr int kBarWidth = 16;
constexpr double kMegabyte = 1e6;

ProgressBar::Clock SteadyClock() {
    const auto start = std::chrono::steady_clock::now();
    return [start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
}

// "12.3 MB" for a million bytes and more, "456 KB" below.
std::string Amount(double bytes, const char* unitSuffix) {
    char text[32];
    if (bytes >= kMegabyte) {
        std::snprintf(text, sizeof text, "%.1f MB%s", bytes / kMegabyte, unitSuffix);
    } else {
        std::snprintf(text, sizeof text, "%.0f KB%s", bytes / 1e3, unitSuffix);
    }
    return text;
}

}  // namespace

ProgressBar::ProgressBar(std::FILE* stream, bool enabled)
    : ProgressBar(stream, enabled && IsTerminal(stream), SteadyClock()) {}

ProgressBar::ProgressBar(std::FILE* stream, bool active, Clock clock)
    : stream_(stream), active_(active), clock_(std::move(clock)) {}

std::string ProgressBar::Line(const ProgressFigures& figures) {
    const int percent = figures.total == 0 ? 100 : int(figures.done * 100 / figures.total);
    const int filled = percent * kBarWidth / 100;
    std::string line = "[" + std::string(std::size_t(filled), '#') +
                       std::string(std::size_t(kBarWidth - filled), '.') + "] ";
    // Both amounts in the total's unit, so the pair reads at a glance.
    const bool megabytes = double(figures.total) >= kMegabyte;
    const double unit = megabytes ? kMegabyte : 1e3;
    char text[128];
    std::snprintf(text, sizeof text, "%3d%%  %.*f/%.*f %s  %zu/%zu files", percent,
                  megabytes ? 1 : 0, double(figures.done) / unit, megabytes ? 1 : 0,
                  double(figures.total) / unit, megabytes ? "MB" : "KB", figures.files,
                  figures.fileCount);
    line += text;
    if (figures.seconds > 0 && figures.done > 0) {
        const double rate = double(figures.done) / figures.seconds;
        const long left = long(double(figures.total - figures.done) / rate + 0.5);
        std::snprintf(text, sizeof text, "  %s  %ld:%02ld left", Amount(rate, "/s").c_str(),
                      left / 60, left % 60);
        line += text;
    }
    return line;
}

void ProgressBar::Update(std::uint64_t done, std::uint64_t total, std::size_t files,
                         std::size_t fileCount) {
    if (!active_) return;
    const double now = clock_();
    if (now < kQuietSeconds || (drawn_ && now - drawnAt_ < kRedrawSeconds)) return;
    const std::string line = Line({done, total, files, fileCount, now});
    // A shorter line than the last leaves no rest of it behind.
    const std::size_t pad = last_.size() > line.size() ? last_.size() - line.size() : 0;
    std::fprintf(stream_, "\r%s%s", line.c_str(), std::string(pad, ' ').c_str());
    std::fflush(stream_);
    last_ = line + std::string(pad, ' ');
    drawn_ = true;
    drawnAt_ = now;
}

void ProgressBar::Clear() {
    if (!drawn_) return;
    std::fprintf(stream_, "\r%s\r", std::string(last_.size(), ' ').c_str());
    std::fflush(stream_);
    drawn_ = false;
}

}  // namespace vesk::tool
