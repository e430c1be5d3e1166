// Writing the run's log.
#include "session/RunLog.h"

namespace vesk {

const char* LogKindName(LogKind kind) {
    switch (kind) {
        case LogKind::Setup:
            return "Setup";
        case LogKind::Phase:
            return "Phase";
        case LogKind::Folder:
            return "Folder";
        case LogKind::File:
            return "File";
        case LogKind::Font:
            return "Font";
        case LogKind::Registry:
            return "Registry";
        case LogKind::Component:
            return "Component";
        case LogKind::Removed:
            return "Removed";
        case LogKind::Shortcut:
            return "Shortcut";
        case LogKind::Record:
            return "Record";
        case LogKind::Error:
            return "Error";
        case LogKind::Result:
            return "Result";
    }
    return "?";
}

RunLog::~RunLog() {
    if (file_) std::fclose(file_);
}

bool RunLog::Open(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "wb");
    start_ = std::chrono::steady_clock::now();
    return file_ != nullptr;
}

void RunLog::Add(LogKind kind, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!file_) return;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start_);
    const long ms = static_cast<long>(elapsed.count());
    std::fprintf(file_, "%4ld.%03ld %-9s %s\r\n", ms / 1000, ms % 1000, LogKindName(kind),
                 text.c_str());
    std::fflush(file_);
}

}  // namespace vesk
