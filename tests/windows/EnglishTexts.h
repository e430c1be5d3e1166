// The English section of the default language file, as the engine shows it on an English system.
#pragma once

#include <string>

#include "project/LanguageTable.h"

namespace vesk::test {

LanguageTable EnglishTexts();
std::string EnglishText(TextKey key);

}  // namespace vesk::test
