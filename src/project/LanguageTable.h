// The user-visible texts of one language: the section of the language file that matches the
// system's default locale, looked up by key number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "project/TextKey.h"
#include "project/TextLineList.h"

namespace vesk {

// Upper-case hexadecimal without leading zeros: 0x0804 gives "804", 0x0C04 "C04".
std::string LanguageIdText(std::uint32_t localeId);

// "|" + key name + "|", the form in which project fields refer to a text; "" for reserved keys.
std::string KeyReference(TextKey key);

class LanguageTable {
public:
    // The section used when no header lists the system's locale.
    static constexpr const char* kFallbackLanguageId = "409";

    explicit LanguageTable(std::uint32_t systemLocaleId);

    // Reads the language file and keeps the chosen section, replacing what was held before. A
    // file that cannot be read or is empty leaves the table empty with LanguageId "409" (false).
    bool Load(const std::string& path);
    // The same for the bytes of a language file already in memory (decoded from the payload).
    bool LoadFromBytes(const std::string& bytes);
    // The same choice over the lines of a file already read.
    void LoadLines(const TextLineList& file);

    // The text after the "=" of the first line whose key is exactly the key's name; "" when
    // absent, and for reserved or out-of-range numbers.
    const std::string& GetText(TextKey key) const { return GetText(static_cast<int>(key)); }
    const std::string& GetText(int key) const;
    // Replaces the text of a key present in the section; an absent key changes nothing (false).
    bool SetText(TextKey key, const std::string& text);

    // Writes the lines in use, without a header, each followed by CR LF.
    bool SaveSection(const std::string& path) const { return lines_.WriteFile(path); }

    const std::string& LanguageId() const { return languageId_; }
    const std::string& SystemLanguageId() const { return systemLanguageId_; }
    const TextLineList& Lines() const { return lines_; }

private:
    // The index of the line of the key named `name`; Count() when absent or `name` is empty.
    std::size_t FindLine(const std::string& name) const;
    bool HeaderLists(const std::string& header) const;

    std::string systemLanguageId_;
    std::string languageId_ = kFallbackLanguageId;
    TextLineList lines_;
    // The text of every key, taken from lines_ when they are loaded; the last entry, after the
    // keys, stays empty for the numbers that name no text.
    std::vector<std::string> texts_;
};

}  // namespace vesk
