// The walk program's account of what it saw (the format is described in
// trial/WalkAccountFormat.h): written line by line, so a walk that ends early keeps what it had.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>

namespace vesk::test {

class WalkAccount {
public:
    WalkAccount() = default;
    ~WalkAccount();
    WalkAccount(const WalkAccount&) = delete;
    WalkAccount& operator=(const WalkAccount&) = delete;

    // Starts the account in `path` (UTF-8), replacing a file there; false when it cannot.
    bool Open(const std::string& path);
    // One line: `kind` and the fields (UTF-8), escaped. Nothing when no account was opened.
    void Write(const char* kind, std::initializer_list<std::string> fields);

private:
    std::FILE* file_ = nullptr;
};

// Text of the ANSI code page (what the A functions give) as UTF-8.
std::string AnsiToUtf8(const std::string& text);
// UTF-16 text as UTF-8, and back.
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);

}  // namespace vesk::test
