// The walk account, written as the walk goes.
#include "WalkAccount.h"

#include <windows.h>

#include "builder/trial/WalkAccountFormat.h"

namespace vesk::test {
namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &wide[0], length);
    }
    return wide;
}

}  // namespace

WalkAccount::~WalkAccount() {
    if (file_) std::fclose(file_);
}

bool WalkAccount::Open(const std::string& path) {
    file_ = _wfopen(Utf8ToWide(path).c_str(), L"wb");
    return file_ != nullptr;
}

void WalkAccount::Write(const char* kind, std::initializer_list<std::string> fields) {
    if (!file_) return;
    std::string line = kind;
    for (const std::string& field : fields) {
        line += trial::account::kSeparator;
        line += trial::account::EscapeField(field);
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

std::string AnsiToUtf8(const std::string& text) {
    return WideToUtf8(ToWide(CP_ACP, text));
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string utf8(std::size_t(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &utf8[0], length, nullptr,
                            nullptr);
    }
    return utf8;
}

std::wstring Utf8ToWide(const std::string& text) {
    return ToWide(CP_UTF8, text);
}

}  // namespace vesk::test
