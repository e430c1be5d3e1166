// The LZSS encoder against a brute-force search: exact longest matches, smallest possible stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codec/lzss/LzssDecoder.h"
#include "codec/lzss/LzssEncoder.h"
#include "codec/lzss/LzssMatchFinder.h"

namespace vesk {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Decode(const Bytes& stream) {
    auto decoder = std::make_unique<LzssDecoder>();
    StringSink sink;
    decoder->Feed(stream.data(), stream.size(), sink);
    decoder->Finish(sink);
    return Bytes(sink.bytes.begin(), sink.bytes.end());
}

// The longest match at every position, by trying every distance the format can address over
// the 4078 initial spaces followed by the data.
std::vector<unsigned> BruteForceLongest(const Bytes& data) {
    Bytes text(kLzssFirstWritePos, kLzssFillByte);
    for (std::uint8_t b : data) text.push_back(b);
    std::vector<unsigned> longest(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::size_t at = i + kLzssFirstWritePos;
        std::size_t limit = std::min<std::size_t>(kLzssMaxMatch, data.size() - i);
        std::size_t farthest = std::min<std::size_t>(kLzssWindowSize, at);
        unsigned best = 0;
        for (std::size_t d = 1; d <= farthest && best < limit; ++d) {
            unsigned l = 0;
            while (l < limit && text[at - d + l] == text[at + l]) ++l;
            best = std::max(best, l);
        }
        longest[i] = best >= unsigned(kLzssMinMatch) ? best : 0;
    }
    return longest;
}

// The size of the smallest stream: 9 bits per literal, 17 per reference, rounded up to bytes.
std::size_t SmallestStreamSize(const Bytes& data) {
    std::vector<unsigned> longest = BruteForceLongest(data);
    std::vector<std::uint64_t> bits(data.size() + 1, 0);
    for (std::size_t i = data.size(); i-- > 0;) {
        bits[i] = 9 + bits[i + 1];
        for (unsigned l = kLzssMinMatch; l <= longest[i]; ++l) {
            bits[i] = std::min(bits[i], 17 + bits[i + l]);
        }
    }
    return std::size_t((bits[0] + 7) / 8);
}

Bytes Random(std::size_t size, std::uint32_t seed, int alphabet) {
    std::mt19937 rng(seed);
    Bytes out(size);
    for (auto& b : out) b = std::uint8_t('a' + rng() % unsigned(alphabet));
    return out;
}

Bytes Words(std::size_t size, std::uint32_t seed) {
    static const char* const kWords[] = {"the ", "setup ",   "file ",     "window ",
                                         "of ",  "install ", "folder ",   "a ",
                                         "and ", "\r\n",     "registry ", "key "};
    std::mt19937 rng(seed);
    Bytes out;
    while (out.size() < size) {
        const char* w = kWords[rng() % 12];
        out.insert(out.end(), w, w + std::char_traits<char>::length(w));
    }
    out.resize(size);
    return out;
}

Bytes Periodic(std::size_t size, std::size_t period, std::uint32_t seed) {
    Bytes unit = Random(period, seed, 256 - 'a');
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) out[i] = unit[i % period];
    return out;
}

struct Sample {
    const char* name;
    Bytes data;
};

std::vector<Sample> Samples() {
    Bytes spaced(300, ' ');
    Bytes tail = Words(3000, 9);
    spaced.insert(spaced.end(), tail.begin(), tail.end());
    Bytes mixed = Random(2000, 11, 256 - 'a');
    Bytes words = Words(6000, 12);
    mixed.insert(mixed.end(), words.begin(), words.end());
    mixed.insert(mixed.end(), 700, 0);
    return {
        {"words", Words(12000, 1)},
        {"two letters", Random(6000, 2, 2)},
        {"four letters", Random(6000, 3, 4)},
        {"bytes", Random(5000, 4, 256 - 'a')},
        {"one byte", Bytes(5000, 0x41)},
        {"spaces", Bytes(5000, ' ')},
        {"spaces then text", spaced},
        {"period 17", Periodic(3000, 17, 5)},
        {"period 19", Periodic(3000, 19, 6)},
        {"period 4095", Periodic(12000, 4095, 7)},
        {"period 4096", Periodic(12000, 4096, 7)},
        {"period 4097", Periodic(12000, 4097, 7)},
        {"mixed", mixed},
    };
}

