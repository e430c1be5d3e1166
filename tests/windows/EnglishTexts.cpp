// English texts from the default language file.
#include "EnglishTexts.h"

#include "resources/LanguageFile.h"

namespace vesk::test {

LanguageTable EnglishTexts() {
    TextLineList lines;
    lines.SplitAppend(DefaultLanguageFile(), false);
    LanguageTable texts(0x409);
    texts.LoadLines(lines);
    return texts;
}

std::string EnglishText(TextKey key) {
    return EnglishTexts().GetText(key);
}

}  // namespace vesk::test
