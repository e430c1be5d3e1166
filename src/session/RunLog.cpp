// Writing the run's log.
#include "session/RunLog.h"

#include "platform/Clock.h"
#include "platform/Concat.h"
#include "platform/FileOpen.h"
#include "platform/Utf8.h"

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
    Lock();
    if (file_) std::fclose(file_);
    file_ = OpenFile(path, "wb");
    // The lines are UTF-8; the mark tells Notepad and the like so.
    if (file_) std::fwrite(kUtf8ByteOrderMark, 1, sizeof kUtf8ByteOrderMark - 1, file_);
    startMs_ = MonotonicMilliseconds();
    Unlock();
    return file_ != nullptr;
}

void RunLog::Lock() {
    while (busy_.test_and_set(std::memory_order_acquire)) {
    }
}

void RunLog::Unlock() {
    busy_.clear(std::memory_order_release);
}

void RunLog::Add(LogKind kind, std::initializer_list<std::string_view> pieces) {
    constexpr std::size_t kTimeWidth = 8;
    constexpr std::size_t kMillisecondDigits = 3;
    constexpr std::size_t kKindWidth = 9;
    Lock();
    if (!file_) {
        Unlock();
        return;
    }
    const long long ms = static_cast<long long>(MonotonicMilliseconds() - startMs_);
    // Built by hand: the formatted-output functions would add their whole library to the stub.
    // The milliseconds with a point before their last three digits and at least one digit
    // before it, right-aligned.
    std::string line = std::to_string(ms);
    if (line.size() <= kMillisecondDigits)
        line.insert(0, kMillisecondDigits + 1 - line.size(), '0');
    line.insert(line.size() - kMillisecondDigits, 1, '.');
    if (line.size() < kTimeWidth) line.insert(0, kTimeWidth - line.size(), ' ');
    line += ' ';
    const std::string_view name = LogKindName(kind);
    line += name;
    if (name.size() < kKindWidth) line.append(kKindWidth - name.size(), ' ');
    line += ' ';
    AppendPieces(line, pieces);
    line += "\r\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
    Unlock();
}

}  // namespace vesk
