// Test-side PE reading and a brandable stub image.
#include "support/PeProbe.h"

#include <functional>

namespace vesk::test {
namespace {

std::uint32_t U16(const std::string& b, std::size_t at) {
    if (at + 2 > b.size()) return 0;
    return std::uint32_t(static_cast<unsigned char>(b[at])) |
           std::uint32_t(static_cast<unsigned char>(b[at + 1])) << 8;
}

std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

void Put(std::string& b, std::size_t at, std::uint32_t value, int bytes) {
    if (b.size() < at + std::size_t(bytes)) b.resize(at + std::size_t(bytes), '\0');
    for (int i = 0; i < bytes; ++i) b[at + std::size_t(i)] = char(value >> (8 * i) & 0xFF);
}

std::uint32_t Checksum(const std::string& file, std::size_t field) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < file.size(); i += 2) {
        std::uint32_t word =
            i + 1 < file.size() ? U16(file, i) : static_cast<unsigned char>(file[i]);
        if (i >= field && i < field + 4) word = 0;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return std::uint32_t(sum + file.size());
}

}  // namespace

const ProbedResource* ProbedImage::Find(std::uint16_t type, std::uint16_t name) const {
    for (const ProbedResource& r : resources) {
        if (r.type == type && r.name == name) return &r;
    }
    return nullptr;
}

ProbedImage ProbePe(const std::string& file) {
    ProbedImage image;
    auto fail = [&](const std::string& why) {
        image.problem = why;
        return image;
    };
    if (file.size() < 64 || file.compare(0, 2, "MZ") != 0) return fail("no MZ");
    std::size_t pe = U32(file, 60);
    if (file.compare(pe, 4, std::string("PE\0\0", 4)) != 0) return fail("no PE");
    std::size_t sections = U16(file, pe + 6), optionalSize = U16(file, pe + 20);
    image.timeStamp = U32(file, pe + 8);
    std::size_t opt = pe + 24;
    if (U16(file, opt) != 0x10B) return fail("not PE32");
    std::uint32_t sectionAlign = U32(file, opt + 32), fileAlign = U32(file, opt + 36);
    image.osVersion = {std::uint16_t(U16(file, opt + 40)), std::uint16_t(U16(file, opt + 42))};
    image.subsystemVersion = {std::uint16_t(U16(file, opt + 48)),
                              std::uint16_t(U16(file, opt + 50))};
    image.sizeOfImage = U32(file, opt + 56);
    image.checksum = U32(file, opt + 64);
    image.computedChecksum = Checksum(file, opt + 64);
    std::uint32_t importRva = U32(file, opt + 96 + 8);
    std::uint32_t resourceRva = U32(file, opt + 96 + 16), resourceSize = U32(file, opt + 96 + 20);
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < sections; ++i) {
        std::size_t h = opt + optionalSize + 40 * i;
        ProbedSection s;
        s.name = file.substr(h, 8).c_str();
        s.virtualSize = U32(file, h + 8);
        s.rva = U32(file, h + 12);
        s.rawSize = U32(file, h + 16);
        s.rawOffset = U32(file, h + 20);
        if (s.rva % sectionAlign != 0 || s.rva < end)
            return fail(s.name + " overlaps or is unaligned");
        if (s.rawOffset % fileAlign != 0 || s.rawSize % fileAlign != 0)
            return fail(s.name + " raw unaligned");
        if (std::size_t(s.rawOffset) + s.rawSize > file.size())
            return fail(s.name + " beyond the file");
        std::uint32_t span = s.virtualSize ? s.virtualSize : s.rawSize;
        end = (s.rva + span + sectionAlign - 1) / sectionAlign * sectionAlign;
        image.sections.push_back(s);
    }
    if (image.sizeOfImage != end)
        return fail("SizeOfImage " + std::to_string(image.sizeOfImage) +
                    " != " + std::to_string(end));
    // The import directory: 20-byte descriptors up to an empty one, each naming its library.
    auto fileOffset = [&](std::uint32_t rva) -> std::size_t {
        for (const ProbedSection& s : image.sections) {
            if (rva >= s.rva && rva < s.rva + s.rawSize) return s.rawOffset + (rva - s.rva);
        }
        return file.size();
    };
    for (std::size_t d = fileOffset(importRva); importRva != 0 && d + 20 <= file.size(); d += 20) {
        const std::size_t name = fileOffset(U32(file, d + 12));
        if (U32(file, d + 12) == 0 || name >= file.size()) break;
        image.imports.push_back(file.substr(name, file.find('\0', name) - name));
    }
    // The resource directory, through the section that maps it.
    const ProbedSection* holder = nullptr;
    for (const ProbedSection& s : image.sections) {
        if (resourceRva >= s.rva && resourceRva + resourceSize <= s.rva + s.rawSize) holder = &s;
    }
    if (resourceRva == 0) return image;
    if (!holder) return fail("resource directory outside every section");
    auto at = [&](std::uint32_t rva) {
        return std::size_t(holder->rawOffset + (rva - holder->rva));
    };
    std::size_t root = at(resourceRva);
    std::function<void(std::size_t, int, ProbedResource)> walk = [&](std::size_t table, int depth,
                                                                     ProbedResource r) {
        std::size_t count = U16(file, table + 12) + U16(file, table + 14);
        for (std::size_t i = 0; i < count; ++i) {
            std::uint32_t id = U32(file, table + 16 + 8 * i),
                          target = U32(file, table + 20 + 8 * i);
            if (id & 0x80000000u) continue;  // named: not used here
            (depth == 0 ? r.type : depth == 1 ? r.name : r.language) = std::uint16_t(id);
            if (target & 0x80000000u) {
                walk(root + (target & 0x7FFFFFFF), depth + 1, r);
            } else {
                std::size_t entry = root + target;
                r.data = file.substr(at(U32(file, entry)), U32(file, entry + 4));
                image.resources.push_back(r);
            }
        }
    };
    walk(root, 0, ProbedResource());
    return image;
}

