// The reader's LZMA bodies: damaged bodies and unknown methods are a damaged set, never a crash
// nor bytes decoded with the wrong method.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "codec/lzma/LzmaBodyEncoder.h"
#include "container/ContainerReader.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::FixtureBytes;

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

std::string LzmaBody(const std::string& content) {
    MemorySource source(content);
    StringSink sink;
    LzmaBodyEncoder encoder(LzmaDictionaryFor(content.size()));
    EXPECT_TRUE(encoder.Encode(source, content.size(), sink)) << encoder.LastError();
    return sink.bytes;
}

// A body stored as given, listed as an ordinary file and recorded with the length of `content`.
test::FixtureBody LzmaFixture(const std::string& body, const std::string& content) {
    test::FixtureBody fixture{body, true, 'A'};
    fixture.recorded = std::int64_t(content.size());
    return fixture;
}

void PutU32(std::string& body, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) body[at + std::size_t(i)] = char(value >> (8 * i));
}

TEST(LzmaBodyTest, DamagedBodiesAndUnknownMethodsAreADamagedSet) {
    const std::string content = FixtureBytes(50000, 7, true);  // several 8 KiB input blocks
    const std::string good = LzmaBody(content);
    ASSERT_LT(good.size(), content.size() / 2);
    struct Case {
        const char* name;
        const char* compressType;
        std::function<void(std::string&)> damage;  // of the stored body
        bool decodes;
    };
    const Case cases[] = {
        {"sound", "LZMA", [](std::string&) {}, true},
        {"sound, method in small letters", "lzma", [](std::string&) {}, true},
        {"unknown method", "LZ77", [](std::string&) {}, false},
        {"LZMA body in a set of LZSS", "", [](std::string&) {}, false},
        {"a data byte flipped", "LZMA", [](std::string& b) { b[b.size() / 2] ^= 0x5A; }, false},
        {"cut short", "LZMA", [](std::string& b) { b.resize(b.size() - 20); }, false},
        {"cut in the header", "LZMA", [](std::string& b) { b.resize(7); }, false},
        {"bytes after the data", "LZMA", [](std::string& b) { b += "tail"; }, false},
        {"length larger than the data", "LZMA", [](std::string& b) { b[5] = char(b[5] + 1); },
         false},
        {"dictionary above the cap", "LZMA",
         [](std::string& b) { PutU32(b, 1, kMaxLzmaDictionary * 2); }, false},
        {"literal context above the cap", "LZMA",
         [](std::string& b) { b[0] = char((2 * 5 + 2) * 9 + 3); }, false},
        {"properties out of range", "LZMA", [](std::string& b) { b[0] = char(0xF0); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        std::string body = good;
        c.damage(body);
        // Stored as given, listed as an ordinary file: the reader decodes it with the set's method.
        const test::FixtureSet set = test::BuildFixtureSetWithStub(
            dir / "Setup.exe", std::string(3000, 'S'), 1 << 30, {LzmaFixture(body, content)},
            "20261207", std::string("<CompressType>") + c.compressType + "</CompressType>\r\n");
        std::atomic<bool> finished{false};
        ContainerReader reader(finished);
        std::string project;
        ASSERT_TRUE(reader.OpenContainer(set.setupPath) && reader.ReadProjectText(project));
        reader.SetVolumeSize(1 << 30);
        reader.SetVolumeArithmetic(true);
        StringSink sink;
        const bool known = reader.SetBodyMethod(c.compressType);
        const bool read =
            known && reader.ExtractTo(sink, set.entries[0].offset, set.entries[0].size, false);
        if (c.decodes) {
            ASSERT_TRUE(read) << reader.LastError();
            EXPECT_EQ(sink.bytes, content);
            continue;
        }
        EXPECT_FALSE(read && sink.bytes == content);
        if (!*c.compressType) continue;  // an LZSS stream of any bytes is no damage it can see
        EXPECT_FALSE(read);
        EXPECT_EQ(reader.DamagedVolume(), set.setupPath) << reader.LastError();
        EXPECT_EQ(reader.LastError().rfind(DamagedSetupMessage(set.setupPath), 0), 0u)
            << reader.LastError();
        EXPECT_EQ(finished.load(), known) << "a damaged body stops the install";
    }
}

}  // namespace
}  // namespace vesk
