// Looking the uninstaller's texts up by key name.
#include "uninstaller/UninstallTexts.h"

#include <string_view>

#include "project/LanguageTable.h"
#include "resources/LanguageFile.h"

namespace vesk {
namespace {

const char* const kKeyNames[] = {
    "UnInstallDesc",        "UnInstallButtonDesc",    "CloseButtonDesc",
    "UnInstallWindowTitle", "UnInstallWindowSubject", "UnInstallWindowDesc",
    "UnInstallWindowDesc2", "UnInstallReadyDesc",     "RemoveFileDesc",
    "RemoveFolderDesc",     "RemoveRegistryDesc",     "UnInstallComplete",
    "MessageDesc",
};
static_assert(sizeof kKeyNames / sizeof kKeyNames[0] == int(UninstallText::MessageDesc) + 1,
              "one name per text");

// The text after "<name>=" of the first line with that key; false when no line has it.
bool Find(const TextLineList& lines, std::string_view name, std::string& text) {
    for (const std::string& line : lines) {
        if (line.size() > name.size() && line[name.size()] == '=' &&
            line.compare(0, name.size(), name) == 0) {
            text = line.substr(name.size() + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

UninstallTexts::UninstallTexts(std::uint32_t systemLocaleId) {
    TextLineList file;
    file.SplitAppend(DefaultLanguageFile(), false);
    LanguageTable table(systemLocaleId);
    table.LoadLines(file);
    engine_ = table.Lines();
}

std::string UninstallTexts::Get(UninstallText key) const {
    const std::string_view name = kKeyNames[int(key)];
    std::string text;
    if (Find(kept_, name, text) || Find(engine_, name, text)) return text;
    return std::string();
}

std::string UninstallTexts::KeptFileName(std::uint32_t systemLocaleId) {
    return LanguageIdText(systemLocaleId) + ".ini";
}

}  // namespace vesk
