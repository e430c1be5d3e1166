// The user-visible texts of one language: the section of the language file that matches the
// language asked for, the user's or the system's, looked up by key number.
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

// A language identifier as headers and /LANG= write it: one to four hexadecimal digits in any
// letter case ("804", "c04"), not 0; false for anything else.
bool ParseLanguageId(const std::string& text, std::uint32_t& id);

// The code page a section's texts are stored in: the one its header names after ";"
// ("[Language=804;UTF-8]", what the builder writes for a packager's texts), else that of its first
// language: GB2312 for 804 and 1004, Big5 for 404, C04 and 1404, the system's ANSI code page for
// the rest (409 is ASCII). A line that is no header gives the ANSI code page.
unsigned SectionCodePage(const std::string& header);

class LanguageTable {
public:
    // The section used when no header lists the system's locale.
    static constexpr const char* kFallbackLanguageId = "409";

    explicit LanguageTable(std::uint32_t systemLocaleId);

    // The languages to look for, most wanted first (a language chosen with /LANG=, the user's
    // interface language, the system's locale); 0 entries are passed over. Without a call: the
    // system's locale alone. Load chooses the first section that lists the first language it can;
    // failing that, a section of the same primary language (0x0809 finds 409; not for Chinese,
    // whose regions differ in script), in the same order; failing that, the first section, as
    // "409".
    void PreferLanguages(const std::vector<std::uint32_t>& languageIds);

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

    // Writes the lines in use in UTF-8 after a byte order mark, without a header, each followed by
    // CR LF.
    bool SaveSection(const std::string& path) const { return lines_.WriteFile(path, true); }

    const std::string& LanguageId() const { return languageId_; }
    const std::string& SystemLanguageId() const { return systemLanguageId_; }
    const TextLineList& Lines() const { return lines_; }

private:
    // The index of the line of the key named `name`; Count() when absent or `name` is empty.
    std::size_t FindLine(const std::string& name) const;
    // The item of the header's list that names the language, exactly or (samePrimary) by its
    // primary language, upper-cased; "" when none does.
    static std::string HeaderLists(const std::string& header, std::uint32_t languageId,
                                   bool samePrimary);

    std::string systemLanguageId_;
    std::vector<std::uint32_t> preferred_;
    std::string languageId_ = kFallbackLanguageId;
    TextLineList lines_;
    // The text of every key, taken from lines_ when they are loaded; the last entry, after the
    // keys, stays empty for the numbers that name no text.
    std::vector<std::string> texts_;
};

}  // namespace vesk
