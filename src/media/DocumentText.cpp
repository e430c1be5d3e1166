// Sorts out what a document is (archive or not, HTML or plain text) and how its characters are
// written, then hands it to the HTML or plain text converter.
#include "media/DocumentText.h"

#include <optional>

#include "media/DocumentCharset.h"
#include "media/HtmlText.h"
#include "media/HtmlTokenizer.h"
#include "media/MimeArchive.h"
#include "media/PlainText.h"
#include "media/UnicodeText.h"

namespace vesk {
namespace {

enum class Kind { Unknown, Html, Plain };

Kind KindOfMediaType(const std::string& mediaType) {
    if (mediaType == "text/html" || mediaType == "application/xhtml+xml") return Kind::Html;
    if (mediaType == "text/plain") return Kind::Plain;
    return Kind::Unknown;
}

// HTML when a tag names an element of HTML, or a comment or doctype appears: a plain text
// licence with "<https://...>" or "<year> <name>" in it stays plain text.
bool LooksLikeHtml(const std::string& text) {
    HtmlTokenizer tokenizer(text);
    HtmlToken token;
    while (tokenizer.Next(token)) {
        switch (token.type) {
            case HtmlToken::Type::StartTag:
            case HtmlToken::Type::EndTag:
                if (ElementTraits(token.name).known) return true;
                break;
            case HtmlToken::Type::Markup:
                if (text.compare(token.begin, 2, "<!") == 0) return true;
                break;
            case HtmlToken::Type::Text:
                break;
        }
    }
    return false;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The document as UTF-8 when it is UTF-16 (a byte order mark, a UTF-16 charset on bytes that
// hold zeros, or ASCII with zero bytes between); none otherwise.
std::optional<std::string> FromUtf16(const std::string& text, const std::string& charset) {
    if (StartsWith(text, "\xFF\xFE")) return Utf16ToUtf8(text.substr(2), Utf16Order::LittleEndian);
    if (StartsWith(text, "\xFE\xFF")) return Utf16ToUtf8(text.substr(2), Utf16Order::BigEndian);
    const bool declared = IsUtf16Label(charset) && text.find('\0') != std::string::npos;
    if (declared || (charset.empty() && StartsLikeUtf16(text))) {
        return Utf16ToUtf8(text, GuessUtf16Order(text));
    }
    return std::nullopt;
}

}  // namespace

std::string DocumentToText(const std::string& bytes, const CodePointEncoder& encode) {
    std::optional<MimeDocument> archive = ReadMimeDocument(bytes);
    const std::string* text = archive ? &archive->body : &bytes;
    const std::string charset = archive ? archive->charset : std::string();
    Kind kind = archive ? KindOfMediaType(archive->mediaType) : Kind::Unknown;

    std::optional<std::string> converted = FromUtf16(*text, charset);
    if (converted) text = &*converted;
    const bool marked = converted || StartsWith(*text, "\xEF\xBB\xBF");

    if (kind == Kind::Unknown) kind = LooksLikeHtml(*text) ? Kind::Html : Kind::Plain;
    bool utf8 = marked;
    if (!marked) {
        std::string label = charset;
        if (label.empty() && kind == Kind::Html) label = DeclaredCharset(*text);
        utf8 = label.empty() ? LooksLikeUtf8(*text) : (IsUtf8Label(label) || IsUtf16Label(label));
    }
    return kind == Kind::Html ? HtmlToText(*text, encode, utf8)
                              : PlainTextToText(*text, encode, utf8);
}

}  // namespace vesk
