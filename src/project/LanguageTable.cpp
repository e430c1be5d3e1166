// Choosing a language section by locale and looking texts up by key.
#include "project/LanguageTable.h"

#include "project/NameCase.h"

namespace vesk {
namespace {

bool IsHeader(const std::string& line) {
    return !line.empty() && line[0] == '[';
}

}  // namespace

std::string LanguageIdText(std::uint32_t localeId) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[localeId & 0xF]);
        localeId >>= 4;
    } while (localeId != 0);
    return text;
}

std::string KeyReference(TextKey key) {
    std::string name = TextKeyName(key);
    return name.empty() ? std::string() : "|" + name + "|";
}

LanguageTable::LanguageTable(std::uint32_t systemLocaleId)
    : systemLanguageId_(LanguageIdText(systemLocaleId)), texts_(kTextKeyCount + 1) {}

bool LanguageTable::Load(const std::string& path) {
    TextLineList file;
    bool read = file.ReadFile(path);
    LoadLines(file);
    return read;
}

bool LanguageTable::LoadFromBytes(const std::string& bytes) {
    TextLineList file;
    bool read = file.ReadFileBytes(bytes);
    LoadLines(file);
    return read;
}

bool LanguageTable::HeaderLists(const std::string& header) const {
    // "[Language=404,c04,1404]": the list runs from after the first "=" to before the last
    // character; the word before "=" is not looked at.
    std::size_t equals = header.find('=');
    if (equals == std::string::npos || equals + 1 >= header.size()) return false;
    std::string list = header.substr(equals + 1, header.size() - 1 - (equals + 1));
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t comma = list.find(',', start);
        std::size_t end = comma == std::string::npos ? list.size() : comma;
        if (UpperName(list.substr(start, end - start)) == systemLanguageId_) return true;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return false;
}

void LanguageTable::LoadLines(const TextLineList& file) {
    lines_.Clear();
    for (std::string& text : texts_) text.clear();
    languageId_ = kFallbackLanguageId;
    if (file.Empty()) return;
    std::size_t chosen = 0;  // without a match the first line counts as the header, unexamined
    for (std::size_t i = 0; i < file.Count(); ++i) {
        if (IsHeader(file.At(i)) && HeaderLists(file.At(i))) {
            chosen = i;
            languageId_ = systemLanguageId_;
            break;
        }
    }
    for (std::size_t i = chosen + 1; i < file.Count() && !IsHeader(file.At(i)); ++i) {
        lines_.Add(file.At(i));
    }
    for (int key = 0; key < kTextKeyCount; ++key) {
        const std::string name = TextKeyName(key);
        const std::size_t index = FindLine(name);
        if (index != lines_.Count()) texts_[key] = lines_.At(index).substr(name.size() + 1);
    }
}

std::size_t LanguageTable::FindLine(const std::string& name) const {
    if (name.empty()) return lines_.Count();
    for (std::size_t i = 0; i < lines_.Count(); ++i) {
        const std::string& line = lines_.At(i);
        // The key is the text before the first "="; a line without one has an empty key.
        if (line.size() > name.size() && line[name.size()] == '=' &&
            line.compare(0, name.size(), name) == 0) {
            return i;
        }
    }
    return lines_.Count();
}

const std::string& LanguageTable::GetText(int key) const {
    return texts_[key >= 0 && key < kTextKeyCount ? key : kTextKeyCount];
}

bool LanguageTable::SetText(TextKey key, const std::string& text) {
    const std::string name = TextKeyName(key);
    const std::size_t index = FindLine(name);
    if (index == lines_.Count()) return false;
    TextLineList updated;
    for (std::size_t i = 0; i < lines_.Count(); ++i) {
        updated.Add(i == index ? name + "=" + text : lines_.At(i));
    }
    lines_ = std::move(updated);
    texts_[static_cast<int>(key)] = text;
    return true;
}

}  // namespace vesk
