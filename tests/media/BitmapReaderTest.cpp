// The bitmap reader: which files it accepts, the block it builds from them, and the refusal of
// files whose headers promise more than the bytes hold.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "media/BitmapReader.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::BmpBuilder;
using test::ColourTable;

std::optional<DibImage> Read(const std::string& bytes) {
    return ReadBitmap(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Rows(std::size_t size, char first = 1) {
    std::string rows;
    for (std::size_t i = 0; i < size; ++i) rows += char(first + i);
    return rows;
}

std::string Bits(const DibImage& image) {
    return std::string(reinterpret_cast<const char*>(image.Bits()), image.ImageSize());
}

std::string Table(const DibImage& image) {
    return std::string(reinterpret_cast<const char*>(image.ColorTable()), image.ColorCount() * 4);
}

struct AcceptCase {
    const char* name;
    BmpBuilder bmp;
    std::int32_t height;  // as the block stores it
    std::uint32_t colorCount;
    std::size_t imageSize;
};

BmpBuilder Make(std::int32_t width, std::int32_t height, std::uint16_t bits, std::string table,
                std::size_t pixelBytes) {
    BmpBuilder b;
    b.width = width;
    b.height = height;
    b.bitCount = bits;
    b.table = std::move(table);
    b.pixels = Rows(pixelBytes);
    return b;
}

std::vector<AcceptCase> AcceptCases() {
    std::vector<AcceptCase> cases;
    // Rows are padded to 4 bytes: 3 pixels of 1 bit take 4 bytes, of 24 bits 12 bytes.
    cases.push_back({"1 bit", Make(3, 2, 1, ColourTable(2), 8), 2, 2, 8});
    cases.push_back({"4 bits", Make(9, 3, 4, ColourTable(16), 24), 3, 16, 24});
    cases.push_back({"8 bits", Make(5, 2, 8, ColourTable(256), 16), 2, 256, 16});
    cases.push_back({"24 bits", Make(3, 2, 24, "", 24), 2, 0, 24});
    cases.push_back({"24 bits top-down", Make(3, -2, 24, "", 24), -2, 0, 24});
    cases.push_back({"32 bits", Make(2, 2, 32, "", 16), 2, 0, 16});
    AcceptCase used{"8 bits, 20 colours used", Make(4, 1, 8, ColourTable(20), 4), 1, 20, 4};
    used.bmp.colorsUsed = 20;
    cases.push_back(used);
    AcceptCase bare{"no file header", Make(4, 2, 8, ColourTable(256), 8), 2, 256, 8};
    bare.bmp.fileHeader = false;
    cases.push_back(bare);
    AcceptCase gap{"offset past a gap", Make(4, 1, 24, "", 12), 1, 0, 12};
    gap.bmp.gap = "gapgap";
    cases.push_back(gap);
    AcceptCase longer{"longer file than rows", Make(1, 1, 24, "", 9), 1, 0, 4};
    cases.push_back(longer);
    AcceptCase rle{"RLE8 stream", Make(4, 2, 8, ColourTable(256), 6), 2, 256, 6};
    rle.bmp.compression = DibImage::kRle8;
    rle.bmp.imageSize = 6;
    cases.push_back(rle);
    AcceptCase fields{"16-bit bit fields",
                      Make(2, 1, 16, test::Le32(0xF800) + test::Le32(0x7E0) + test::Le32(0x1F), 4),
                      1, 0, 4};
    fields.bmp.compression = DibImage::kBitFields;
    cases.push_back(fields);
    return cases;
}

TEST(BitmapReaderTest, AcceptsTheSupportedKindsAndKeepsTheirBytes) {
    for (const AcceptCase& c : AcceptCases()) {
        SCOPED_TRACE(c.name);
        std::optional<DibImage> image = Read(c.bmp.Bytes());
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->Width(), c.bmp.width);
        EXPECT_EQ(image->Height(), c.height);
        EXPECT_EQ(image->BitCount(), c.bmp.bitCount);
        EXPECT_EQ(image->ColorCount(), c.colorCount);
        EXPECT_EQ(image->ImageSize(), c.imageSize);
        EXPECT_EQ(Bits(*image), c.bmp.pixels.substr(0, c.imageSize));
        const std::size_t masks = c.bmp.compression == DibImage::kBitFields ? 12 : 0;
        EXPECT_EQ(image->Block().size(), 40 + masks + c.colorCount * 4 + c.imageSize);
        EXPECT_EQ(Table(*image), c.bmp.table.substr(masks));
        // The block is a BITMAPINFO: a 40-byte header that counts its colours and its bytes.
        std::uint32_t field = 0;
        std::memcpy(&field, image->Info(), 4);
        EXPECT_EQ(field, 40u);
        std::memcpy(&field, image->Info() + 20, 4);
        EXPECT_EQ(field, c.imageSize);
        std::memcpy(&field, image->Info() + 32, 4);
        EXPECT_EQ(field, c.colorCount);
    }
}

TEST(BitmapReaderTest, CoreHeaderGivesTheSameBlockAsTheInformationHeader) {
    BmpBuilder info = Make(5, 3, 4, ColourTable(16), 12);
    info.colorsUsed = 16;
    info.colorsImportant = 16;
    BmpBuilder core = info;
    core.coreHeader = true;
    core.table = ColourTable(16, true);
    std::optional<DibImage> fromInfo = Read(info.Bytes());
    std::optional<DibImage> fromCore = Read(core.Bytes());
    ASSERT_TRUE(fromInfo && fromCore);
    std::vector<std::uint8_t> a = fromInfo->Block();
    std::vector<std::uint8_t> b = fromCore->Block();
    // The resolution fields are the only difference: the core header has none.
    std::memset(a.data() + 24, 0, 8);
    EXPECT_EQ(a, b);

    core.fileHeader = false;
    fromCore = Read(core.Bytes());
    ASSERT_TRUE(fromCore);
    EXPECT_EQ(fromCore->Block(), b);
}

struct RejectCase {
    const char* name;
    std::function<std::string()> bytes;
};

std::string Patched(std::string bytes, std::size_t at, const std::string& value) {
    bytes.replace(at, value.size(), value);
    return bytes;
}

std::vector<RejectCase> RejectCases() {
    const BmpBuilder ok8 = Make(4, 2, 8, ColourTable(256), 8);
    const BmpBuilder ok24 = Make(3, 2, 24, "", 24);
    auto with = [](BmpBuilder b, const std::function<void(BmpBuilder&)>& change) {
        change(b);
        return b.Bytes();
    };
    return {
        {"empty", [] { return std::string(); }},
        {"shorter than a file header", [] { return std::string("BM\0\0\0\0\0\0", 8); }},
        {"header cut short", [=] { return ok24.Bytes().substr(0, 30); }},
        {"core header cut short",
         [=] { return with(ok24, [](BmpBuilder& b) { b.coreHeader = true; }).substr(0, 20); }},
        {"last pixel byte missing",
         [=] {
             std::string bytes = ok24.Bytes();
             return bytes.substr(0, bytes.size() - 1);
         }},
        {"colour table cut short", [=] { return ok8.Bytes().substr(0, 14 + 40 + 1000); }},
        {"header of 108 bytes", [=] { return Patched(ok24.Bytes(), 14, test::Le32(108)); }},
        {"header of 64 bytes", [=] { return Patched(ok24.Bytes(), 14, test::Le32(64)); }},
        {"pixel offset past the end", [=] { return Patched(ok24.Bytes(), 10, test::Le32(5000)); }},
        {"pixel offset near the end",
         [=] {
             std::string bytes = ok24.Bytes();
             return Patched(bytes, 10, test::Le32(std::uint32_t(bytes.size() - 4)));
         }},
        {"pixel offset of 4 GB", [=] { return Patched(ok24.Bytes(), 10, test::Le32(~0u)); }},
        {"3 colours for 1 bit",
         [=] {
             return with(Make(8, 1, 1, ColourTable(3), 4), [](BmpBuilder& b) { b.colorsUsed = 3; });
         }},
        {"257 colours for 8 bits",
         [=] {
             return with(Make(4, 1, 8, ColourTable(257), 4),
                         [](BmpBuilder& b) { b.colorsUsed = 257; });
         }},
        {"4 G colours for 8 bits",
         [=] { return with(ok8, [](BmpBuilder& b) { b.colorsUsed = 0xFFFFFFFF; }); }},
        {"257 colours for 24 bits",
         [=] {
             return with(ok24, [](BmpBuilder& b) {
                 b.colorsUsed = 257;
                 b.table = ColourTable(257);
             });
         }},
        {"width 0", [=] { return with(ok24, [](BmpBuilder& b) { b.width = 0; }); }},
        {"width negative", [=] { return with(ok24, [](BmpBuilder& b) { b.width = -3; }); }},
        {"height 0", [=] { return with(ok24, [](BmpBuilder& b) { b.height = 0; }); }},
        {"height most negative",
         [=] { return with(ok24, [](BmpBuilder& b) { b.height = INT_MIN; }); }},
        {"core width 0",
         [=] {
             return with(ok24, [](BmpBuilder& b) {
                 b.coreHeader = true;
                 b.width = 0;
             });
         }},
        {"width beyond the limit",
         [=] { return with(ok24, [](BmpBuilder& b) { b.width = kMaxBitmapDimension + 1; }); }},
        {"huge rows in a small file",
         [=] {
             return with(ok24, [](BmpBuilder& b) {
                 b.width = kMaxBitmapDimension;
                 b.height = kMaxBitmapDimension;
             });
         }},
        {"huge top-down rows in a small file",
         [=] { return with(ok24, [](BmpBuilder& b) { b.height = -kMaxBitmapDimension; }); }},
        {"2 bits per pixel", [=] { return with(ok24, [](BmpBuilder& b) { b.bitCount = 2; }); }},
        {"0 bits per pixel", [=] { return with(ok24, [](BmpBuilder& b) { b.bitCount = 0; }); }},
        {"JPEG compression", [=] { return with(ok24, [](BmpBuilder& b) { b.compression = 4; }); }},
        {"RLE8 on 24 bits", [=] { return with(ok24, [](BmpBuilder& b) { b.compression = 1; }); }},
        {"RLE8 top-down",
         [=] {
             return with(ok8, [](BmpBuilder& b) {
                 b.compression = 1;
                 b.height = -2;
             });
         }},
        {"RLE8 longer than the file",
         [=] {
             return with(ok8, [](BmpBuilder& b) {
                 b.compression = 1;
                 b.imageSize = 9;
             });
         }},
        {"bit-field masks missing",
         [=] {
             return with(Make(2, 1, 32, "", 8), [](BmpBuilder& b) {
                 b.compression = 3;
                 b.fileHeader = false;
             });
         }},
    };
}

TEST(BitmapReaderTest, RefusesFilesThatPromiseMoreThanTheyHold) {
    for (const RejectCase& c : RejectCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Read(c.bytes()).has_value());
    }
}

