// LZSS streams: the decoder on hand-made edge cases and in pieces, the reader at body ends, and
// encoder-to-decoder round trips checked against a ring-buffer decoder written the classic way.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codec/lzss/LzssDecoder.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerReader.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string AsText(const Bytes& b) {
    return std::string(b.begin(), b.end());
}

Bytes Of(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) out.push_back(std::uint8_t(v));
    return out;
}

// Our decoder, fed in pieces of `piece` bytes (0: all at once).
std::string Decode(const Bytes& stream, std::size_t piece = 0) {
    auto decoder = std::make_unique<LzssDecoder>();
    StringSink sink;
    if (piece == 0) piece = stream.size() + 1;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        EXPECT_TRUE(decoder->Feed(stream.data() + at, std::min(piece, stream.size() - at), sink));
    }
    EXPECT_TRUE(decoder->Finish(sink));
    EXPECT_EQ(decoder->OutputCount(), sink.bytes.size());
    return sink.bytes;
}

// The format decoded with a 4096-byte ring, byte by byte. The last 18 ring positions start as
// `unsetFill`: a stream that reads them before writing them decodes differently for each fill.
std::string RingDecode(const Bytes& in, std::uint8_t unsetFill) {
    std::uint8_t ring[kLzssWindowSize];
    std::memset(ring, kLzssFillByte, kLzssFirstWritePos);
    std::memset(ring + kLzssFirstWritePos, unsetFill, kLzssWindowSize - kLzssFirstWritePos);
    unsigned r = kLzssFirstWritePos, flags = 0;
    std::size_t i = 0;
    std::string out;
    for (;;) {
        if (((flags >>= 1) & 0x100) == 0) {
            if (i >= in.size()) break;
            flags = in[i++] | 0xFF00u;
        }
        if (flags & 1) {
            if (i >= in.size()) break;
            out += char(in[i]);
            ring[r] = in[i++];
            r = (r + 1) % kLzssWindowSize;
            continue;
        }
        if (i + 1 >= in.size()) break;
        unsigned p = in[i] | (in[i + 1] & 0xF0u) << 4, length = (in[i + 1] & 0x0Fu) + 3;
        i += 2;
        for (unsigned k = 0; k < length; ++k) {
            std::uint8_t c = ring[(p + k) % kLzssWindowSize];
            out += char(c);
            ring[r] = c;
            r = (r + 1) % kLzssWindowSize;
        }
    }
    return out;
}

Bytes Encode(const Bytes& data, LzssParse parse = LzssParse::Optimal) {
    Bytes stream;
    LzssEncode(data.data(), data.size(), stream, parse);
    return stream;
}

// 4096 distinct-looking literals, then a reference to ring position r itself (the oldest byte).
Bytes OldestByteStream() {
    Bytes s;
    for (int i = 0; i < 4096; ++i) {
        if (i % 8 == 0) s.push_back(0xFF);
        s.push_back(std::uint8_t(i % 251));
    }
    unsigned r = (kLzssFirstWritePos + 4096) % kLzssWindowSize;
    s.push_back(0x00);
    s.push_back(std::uint8_t(r));
    s.push_back(std::uint8_t((r >> 4 & 0xF0) | 0));  // length 3
    return s;
}

