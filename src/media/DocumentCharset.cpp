// The charset prescan: a few tokens of the document's head, as browsers do before they read it.
#include "media/DocumentCharset.h"

#include "media/HtmlTokenizer.h"

namespace vesk {
namespace {

// Browsers look only so far for a declaration; a head full of scripts may push it further.
constexpr std::size_t kPrescanBytes = 64 * 1024;
// An XML declaration is short and comes first.
constexpr std::size_t kXmlDeclarationBytes = 256;

bool IsLabelSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    }
    return text;
}

// The value after "charset" (or `key`) and '=' in `text`: quoted, or up to a space or ';'.
std::string ValueAfter(const std::string& lowerText, const char* key) {
    for (std::size_t at = lowerText.find(key); at != std::string::npos;
         at = lowerText.find(key, at + 1)) {
        std::size_t pos = at + std::char_traits<char>::length(key);
        while (pos < lowerText.size() && IsLabelSpace(lowerText[pos])) ++pos;
        if (pos >= lowerText.size() || lowerText[pos] != '=') continue;
        ++pos;
        while (pos < lowerText.size() && IsLabelSpace(lowerText[pos])) ++pos;
        if (pos < lowerText.size() && (lowerText[pos] == '"' || lowerText[pos] == '\'')) {
            const std::size_t close = lowerText.find(lowerText[pos], pos + 1);
            if (close == std::string::npos) return {};
            return lowerText.substr(pos + 1, close - pos - 1);
        }
        std::size_t end = pos;
        while (end < lowerText.size() && !IsLabelSpace(lowerText[end]) && lowerText[end] != ';' &&
               lowerText[end] != '"' && lowerText[end] != '\'' && lowerText[end] != '?') {
            ++end;
        }
        return lowerText.substr(pos, end - pos);
    }
    return {};
}

std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsLabelSpace(text[begin])) ++begin;
    while (end > begin && IsLabelSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::string DeclaredCharset(const std::string& html) {
    const std::size_t start = html.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (html.compare(start, 5, "<?xml") == 0) {
        const std::size_t close = html.find("?>", start);
        if (close != std::string::npos && close - start < kXmlDeclarationBytes) {
            const std::string encoding =
                ValueAfter(Lower(html.substr(start, close - start)), "encoding");
            if (!encoding.empty()) return Trimmed(encoding);
        }
    }
    HtmlTokenizer tokenizer(html, start);
    HtmlToken token;
    while (tokenizer.Position() < kPrescanBytes && tokenizer.Next(token)) {
        if (token.type != HtmlToken::Type::StartTag) continue;
        if (token.name == "body") break;
        if (token.name != "meta") continue;
        if (const std::string* charset = token.Attribute("charset")) {
            const std::string label = Trimmed(Lower(*charset));
            if (!label.empty()) return label;
        }
        const std::string* httpEquiv = token.Attribute("http-equiv");
        const std::string* content = token.Attribute("content");
        if (httpEquiv && content && Lower(Trimmed(*httpEquiv)) == "content-type") {
            const std::string label = Trimmed(ValueAfter(Lower(*content), "charset"));
            if (!label.empty()) return label;
        }
    }
    return {};
}

bool IsUtf8Label(const std::string& lowerLabel) {
    return lowerLabel == "utf-8" || lowerLabel == "utf8" || lowerLabel == "unicode-1-1-utf-8" ||
           lowerLabel == "x-unicode20utf8";
}

bool IsUtf16Label(const std::string& lowerLabel) {
    return lowerLabel == "utf-16" || lowerLabel == "utf-16le" || lowerLabel == "utf-16be" ||
           lowerLabel == "unicode" || lowerLabel == "unicodefffe" || lowerLabel == "ucs-2" ||
           lowerLabel == "iso-10646-ucs-2";
}

}  // namespace vesk
