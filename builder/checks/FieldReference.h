// The field reference (docs/field-reference.md) written from the builder's tables and the
// engine's vocabularies, so the document cannot drift from what the checks enforce.
#pragma once

#include <string>

namespace vesk {

// The whole reference as Markdown, LF line ends.
std::string FieldReferenceText();

}  // namespace vesk
