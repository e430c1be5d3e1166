// Bitmap files drawn into a memory device context, checked pixel by pixel with GetPixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "media/BitmapDisplayWin32.h"
#include "media/BitmapReader.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using Grid = std::vector<std::vector<COLORREF>>;  // rows from the top

// A 32-bit memory bitmap selected into a memory device context, white to begin with.
class Canvas {
public:
    static constexpr int kSize = 16;
    Canvas() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        previous_ = SelectObject(dc_, bitmap_.get());
        PatBlt(dc_, 0, 0, kSize, kSize, WHITENESS);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ previous_ = nullptr;
};

// Encodes the grid at the given depth; indexed depths get the grid's colours as their table.
test::BmpBuilder Encode(const Grid& grid, std::uint16_t bits, bool topDown = false) {
    test::BmpBuilder bmp;
    bmp.width = std::int32_t(grid[0].size());
    bmp.height = topDown ? -std::int32_t(grid.size()) : std::int32_t(grid.size());
    bmp.bitCount = bits;
    std::vector<COLORREF> palette;
    if (bits <= 8) {
        for (const auto& row : grid) {
            for (COLORREF c : row) {
                bool known = false;
                for (COLORREF p : palette) known = known || p == c;
                if (!known) palette.push_back(c);
            }
        }
        for (COLORREF c : palette) {
            bmp.table += std::string{char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c)), 0};
        }
        bmp.colorsUsed = std::uint32_t(palette.size());
    }
    for (std::size_t n = 0; n < grid.size(); ++n) {
        const auto& row = grid[topDown ? n : grid.size() - 1 - n];
        std::string line;
        int acc = 0, used = 0;
        for (COLORREF c : row) {
            if (bits == 24) {
                line += std::string{char(GetBValue(c)), char(GetGValue(c)), char(GetRValue(c))};
                continue;
            }
            int index = 0;
            while (palette[std::size_t(index)] != c) ++index;
            acc = acc << bits | index;
            used += bits;
            if (used == 8) {
                line += char(acc);
                acc = used = 0;
            }
        }
        if (used != 0) line += char(acc << (8 - used));
        while (line.size() % 4 != 0) line += '\0';
        bmp.pixels += line;
    }
    return bmp;
}

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);
const COLORREF kBlack = RGB(0, 0, 0), kYellow = RGB(255, 255, 0), kGrey = RGB(128, 64, 32);
const COLORREF kWhite = RGB(255, 255, 255);

struct DrawCase {
    const char* name;
    test::BmpBuilder bmp;
    Grid grid;
};

std::vector<DrawCase> DrawCases() {
    const Grid colours = {{kRed, kGreen, kBlue}, {kBlack, kYellow, kGrey}};
    const Grid twoColours = {{kBlack, kYellow, kBlack}, {kYellow, kYellow, kBlack}};
    std::vector<DrawCase> cases = {
        {"24 bits", Encode(colours, 24), colours},
        {"24 bits top-down", Encode(colours, 24, true), colours},
        {"8 bits", Encode(colours, 8), colours},
        {"4 bits", Encode(colours, 4), colours},
        {"1 bit", Encode(twoColours, 1), twoColours},
    };
    DrawCase bare{"no file header", Encode(colours, 8), colours};
    bare.bmp.fileHeader = false;
    cases.push_back(bare);
    DrawCase core{"core header", Encode(colours, 4), colours};
    core.bmp.coreHeader = true;
    core.bmp.table.clear();
    test::BmpBuilder full = Encode(colours, 4);
    for (std::size_t i = 0; i < 16; ++i) {
        core.bmp.table += i * 4 < full.table.size() ? full.table.substr(i * 4, 3) : "---";
    }
    cases.push_back(core);
    return cases;
}

TEST(BitmapDisplayWin32Test, DrawsEachKindAtItsOwnSizeAtThePoint) {
    test::TempDir dir;
    for (const DrawCase& c : DrawCases()) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(test::WriteWholeFile(dir / "picture.bmp", c.bmp.Bytes()));
        Canvas canvas;
        int width = 0, height = 0;
        ASSERT_TRUE(DrawBitmapFile(dir / "picture.bmp", canvas.dc(), 4, 5, width, height));
        EXPECT_EQ(width, 3);
        EXPECT_EQ(height, 2);
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 3; ++col) {
                EXPECT_EQ(GetPixel(canvas.dc(), 4 + col, 5 + row), c.grid[row][col])
                    << "row " << row << " column " << col;
            }
        }
        // Nothing beyond the picture is touched.
        EXPECT_EQ(GetPixel(canvas.dc(), 3, 5), kWhite);
        EXPECT_EQ(GetPixel(canvas.dc(), 7, 5), kWhite);
        EXPECT_EQ(GetPixel(canvas.dc(), 4, 4), kWhite);
        EXPECT_EQ(GetPixel(canvas.dc(), 4, 7), kWhite);
    }
}

TEST(BitmapDisplayWin32Test, UnreadableFilesDrawNothingAndLeaveTheSize) {
    test::TempDir dir;
    test::BmpBuilder lying = Encode({{kRed, kGreen}}, 24);
    lying.height = 4000;  // more rows than the file holds
    ASSERT_TRUE(test::WriteWholeFile(dir / "lying.bmp", lying.Bytes()));
    for (const std::string& path : {dir / "missing.bmp", dir / "lying.bmp"}) {
        Canvas canvas;
        int width = 77, height = 88;
        EXPECT_FALSE(DrawBitmapFile(path, canvas.dc(), 0, 0, width, height));
        EXPECT_EQ(width, 77);
        EXPECT_EQ(height, 88);
        EXPECT_EQ(GetPixel(canvas.dc(), 0, 0), kWhite);
    }
}

TEST(BitmapDisplayWin32Test, BlitWithoutImageFillsByTheRasterOperation) {
    Canvas canvas;
    EXPECT_TRUE(BlitImage(canvas.dc(), 2, 2, 3, 3, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(GetPixel(canvas.dc(), 2, 2), kBlack);
    EXPECT_EQ(GetPixel(canvas.dc(), 4, 4), kBlack);
    EXPECT_EQ(GetPixel(canvas.dc(), 5, 5), kWhite);
}

TEST(BitmapDisplayWin32Test, PaletteHasOneEntryPerColourOrTheFixedSpread) {
    struct Case {
        const char* name;
        test::BmpBuilder bmp;
        int entries;
    };
    test::BmpBuilder twenty = Encode({{kRed}}, 8);
    twenty.colorsUsed = 20;
    twenty.table.resize(20 * 4, '\x40');
    const Case cases[] = {
        {"20 colours used", twenty, 20},
        {"24 bits", Encode({{kRed}}, 24), 256},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string bytes = c.bmp.Bytes();
        std::optional<DibImage> image =
            ReadBitmap(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ASSERT_TRUE(image);
        GdiObject<HPALETTE> palette = CreateImagePalette(*image);
        ASSERT_TRUE(palette);
        WORD count = 0;
        ASSERT_EQ(GetObjectA(palette.get(), sizeof count, &count), int(sizeof count));
        EXPECT_EQ(count, c.entries);
        PALETTEENTRY entry = {};
        ASSERT_EQ(GetPaletteEntries(palette.get(), 0, 1, &entry), 1u);
        EXPECT_EQ(entry.peRed, c.entries == 20 ? 255 : 0);
    }
}

}  // namespace
}  // namespace vesk
