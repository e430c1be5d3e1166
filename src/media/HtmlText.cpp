// HTML to text: a walk over the tokens that keeps a small stack of the elements that shape the
// layout (lists, items, quotes, tables, preformatted blocks) and closes them as forgivingly as
// browsers do.
#include "media/HtmlText.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/HtmlEntities.h"
#include "media/HtmlTokenizer.h"
#include "media/TextLayout.h"
#include "media/UnicodeText.h"

namespace vesk {
namespace {

// Deepest nesting of layout elements followed; deeper ones are laid out as their parent.
constexpr std::size_t kMaxFrames = 256;
// Extra indentation of a quotation and of a definition.
constexpr std::size_t kQuoteIndent = 4;
// List numbers stay within this range, whatever "start" and "value" say.
constexpr long long kMaxListNumber = 1000000000LL;
constexpr int kLastRomanNumber = 3999;

bool IsHtmlSpace(std::uint32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

long long ParseListNumber(const std::string* text, long long fallback) {
    if (!text) return fallback;
    const char* begin = text->c_str();
    char* end = nullptr;
    const long long value = std::strtoll(begin, &end, 10);
    if (end == begin) return fallback;
    if (value > kMaxListNumber) return kMaxListNumber;
    if (value < -kMaxListNumber) return -kMaxListNumber;
    return value;
}

std::string Letters(long long number, char first) {
    std::string letters;
    for (; number > 0; number = (number - 1) / 26) {
        letters.insert(letters.begin(), char(first + (number - 1) % 26));
    }
    return letters;
}

std::string Roman(long long number, bool upper) {
    static const struct {
        int value;
        const char* digits;
    } kNumerals[] = {{1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"},
                     {90, "xc"},  {50, "l"},   {40, "xl"}, {10, "x"},   {9, "ix"},
                     {5, "v"},    {4, "iv"},   {1, "i"}};
    std::string text;
    for (const auto& numeral : kNumerals) {
        for (; number >= numeral.value; number -= numeral.value) text += numeral.digits;
    }
    if (upper) {
        for (char& c : text) c = char(c - 'a' + 'A');
    }
    return text;
}

// "1. ", "b. ", "IV. ": the marker of item `number` in a list of `style` ('1', 'a', 'A', 'i',
// 'I'); styles that cannot write the number fall back to digits.
std::string ListMarker(long long number, char style) {
    std::string text;
    if ((style == 'a' || style == 'A') && number > 0) {
        text = Letters(number, style);
    } else if ((style == 'i' || style == 'I') && number > 0 && number <= kLastRomanNumber) {
        text = Roman(number, style == 'I');
    } else {
        text = std::to_string(number);
    }
    return text + ". ";
}

struct Frame {
    HtmlElement kind = HtmlElement::Other;
    std::size_t indent = 0;  // of the lines inside
    bool ordered = false;
    char style = '1';
    long long next = 1;
};

class HtmlTextConverter {
public:
    HtmlTextConverter(const std::string& html, bool utf8, TextLayout& layout)
        : html_(html), utf8_(utf8), layout_(layout) {}

    void Run();

private:
    void Text(const HtmlToken& token, bool skipFirstNewline);
    void Preformatted(std::uint32_t unit, const HtmlToken& token, std::size_t& pos);
    void StartTag(const HtmlToken& token);
    void EndTag(const HtmlToken& token);
    void StartItem(const HtmlToken& token);
    void StartList(const HtmlToken& token);

    void Push(Frame frame);
    // Index of the innermost frame of `kind` (or of `other`), not looking past a table; -1 when
    // there is none.
    int Find(HtmlElement kind, HtmlElement other = HtmlElement::Other) const;
    // Closes the frames above `index`, and the one at `index` too when `inclusive`.
    void PopTo(int index, bool inclusive);
    std::size_t Indent() const { return frames_.empty() ? 0 : frames_.back().indent; }
    bool InList() const;

    const std::string& html_;
    const bool utf8_;
    TextLayout& layout_;
    std::vector<Frame> frames_;
    std::size_t preformatted_ = 0;  // <pre> frames open
    // The raw content after script, style, textarea and the like belongs to this element.
    HtmlElementTraits rawOwner_;
    bool rawPending_ = false;
};

void HtmlTextConverter::Run() {
    const std::size_t start = (utf8_ && html_.compare(0, 3, "\xEF\xBB\xBF") == 0) ? 3 : 0;
    HtmlTokenizer tokenizer(html_, start);
    HtmlToken token;
    bool skipNewline = false;
    while (tokenizer.Next(token)) {
        const bool skip = skipNewline;
        skipNewline = false;
        const bool raw = rawPending_;
        rawPending_ = false;
        switch (token.type) {
            case HtmlToken::Type::Text:
                // Raw content: textarea, xmp and plaintext keep their spaces and lines; script,
                // style, title and the like never show.
                if (!raw) {
                    Text(token, skip);
                } else if (!rawOwner_.hidden) {
                    ++preformatted_;
                    Text(token, skip);
                    --preformatted_;
                }
                break;
            case HtmlToken::Type::StartTag: {
                StartTag(token);
                // As in browsers, a line break right after these start tags is not shown.
                skipNewline =
                    token.name == "pre" || token.name == "listing" || token.name == "textarea";
                break;
            }
            case HtmlToken::Type::EndTag:
                EndTag(token);
                break;
            case HtmlToken::Type::Markup:
                break;
        }
    }
    PopTo(0, true);
    layout_.EndItem();
}

void HtmlTextConverter::Text(const HtmlToken& token, bool skipFirstNewline) {
    std::size_t pos = token.begin;
    if (skipFirstNewline && preformatted_ == 0) skipFirstNewline = false;
    while (pos < token.end) {
        std::uint32_t unit = 0;
        const bool reference = html_[pos] == '&' && token.decodeReferences &&
                               ReadCharacterReference(html_, pos, token.end, unit);
        if (!reference) unit = ReadCharacter(html_, pos, utf8_);
        if (skipFirstNewline) {
            skipFirstNewline = false;
            if (unit == '\n') continue;
            if (unit == '\r') {
                if (pos < token.end && html_[pos] == '\n') ++pos;
                continue;
            }
        }
        if (preformatted_ > 0) {
            Preformatted(unit, token, pos);
        } else if (IsHtmlSpace(unit)) {
            layout_.Space();
        } else {
            layout_.Character(unit);
        }
    }
}

void HtmlTextConverter::Preformatted(std::uint32_t unit, const HtmlToken& token, std::size_t& pos) {
    if (unit == '\r') {
        if (pos < token.end && html_[pos] == '\n') ++pos;
        layout_.LineBreak();
    } else if (unit == '\n') {
        layout_.LineBreak();
    } else if (unit == '\f') {
        layout_.Character(' ');
    } else {
        layout_.Character(unit);
    }
}

void HtmlTextConverter::StartTag(const HtmlToken& token) {
    const HtmlElementTraits traits = ElementTraits(token.name);
    if (traits.content != HtmlContent::Markup) {
        rawOwner_ = traits;
        rawPending_ = true;
    }
    switch (traits.kind) {
        case HtmlElement::Br:
            layout_.LineBreak();
            return;
        case HtmlElement::Hr:
            layout_.Rule();
            return;
        case HtmlElement::Li:
            StartItem(token);
            return;
        case HtmlElement::List:
            StartList(token);
            return;
        case HtmlElement::Dl:
            layout_.Block(true);
            Push(Frame{HtmlElement::Dl, Indent()});
            return;
        case HtmlElement::Dt:
        case HtmlElement::Dd: {
            const int dd = Find(HtmlElement::Dd, HtmlElement::Dl);
            if (dd >= 0 && frames_[dd].kind == HtmlElement::Dd) PopTo(dd, true);
            layout_.Block(false);
            if (traits.kind == HtmlElement::Dd)
                Push(Frame{HtmlElement::Dd, Indent() + kQuoteIndent});
            return;
        }
        case HtmlElement::Blockquote:
            layout_.Block(true);
            Push(Frame{HtmlElement::Blockquote, Indent() + kQuoteIndent});
            return;
        case HtmlElement::Table:
            layout_.Block(false);
            Push(Frame{HtmlElement::Table, Indent()});
            return;
        case HtmlElement::Tr:
        case HtmlElement::Cell: {
            const int table = Find(HtmlElement::Table);
            if (table >= 0) PopTo(table, false);
            if (traits.kind == HtmlElement::Tr) {
                layout_.Block(false);
            } else {
                layout_.StartCell();
            }
            return;
        }
        case HtmlElement::Pre:
            layout_.Block(true);
            Push(Frame{HtmlElement::Pre, Indent()});
            return;
        case HtmlElement::Q:
            layout_.Character('"');
            return;
        case HtmlElement::Textarea:
        case HtmlElement::Other:
            if (traits.block) layout_.Block(traits.spaced);
            return;
    }
}

void HtmlTextConverter::EndTag(const HtmlToken& token) {
    const HtmlElementTraits traits = ElementTraits(token.name);
    switch (traits.kind) {
        case HtmlElement::Br:
            layout_.LineBreak();
            return;
        case HtmlElement::Li: {
            const int item = Find(HtmlElement::Li, HtmlElement::List);
            if (item >= 0 && frames_[item].kind == HtmlElement::Li) PopTo(item, true);
            layout_.EndItem();
            layout_.Block(false);
            return;
        }
        case HtmlElement::List:
        case HtmlElement::Dl:
        case HtmlElement::Dd:
        case HtmlElement::Blockquote:
        case HtmlElement::Table:
        case HtmlElement::Pre: {
            const int frame = Find(traits.kind);
            if (frame >= 0) PopTo(frame, true);
            layout_.EndItem();
            const bool nestedList = traits.kind == HtmlElement::List && InList();
            layout_.Block(traits.spaced && !nestedList);
            return;
        }
        case HtmlElement::Q:
            layout_.Character('"');
            return;
        case HtmlElement::Hr:
        case HtmlElement::Dt:
        case HtmlElement::Tr:
        case HtmlElement::Cell:
        case HtmlElement::Textarea:
        case HtmlElement::Other:
            if (traits.block) layout_.Block(traits.spaced);
            return;
    }
}

void HtmlTextConverter::StartList(const HtmlToken& token) {
    layout_.Block(!InList());
    Frame list{HtmlElement::List, Indent()};
    list.ordered = token.name == "ol";
    if (list.ordered) {
        const std::string* type = token.Attribute("type");
        if (type && type->size() == 1 &&
            std::string("1aAiI").find((*type)[0]) != std::string::npos) {
            list.style = (*type)[0];
        }
        list.next = ParseListNumber(token.Attribute("start"), 1);
    }
    Push(list);
}

void HtmlTextConverter::StartItem(const HtmlToken& token) {
    const int previous = Find(HtmlElement::Li, HtmlElement::List);
    if (previous >= 0 && frames_[previous].kind == HtmlElement::Li) PopTo(previous, true);
    const int listIndex = Find(HtmlElement::List);
    std::string marker = "- ";
    if (listIndex >= 0 && frames_[listIndex].ordered) {
        Frame& list = frames_[listIndex];
        list.next = ParseListNumber(token.Attribute("value"), list.next);
        marker = ListMarker(list.next, list.style);
        if (list.next < kMaxListNumber) ++list.next;
    }
    const std::size_t column = Indent();
    layout_.StartItem(column, marker);
    Push(Frame{HtmlElement::Li, column + marker.size()});
}

void HtmlTextConverter::Push(Frame frame) {
    if (frames_.size() >= kMaxFrames) return;
    if (frame.kind == HtmlElement::Pre) ++preformatted_;
    frames_.push_back(frame);
    layout_.SetIndent(Indent());
}

int HtmlTextConverter::Find(HtmlElement kind, HtmlElement other) const {
    for (std::size_t i = frames_.size(); i-- > 0;) {
        const HtmlElement found = frames_[i].kind;
        if (found == kind || (other != HtmlElement::Other && found == other)) return int(i);
        if (found == HtmlElement::Table && kind != HtmlElement::Table) return -1;
    }
    return -1;
}

void HtmlTextConverter::PopTo(int index, bool inclusive) {
    const std::size_t keep = std::size_t(index) + (inclusive ? 0 : 1);
    while (frames_.size() > keep) {
        if (frames_.back().kind == HtmlElement::Pre) --preformatted_;
        if (frames_.back().kind == HtmlElement::Li) layout_.EndItem();
        frames_.pop_back();
    }
    layout_.SetIndent(Indent());
}

bool HtmlTextConverter::InList() const {
    for (const Frame& frame : frames_) {
        if (frame.kind == HtmlElement::List) return true;
    }
    return false;
}

}  // namespace

std::string HtmlToText(const std::string& html, const CodePointEncoder& encode, bool utf8) {
    TextLayout layout(encode);
    HtmlTextConverter(html, utf8, layout).Run();
    return layout.Finish();
}

}  // namespace vesk
