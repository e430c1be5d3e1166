// The plain-text log of one run, asked for with /LOG=FILE: what the setup did, item by item, for
// whoever installs without watching. A log that was not opened takes every entry and writes
// nothing, so the install reports to it whether or not a log was asked for.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vesk {

// What a line is about; its name leads the line.
enum class LogKind {
    Setup,      // the run: product, mode, folders
    Phase,      // a phase of the install begins
    Folder,     // a folder of the install
    File,       // a file written, run or applied
    Font,       // a font added
    Registry,   // a registry item
    Component,  // a component registered, run or opened
    Removed,    // a file of the clear-files task
    Shortcut,   // a link file
    Record,     // a piece of the uninstall record
    Error,      // what went wrong
    Result,     // how the run ended
};

// The name a line of `kind` starts with ("Registry").
const char* LogKindName(LogKind kind);

class RunLog {
public:
    RunLog() = default;
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Creates or truncates the file at `path`; false when it cannot be created. The clock of
    // the lines starts here.
    bool Open(const std::string& path);
    bool IsOpen() const { return file_ != nullptr; }

    // One line: the seconds since Open with three decimals, right-aligned in eight places, a
    // blank, the kind's name padded to nine places, a blank, the text, CR LF
    // ("   0.125 File      C:\a").
    // Written through at once, so a run that ends abruptly still leaves its log. Any thread.
    void Add(LogKind kind, std::string_view text) { Add(kind, {text}); }
    // The same with the pieces of the text in order: Add(LogKind::File, {"ran ", path}).
    void Add(LogKind kind, std::initializer_list<std::string_view> pieces);

private:
    void Lock();
    void Unlock();

    // Held while a line is written; a spin lock, since std::mutex would bring the exception
    // machinery of its failure into the stub (tens of KB) for lines that hardly ever meet.
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
    std::FILE* file_ = nullptr;
    std::uint64_t startMs_ = 0;  // MonotonicMilliseconds when the log was opened
};

}  // namespace vesk