TEST(LzssDecoderTest, HandMadeStreams) {
    std::string oldest;
    for (int i = 0; i < 4096; ++i) oldest += char(i % 251);
    oldest += std::string{char(0), char(1), char(2)};
    struct Case {
        const char* name;
        Bytes stream;
        std::string output;
    };
    const Case cases[] = {
        {"empty body", {}, ""},
        {"flag byte only", Of({0xFF}), ""},
        {"literals only", Of({0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0xFF, 'i'}),
         "abcdefghi"},
        {"last group ends early", Of({0xFF, 'x', 'y'}), "xy"},
        // Position 4077 is the last initial space; the copy reads what it has just written.
        {"window end, 18 bytes", Of({0x00, 0xED, 0xFF}), std::string(18, ' ')},
        {"window start, 3 bytes", Of({0x00, 0x00, 0x00}), "   "},
        // 'a' lands at 4078; copying from there 18 bytes repeats it (overlap of distance 1).
        {"overlapping copy", Of({0x01, 'a', 0xEE, 0xFF}), std::string(19, 'a')},
        {"reference cut after its first byte", Of({0xFD, 'a', 0xED}), "a"},
        {"reference cut after its flag", Of({0xFD, 'a'}), "a"},
        {"second group cut", Of({0xFF, '1', '2', '3', '4', '5', '6', '7', '8', 0x00, 0xED}),
         "12345678"},
        {"reference to the oldest byte", OldestByteStream(), oldest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Decode(c.stream), c.output);
        EXPECT_EQ(RingDecode(c.stream, 0), c.output);
    }
}

TEST(LzssDecoderTest, PiecesOfEverySizeGiveTheSameOutput) {
    // Long enough to cross the decoder's flush size several times, with runs, text and noise,
    // and cut inside a reference at the end.
    Bytes data;
    std::mt19937 rng(5);
    while (data.size() < 150000) {
        switch (rng() % 3) {
            case 0:
                data.insert(data.end(), 300 + rng() % 3000, std::uint8_t(rng()));
                break;
            case 1:
                for (int k = 0; k < 2000; ++k)
                    data.push_back(std::uint8_t("setup window "[k % 13]));
                break;
            default:
                for (int k = 0; k < 1000; ++k) data.push_back(std::uint8_t(rng()));
        }
    }
    Bytes stream = Encode(data);
    const Bytes streams[] = {stream, Bytes(stream.begin(), stream.end() - 1), OldestByteStream(),
                             Of({0x01, 'a', 0xEE, 0xFF, 0xFF, 'b'})};
    for (const Bytes& s : streams) {
        std::string whole = Decode(s);
        EXPECT_EQ(whole, RingDecode(s, 0));
        for (std::size_t piece = 1; piece <= 40; ++piece) {
            ASSERT_EQ(Decode(s, piece), whole) << "pieces of " << piece;
        }
    }
}

TEST(LzssDecoderTest, ResetGivesAFreshWindow) {
    auto decoder = std::make_unique<LzssDecoder>();
    StringSink first, second;
    Bytes noise(5000);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = std::uint8_t(i * 7 + 1);
    Bytes stream = Encode(noise);
    decoder->Feed(stream.data(), stream.size(), first);
    decoder->Finish(first);
    decoder->Reset();
    const Bytes spaces = Of({0x00, 0x00, 0x0F});  // ring position 0, 18 bytes
    decoder->Feed(spaces.data(), spaces.size(), second);
    decoder->Finish(second);
    EXPECT_EQ(first.bytes, AsText(noise));
    EXPECT_EQ(second.bytes, std::string(18, ' '));
    EXPECT_EQ(decoder->OutputCount(), 18u);
}

class RefusingSink : public ByteSink {
public:
    bool Write(const std::uint8_t*, std::size_t) override { return false; }
};

TEST(LzssDecoderTest, RefusedOutputIsReported) {
    Bytes data(100000, 'q');
    for (std::size_t i = 0; i < data.size(); i += 7) data[i] = std::uint8_t(i);
    Bytes stream = Encode(data);
    auto decoder = std::make_unique<LzssDecoder>();
    RefusingSink sink;
    bool fed = decoder->Feed(stream.data(), stream.size(), sink);
    EXPECT_FALSE(fed && decoder->Finish(sink));
}

// --- Encoder to decoder ---------------------------------------------------------------------

Bytes RandomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 rng(seed);
    Bytes out(size);
    for (auto& b : out) b = std::uint8_t(rng());
    return out;
}