TEST(BitmapReaderTest, EveryTruncationOfAValidFileIsRefused) {
    const std::string bytes = Make(3, 3, 4, ColourTable(16), 12).Bytes();
    ASSERT_TRUE(Read(bytes).has_value());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_FALSE(Read(bytes.substr(0, size)).has_value()) << size;
    }
}

TEST(BitmapReaderTest, PaletteFollowsTheColourTableOrSpreadsColoursFor24Bits) {
    BmpBuilder used = Make(4, 1, 8, ColourTable(20), 4);
    used.colorsUsed = 20;
    std::optional<DibImage> image = Read(used.Bytes());
    ASSERT_TRUE(image);
    std::vector<PaletteColour> colours = image->PaletteColours();
    ASSERT_EQ(colours.size(), 20u);
    EXPECT_EQ(colours[7], (PaletteColour{7, 0x20, 0x10}));

    image = Read(Make(1, 1, 24, "", 4).Bytes());
    ASSERT_TRUE(image);
    colours = image->PaletteColours();
    ASSERT_EQ(colours.size(), 256u);
    EXPECT_EQ(colours[0], (PaletteColour{0, 0, 0}));
    EXPECT_EQ(colours[9], (PaletteColour{32, 32, 0}));
    EXPECT_EQ(colours[255], (PaletteColour{224, 224, 192}));

    image = Read(Make(2, 1, 32, "", 8).Bytes());
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->PaletteColours().empty());
}

TEST(BitmapReaderTest, LoadsFilesAndGivesNoneForAMissingOne) {
    test::TempDir dir;
    const BmpBuilder bmp = Make(3, 2, 24, "", 24);
    ASSERT_TRUE(test::WriteWholeFile(dir / "picture.bmp", bmp.Bytes()));
    std::optional<DibImage> image = LoadBitmapFile(dir / "picture.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(Bits(*image), bmp.pixels);
    EXPECT_FALSE(LoadBitmapFile(dir / "missing.bmp"));
    EXPECT_FALSE(LoadBitmapFile(dir.Path()));
}

}  // namespace
}  // namespace vesk
