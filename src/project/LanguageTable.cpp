// Choosing a language section by locale and looking texts up by key.
#include "project/LanguageTable.h"

#include "platform/TextDecoding.h"
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
    : systemLanguageId_(LanguageIdText(systemLocaleId)),
      preferred_{systemLocaleId},
      texts_(kTextKeyCount + 1) {}

void LanguageTable::PreferLanguages(const std::vector<std::uint32_t>& languageIds) {
    preferred_.clear();
    for (std::uint32_t id : languageIds) {
        if (id != 0) preferred_.push_back(id);
    }
}

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

namespace {

// "[Language=404,c04,1404]": the list runs from after the first "=" to before the last
// character; the word before "=" is not looked at. A code page the header names after ";"
// ("[Language=804;UTF-8]") is not part of the list.
std::string HeaderList(const std::string& header, bool withCodePage) {
    std::size_t equals = header.find('=');
    if (equals == std::string::npos || equals + 1 >= header.size()) return std::string();
    std::string list = header.substr(equals + 1, header.size() - 1 - (equals + 1));
    const std::size_t semicolon = list.find(';');
    if (semicolon == std::string::npos) return withCodePage ? std::string() : list;
    return withCodePage ? list.substr(semicolon + 1) : list.substr(0, semicolon);
}

}  // namespace

bool ParseLanguageId(const std::string& text, std::uint32_t& id) {
    if (text.empty() || text.size() > 4) return false;
    id = 0;
    for (char c : UpperName(text)) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return false;
        id = id << 4 | std::uint32_t(digit);
    }
    return id != 0;
}

unsigned SectionCodePage(const std::string& header) {
    if (!IsHeader(header)) return kAnsiCodePage;
    const std::string named = UpperName(HeaderList(header, true));
    if (named == "UTF-8" || named == "65001") return kUtf8CodePage;
    const std::string list = HeaderList(header, false);
    const std::string first = UpperName(list.substr(0, list.find(',')));
    if (first == "804" || first == "1004") return kGb2312CodePage;
    if (first == "404" || first == "C04" || first == "1404") return kBig5CodePage;
    return kAnsiCodePage;
}

std::string LanguageTable::HeaderLists(const std::string& header, std::uint32_t languageId,
                                       bool samePrimary) {
    constexpr std::uint32_t kPrimaryLanguageMask = 0x3FF;
    // Chinese is one primary language written in two scripts: its regions never stand in for
    // each other.
    constexpr std::uint32_t kChinese = 0x04;
    samePrimary = samePrimary && (languageId & kPrimaryLanguageMask) != kChinese;
    const std::string wanted = LanguageIdText(languageId);
    const std::string list = HeaderList(header, false);
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t comma = list.find(',', start);
        std::size_t end = comma == std::string::npos ? list.size() : comma;
        const std::string item = UpperName(list.substr(start, end - start));
        if (item == wanted) return item;
        std::uint32_t listed = 0;
        if (samePrimary && ParseLanguageId(item, listed) &&
            (listed & kPrimaryLanguageMask) == (languageId & kPrimaryLanguageMask)) {
            return item;
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return std::string();
}

void LanguageTable::LoadLines(const TextLineList& file) {
    lines_.Clear();
    for (std::string& text : texts_) text.clear();
    languageId_ = kFallbackLanguageId;
    if (file.Empty()) return;
    std::size_t chosen = 0;  // without a match the first line counts as the header, unexamined
    bool found = false;
    for (bool samePrimary : {false, true}) {
        for (std::size_t p = 0; p < preferred_.size() && !found; ++p) {
            for (std::size_t i = 0; i < file.Count() && !found; ++i) {
                if (!IsHeader(file.At(i))) continue;
                const std::string listed = HeaderLists(file.At(i), preferred_[p], samePrimary);
                if (listed.empty()) continue;
                chosen = i;
                found = true;
                languageId_ = listed;
            }
        }
    }
    // Each line from the section's code page: a byte order mark is no part of a section, so one
    // found inside the file never makes a text line out of a header.
    const unsigned codePage = SectionCodePage(file.At(chosen));
    for (std::size_t i = chosen + 1; i < file.Count() && !IsHeader(file.At(i)); ++i) {
        lines_.Add(DecodeToUtf8(file.At(i), codePage));
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
