// Path tokens inside registry data: a value such as "[InstallDir]\app.exe" or
// "\"[InstallDir]\app.exe\" \"%1\"" names the install as it is made. One reading serves the
// install, which replaces the tokens it knows and keeps every other bracket as written, and the
// builder, which refuses what the install would keep.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/PathVariable.h"

namespace vesk {

// One piece of a value: literal text (a "[[" already turned into "[") or a path token.
struct ValuePiece {
    PathVariableKind token = PathVariableKind::None;  // None: literal `text`
    std::string text;                                 // the literal text, or the token as written
};

// Splits `value`: "[[" is a literal "["; "[" + a path token's name + "]" (any letter case) is a
// token; any other "[" is literal. Adjacent literal text is one piece.
std::vector<ValuePiece> SplitValueTokens(const std::string& value);

// `value` with each token replaced: `resolve` is given the token followed by the literal text
// after it (so "[InstallDir]" of a drive root and "\app.exe" give "D:\app.exe", not two
// backslashes) and returns that text resolved. "[QuickLaunch]" names no single folder and stays
// as written.
std::string ExpandValueTokens(const std::string& value,
                              const std::function<std::string(const std::string&)>& resolve);

// Why the install would not write `value` as its author meant, or "" when it would: a "[" that
// starts no token (a literal "[" is written "[["), or a token that names no folder lasting after
// the install ([TempFileDir], [Absolute Directory], [QuickLaunch]).
std::string ValueTokenProblem(const std::string& value);

}  // namespace vesk
