// A minimal PNG reader (zlib for the pixel data) and BMP writer for the benchmark corpus.
#include "PngBitmap.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace vesk::bench {
namespace {

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint8_t Paeth(int a, int b, int c) {
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes the per-row filters in place; `rows` holds (1 + stride) bytes per row.
bool Unfilter(std::vector<std::uint8_t>& rows, std::size_t height, std::size_t stride,
              std::size_t pixel) {
    for (std::size_t y = 0; y < height; ++y) {
        std::uint8_t* row = &rows[y * (stride + 1)];
        std::uint8_t* cur = row + 1;
        const std::uint8_t* up = y > 0 ? cur - (stride + 1) : nullptr;
        for (std::size_t x = 0; x < stride; ++x) {
            int a = x >= pixel ? cur[x - pixel] : 0;
            int b = up ? up[x] : 0;
            int c = up && x >= pixel ? up[x - pixel] : 0;
            switch (row[0]) {
                case 0:
                    break;
                case 1:
                    cur[x] = std::uint8_t(cur[x] + a);
                    break;
                case 2:
                    cur[x] = std::uint8_t(cur[x] + b);
                    break;
                case 3:
                    cur[x] = std::uint8_t(cur[x] + (a + b) / 2);
                    break;
                case 4:
                    cur[x] = std::uint8_t(cur[x] + Paeth(a, b, c));
                    break;
                default:
                    return false;
            }
        }
    }
    return true;
}

}  // namespace

bool PngSize(const std::vector<std::uint8_t>& png, std::uint32_t& width, std::uint32_t& height) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 33 || std::memcmp(png.data(), kSignature, 8) != 0) return false;
    if (std::memcmp(&png[12], "IHDR", 4) != 0) return false;
    width = BigEndian32(&png[16]);
    height = BigEndian32(&png[20]);
    return true;
}

std::vector<std::uint8_t> PngToBmp(const std::vector<std::uint8_t>& png) {
    std::uint32_t width = 0, height = 0;
    if (!PngSize(png, width, height) || width == 0 || height == 0 || width > 8192 ||
        height > 8192) {
        return {};
    }
    int depth = png[24], colour = png[25], interlace = png[28];
    if (depth != 8 || (colour != 2 && colour != 6) || interlace != 0) return {};
    std::size_t pixel = colour == 6 ? 4 : 3;

    std::vector<std::uint8_t> packed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        std::uint32_t length = BigEndian32(&png[at]);
        if (length > png.size() - at - 12) return {};
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0) {
            packed.insert(packed.end(), png.begin() + std::ptrdiff_t(at + 8),
                          png.begin() + std::ptrdiff_t(at + 8 + length));
        }
        at += 12 + std::size_t(length);
    }
    std::size_t stride = width * pixel;
    std::vector<std::uint8_t> rows(height * (stride + 1));
    uLongf rowsSize = uLongf(rows.size());
    if (uncompress(rows.data(), &rowsSize, packed.data(), uLong(packed.size())) != Z_OK ||
        rowsSize != rows.size() || !Unfilter(rows, height, stride, pixel)) {
        return {};
    }

    std::uint32_t bmpStride = (width * 3 + 3) & ~3u;
    std::uint32_t imageSize = bmpStride * height;
    std::vector<std::uint8_t> bmp;
    bmp.reserve(54 + imageSize);
    bmp.push_back('B');
    bmp.push_back('M');
    Put32(bmp, 54 + imageSize);
    Put32(bmp, 0);
    Put32(bmp, 54);
    Put32(bmp, 40);  // BITMAPINFOHEADER
    Put32(bmp, width);
    Put32(bmp, height);
    Put16(bmp, 1);
    Put16(bmp, 24);
    Put32(bmp, 0);  // BI_RGB
    Put32(bmp, imageSize);
    Put32(bmp, 2835);  // 72 dots per inch
    Put32(bmp, 2835);
    Put32(bmp, 0);
    Put32(bmp, 0);
    for (std::size_t y = height; y-- > 0;) {
        const std::uint8_t* src = &rows[y * (stride + 1) + 1];
        for (std::size_t x = 0; x < width; ++x, src += pixel) {
            unsigned alpha = pixel == 4 ? src[3] : 255;
            for (int c = 2; c >= 0; --c) {
                bmp.push_back(std::uint8_t((src[c] * alpha + 255 * (255 - alpha)) / 255));
            }
        }
        bmp.resize(bmp.size() + (bmpStride - width * 3), 0);
    }
    return bmp;
}

}  // namespace vesk::bench
