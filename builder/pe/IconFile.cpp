// Icon files to icon resources.
#include "builder/pe/IconFile.h"

#include "platform/LittleEndian.h"

namespace vesk {
namespace {

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kFileEntrySize = 16;
constexpr std::size_t kMaxImages = 64;
constexpr std::uint32_t kInfoHeaderSize = 40;
const char kPngSignature[] = "\x89PNG\r\n\x1a\n";

}  // namespace

bool ReadIconFile(const std::string& bytes, std::vector<IconImage>& images, std::string& why) {
    images.clear();
    if (bytes.size() < kHeaderSize || Get16(bytes, 0) != 0 || Get16(bytes, 2) != 1) {
        why = "no icon file (an .ico starts with the bytes 0 0 1 0)";
        return false;
    }
    std::size_t count = Get16(bytes, 4);
    if (count == 0 || count > kMaxImages) {
        why = "an icon file with " + std::to_string(count) + " images (1 to 64 can be used)";
        return false;
    }
    if (kHeaderSize + count * kFileEntrySize > bytes.size()) {
        why = "an icon file cut short in its list of images";
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t entry = kHeaderSize + i * kFileEntrySize;
        IconImage image;
        image.width = std::uint8_t(bytes[entry]);
        image.height = std::uint8_t(bytes[entry + 1]);
        image.colorCount = std::uint8_t(bytes[entry + 2]);
        image.planes = Get16(bytes, entry + 4);
        image.bitCount = Get16(bytes, entry + 6);
        std::uint32_t size = Get32(bytes, entry + 8);
        std::uint32_t offset = Get32(bytes, entry + 12);
        const std::string which = "image " + std::to_string(i + 1) + " of the icon file";
        if (size < kInfoHeaderSize || std::uint64_t(offset) + size > bytes.size()) {
            why = which + " lies outside the file";
            return false;
        }
        image.data = bytes.substr(offset, size);
        bool png = image.data.compare(0, 8, kPngSignature, 8) == 0;
        if (!png && Get32(image.data, 0) != kInfoHeaderSize) {
            why = which + " is neither a bitmap with a 40-byte header nor a PNG picture";
            return false;
        }
        images.push_back(std::move(image));
    }
    return true;
}

std::string IconGroupResource(const std::vector<IconImage>& images, std::uint16_t firstId) {
    std::string group;
    Append16(group, 0);
    Append16(group, 1);
    Append16(group, std::uint32_t(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        group += char(image.width);
        group += char(image.height);
        group += char(image.colorCount);
        group += '\0';
        Append16(group, image.planes);
        Append16(group, image.bitCount);
        Append32(group, std::uint32_t(image.data.size()));
        Append16(group, std::uint32_t(firstId + i));
    }
    return group;
}

}  // namespace vesk
