// The block rules the project reader shares between tasks and subtasks: recognising start and
// end lines and gathering the lines between them.
#pragma once

#include <cstddef>
#include <string>

namespace vesk {

// A view of consecutive lines (of a TextLineList or a part of one).
struct LineSpan {
    const std::string* data = nullptr;
    std::size_t size = 0;

    const std::string& operator[](std::size_t i) const { return data[i]; }
    LineSpan Sub(std::size_t first, std::size_t count) const { return {data + first, count}; }
};

// A start line's text before its first space, upper-cased, is upperTag ("<TASK"); a line
// without a space starts nothing.
bool IsBlockStart(const std::string& line, const char* upperTag);

// An end line is exactly upperTag ("</TASK>") once upper-cased: no spaces around it.
bool IsBlockEnd(const std::string& line, const char* upperTag);

// Calls onBlock(span) for every complete block of lines: from a start line to the next end line,
// both included. A start line inside an open block drops what was gathered and opens a new
// block; lines outside blocks are ignored; a block without its end line is dropped.
template <typename OnBlock>
void ForEachBlock(LineSpan lines, const char* upperStart, const char* upperEnd, OnBlock onBlock) {
    bool open = false;
    std::size_t first = 0;
    for (std::size_t i = 0; i < lines.size; ++i) {
        if (IsBlockStart(lines[i], upperStart)) {
            open = true;
            first = i;
        } else if (open && IsBlockEnd(lines[i], upperEnd)) {
            onBlock(lines.Sub(first, i - first + 1));
            open = false;
        }
    }
}

}  // namespace vesk
