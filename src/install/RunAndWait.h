// Running a program and waiting until it ends, as the engine does for the preparatory program
// and for programs of the install.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Processes.h"

namespace vesk {

// What RunAndWait returns when the program cannot be started.
constexpr std::uint32_t kCreateProcessFailed = 781205;
// The message the user gets then, and its caption.
constexpr char kCreateProcessFailedText[] = "Create process failed";
constexpr char kCreateProcessFailedCaption[] = "Error";

// `text` in double quotes, as a command line names a path that may hold blanks.
std::string Quoted(std::string_view text);

// Tells the user that a program could not be started.
using FailureNotice = std::function<void(const std::string& text)>;

// Makes the program's folder current (not restored afterwards), starts the program with the
// window show state `show`, waits without time limit until it ends and returns its exit code.
// The command line names the program quoted, so a path with spaces cannot start another
// program. When it cannot be started: `notice`(kCreateProcessFailedText) and
// kCreateProcessFailed.
std::uint32_t RunAndWait(Processes& processes, const std::string& path, int show,
                         const FailureNotice& notice);

}  // namespace vesk
