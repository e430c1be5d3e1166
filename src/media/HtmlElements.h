// What the text converter needs to know about each HTML element: whether it breaks lines, how
// its content is read, and which of them need their own handling.
#pragma once

#include <string>

namespace vesk {

// Elements with their own handling; everything else is Other.
enum class HtmlElement : unsigned char {
    Other,
    Br,
    Hr,
    Li,
    List,  // ul, ol, dir, menu
    Dl,
    Dt,
    Dd,
    Blockquote,
    Table,
    Tr,
    Cell,  // td, th
    Pre,   // pre, listing, xmp, plaintext
    Textarea,
    Q,
};

// How the tokenizer reads an element's content.
enum class HtmlContent {
    Markup,     // tags and references
    RawText,    // text up to the element's end tag, read as written (script, style, xmp)
    Rcdata,     // text up to the element's end tag, references decoded (title, textarea)
    PlainText,  // raw text to the end of the document (plaintext)
};

struct HtmlElementTraits {
    bool known = false;  // an element name of HTML
    HtmlElement kind = HtmlElement::Other;
    HtmlContent content = HtmlContent::Markup;
    bool block = false;   // starts and ends on a line of its own
    bool spaced = false;  // a blank line before and after (paragraphs, headings)
    bool hidden = false;  // its content never shows (script, style, title, head parts)
};

// Traits of the element named `name` (lower case); unknown names give the default traits.
HtmlElementTraits ElementTraits(const std::string& name);

}  // namespace vesk
