// The order and the blocks of a set whose bodies are LZMA-SOLID.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "container/FileKind.h"

namespace vesk {

struct SolidItem {
    std::string target;  // the entry's path, tokens and all
    FileKind kind = FileKind::Ordinary;
    std::uint64_t size = 0;
};

// One step of writing, over the reordered entries: a block of `count` entries from `first`, or a
// single entry written as a body of its own (a raw file, or an empty one).
struct SolidStep {
    bool block = false;
    std::size_t first = 0;
    std::size_t count = 1;
};

struct SolidPlan {
    std::vector<std::size_t> order;  // order[k]: the item that becomes entry k
    std::vector<SolidStep> steps;    // over the reordered entries, in stream order
};

// The language file and the start-up files (the items before the first other one) keep their
// places, in a block of their own: the engine unpacks them first. The product's files follow,
// like with like for the compressor: programs and libraries, then other files, each group by
// extension, then name, then path. Raw and empty files come after them; the files the install
// acts on (programs run, registry data, the uninstaller) come last, in their planned order, so
// that everything else is in place when they are used. A block is closed once it holds
// `blockSize` bytes or more.
SolidPlan PlanSolidBlocks(const std::vector<SolidItem>& items, std::uint64_t blockSize);

}  // namespace vesk
