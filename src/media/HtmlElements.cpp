// The element table of the text converter, sorted by name for binary search.
#include "media/HtmlElements.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vesk {
namespace {

enum Flags : unsigned {
    kInline = 0,
    kBlock = 1,
    kSpaced = 2 | kBlock,
    kHidden = 4,
    kRaw = 8,
    kRcdata = 16,
    kToEnd = 32,
};

// Names held in the rows themselves ("blockquote", "figcaption" are the longest): no pointer per
// row, so no relocation either.
struct Row {
    char name[11];
    unsigned char flags;
    HtmlElement kind;
};

constexpr HtmlElement kOther = HtmlElement::Other;

// Sorted by name.
constexpr Row kElements[] = {
    {"a", kInline, kOther},
    {"abbr", kInline, kOther},
    {"acronym", kInline, kOther},
    {"address", kBlock, kOther},
    {"applet", kInline, kOther},
    {"area", kInline, kOther},
    {"article", kBlock, kOther},
    {"aside", kBlock, kOther},
    {"audio", kInline, kOther},
    {"b", kInline, kOther},
    {"base", kInline, kOther},
    {"basefont", kInline, kOther},
    {"bdi", kInline, kOther},
    {"bdo", kInline, kOther},
    {"bgsound", kInline, kOther},
    {"big", kInline, kOther},
    {"blink", kInline, kOther},
    {"blockquote", kSpaced, HtmlElement::Blockquote},
    {"body", kBlock, kOther},
    {"br", kInline, HtmlElement::Br},
    {"button", kInline, kOther},
    {"canvas", kInline, kOther},
    {"caption", kBlock, kOther},
    {"center", kBlock, kOther},
    {"cite", kInline, kOther},
    {"code", kInline, kOther},
    {"col", kInline, kOther},
    {"colgroup", kInline, kOther},
    {"data", kInline, kOther},
    {"datalist", kInline, kOther},
    {"dd", kBlock, HtmlElement::Dd},
    {"del", kInline, kOther},
    {"details", kBlock, kOther},
    {"dfn", kInline, kOther},
    {"dialog", kBlock, kOther},
    {"dir", kSpaced, HtmlElement::List},
    {"div", kBlock, kOther},
    {"dl", kSpaced, HtmlElement::Dl},
    {"dt", kBlock, HtmlElement::Dt},
    {"em", kInline, kOther},
    {"embed", kInline, kOther},
    {"fieldset", kBlock, kOther},
    {"figcaption", kBlock, kOther},
    {"figure", kSpaced, kOther},
    {"font", kInline, kOther},
    {"footer", kBlock, kOther},
    {"form", kBlock, kOther},
    {"frame", kInline, kOther},
    {"frameset", kBlock, kOther},
    {"h1", kSpaced, kOther},
    {"h2", kSpaced, kOther},
    {"h3", kSpaced, kOther},
    {"h4", kSpaced, kOther},
    {"h5", kSpaced, kOther},
    {"h6", kSpaced, kOther},
    {"head", kInline, kOther},
    {"header", kBlock, kOther},
    {"hgroup", kBlock, kOther},
    {"hr", kBlock, HtmlElement::Hr},
    {"html", kInline, kOther},
    {"i", kInline, kOther},
    {"iframe", kHidden | kRaw, kOther},
    {"img", kInline, kOther},
    {"input", kInline, kOther},
    {"ins", kInline, kOther},
    {"kbd", kInline, kOther},
    {"label", kInline, kOther},
    {"legend", kBlock, kOther},
    {"li", kBlock, HtmlElement::Li},
    {"link", kInline, kOther},
    {"listing", kSpaced, HtmlElement::Pre},
    {"main", kBlock, kOther},
    {"map", kInline, kOther},
    {"mark", kInline, kOther},
    {"marquee", kBlock, kOther},
    {"menu", kSpaced, HtmlElement::List},
    {"meta", kInline, kOther},
    {"meter", kInline, kOther},
    {"nav", kBlock, kOther},
    {"nobr", kInline, kOther},
    {"noembed", kHidden | kRaw, kOther},
    {"noframes", kHidden | kRaw, kOther},
    {"noscript", kHidden | kRaw, kOther},
    {"object", kInline, kOther},
    {"ol", kSpaced, HtmlElement::List},
    {"optgroup", kBlock, kOther},
    {"option", kBlock, kOther},
    {"output", kInline, kOther},
    {"p", kSpaced, kOther},
    {"param", kInline, kOther},
    {"picture", kInline, kOther},
    {"plaintext", kSpaced | kRaw | kToEnd, HtmlElement::Pre},
    {"pre", kSpaced, HtmlElement::Pre},
    {"progress", kInline, kOther},
    {"q", kInline, HtmlElement::Q},
    {"rp", kInline, kOther},
    {"rt", kInline, kOther},
    {"ruby", kInline, kOther},
    {"s", kInline, kOther},
    {"samp", kInline, kOther},
    {"script", kHidden | kRaw, kOther},
    {"search", kBlock, kOther},
    {"section", kBlock, kOther},
    {"select", kInline, kOther},
    {"small", kInline, kOther},
    {"source", kInline, kOther},
    {"span", kInline, kOther},
    {"strike", kInline, kOther},
    {"strong", kInline, kOther},
    {"style", kHidden | kRaw, kOther},
    {"sub", kInline, kOther},
    {"summary", kBlock, kOther},
    {"sup", kInline, kOther},
    {"svg", kInline, kOther},
    {"table", kBlock, HtmlElement::Table},
    {"tbody", kInline, kOther},
    {"td", kInline, HtmlElement::Cell},
    {"template", kHidden | kRaw, kOther},
    {"textarea", kBlock | kRcdata, HtmlElement::Textarea},
    {"tfoot", kInline, kOther},
    {"th", kInline, HtmlElement::Cell},
    {"thead", kInline, kOther},
    {"time", kInline, kOther},
    {"title", kHidden | kRcdata, kOther},
    {"tr", kBlock, HtmlElement::Tr},
    {"track", kInline, kOther},
    {"tt", kInline, kOther},
    {"u", kInline, kOther},
    {"ul", kSpaced, HtmlElement::List},
    {"var", kInline, kOther},
    {"video", kInline, kOther},
    {"wbr", kInline, kOther},
    {"xmp", kSpaced | kRaw, HtmlElement::Pre},
};

}  // namespace

HtmlElementTraits ElementTraits(const std::string& name) {
    const auto found = std::lower_bound(std::begin(kElements), std::end(kElements), name,
                                        [](const Row& row, const std::string& key) {
                                            return std::strcmp(row.name, key.c_str()) < 0;
                                        });
    HtmlElementTraits traits;
    if (found == std::end(kElements) || name != found->name) return traits;
    traits.known = true;
    traits.kind = found->kind;
    traits.block = (found->flags & kBlock) != 0;
    traits.spaced = (found->flags & kSpaced) == kSpaced;
    traits.hidden = (found->flags & kHidden) != 0;
    if (found->flags & kToEnd) {
        traits.content = HtmlContent::PlainText;
    } else if (found->flags & kRaw) {
        traits.content = HtmlContent::RawText;
    } else if (found->flags & kRcdata) {
        traits.content = HtmlContent::Rcdata;
    }
    return traits;
}

}  // namespace vesk
