// A forgiving HTML tokenizer after the browsers' rules, reduced to what text conversion needs.
#include "media/HtmlTokenizer.h"

#include <cstring>

namespace vesk {
namespace {

bool IsHtmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char ToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool StartsWith(const std::string& text, std::size_t at, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    return text.size() - at >= length && text.compare(at, length, prefix) == 0;
}

}  // namespace

const std::string* HtmlToken::Attribute(const char* lowerName) const {
    for (const HtmlAttribute& attribute : attributes) {
        if (attribute.name == lowerName) return &attribute.value;
    }
    return nullptr;
}

HtmlTokenizer::HtmlTokenizer(const std::string& html, std::size_t start)
    : html_(html), pos_(start < html.size() ? start : html.size()) {}

bool HtmlTokenizer::Next(HtmlToken& token) {
    token.type = HtmlToken::Type::Text;
    token.begin = token.end = pos_;
    token.decodeReferences = true;
    token.name.clear();
    token.selfClosing = false;
    token.attributes.clear();
    if (pos_ >= html_.size()) return false;
    if (!rawElement_.empty()) return ReadRawText(token);

    std::size_t at = pos_;
    while (at < html_.size()) {
        at = html_.find('<', at);
        if (at == std::string::npos) {
            at = html_.size();
            break;
        }
        if (StartsTagOrMarkup(at)) break;
        ++at;
    }
    if (at > pos_) {
        token.end = at;
        pos_ = at;
        return true;
    }
    return ReadMarkup(token);
}

bool HtmlTokenizer::StartsTagOrMarkup(std::size_t at) const {
    if (at + 1 >= html_.size()) return false;
    const char next = html_[at + 1];
    return IsAsciiLetter(next) || next == '/' || next == '!' || next == '?';
}

bool HtmlTokenizer::ReadRawText(HtmlToken& token) {
    token.decodeReferences = rawContent_ == HtmlContent::Rcdata;
    std::size_t end = html_.size();
    if (rawContent_ != HtmlContent::PlainText) {
        const std::size_t nameLength = rawElement_.size();
        for (std::size_t at = html_.find("</", pos_); at != std::string::npos;
             at = html_.find("</", at + 2)) {
            const std::size_t after = at + 2 + nameLength;
            if (after >= html_.size()) break;
            bool same = true;
            for (std::size_t i = 0; i < nameLength && same; ++i) {
                same = ToLower(html_[at + 2 + i]) == rawElement_[i];
            }
            if (same && (IsHtmlSpace(html_[after]) || html_[after] == '/' || html_[after] == '>')) {
                end = at;
                break;
            }
        }
    }
    rawElement_.clear();
    token.end = end;
    pos_ = end;
    if (token.end > token.begin) return true;
    return Next(token);
}

bool HtmlTokenizer::ReadMarkup(HtmlToken& token) {
    token.type = HtmlToken::Type::Markup;
    const std::size_t start = pos_;
    if (StartsWith(html_, start, "<!--")) {
        // "<!-->" and "<!--->" close at once; otherwise "-->" or "--!>" ends the comment.
        if (StartsWith(html_, start + 4, ">")) {
            pos_ = start + 5;
        } else if (StartsWith(html_, start + 4, "->")) {
            pos_ = start + 6;
        } else {
            std::size_t at = html_.find("--", start + 4);
            while (at != std::string::npos && !StartsWith(html_, at + 2, ">") &&
                   !StartsWith(html_, at + 2, "!>")) {
                at = html_.find("--", at + 1);
            }
            pos_ = at == std::string::npos ? html_.size()
                                           : at + (StartsWith(html_, at + 2, ">") ? 3 : 4);
        }
    } else if (StartsWith(html_, start, "<![CDATA[")) {
        SkipPast("]]>", start + 9);
    } else if (html_[start + 1] == '!' || html_[start + 1] == '?') {
        SkipPast(">", start + 2);
    } else if (html_[start + 1] == '/') {
        if (start + 2 < html_.size() && IsAsciiLetter(html_[start + 2])) {
            ReadTag(token, true);
        } else if (StartsWith(html_, start + 2, ">")) {
            pos_ = start + 3;
        } else {
            SkipPast(">", start + 2);
        }
    } else {
        ReadTag(token, false);
    }
    token.begin = start;
    token.end = pos_;
    return true;
}

void HtmlTokenizer::SkipPast(const char* terminator, std::size_t from) {
    const std::size_t at = from <= html_.size() ? html_.find(terminator, from) : std::string::npos;
    pos_ = at == std::string::npos ? html_.size() : at + std::strlen(terminator);
}

void HtmlTokenizer::ReadTag(HtmlToken& token, bool endTag) {
    std::size_t at = pos_ + (endTag ? 2 : 1);
    while (at < html_.size() && !IsHtmlSpace(html_[at]) && html_[at] != '/' && html_[at] != '>') {
        if (token.name.size() < kMaxNameLength) token.name += ToLower(html_[at]);
        ++at;
    }
    pos_ = at;
    if (!ReadAttributes(token)) {
        // Cut off by the end of the text: browsers drop such a tag.
        token.type = HtmlToken::Type::Markup;
        token.attributes.clear();
        return;
    }
    token.type = endTag ? HtmlToken::Type::EndTag : HtmlToken::Type::StartTag;
    if (endTag) {
        token.attributes.clear();
        return;
    }
    const HtmlElementTraits traits = ElementTraits(token.name);
    if (traits.content != HtmlContent::Markup) {
        rawElement_ = token.name;
        rawContent_ = traits.content;
    }
}

bool HtmlTokenizer::ReadAttributes(HtmlToken& token) {
    const std::size_t size = html_.size();
    std::size_t at = pos_;
    for (;;) {
        bool slash = false;
        while (at < size && (IsHtmlSpace(html_[at]) || html_[at] == '/')) {
            slash = html_[at] == '/';
            ++at;
        }
        if (at >= size) break;
        if (html_[at] == '>') {
            token.selfClosing = slash;
            pos_ = at + 1;
            return true;
        }
        HtmlAttribute attribute;
        const std::size_t nameStart = at;
        while (at < size && !IsHtmlSpace(html_[at]) && html_[at] != '/' && html_[at] != '>' &&
               (html_[at] != '=' || at == nameStart)) {
            if (attribute.name.size() < kMaxNameLength) attribute.name += ToLower(html_[at]);
            ++at;
        }
        while (at < size && IsHtmlSpace(html_[at])) ++at;
        if (at < size && html_[at] == '=') {
            ++at;
            while (at < size && IsHtmlSpace(html_[at])) ++at;
            std::size_t valueStart = at;
            std::size_t valueEnd = at;
            if (at < size && (html_[at] == '"' || html_[at] == '\'')) {
                const std::size_t close = html_.find(html_[at], at + 1);
                if (close == std::string::npos) break;
                valueStart = at + 1;
                valueEnd = close;
                at = close + 1;
            } else {
                while (at < size && !IsHtmlSpace(html_[at]) && html_[at] != '>') ++at;
                valueEnd = at;
            }
            const std::size_t length = valueEnd - valueStart;
            attribute.value = html_.substr(
                valueStart, length < kMaxAttributeLength ? length : kMaxAttributeLength);
        }
        if (token.attributes.size() < kMaxAttributes)
            token.attributes.push_back(std::move(attribute));
    }
    pos_ = size;
    return false;
}

}  // namespace vesk