// The finder's lengths for `data`, fetched in uneven batches as the encoder's blocks may fall,
// checked against the brute-force ones and the bytes.
void ExpectExactMatches(LzssMatchFinder& finder, const Bytes& data,
                        const std::vector<unsigned>& expected) {
    finder.Start(data.data(), data.size());
    std::vector<std::uint8_t> lengths(data.size());
    std::vector<std::uint16_t> distances(data.size());
    for (std::size_t at = 0, batch = 1; at < data.size(); at += batch, batch = batch * 3 + 1) {
        finder.Find(batch, &lengths[at], &distances[at]);
    }
    EXPECT_EQ(finder.Position(), data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        unsigned length = lengths[i], distance = distances[i];
        ASSERT_EQ(length, expected[i]) << "at " << i;
        if (length == 0) continue;
        // The match is real and lies where the format can address it.
        ASSERT_GE(distance, 1u);
        ASSERT_LE(distance, unsigned(kLzssWindowSize));
        ASSERT_LE(distance, i + kLzssFirstWritePos) << "reaches the unset window end";
        for (unsigned k = 0; k < length; ++k) {
            std::ptrdiff_t from = std::ptrdiff_t(i + k) - std::ptrdiff_t(distance);
            std::uint8_t byte = from < 0 ? kLzssFillByte : data[std::size_t(from)];
            ASSERT_EQ(byte, data[i + k]) << "at " << i;
        }
    }
}

TEST(LzssMatchFinderTest, FindsTheLongestMatchEverywhere) {
    // The second finder's position counter reaches the point where it is moved down during the
    // first sample.
    LzssMatchFinder fresh, nearTheTop(LzssMatchFinder::kRebaseAt - 10000);
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        std::vector<unsigned> expected = BruteForceLongest(s.data);
        ExpectExactMatches(fresh, s.data, expected);
        ExpectExactMatches(nearTheTop, s.data, expected);
    }
}

TEST(LzssEncoderTest, OptimalParsingGivesTheSmallestStream) {
    LzssEncoder encoder;
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        Bytes optimal, greedy;
        encoder.Encode(s.data.data(), s.data.size(), optimal);
        encoder.Encode(s.data.data(), s.data.size(), greedy, LzssParse::Greedy);
        EXPECT_EQ(Decode(optimal), s.data);
        EXPECT_EQ(Decode(greedy), s.data);
        EXPECT_EQ(optimal.size(), SmallestStreamSize(s.data));
        EXPECT_LE(optimal.size(), greedy.size());
    }
}

TEST(LzssEncoderTest, SmallInputsOfFewLettersAreOptimal) {
    // Short inputs over two or three letters are where ties and end effects pile up.
    LzssEncoder encoder;
    for (std::uint32_t seed = 0; seed < 400; ++seed) {
        Bytes data = Random(seed % 60, seed, 2 + int(seed % 2));
        Bytes stream;
        encoder.Encode(data.data(), data.size(), stream);
        ASSERT_EQ(Decode(stream), data) << "seed " << seed;
        ASSERT_EQ(stream.size(), SmallestStreamSize(data)) << "seed " << seed;
    }
}

TEST(LzssEncoderTest, BlocksLoseNothingWhereTheBestPathsMeet) {
    // Small blocks hand the search over many times. Where the best paths meet within a block
    // (they do within a few hundred positions on these inputs) the stream stays the smallest;
    // tiny blocks force the hand-over (cutting the tokens that would cross it), but the stream
    // always decodes.
    const std::vector<Sample> samples = Samples();
    std::vector<std::size_t> smallestSizes;
    for (const Sample& s : samples) smallestSizes.push_back(SmallestStreamSize(s.data));
    for (std::size_t block : {1, 5, 64, 1000}) {
        LzssEncoder encoder;
        encoder.SetBlockSize(block);
        for (std::size_t n = 0; n < samples.size(); ++n) {
            const Sample& s = samples[n];
            SCOPED_TRACE(std::string(s.name) + ", block " + std::to_string(block));
            Bytes stream;
            encoder.Encode(s.data.data(), s.data.size(), stream);
            EXPECT_EQ(Decode(stream), s.data);
            std::size_t smallest = smallestSizes[n];
            EXPECT_GE(stream.size(), smallest);
            if (block >= 1000) {
                EXPECT_EQ(stream.size(), smallest);
            } else if (block >= 64) {
                EXPECT_LE(stream.size(), smallest + smallest / 50);
            }
        }
    }
}