Bytes Repetitive(std::size_t size) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = std::uint8_t("abcabcabd"[i % 9] + (i / 5000) % 3);
    return out;
}

Bytes TextLike(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {"install ", "the ",  "folder ",   "\r\n", "Setup ",
                                         "of ",      "file ", "registry ", "a ",   "program "};
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < size) {
        const char* w = kWords[rng() % 10];
        out.insert(out.end(), w, w + std::strlen(w));
    }
    out.resize(size);
    return out;
}

Bytes SpacesFirst(std::size_t size) {
    Bytes out = TextLike(size, 3);
    for (std::size_t i = 0; i < size && i < 5000; ++i) out[i] = ' ';
    return out;
}

void ExpectRoundTrip(const Bytes& data) {
    for (LzssParse parse : {LzssParse::Optimal, LzssParse::Greedy}) {
        SCOPED_TRACE(parse == LzssParse::Optimal ? "optimal" : "greedy");
        Bytes stream = Encode(data, parse);
        std::string expected = AsText(data);
        ASSERT_EQ(Decode(stream), expected);
        // Never reads the window's last 18 positions before they are written.
        ASSERT_EQ(RingDecode(stream, 0xA5), expected);
        ASSERT_EQ(RingDecode(stream, 0x20), expected);
        ASSERT_LE(stream.size(), data.size() + (data.size() + 7) / 8);
    }
}

TEST(LzssRoundTripTest, KindsAndSizes) {
    struct Kind {
        const char* name;
        Bytes (*make)(std::size_t);
    };
    const Kind kinds[] = {
        {"random", [](std::size_t n) { return RandomBytes(n, std::uint32_t(n)); }},
        {"repetitive", Repetitive},
        {"text", [](std::size_t n) { return TextLike(n, std::uint32_t(n)); }},
        {"spaces first", SpacesFirst},
        {"one byte value", [](std::size_t n) { return Bytes(n, 0); }},
    };
    const std::size_t sizes[] = {0,    1,    2,    3,    17,   18,   19,   4077, 4078,
                                 4079, 4095, 4096, 4097, 4114, 8192, 8193, 70000};
    for (const Kind& kind : kinds) {
        for (std::size_t size : sizes) {
            SCOPED_TRACE(std::string(kind.name) + ", " + std::to_string(size) + " bytes");
            ExpectRoundTrip(kind.make(size));
        }
    }
}

TEST(LzssRoundTripTest, MoreThanOneMebibyte) {
    Bytes data = TextLike(600000, 8);
    Bytes noise = RandomBytes(300000, 9);
    data.insert(data.end(), noise.begin(), noise.end());
    Bytes run = Repetitive(250000);
    data.insert(data.end(), run.begin(), run.end());
    ASSERT_GT(data.size(), std::size_t(1) << 20);
    ExpectRoundTrip(data);
}

TEST(LzssRoundTripTest, FilesOnThisMachine) {
    namespace fs = std::filesystem;
    const char* const folders[] = {"/usr/lib/i386-linux-gnu/wine/i386-windows",
                                   "/usr/lib/wine/i386-windows", "/usr/share/doc/libc6",
                                   "/usr/share/doc/zlib1g-dev", "/usr/include/linux"};
    int tested = 0;
    for (const char* folder : folders) {
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) continue;
        int inFolder = 0;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end && inFolder < 3;
             it.increment(ec)) {
            if (!it->is_regular_file(ec) || it->file_size(ec) > (std::uintmax_t(1) << 20)) {
                continue;
            }
            std::string bytes = test::ReadWholeFile(it->path().string());
            if (bytes.empty()) continue;
            SCOPED_TRACE(it->path().string());
            ExpectRoundTrip(Bytes(bytes.begin(), bytes.end()));
            ++inFolder, ++tested;
        }
    }
    if (tested == 0) GTEST_SKIP() << "no sample files on this machine";
}

// --- The reader at the ends of a body ---------------------------------------------------------

