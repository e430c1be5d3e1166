// Every body method through the one interface the container reader holds: what each encoder
// writes decodes back in pieces of any size, and a body cut short is told apart by method.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "codec/BodyDecoders.h"
#include "codec/ByteSource.h"
#include "codec/lzma/LzmaBodyEncoder.h"
#include "codec/lzss/LzssEncoder.h"

namespace vesk {
namespace {

class MemorySource : public ByteSource {
public:
    explicit MemorySource(const std::string& bytes) : bytes_(bytes) {}
    bool Read(std::uint8_t* buffer, std::size_t capacity, std::size_t& got) override {
        got = std::min(capacity, bytes_.size() - at_);
        std::copy_n(bytes_.data() + at_, got, buffer);
        at_ += got;
        return true;
    }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

// Refuses everything: a full disk.
class RefusingSink : public ByteSink {
public:
    bool Write(const std::uint8_t*, std::size_t) override { return false; }
};

std::string Encoded(BodyMethod method, const std::string& content) {
    if (method == BodyMethod::Lzma) {
        MemorySource source(content);
        StringSink sink;
        LzmaBodyEncoder encoder(LzmaDictionaryFor(content.size()));
        EXPECT_TRUE(encoder.Encode(source, content.size(), sink)) << encoder.LastError();
        return sink.bytes;
    }
    std::vector<std::uint8_t> out;
    LzssEncoder().Encode(reinterpret_cast<const std::uint8_t*>(content.data()), content.size(),
                         out);
    return std::string(out.begin(), out.end());
}

// Text with repeats and some noise, so both encoders find matches and literals.
std::string Content(std::size_t size) {
    std::mt19937 random(23);
    std::string text;
    while (text.size() < size) {
        text += "volume folder setup registry ";
        text += char('a' + random() % 26);
    }
    text.resize(size);
    return text;
}

struct Decoded {
    bool fed = true, flushed = false, complete = false;
    std::string bytes;
};

Decoded Decode(BodyDecoder& decoder, const std::string& body, std::size_t piece) {
    Decoded out;
    StringSink sink;
    decoder.Reset();
    for (std::size_t at = 0; out.fed && at < body.size(); at += piece) {
        const std::size_t size = std::min(piece, body.size() - at);
        out.fed = decoder.Feed(reinterpret_cast<const std::uint8_t*>(body.data()) + at, size, sink);
    }
    out.flushed = decoder.Flush(sink);
    out.complete = out.fed && decoder.Complete();
    out.bytes = sink.bytes;
    return out;
}

TEST(BodyDecoderTest, EveryMethodDecodesWhatItsEncoderWroteInPiecesOfAnySize) {
    const std::string content = Content(300000);
    BodyDecoders decoders;
    for (BodyMethod method : {BodyMethod::Lzss, BodyMethod::Lzma}) {
        const std::string body = Encoded(method, content);
        for (std::size_t piece : {std::size_t(1), std::size_t(7), std::size_t(8192), body.size()}) {
            // The same decoder serves body after body.
            BodyDecoder& decoder = decoders.For(method);
            EXPECT_EQ(&decoder, &decoders.For(method));
            const Decoded out = Decode(decoder, body, piece);
            EXPECT_TRUE(out.fed && out.flushed && out.complete)
                << BodyMethodName(method) << " in pieces of " << piece;
            EXPECT_TRUE(out.bytes == content)
                << BodyMethodName(method) << " in pieces of " << piece;
            EXPECT_EQ(decoder.OutputCount(), content.size());
            EXPECT_FALSE(decoder.Damaged());
            EXPECT_EQ(decoder.Problem(), "");
        }
    }
}

TEST(BodyDecoderTest, ABodyCutShortIsDamagedOnlyWhereTheMethodKnowsItsLength) {
    const std::string content = Content(50000);
    struct Case {
        BodyMethod method;
        bool complete;  // an LZSS stream has no length: wherever it ends, it is whole
    };
    const Case cases[] = {{BodyMethod::Lzss, true}, {BodyMethod::Lzma, false}};
    BodyDecoders decoders;
    for (const Case& c : cases) {
        const std::string body = Encoded(c.method, content);
        BodyDecoder& decoder = decoders.For(c.method);
        const Decoded out = Decode(decoder, body.substr(0, body.size() / 2), 4096);
        EXPECT_TRUE(out.fed && out.flushed) << BodyMethodName(c.method);
        EXPECT_EQ(out.complete, c.complete) << BodyMethodName(c.method);
        EXPECT_EQ(decoder.Damaged(), !c.complete) << BodyMethodName(c.method);
        // What was decoded is the content's start, never invented bytes.
        EXPECT_TRUE(content.compare(0, out.bytes.size(), out.bytes) == 0)
            << BodyMethodName(c.method);
        EXPECT_GT(out.bytes.size(), 0u) << BodyMethodName(c.method);
    }
}

TEST(BodyDecoderTest, ASinkThatRefusesFailsTheBodyWithoutAProblemOfItsOwn) {
    const std::string content = Content(200000);
    BodyDecoders decoders;
    for (BodyMethod method : {BodyMethod::Lzss, BodyMethod::Lzma}) {
        const std::string body = Encoded(method, content);
        BodyDecoder& decoder = decoders.For(method);
        decoder.Reset();
        RefusingSink sink;
        bool ok =
            decoder.Feed(reinterpret_cast<const std::uint8_t*>(body.data()), body.size(), sink);
        ok = decoder.Flush(sink) && ok;
        EXPECT_FALSE(ok) << BodyMethodName(method);
        EXPECT_FALSE(decoder.Damaged()) << BodyMethodName(method);
        EXPECT_EQ(decoder.Problem(), "") << BodyMethodName(method);
    }
}

}  // namespace
}  // namespace vesk
