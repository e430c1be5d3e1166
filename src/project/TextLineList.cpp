// Splitting, joining, reading and writing CR LF text lines.
#include "project/TextLineList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/FileOpen.h"
#include "platform/TextDecoding.h"
#include "platform/Utf8.h"

namespace vesk {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr std::size_t kLineEndSize = 2;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

TextLineList& TextLineList::operator=(const TextLineList& other) {
    if (this != &other) lines_ = other.lines_;
    return *this;
}

TextLineList& TextLineList::operator=(TextLineList&& other) noexcept {
    lines_ = std::move(other.lines_);
    return *this;
}

void TextLineList::Add(const std::string& text) {
    lines_.push_back(text);
    if (observer_) observer_->OnLineAdded(text);
}

void TextLineList::Clear() {
    lines_.clear();
    if (observer_) observer_->OnCleared();
}

void TextLineList::SplitAppend(const std::string& text, bool append) {
    if (!append) Clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(kLineEnd, start, kLineEndSize);
        if (end == std::string::npos) break;
        Add(text.substr(start, end - start));
        start = end + kLineEndSize;
    }
    if (start < text.size()) Add(text.substr(start));
}

std::string TextLineList::Join() const {
    std::size_t size = 0;
    for (const std::string& line : lines_) size += line.size() + kLineEndSize;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines_) {
        text += line;
        text.append(kLineEnd, kLineEndSize);
    }
    return text;
}

bool TextLineList::ReadFile(const std::string& path) {
    FilePtr file(OpenFile(path, "rb"));
    if (!file) return false;
    std::string bytes;
    char block[kReadBlockSize];
    for (;;) {
        std::size_t got = std::fread(block, 1, sizeof block, file.get());
        if (got == 0) break;
        bytes.append(block, got);
    }
    if (std::ferror(file.get())) return false;
    return ReadFileBytes(bytes);
}

bool TextLineList::ReadFileBytes(const std::string& bytes) {
    if (bytes.empty()) return false;
    std::string text;
    for (std::size_t at = 0; at < bytes.size(); at += kReadBlockSize) {
        const std::size_t size = std::min(kReadBlockSize, bytes.size() - at);
        const void* nul = std::memchr(bytes.data() + at, '\0', size);
        text.append(bytes.data() + at,
                    nul ? std::size_t(static_cast<const char*>(nul) - (bytes.data() + at)) : size);
    }
    SplitAppend(text, false);
    return true;
}

bool TextLineList::WriteFile(const std::string& path, bool byteOrderMark) const {
    FilePtr file(OpenFile(path, "wb"));
    if (!file) return false;
    constexpr std::size_t kMarkSize = sizeof kUtf8ByteOrderMark - 1;
    bool ok =
        !byteOrderMark || std::fwrite(kUtf8ByteOrderMark, 1, kMarkSize, file.get()) == kMarkSize;
    for (const std::string& line : lines_) {
        if (!ok || std::fwrite(line.data(), 1, line.size(), file.get()) != line.size() ||
            std::fwrite(kLineEnd, 1, kLineEndSize, file.get()) != kLineEndSize) {
            ok = false;
            break;
        }
    }
    return std::fclose(file.release()) == 0 && ok;
}

void TextLineList::Decode(unsigned codePage) {
    if (!lines_.empty() && StripUtf8ByteOrderMark(lines_[0])) codePage = kUtf8CodePage;
    for (std::string& line : lines_) line = DecodeToUtf8(line, codePage);
}

}  // namespace vesk
