// Splits HTML into text runs and tags the way browsers do, forgiving every error: comments,
// doctypes, CDATA and processing instructions become markup tokens, and the content of script,
// style and the like is one raw text run up to its end tag.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "media/HtmlElements.h"

namespace vesk {

struct HtmlAttribute {
    std::string name;  // lower case
    std::string value;
};

struct HtmlToken {
    enum class Type { Text, StartTag, EndTag, Markup };

    Type type = Type::Markup;
    // Text: the run's bytes in the source; references in it are to be decoded unless it is the
    // raw content of an element such as script or xmp.
    std::size_t begin = 0;
    std::size_t end = 0;
    bool decodeReferences = true;
    // Tags: the name in lower case (cut at kMaxNameLength), "<br/>"-style closing, and the
    // first kMaxAttributes attributes with values cut at kMaxAttributeLength.
    std::string name;
    bool selfClosing = false;
    std::vector<HtmlAttribute> attributes;

    // The value of the attribute `lowerName`, or null.
    const std::string* Attribute(const char* lowerName) const;
};

class HtmlTokenizer {
public:
    static constexpr std::size_t kMaxNameLength = 32;
    static constexpr std::size_t kMaxAttributes = 16;
    static constexpr std::size_t kMaxAttributeLength = 256;

    // Reads `html` from `start`; the text must outlive the tokenizer.
    explicit HtmlTokenizer(const std::string& html, std::size_t start = 0);

    // The next token; false at the end of the text. Every call moves forward, so the whole
    // text takes time linear in its length. A tag cut off by the end of the text is dropped.
    bool Next(HtmlToken& token);

    // Where the next token starts.
    std::size_t Position() const { return pos_; }

private:
    bool ReadRawText(HtmlToken& token);
    bool ReadMarkup(HtmlToken& token);
    void SkipPast(const char* terminator, std::size_t from);
    void ReadTag(HtmlToken& token, bool endTag);
    bool ReadAttributes(HtmlToken& token);
    bool StartsTagOrMarkup(std::size_t at) const;

    const std::string& html_;
    std::size_t pos_;
    // The element whose raw content comes next (after its start tag), or empty.
    std::string rawElement_;
    HtmlContent rawContent_ = HtmlContent::Markup;
};

}  // namespace vesk