TEST(LzssEncoderTest, AppendsToWhatIsThereAndReusesItsTables) {
    LzssEncoder encoder;
    Bytes first = Words(5000, 21), second = Random(3000, 22, 3);
    Bytes stream{0xAB, 0xCD};
    encoder.Encode(first.data(), first.size(), stream);
    std::size_t split = stream.size();
    encoder.Encode(second.data(), second.size(), stream);
    EXPECT_EQ(stream[0], 0xAB);
    EXPECT_EQ(stream[1], 0xCD);
    EXPECT_EQ(Decode(Bytes(stream.begin() + 2, stream.begin() + std::ptrdiff_t(split))), first);
    // The second stream starts from a fresh window: nothing of the first one is referenced.
    Bytes alone;
    LzssEncoder fresh;
    fresh.Encode(second.data(), second.size(), alone);
    EXPECT_EQ(Bytes(stream.begin() + std::ptrdiff_t(split), stream.end()), alone);

    Bytes none;
    encoder.Encode(nullptr, 0, none);
    EXPECT_TRUE(none.empty());
}

// Collects a stream as the encoder hands it on, counting the hand-overs.
class CountingSink : public ByteSink {
public:
    bool Write(const std::uint8_t* data, std::size_t size) override {
        bytes.insert(bytes.end(), data, data + size);
        ++writes;
        return true;
    }
    Bytes bytes;
    int writes = 0;
};

TEST(LzssEncoderTest, InputInPiecesGivesTheSameStream) {
    // Pieces of every size, across block hand-overs and the window's first 4096 positions, and an
    // input larger than the encoder's sliding buffer many times over.
    Bytes large = Words(3000000, 31);
    Bytes noise = Random(700000, 32, 256 - 'a');
    large.insert(large.end(), noise.begin(), noise.end());
    std::vector<Sample> samples = Samples();
    samples.push_back({"large", large});
    struct Case {
        std::size_t block;
        std::size_t piece;
        LzssParse parse;
    };
    const Case cases[] = {
        {std::size_t(1) << 18, 1000, LzssParse::Optimal},
        {std::size_t(1) << 18, 65536, LzssParse::Optimal},
        {std::size_t(1) << 18, 65536, LzssParse::Greedy},
        {64, 7, LzssParse::Optimal},
        {1, 4096, LzssParse::Optimal},
        {1000, 1, LzssParse::Greedy},
    };
    for (const Case& c : cases) {
        LzssEncoder whole, pieces;
        whole.SetBlockSize(c.block);
        pieces.SetBlockSize(c.block);
        for (const Sample& s : samples) {
            if (s.data.size() > 100000 && (c.piece < 1000 || c.block < 1000)) continue;
            SCOPED_TRACE(std::string(s.name) + ", block " + std::to_string(c.block) + ", piece " +
                         std::to_string(c.piece));
            Bytes expected;
            whole.Encode(s.data.data(), s.data.size(), expected, c.parse);
            CountingSink sink;
            pieces.Begin(sink, c.parse);
            for (std::size_t at = 0; at < s.data.size(); at += c.piece) {
                ASSERT_TRUE(pieces.Feed(&s.data[at], std::min(c.piece, s.data.size() - at)));
            }
            ASSERT_TRUE(pieces.Finish());
            EXPECT_TRUE(sink.bytes == expected);
            EXPECT_EQ(pieces.BytesOut(), expected.size());
            EXPECT_EQ(pieces.BytesIn(), s.data.size());
            if (s.data.size() > 100000) {
                EXPECT_GT(sink.writes, 10);  // handed on as it went, not at the end
                EXPECT_TRUE(Decode(sink.bytes) == s.data);
            }
        }
    }
    // No input, no stream.
    LzssEncoder encoder;
    CountingSink sink;
    encoder.Begin(sink);
    EXPECT_TRUE(encoder.Finish());
    EXPECT_TRUE(sink.bytes.empty());
}

}  // namespace
}  // namespace vesk
