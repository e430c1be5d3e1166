// Reading and writing the resource directory: type, name and language tables, data entries.
#include "builder/pe/ResourceTree.h"

#include <algorithm>
#include <map>

#include "platform/LittleEndian.h"

namespace vesk {
namespace {

constexpr std::size_t kTableHeader = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDataAlignment = 8;

std::u16string UpperName(const std::u16string& name) {
    std::u16string upper = name;
    for (char16_t& c : upper) {
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    }
    return upper;
}

// Windows looks entries up by binary search in this order.
bool Before(const ResourceId& a, const ResourceId& b) {
    if (a.isName != b.isName) return a.isName;
    return a.isName ? UpperName(a.name) < UpperName(b.name) : a.number < b.number;
}

}  // namespace

bool ResourceTree::Fail(std::string message) {
    error_ = "resource directory: " + std::move(message);
    return false;
}

bool ResourceTree::ReadId(const std::string& directory, std::uint32_t field, ResourceId& id) {
    if (!(field & kHighBit)) {
        id = ResourceId::Number(std::uint16_t(field));
        return field <= 0xFFFF || Fail("a number name above 65535");
    }
    std::size_t at = field & ~kHighBit;
    if (at + 2 > directory.size()) return Fail("a name lies outside the section");
    std::size_t length = Get16(directory, at);
    if (at + 2 + 2 * length > directory.size()) return Fail("a name lies outside the section");
    id.isName = true;
    id.name.clear();
    for (std::size_t i = 0; i < length; ++i) id.name += char16_t(Get16(directory, at + 2 + 2 * i));
    return true;
}

bool ResourceTree::Parse(const std::string& directory, std::uint32_t rva) {
    resources_.clear();
    error_.clear();
    // Each level: the table at `at` lists entries; the third level's point at data entries.
    struct Level {
        std::size_t table;
        ResourceId type, name;
        int depth;
    };
    std::vector<Level> pending = {{0, {}, {}, 0}};
    // A directory whose tables share entries, names or data could name far more than its bytes
    // hold.
    std::size_t entries = 0, dataBytes = 0, nameBytes = 0;
    while (!pending.empty()) {
        Level level = pending.back();
        pending.pop_back();
        if (level.table + kTableHeader > directory.size())
            return Fail("a table lies outside the section");
        std::size_t count =
            std::size_t(Get16(directory, level.table + 12)) + Get16(directory, level.table + 14);
        std::size_t first = level.table + kTableHeader;
        if (first + count * kEntrySize > directory.size()) return Fail("a table is cut short");
        entries += count;
        if (entries > directory.size() / kEntrySize) return Fail("tables that share entries");
        std::vector<Level> below;
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t entry = first + i * kEntrySize;
            ResourceId id;
            if (!ReadId(directory, Get32(directory, entry), id)) return false;
            nameBytes += 2 * id.name.size();
            if (nameBytes > directory.size()) return Fail("entries that share their names");
            std::uint32_t target = Get32(directory, entry + 4);
            bool isTable = (target & kHighBit) != 0;
            if (isTable != (level.depth < 2)) return Fail("the directory is not three levels deep");
            if (isTable) {
                Level next{target & ~kHighBit, level.type, level.name, level.depth + 1};
                (level.depth == 0 ? next.type : next.name) = id;
                below.push_back(next);
                continue;
            }
            if (target + kDataEntrySize > directory.size())
                return Fail("a data entry lies outside the section");
            std::uint32_t dataRva = Get32(directory, target);
            std::uint32_t size = Get32(directory, target + 4);
            if (dataRva < rva || std::uint64_t(dataRva - rva) + size > directory.size()) {
                return Fail("resource data lies outside the section");
            }
            dataBytes += size;
            if (dataBytes > directory.size()) return Fail("resources that share their data");
            Resource resource;
            resource.type = level.type;
            resource.name = level.name;
            resource.language = std::uint16_t(id.number);
            resource.codePage = Get32(directory, target + 8);
            resource.data = directory.substr(dataRva - rva, size);
            resources_.push_back(std::move(resource));
        }
        // Depth first, in table order.
        pending.insert(pending.end(), below.rbegin(), below.rend());
    }
    return true;
}

void ResourceTree::Set(Resource resource) {
    for (Resource& known : resources_) {
        if (known.type == resource.type && known.name == resource.name &&
            known.language == resource.language) {
            known = std::move(resource);
            return;
        }
    }
    resources_.push_back(std::move(resource));
}

