// A Windows program image (PE32 or PE32+) as bytes: its headers, its sections, and the one change
// the builder makes, a new resource section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {

struct PeSection {
    std::string name;
    std::uint32_t virtualSize = 0, virtualAddress = 0, rawSize = 0, rawOffset = 0;
    std::size_t header = 0;  // offset of its section header in the file
};

// Parse checks what the rest relies on: the headers, the section table and every section's raw
// data lie inside the bytes, alignments are powers of two. Only the resource directory, the
// section table, SizeOfImage, SizeOfInitializedData, the time stamp and the checksum are ever
// changed; code and data stay byte for byte where they are.
class PeImage {
public:
    // False (see LastError) for bytes that are no PE image, or one this class cannot change.
    bool Parse(std::string bytes);

    const std::string& Bytes() const { return bytes_; }
    const std::vector<PeSection>& Sections() const { return sections_; }
    // The resource directory's RVA and size (0 when the image has none).
    std::uint32_t ResourceRva() const { return DirectoryRva(kResourceDirectory); }
    std::uint32_t ResourceSize() const { return DirectorySize(kResourceDirectory); }
    bool IsSigned() const { return DirectorySize(kSecurityDirectory) != 0; }
    std::uint32_t Checksum() const;
    // Where the CheckSum field lies in the file.
    std::size_t ChecksumOffset() const { return optional_ + kChecksumField; }

    // The bytes of `size` bytes at `rva`, from the section that holds them; false when no
    // section's raw data holds them all.
    bool ReadRva(std::uint32_t rva, std::uint32_t size, std::string& out) const;

    // Where the resource data built for ReplaceResources must expect to lie.
    std::uint32_t NewResourceRva() const;
    // Makes `resources` (built for NewResourceRva) the image's resource directory: in place when
    // the resource section is the image's last section and nothing follows it in the file, else
    // in a new ".rsrc" section at the end (the old one is renamed ".oldrsrc" and stays, unused).
    bool ReplaceResources(const std::string& resources);
    void SetTimeStamp(std::uint32_t seconds);

    const std::string& LastError() const { return error_; }

    static constexpr int kResourceDirectory = 2;
    static constexpr int kSecurityDirectory = 4;

private:
    static constexpr std::size_t kChecksumField = 64;

    bool Fail(std::string message);
    std::uint32_t DirectoryRva(int index) const;
    std::uint32_t DirectorySize(int index) const;
    std::size_t DirectoryOffset(int index) const { return directories_ + 8 * std::size_t(index); }
    int ResourceSectionIndex() const;
    bool AppendSection(const std::string& name, const std::string& data, std::uint32_t rva);
    void UpdateImageSize();

    std::string bytes_;
    std::size_t coff_ = 0;         // COFF file header
    std::size_t optional_ = 0;     // optional header
    std::size_t directories_ = 0;  // data directories
    std::uint32_t directoryCount_ = 0;
    std::uint32_t sectionAlignment_ = 0, fileAlignment_ = 0, headersSize_ = 0;
    std::vector<PeSection> sections_;
    std::string error_;
};

}  // namespace vesk
