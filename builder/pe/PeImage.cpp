// Reading a PE image's headers and giving it a new resource directory.
#include "builder/pe/PeImage.h"

#include <algorithm>

#include "platform/LittleEndian.h"

namespace vesk {
namespace {

constexpr std::size_t kDosHeaderSize = 0x40;
constexpr std::size_t kNewHeaderPointer = 0x3C;
constexpr std::size_t kCoffSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::uint16_t kPe32 = 0x10B, kPe32Plus = 0x20B;
constexpr std::uint32_t kInitializedReadable = 0x40000040;  // initialized data, readable
// Optional header fields (the same offsets in PE32 and PE32+ up to CheckSum).
constexpr std::size_t kInitializedDataSize = 8;
constexpr std::size_t kSectionAlignment = 32, kFileAlignment = 36;
constexpr std::size_t kImageSize = 56, kHeadersSize = 60;

constexpr std::uint32_t kMaxFileAlignment = 64u << 10;

bool IsPowerOfTwo(std::uint32_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

}  // namespace

bool PeImage::Fail(std::string message) {
    error_ = std::move(message);
    return false;
}

bool PeImage::Parse(std::string bytes) {
    bytes_ = std::move(bytes);
    sections_.clear();
    error_.clear();
    const std::size_t size = bytes_.size();
    if (size < kDosHeaderSize || bytes_.compare(0, 2, "MZ") != 0) {
        return Fail("no Windows program (no MZ header)");
    }
    std::size_t header = Get32(bytes_, kNewHeaderPointer);
    if (header > size - 4 - kCoffSize || bytes_.compare(header, 4, std::string("PE\0\0", 4)) != 0) {
        return Fail("no PE image (no PE header)");
    }
    coff_ = header + 4;
    std::size_t sectionCount = Get16(bytes_, coff_ + 2);
    std::size_t optionalSize = Get16(bytes_, coff_ + 16);
    optional_ = coff_ + kCoffSize;
    if (optionalSize < 2 || optional_ + optionalSize > size)
        return Fail("the PE header is cut short");
    std::uint16_t magic = Get16(bytes_, optional_);
    if (magic != kPe32 && magic != kPe32Plus) return Fail("an unknown kind of PE image");
    std::size_t countField = magic == kPe32 ? 92 : 108;
    std::size_t directories = countField + 4;
    if (optionalSize < directories) return Fail("the PE header is cut short");
    directories_ = optional_ + directories;
    directoryCount_ = std::min<std::uint32_t>(Get32(bytes_, optional_ + countField),
                                              std::uint32_t((optionalSize - directories) / 8));
    sectionAlignment_ = Get32(bytes_, optional_ + kSectionAlignment);
    fileAlignment_ = Get32(bytes_, optional_ + kFileAlignment);
    headersSize_ = Get32(bytes_, optional_ + kHeadersSize);
    if (!IsPowerOfTwo(sectionAlignment_) || !IsPowerOfTwo(fileAlignment_)) {
        return Fail("the PE image's alignments are no powers of two");
    }
    // What Windows loads: 64 KiB at most. A larger one would pad a new section by gigabytes.
    if (fileAlignment_ > kMaxFileAlignment) {
        return Fail("the PE image's file alignment passes 64 KiB");
    }
    std::size_t table = optional_ + optionalSize;
    if (table + sectionCount * kSectionHeaderSize > size)
        return Fail("the section table is cut short");
    for (std::size_t i = 0; i < sectionCount; ++i) {
        PeSection section;
        section.header = table + i * kSectionHeaderSize;
        section.name = bytes_.substr(section.header, 8);
        section.name.resize(section.name.find('\0') == std::string::npos ? 8
                                                                         : section.name.find('\0'));
        section.virtualSize = Get32(bytes_, section.header + 8);
        section.virtualAddress = Get32(bytes_, section.header + 12);
        section.rawSize = Get32(bytes_, section.header + 16);
        section.rawOffset = Get32(bytes_, section.header + 20);
        if (std::uint64_t(section.rawOffset) + section.rawSize > size && section.rawSize != 0) {
            return Fail("the section " + section.name + " lies beyond the end of the file");
        }
        sections_.push_back(section);
    }
    return true;
}

std::uint32_t PeImage::DirectoryRva(int index) const {
    return std::uint32_t(index) < directoryCount_ ? Get32(bytes_, DirectoryOffset(index)) : 0;
}

std::uint32_t PeImage::DirectorySize(int index) const {
    return std::uint32_t(index) < directoryCount_ ? Get32(bytes_, DirectoryOffset(index) + 4) : 0;
}

std::uint32_t PeImage::Checksum() const {
    return Get32(bytes_, ChecksumOffset());
}

bool PeImage::ReadRva(std::uint32_t rva, std::uint32_t size, std::string& out) const {
    for (const PeSection& section : sections_) {
        std::uint64_t start = section.virtualAddress, end = start + section.rawSize;
        if (rva >= start && std::uint64_t(rva) + size <= end) {
            out = bytes_.substr(section.rawOffset + (rva - section.virtualAddress), size);
            return true;
        }
    }
    return false;
}

int PeImage::ResourceSectionIndex() const {
    std::uint32_t rva = ResourceRva();
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        const PeSection& s = sections_[i];
        if (rva != 0 && rva == s.virtualAddress) return int(i);
    }
    return -1;
}

std::uint32_t PeImage::NewResourceRva() const {
    int index = ResourceSectionIndex();
    std::uint32_t end = 0;
    for (const PeSection& s : sections_) {
        end = std::max(end, s.virtualAddress + std::max(s.virtualSize, s.rawSize));
    }
    if (index >= 0) {
        const PeSection& s = sections_[std::size_t(index)];
        bool lastInMemory = s.virtualAddress + std::max(s.virtualSize, s.rawSize) == end;
        bool lastInFile = std::uint64_t(s.rawOffset) + s.rawSize == bytes_.size();
        if (lastInMemory && lastInFile) return s.virtualAddress;
    }
    return AlignUp(end, sectionAlignment_);
}

bool PeImage::ReplaceResources(const std::string& resources) {
    const std::uint32_t rva = NewResourceRva();
    const std::uint32_t rawSize = AlignUp(std::uint32_t(resources.size()), fileAlignment_);
    int index = ResourceSectionIndex();
    if (index >= 0 && sections_[std::size_t(index)].virtualAddress == rva) {
        PeSection& s = sections_[std::size_t(index)];
        std::uint32_t initialized = Get32(bytes_, optional_ + kInitializedDataSize);
        Put32(bytes_, optional_ + kInitializedDataSize, initialized - s.rawSize + rawSize);
        bytes_.resize(s.rawOffset);
        bytes_ += resources;
        bytes_.resize(s.rawOffset + std::size_t(rawSize), '\0');
        s.virtualSize = std::uint32_t(resources.size());
        s.rawSize = rawSize;
        Put32(bytes_, s.header + 8, s.virtualSize);
        Put32(bytes_, s.header + 16, s.rawSize);
    } else {
        if (index >= 0) {
            std::string name = ".oldrsrc";
            bytes_.replace(sections_[std::size_t(index)].header, 8, name);
            sections_[std::size_t(index)].name = name;
        }
        if (!AppendSection(".rsrc", resources, rva)) return false;
    }
    if (std::uint32_t(kResourceDirectory) >= directoryCount_) {
        return Fail("the PE header has no resource directory entry");
    }
    Put32(bytes_, DirectoryOffset(kResourceDirectory), rva);
    Put32(bytes_, DirectoryOffset(kResourceDirectory) + 4, std::uint32_t(resources.size()));
    UpdateImageSize();
    return true;
}

bool PeImage::AppendSection(const std::string& name, const std::string& data, std::uint32_t rva) {
    std::size_t slot = sections_.empty() ? optional_ + Get16(bytes_, coff_ + 16)
                                         : sections_.back().header + kSectionHeaderSize;
    std::size_t firstRaw = headersSize_;
    for (const PeSection& s : sections_) {
        if (s.rawSize != 0) firstRaw = std::min<std::size_t>(firstRaw, s.rawOffset);
    }
    if (slot + kSectionHeaderSize > firstRaw ||
        bytes_.find_first_not_of('\0', slot) < slot + kSectionHeaderSize) {
        return Fail("the PE header has no room for another section");
    }
    PeSection section;
    section.name = name;
    section.header = slot;
    section.virtualAddress = rva;
    section.virtualSize = std::uint32_t(data.size());
    section.rawSize = AlignUp(std::uint32_t(data.size()), fileAlignment_);
    section.rawOffset = AlignUp(std::uint32_t(bytes_.size()), fileAlignment_);
    bytes_.resize(section.rawOffset, '\0');
    bytes_ += data;
    bytes_.resize(std::size_t(section.rawOffset) + section.rawSize, '\0');

    std::string header(kSectionHeaderSize, '\0');
    header.replace(0, std::min<std::size_t>(name.size(), 8), name.substr(0, 8));
    Put32(header, 8, section.virtualSize);
    Put32(header, 12, section.virtualAddress);
    Put32(header, 16, section.rawSize);
    Put32(header, 20, section.rawOffset);
    Put32(header, 36, kInitializedReadable);
    bytes_.replace(slot, kSectionHeaderSize, header);
    Put16(bytes_, coff_ + 2, std::uint32_t(sections_.size() + 1));
    std::uint32_t initialized = Get32(bytes_, optional_ + kInitializedDataSize);
    Put32(bytes_, optional_ + kInitializedDataSize, initialized + section.rawSize);
    sections_.push_back(section);
    return true;
}

void PeImage::UpdateImageSize() {
    std::uint32_t end = headersSize_;
    for (const PeSection& s : sections_) {
        end = std::max(end, s.virtualAddress + std::max(s.virtualSize, s.rawSize));
    }
    Put32(bytes_, optional_ + kImageSize, AlignUp(end, sectionAlignment_));
}

void PeImage::SetTimeStamp(std::uint32_t seconds) {
    Put32(bytes_, coff_ + 4, seconds);
}

}  // namespace vesk
