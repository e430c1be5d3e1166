// The GB2312 code table, generated at build time (GenerateGb2312Table.cmake).
#pragma once

#include <cstdint>

namespace vesk {

// Cells are numbered row by row: (lead - kGb2312FirstByte) * kGb2312RowLength +
// (trail - kGb2312FirstByte).
constexpr unsigned kGb2312FirstByte = 0xA1;
constexpr unsigned kGb2312LastLead = 0xF7;
constexpr unsigned kGb2312LastTrail = 0xFE;
constexpr unsigned kGb2312RowLength = kGb2312LastTrail - kGb2312FirstByte + 1;
constexpr unsigned kGb2312CellCount = (kGb2312LastLead - kGb2312FirstByte + 1) * kGb2312RowLength;

// The Unicode code point of each cell as Windows reads it (code page 936); 0: an empty cell.
extern const std::uint16_t kGb2312Cells[kGb2312CellCount];

}  // namespace vesk