// A setup file: `stub`, then the bodies at their offsets, then `after` and a tail.
std::string SetupFile(const std::string& stub, const std::vector<Bytes>& bodies,
                      const std::string& after, std::vector<std::int32_t>& offsets) {
    std::string file = stub;
    for (const Bytes& b : bodies) {
        offsets.push_back(std::int32_t(file.size()));
        file += AsText(b);
    }
    file += after;
    ContainerTail tail{};
    SetIdentityText(tail, "1234");
    tail.projectOffset = 0;
    tail.projectSize = 1;
    tail.volumeCounter = kVolumeCounterValue;
    tail.volumeNumber = 1;
    std::uint8_t bytes[kTailSize];
    EncodeTail(tail, bytes);
    return file + std::string(reinterpret_cast<const char*>(bytes), kTailSize);
}

TEST(LzssReaderTest, BodiesEndWhereTheirSizeSays) {
    // Each body is followed by bytes that would change the output if they were read: literals
    // for a group that ended early, the second byte of a cut reference.
    struct Case {
        const char* name;
        Bytes body;
        std::string output;
    };
    const Case cases[] = {
        {"empty body", {}, ""},
        {"last group ends early", Of({0xFF, 'x', 'y'}), "xy"},
        {"reference cut after its first byte", Of({0xFD, 'a', 0xED}), "a"},
        {"whole group", Of({0x00, 0xED, 0xFF, 0xED, 0xF0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         std::string(21, ' ') + std::string(6 * 3, ' ')},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int32_t> offsets;
        std::string setup = SetupFile("MZ stub", {c.body}, std::string(40, '\xFF'), offsets);
        ASSERT_TRUE(test::WriteWholeFile(dir / "Setup.exe", setup));
        std::atomic<bool> finished{false};
        auto reader = std::make_unique<ContainerReader>(finished);
        ASSERT_TRUE(reader->OpenContainer(dir / "Setup.exe"));
        for (bool arithmetic : {false, true}) {
            reader->SetVolumeArithmetic(arithmetic);
            reader->SetVolumeSize(1000000);
            StringSink sink;
            EXPECT_TRUE(reader->ExtractTo(sink, offsets[0], std::int32_t(c.body.size()), false));
            EXPECT_EQ(sink.bytes, c.output);
        }
        EXPECT_TRUE(
            reader->ExtractEntry(dir / "out.bin", offsets[0], std::int32_t(c.body.size()), false));
        EXPECT_EQ(test::ReadWholeFile(dir / "out.bin"), c.output);
        EXPECT_FALSE(finished);
    }
}

TEST(LzssReaderTest, EncodedBodiesBackToBack) {
    // Bodies longer than the reader's input buffer, one right behind the other: each decodes
    // with a fresh window and stops at its own end.
    const Bytes contents[] = {TextLike(30000, 1), Bytes(20000, ' '), RandomBytes(9000, 2), Bytes(),
                              TextLike(17, 3)};
    std::vector<Bytes> bodies;
    for (const Bytes& c : contents) bodies.push_back(Encode(c));
    std::vector<std::int32_t> offsets;
    test::TempDir dir;
    ASSERT_TRUE(test::WriteWholeFile(dir / "Setup.exe",
                                     SetupFile(std::string(3000, 'M'), bodies, "", offsets)));
    std::atomic<bool> finished{false};
    auto reader = std::make_unique<ContainerReader>(finished);
    ASSERT_TRUE(reader->OpenContainer(dir / "Setup.exe"));
    reader->SetVolumeArithmetic(true);
    reader->SetVolumeSize(0);
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        SCOPED_TRACE(i);
        StringSink sink;
        EXPECT_TRUE(reader->ExtractTo(sink, offsets[i], std::int32_t(bodies[i].size()), false));
        EXPECT_EQ(sink.bytes, AsText(contents[i]));
    }
}

}  // namespace
}  // namespace vesk