void ResourceTree::Remove(const ResourceId& type, const ResourceId& name) {
    resources_.erase(
        std::remove_if(resources_.begin(), resources_.end(),
                       [&](const Resource& r) { return r.type == type && r.name == name; }),
        resources_.end());
}

std::uint16_t ResourceTree::HighestNumber(const ResourceId& type) const {
    std::uint16_t highest = 0;
    for (const Resource& r : resources_) {
        if (r.type == type && !r.name.isName) highest = std::max(highest, r.name.number);
    }
    return highest;
}

std::string ResourceTree::Build(std::uint32_t rva) const {
    // Sort into the tree: type -> name -> language -> resource index.
    std::vector<std::size_t> order(resources_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const Resource& a = resources_[x];
        const Resource& b = resources_[y];
        if (!(a.type == b.type)) return Before(a.type, b.type);
        if (!(a.name == b.name)) return Before(a.name, b.name);
        return a.language < b.language;
    });
    struct Table {
        std::vector<std::pair<ResourceId, std::size_t>> entries;  // id, child table or resource
        std::size_t offset = 0;
    };
    std::vector<Table> tables(1);  // 0: types; then each type's names; then each name's languages
    std::vector<Table> languageTables;
    std::size_t typeTable = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Resource& r = resources_[order[k]];
        bool newType = k == 0 || !(resources_[order[k - 1]].type == r.type);
        bool newName = newType || !(resources_[order[k - 1]].name == r.name);
        if (newType) {
            tables.emplace_back();
            typeTable = tables.size() - 1;
            tables[0].entries.emplace_back(r.type, typeTable);
        }
        if (newName) {
            languageTables.emplace_back();
            tables[typeTable].entries.emplace_back(r.name, languageTables.size() - 1);
        }
        languageTables.back().entries.emplace_back(ResourceId::Number(r.language), k);
    }
    auto tableSize = [](const Table& t) { return kTableHeader + t.entries.size() * kEntrySize; };
    std::size_t at = 0;
    for (Table& t : tables) t.offset = at, at += tableSize(t);
    for (Table& t : languageTables) t.offset = at, at += tableSize(t);
    const std::size_t dataEntries = at;
    at += order.size() * kDataEntrySize;
    // Strings for the names, each once.
    std::map<std::u16string, std::size_t> strings;
    std::string stringBytes;
    auto collect = [&](const ResourceId& id) {
        if (!id.isName || strings.count(id.name)) return;
        strings[id.name] = at + stringBytes.size();
        Append16(stringBytes, std::uint32_t(id.name.size()));
        for (char16_t c : id.name) Append16(stringBytes, c);
    };
    for (const Table& t : tables) {
        for (const auto& entry : t.entries) collect(entry.first);
    }
    at += stringBytes.size();

    std::string out;
    auto writeTable = [&](const Table& t, bool leaves, const std::vector<Table>* children) {
        std::size_t named = 0;
        for (const auto& entry : t.entries) named += entry.first.isName;
        out.append(12, '\0');
        Append16(out, std::uint32_t(named));
        Append16(out, std::uint32_t(t.entries.size() - named));
        for (const auto& [id, child] : t.entries) {
            Append32(out, id.isName ? kHighBit | std::uint32_t(strings[id.name]) : id.number);
            if (leaves) {
                Append32(out, std::uint32_t(dataEntries + child * kDataEntrySize));
            } else {
                Append32(out, kHighBit | std::uint32_t((*children)[child].offset));
            }
        }
    };
    writeTable(tables[0], false, &tables);
    for (std::size_t i = 1; i < tables.size(); ++i) writeTable(tables[i], false, &languageTables);
    for (const Table& t : languageTables) writeTable(t, true, nullptr);
    std::size_t dataAt = (at + kDataAlignment - 1) & ~(kDataAlignment - 1);
    std::string data;
    for (std::size_t index : order) {
        const Resource& r = resources_[index];
        Append32(out, std::uint32_t(rva + dataAt + data.size()));
        Append32(out, std::uint32_t(r.data.size()));
        Append32(out, r.codePage);
        Append32(out, 0);
        data += r.data;
        data.append((kDataAlignment - data.size() % kDataAlignment) % kDataAlignment, '\0');
    }
    out += stringBytes;
    out.resize(dataAt, '\0');
    return out + data;
}

}  // namespace vesk
