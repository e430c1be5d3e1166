// Ordering a set's files into solid blocks.
#include "builder/plan/SolidPlan.h"

#include <algorithm>
#include <tuple>

namespace vesk {
namespace {

// Groups by what a file holds: x86 code first, then everything else.
int ContentRank(const std::string& extension) {
    static const char* const kCode[] = {"EXE", "DLL", "SYS", "OCX", "DRV", "CPL", "SCR",
                                        "ACM", "AX",  "TLB", "EFI", "MUI", "COM"};
    for (const char* code : kCode) {
        if (extension == code) return 0;
    }
    return 1;
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    }
    return text;
}

struct SortKey {
    int rank;
    std::string extension, name, path;
    bool operator<(const SortKey& other) const {
        return std::tie(rank, extension, name, path) <
               std::tie(other.rank, other.extension, other.name, other.path);
    }
};

SortKey KeyOf(const std::string& target) {
    const std::string path = Upper(target);
    const std::size_t slash = path.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    return {ContentRank(extension), extension, name, path};
}

bool ActedOn(FileKind kind) {
    return kind == FileKind::Program || kind == FileKind::RegistryData ||
           kind == FileKind::Uninstaller;
}

// Appends the items `group` as blocks of about `blockSize` bytes (empty items are steps of their
// own, placed where they fall).
void AddBlocks(const std::vector<SolidItem>& items, const std::vector<std::size_t>& group,
               std::uint64_t blockSize, SolidPlan& plan) {
    std::uint64_t filled = 0;
    bool open = false;
    for (std::size_t index : group) {
        const std::size_t entry = plan.order.size();
        plan.order.push_back(index);
        if (items[index].size == 0) {
            plan.steps.push_back({false, entry, 1});
            open = false;
            filled = 0;
            continue;
        }
        if (!open || filled >= blockSize) {
            plan.steps.push_back({true, entry, 0});
            filled = 0;
            open = true;
        }
        ++plan.steps.back().count;
        filled += items[index].size;
    }
}

}  // namespace

SolidPlan PlanSolidBlocks(const std::vector<SolidItem>& items, std::uint64_t blockSize) {
    std::vector<std::size_t> leading, product, single, acted;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SolidItem& item = items[i];
        if (product.empty() && single.empty() && acted.empty() &&
            (i == 0 || item.kind == FileKind::StartUp)) {
            leading.push_back(i);
        } else if (ActedOn(item.kind)) {
            acted.push_back(i);
        } else if (item.kind == FileKind::Raw || item.size == 0) {
            single.push_back(i);
        } else {
            product.push_back(i);
        }
    }
    std::vector<SortKey> keys(items.size());
    for (std::size_t i : product) keys[i] = KeyOf(items[i].target);
    std::stable_sort(product.begin(), product.end(),
                     [&keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    SolidPlan plan;
    AddBlocks(items, leading, blockSize, plan);
    AddBlocks(items, product, blockSize, plan);
    for (std::size_t index : single) {
        plan.steps.push_back({false, plan.order.size(), 1});
        plan.order.push_back(index);
    }
    AddBlocks(items, acted, blockSize, plan);
    return plan;
}

}  // namespace vesk
