// Lays out converted text as an edit control shows it: lines with indentation and list markers,
// collapsed spaces, blank lines between blocks, characters in the ANSI code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/AnsiText.h"

namespace vesk {

class TextLayout {
public:
    // Deepest indentation written; deeper nesting stays at this column.
    static constexpr std::size_t kMaxIndent = 24;

    // `encode` must outlive the layout.
    explicit TextLayout(const CodePointEncoder& encode);

    // A character to show: a code point (encoded, or its ASCII stand-in when the code page
    // lacks it; no-break spaces become spaces that never collapse; invisible characters are
    // dropped) or kRawByte | byte, copied as it is. '\t' is kept; '\n' breaks the line.
    void Character(std::uint32_t unit);
    // Collapsible white space: one space between words, none at the start or end of a line.
    void Space();
    // Ends the line; a second break in a row leaves an empty line (<br>).
    void LineBreak();
    // Ends the line unless it is empty; with `blankLine`, the next text comes after a blank line.
    void Block(bool blankLine);
    // A line of dashes of its own (<hr>).
    void Rule();

    // Indentation of the lines started from now on, in spaces.
    void SetIndent(std::size_t columns);
    // A list item starts: its marker is written at `columns` on the item's first line. A
    // marker still waiting from an item without text gets a line of its own first.
    void StartItem(std::size_t columns, const std::string& marker);
    // The item ended: its marker is written even when no text followed.
    void EndItem();
    // A table cell starts: cells with text on one line are set apart by " | ".
    void StartCell();

    // The text laid out so far: CR LF line ends, no trailing spaces, at most one blank line in a
    // row, none at the start or end.
    std::string Finish() const;

private:
    void StartText(bool visible);
    void AppendEncoded(std::uint32_t codePoint);

    const CodePointEncoder& encode_;
    std::string out_;  // lines separated by '\n'; cleaned up by Finish
    bool atLineStart_ = true;
    bool pendingSpace_ = false;
    bool pendingBlank_ = false;
    bool pendingSeparator_ = false;
    bool lineHasText_ = false;  // something visible on the current line
    std::size_t indent_ = 0;
    bool markerPending_ = false;
    std::size_t markerColumn_ = 0;
    std::string marker_;
};

}  // namespace vesk
