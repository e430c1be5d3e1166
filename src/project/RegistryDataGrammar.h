// The one reading of registry data files (file entries of kind R): which lines are keys, which are
// values and which are neither. The install applies what it reads leniently; the builder checks a
// file strictly, so that it refuses, with its line, every line the install would pass over.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace vesk {

// The longest line (without its line end) that is applied: twice the largest value data the
// registry's standard format stores, so every key and value the registry can hold fits. A longer
// line is passed over whole, so the memory used stays within one such line whatever the file.
constexpr std::size_t kLongestRegistryDataLine = std::size_t(2) << 20;

// The key a bracketed line names: a root and the levels below it, never none.
struct BracketedKey {
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::vector<std::string> levels;
};

// Reads "[HKEY_...\path" and one last character (the "]", not examined): the text before the
// first backslash must be "[" and one of the five root names written exactly so (upper case); the
// path is what follows that backslash without the last character, its empty levels dropped, and
// must keep at least one level. A line without a backslash, or naming only the root
// ("[HKEY_USERS]", "[HKEY_USERS\]"), names no key: a root takes no values of a data file.
std::optional<BracketedKey> ReadBracketedKey(const std::string& line);

// Why a line is neither a key nor a value. A code, not a text: the install never says it, and
// only the builder's check turns it into words.
enum class RegistryLineProblem {
    None,
    NulByte,             // holds a NUL byte
    NoKeyLine,           // starts with "[" but names no root
    OnlyRoot,            // names a root alone (the root in `key.root`)
    NeitherKeyNorValue,  // any other line
};

struct RegistryDataLine {
    enum class Kind {
        Empty,  // nothing: skipped
        Key,    // "[HKEY_...\path]": `key` becomes current
        NoKey,  // starts with "[" but names no key: from here on no key is current
        Value,  // "name"="data", or @="data" for the default value: a string on the current key
        Other,  // anything else: written nowhere
    };
    Kind kind = Kind::Empty;
    BracketedKey key;        // Key
    std::string name, data;  // Value; data as written, without a terminating NUL
    RegistryLineProblem problem = RegistryLineProblem::None;  // NoKey, Other: why
};

// One line without its line end. A line holding a NUL byte is never a key or a value; the data
// of a value line runs from after `"name"="` (or `@="`, the key's default value) up to the line's
// last quote, taken literally (a backslash is an ordinary character, quotes inside stay); the
// install replaces its path tokens (ValueTokens.h), "[[" standing for a literal "[".
RegistryDataLine ReadRegistryDataLine(const std::string& line);

struct RegistryDataProblem {
    std::size_t line = 0;  // 1-based
    std::string message;   // "line 3 ...": complete, with the line
};

// The builder's strict reading of a whole file: every line the install would not apply as it is
// written, each with its line, in file order. A line must end with CR LF (the install takes LF
// alone too, and never applies a last line without a line end), hold at most
// kLongestRegistryDataLine bytes and no NUL byte, and be empty, a key naming a key below one of
// the five roots, or a value after such a key whose data has no "[" but path tokens and "[["
// (ValueTokenProblem). Empty when the file is sound.
std::vector<RegistryDataProblem> CheckRegistryData(const std::string& bytes);

}  // namespace vesk
