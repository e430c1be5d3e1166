// Wine keeps its registry in text files whose names and texts carry C-like escapes; these read
// them back as UTF-8 and describe a value's data as a person reads it.
#pragma once

#include <string>
#include <string_view>

namespace vesk::trial {

// `text` as Wine writes it between quotes or brackets, decoded to UTF-8: \a \b \t \n \v \f \r \e,
// \ooo (octal), \xh to \xhhhh (one UTF-16 unit; a surrogate pair gives one character) and any
// other character after a backslash standing for itself (\\ \" \[ \]).
std::string UnescapeWineText(std::string_view text);

// A value's data as Wine writes it after "name=", seen by a person.
struct ValueView {
    std::string type;  // "REG_SZ", "REG_DWORD" ...
    std::string text;  // the string, the number, the items of a list, or the bytes in hex
};

// Strings (plain, str(N): and the hex(1), hex(2) and hex(7) forms) as their text, a list's items
// quoted one after the other, numbers in decimal and hex, other bytes as hex pairs (the first
// kShownBytes and their count).
ValueView ViewValue(std::string_view data);

constexpr std::size_t kShownBytes = 64;

}  // namespace vesk::trial