std::map<std::string, std::u16string> VersionStrings(const std::string& block,
                                                     std::array<std::uint16_t, 4>& fileVersion) {
    std::map<std::string, std::u16string> strings;
    auto align = [](std::size_t at) { return (at + 3) & ~std::size_t(3); };
    // A node: length, value length, type (0 binary, 1 text), key (UTF-16, 0-ended), value, and
    // its children, each on a 32-bit boundary. Depth 3 nodes are the strings of a table.
    std::function<void(std::size_t, std::size_t, int)> node = [&](std::size_t start,
                                                                  std::size_t limit, int depth) {
        std::size_t end = std::min(start + U16(block, start), limit);
        std::size_t valueLength = U16(block, start + 2), type = U16(block, start + 4);
        std::string key;
        std::size_t at = start + 6;
        for (; at + 1 < end && U16(block, at) != 0; at += 2) key += char(U16(block, at));
        at = align(at + 2);
        if (depth == 0 && U32(block, at) == 0xFEEF04BD) {
            std::uint32_t ms = U32(block, at + 8), ls = U32(block, at + 12);
            fileVersion = {std::uint16_t(ms >> 16), std::uint16_t(ms), std::uint16_t(ls >> 16),
                           std::uint16_t(ls)};
        }
        if (depth == 3) {
            std::u16string value;
            for (std::size_t i = 0; i + 1 < valueLength; ++i)
                value += char16_t(U16(block, at + 2 * i));
            strings[key] = value;
            return;
        }
        for (at = align(at + (type == 0 ? valueLength : 2 * valueLength)); at + 6 <= end;
             at = align(at + U16(block, at))) {
            if (U16(block, at) == 0) break;
            node(at, end, depth + 1);
        }
    };
    if (block.size() >= 6) node(0, block.size(), 0);
    return strings;
}

