// Starting a program and waiting until it ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vesk {

// The window show state of a normal visible window.
constexpr int kShowNormal = 1;
// What RunAndWait returns when the program cannot be started.
constexpr std::uint32_t kCreateProcessFailed = 781205;

// Makes the program's folder current (not restored afterwards), starts the program with normal
// priority and inherited handles, asks for the window show state `show`, waits without time
// limit until it ends and returns its exit code. When it cannot be started: tells the user
// "Create process failed" and returns kCreateProcessFailed.
std::uint32_t RunAndWait(const std::string& path, int show);

// Replaces the message box RunAndWait shows on failure (a test records the text instead); an
// empty function restores the message box.
void SetRunFailureNotice(std::function<void(const std::string& text)> notice);

}  // namespace vesk
