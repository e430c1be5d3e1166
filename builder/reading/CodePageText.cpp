// UTF-8 and GB2312 through the generated table.
#include "builder/reading/CodePageText.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "builder/reading/Gb2312Table.h"
#include "platform/Utf8.h"

namespace vesk {
namespace {

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// Code point -> cell, sorted by code point; the first cell wins when two share one.
const std::vector<std::pair<std::uint16_t, std::uint16_t>>& ReverseTable() {
    static const std::vector<std::pair<std::uint16_t, std::uint16_t>> table = [] {
        std::vector<std::pair<std::uint16_t, std::uint16_t>> pairs;
        for (unsigned cell = 0; cell < kGb2312CellCount; ++cell) {
            if (kGb2312Cells[cell]) pairs.emplace_back(kGb2312Cells[cell], std::uint16_t(cell));
        }
        std::stable_sort(pairs.begin(), pairs.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        return pairs;
    }();
    return table;
}

// The cell of a two-byte sequence, or -1 when the bytes name no assigned cell.
int CellOf(unsigned char lead, unsigned char trail) {
    if (lead < kGb2312FirstByte || lead > kGb2312LastLead || trail < kGb2312FirstByte ||
        trail > kGb2312LastTrail) {
        return -1;
    }
    int cell = int((lead - kGb2312FirstByte) * kGb2312RowLength + (trail - kGb2312FirstByte));
    return kGb2312Cells[cell] ? cell : -1;
}

}  // namespace

bool CheckGb2312(const std::string& text, std::string& why) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x80) continue;
        if (at + 1 < text.size() && CellOf(lead, static_cast<unsigned char>(text[at + 1])) >= 0) {
            ++at;
            continue;
        }
        why = "byte " + std::to_string(at + 1) + " (0x" + Hex(lead, 2) +
              ") starts no GB2312 character, and the text is no UTF-8 either";
        return false;
    }
    return true;
}

bool Utf8ToGb2312(const std::string& utf8, std::string& gb2312, std::string& why) {
    const auto& table = ReverseTable();
    std::string out;
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::size_t start = at;
        char32_t point;
        if (!NextUtf8CodePoint(utf8, at, point)) {
            why = "byte " + std::to_string(start + 1) + " is not UTF-8";
            return false;
        }
        if (point < 0x80) {
            out += char(point);
            continue;
        }
        auto found = std::lower_bound(table.begin(), table.end(), point,
                                      [](const std::pair<std::uint16_t, std::uint16_t>& entry,
                                         std::uint32_t key) { return entry.first < key; });
        if (found == table.end() || found->first != point) {
            why = "\"" + utf8.substr(start, at - start) + "\" (U+" + Hex(point, 4) +
                  ") has no code in GB2312, the code page the setup reads its texts in";
            return false;
        }
        out += char(kGb2312FirstByte + found->second / kGb2312RowLength);
        out += char(kGb2312FirstByte + found->second % kGb2312RowLength);
    }
    gb2312 = std::move(out);
    return true;
}

std::string Gb2312ToUtf8(const std::string& gb2312) {
    std::string out;
    for (std::size_t at = 0; at < gb2312.size(); ++at) {
        const unsigned char lead = static_cast<unsigned char>(gb2312[at]);
        int cell =
            at + 1 < gb2312.size() ? CellOf(lead, static_cast<unsigned char>(gb2312[at + 1])) : -1;
        if (lead >= 0x80 && cell >= 0) {
            AppendUtf8(out, kGb2312Cells[cell]);
            ++at;
        } else {
            out += char(lead);
        }
    }
    return out;
}

bool ToProjectText(const std::string& text, std::string& out, std::string& why) {
    if (IsUtf8(text)) {
        out = text;
        return true;
    }
    if (!CheckGb2312(text, why)) return false;
    out = Gb2312ToUtf8(text);
    return true;
}

}  // namespace vesk
