// Fuzzes the language file parser: the first two input bytes pick the system locale, the rest is
// the file. Nothing may crash, and the chosen section must keep the table's promises: no header
// among its lines, an identifier that is the system's, one of its primary language, or "409",
// texts that SetText replaces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "project/LanguageTable.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static const std::uint32_t kLocales[] = {0x0409, 0x0804, 0x0404, 0x0C04, 0x1404, 0x0411};
    std::uint32_t locale =
        data[0] < 6 ? kLocales[data[0]] : (std::uint32_t(data[0]) << 8 | data[1]);
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);

    vesk::TextLineList file;
    file.SplitAppend(text, false);
    vesk::LanguageTable table(locale);
    table.LoadLines(file);

    constexpr std::uint32_t kPrimaryLanguageMask = 0x3FF;
    std::uint32_t chosen = 0;
    const bool samePrimary = vesk::ParseLanguageId(table.LanguageId(), chosen) &&
                             (chosen & kPrimaryLanguageMask) == (locale & kPrimaryLanguageMask);
    Check(table.LanguageId() == table.SystemLanguageId() || table.LanguageId() == "409" ||
          samePrimary);
    Check(table.Lines().Count() <= file.Count());
    for (const std::string& line : table.Lines()) Check(line.empty() || line[0] != '[');

    const std::size_t count = table.Lines().Count();
    for (int key = -1; key <= vesk::kTextKeyCount; ++key) {
        std::string found = table.GetText(key);
        std::string name = vesk::TextKeyName(key);
        if (name.empty()) Check(found.empty());
        if (!found.empty()) {
            std::string replacement = found + "|";
            Check(table.SetText(vesk::TextKey(key), replacement));
            Check(table.GetText(key) == replacement);
            Check(table.Lines().Count() == count);
        }
    }
    (void)table.Lines().Join();
    return 0;
}