std::string MakeTestStub(bool withResources, bool resourcesLast) {
    const std::uint32_t kFileAlign = 0x200, kSectionAlign = 0x1000;
    std::string file(0x400, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    Put(file, 60, 0x80, 4);
    file.replace(0x80, 4, std::string("PE\0\0", 4));
    const std::size_t pe = 0x80, opt = pe + 24;
    Put(file, pe + 4, 0x14C, 2);  // i386
    Put(file, pe + 8, 0x5EADBEEF, 4);
    Put(file, pe + 20, 224, 2);
    Put(file, opt, 0x10B, 2);
    Put(file, opt + 32, kSectionAlign, 4);
    Put(file, opt + 36, kFileAlign, 4);
    Put(file, opt + 60, 0x400, 4);
    Put(file, opt + 92, 16, 4);

    // The stub's own resources: type 3 (icon 1), 5 (dialog 100), 14 (group 128), language 0.
    std::string icon(40, '\x11'), dialog(30, '\x22'), group(20, '\x33');
    Put(icon, 0, 40, 4);
    struct Own {
        std::uint16_t type, name;
        const std::string* data;
    };
    const Own own[] = {{3, 1, &icon}, {5, 100, &dialog}, {14, 128, &group}};
    auto resourceSection = [&](std::uint32_t rva) {
        // root (3 entries), 3 name tables (1 entry), 3 language tables (1 entry), 3 data entries.
        std::string dir(16 + 3 * 8 + 6 * (16 + 8) + 3 * 16, '\0');
        Put(dir, 14, 3, 2);
        std::size_t names = 16 + 3 * 8, languages = names + 3 * 24, entries = languages + 3 * 24;
        std::string data;
        for (std::size_t i = 0; i < 3; ++i) {
            Put(dir, 16 + 8 * i, own[i].type, 4);
            Put(dir, 20 + 8 * i, 0x80000000u | std::uint32_t(names + 24 * i), 4);
            Put(dir, names + 24 * i + 14, 1, 2);
            Put(dir, names + 24 * i + 16, own[i].name, 4);
            Put(dir, names + 24 * i + 20, 0x80000000u | std::uint32_t(languages + 24 * i), 4);
            Put(dir, languages + 24 * i + 14, 1, 2);
            Put(dir, languages + 24 * i + 20, std::uint32_t(entries + 16 * i), 4);
            Put(dir, entries + 16 * i, std::uint32_t(rva + 0x100 + data.size()), 4);
            Put(dir, entries + 16 * i + 4, std::uint32_t(own[i].data->size()), 4);
            data += *own[i].data;
            data.resize((data.size() + 7) & ~std::size_t(7), '\0');
        }
        dir.resize(0x100, '\0');
        return dir + data;
    };
    std::vector<std::pair<std::string, std::string>> sections = {
        {".text", std::string(0x300, '\x90')}, {".reloc", std::string(0x40, '\x44')}};
    if (withResources) {
        auto at = sections.begin() + (resourcesLast ? 2 : 1);
        sections.insert(at, {".rsrc", ""});
    }
    std::uint32_t rva = kSectionAlign;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        std::string& content = sections[i].second;
        if (sections[i].first == ".rsrc") {
            content = resourceSection(rva);
            Put(file, opt + 96 + 16, rva, 4);
            Put(file, opt + 96 + 20, std::uint32_t(content.size()), 4);
        }
        std::size_t h = opt + 224 + 40 * i;
        file.replace(h, sections[i].first.size(), sections[i].first);
        std::uint32_t raw =
            (std::uint32_t(content.size()) + kFileAlign - 1) / kFileAlign * kFileAlign;
        Put(file, h + 8, std::uint32_t(content.size()), 4);
        Put(file, h + 12, rva, 4);
        Put(file, h + 16, raw, 4);
        Put(file, h + 20, std::uint32_t(file.size()), 4);
        Put(file, h + 36, 0x40000040, 4);
        file += content;
        file.resize(file.size() + (raw - content.size()), '\0');
        rva += (std::uint32_t(content.size()) + kSectionAlign - 1) / kSectionAlign * kSectionAlign;
    }
    Put(file, pe + 6, std::uint32_t(sections.size()), 2);
    Put(file, opt + 56, rva, 4);
    Put(file, opt + 64, Checksum(file, opt + 64), 4);
    return file;
}

std::string MakeIconFile(const std::vector<std::pair<int, std::uint32_t>>& images) {
    std::string header, data;
    Put(header, 2, 1, 2);
    Put(header, 4, std::uint32_t(images.size()), 2);
    std::size_t offset = 6 + 16 * images.size();
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto [size, colour] = images[i];
        std::string dib(40, '\0');
        Put(dib, 0, 40, 4);
        Put(dib, 4, std::uint32_t(size), 4);
        Put(dib, 8, std::uint32_t(2 * size), 4);  // twice the height: colour and mask
        Put(dib, 12, 1, 2);
        Put(dib, 14, 32, 2);
        for (int p = 0; p < size * size; ++p) Put(dib, dib.size(), colour, 4);
        dib.append(std::size_t(size) * std::size_t((size + 31) / 32 * 4), '\0');  // mask rows
        std::size_t entry = 6 + 16 * i;
        Put(header, entry, std::uint32_t(size & 0xFF), 1);
        Put(header, entry + 1, std::uint32_t(size & 0xFF), 1);
        Put(header, entry + 4, 1, 2);
        Put(header, entry + 6, 32, 2);
        Put(header, entry + 8, std::uint32_t(dib.size()), 4);
        Put(header, entry + 12, std::uint32_t(offset + data.size()), 4);
        data += dib;
    }
    return header + data;
}

}  // namespace vesk::test
