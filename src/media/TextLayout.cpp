// Line building for the document converter; encoding happens as characters arrive, so the
// layout only ever deals with bytes of the ANSI code page.
#include "media/TextLayout.h"

#include <algorithm>

#include "media/UnicodeText.h"

namespace vesk {
namespace {

constexpr std::uint32_t kNoBreakSpace = 0xA0;
constexpr std::size_t kRuleLength = 32;
constexpr const char* kCellSeparator = " | ";

bool IsTrailingBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

TextLayout::TextLayout(const CodePointEncoder& encode) : encode_(encode) {}

void TextLayout::Character(std::uint32_t unit) {
    if (unit == '\n') {
        LineBreak();
        return;
    }
    if (unit & kRawByte) {
        StartText(true);
        out_ += char(unit & 0xFF);
        return;
    }
    if (unit == kNoBreakSpace) unit = ' ';
    if (IsInvisibleCharacter(unit) || unit == '\r') return;
    const bool visible = unit != ' ' && unit != '\t';
    if (!visible && pendingSeparator_) return;
    StartText(visible);
    if (unit < 0x80) {
        out_ += char(unit);
    } else {
        AppendEncoded(unit);
    }
}

void TextLayout::AppendEncoded(std::uint32_t codePoint) {
    std::string bytes = encode_ ? encode_(codePoint) : std::string();
    // A zero byte would end the text in the edit control, a line end would break the layout.
    const bool usable =
        !bytes.empty() && bytes.find_first_of(std::string("\0\r\n", 3)) == std::string::npos;
    out_ += usable ? bytes : AsciiFallback(codePoint);
}

void TextLayout::StartText(bool visible) {
    if (atLineStart_) {
        if (pendingBlank_ && !out_.empty()) out_ += '\n';
        pendingBlank_ = false;
        if (markerPending_) {
            out_.append(std::min(markerColumn_, kMaxIndent), ' ');
            out_ += marker_;
            markerPending_ = false;
        } else {
            out_.append(std::min(indent_, kMaxIndent), ' ');
        }
        atLineStart_ = false;
        pendingSpace_ = false;
    }
    if (visible && pendingSeparator_) {
        out_ += kCellSeparator;
        pendingSpace_ = false;
    }
    if (pendingSpace_) out_ += ' ';
    pendingSpace_ = false;
    pendingSeparator_ = false;
    lineHasText_ = lineHasText_ || visible;
}

void TextLayout::Space() {
    if (!atLineStart_) pendingSpace_ = true;
}

void TextLayout::LineBreak() {
    StartText(false);
    out_ += '\n';
    atLineStart_ = true;
    lineHasText_ = false;
    pendingSpace_ = false;
    pendingSeparator_ = false;
}

void TextLayout::Block(bool blankLine) {
    // An item's own paragraphs start on its marker's line.
    if (atLineStart_ && markerPending_) return;
    if (!atLineStart_) {
        out_ += '\n';
        atLineStart_ = true;
        lineHasText_ = false;
    }
    pendingSpace_ = false;
    pendingSeparator_ = false;
    pendingBlank_ = pendingBlank_ || blankLine;
}

void TextLayout::Rule() {
    Block(false);
    EndItem();
    StartText(true);
    out_.append(kRuleLength, '-');
    Block(false);
}

void TextLayout::SetIndent(std::size_t columns) {
    indent_ = columns;
}

void TextLayout::StartItem(std::size_t columns, const std::string& marker) {
    EndItem();
    Block(false);
    markerPending_ = true;
    markerColumn_ = columns;
    marker_ = marker;
}

void TextLayout::EndItem() {
    if (!markerPending_) return;
    StartText(true);
    Block(false);
}

void TextLayout::StartCell() {
    if (!atLineStart_ && lineHasText_) pendingSeparator_ = true;
}

std::string TextLayout::Finish() const {
    std::string text;
    text.reserve(out_.size() + out_.size() / 16);
    std::size_t blankLines = 0;
    std::size_t lineStart = 0;
    while (lineStart <= out_.size()) {
        std::size_t lineEnd = out_.find('\n', lineStart);
        if (lineEnd == std::string::npos) lineEnd = out_.size();
        std::size_t end = lineEnd;
        while (end > lineStart && IsTrailingBlank(out_[end - 1])) --end;
        if (end == lineStart) {
            ++blankLines;
        } else {
            if (!text.empty()) text += blankLines > 0 ? "\r\n\r\n" : "\r\n";
            text.append(out_, lineStart, end - lineStart);
            blankLines = 0;
        }
        lineStart = lineEnd + 1;
    }
    return text;
}

}  // namespace vesk
