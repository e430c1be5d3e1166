// The reader at the edges of the number ranges in file entries and volume sizes.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "container/ContainerReader.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

TEST(ContainerReaderBoundsTest, OffsetBeyondTheLastPossibleVolumeFailsWithoutStoppingTheSetup) {
    test::TempDir dir;
    ContainerTail tail{};
    SetIdentityText(tail, "77");
    tail.projectOffset = 0;
    tail.projectSize = 4;
    std::uint8_t bytes[kTailSize];
    EncodeTail(tail, bytes);
    ASSERT_TRUE(test::WriteWholeFile(
        dir / "Setup.exe",
        std::string(100, 'M') + std::string(reinterpret_cast<char*>(bytes), kTailSize)));
    std::atomic<bool> finished{false};
    auto reader = std::make_unique<ContainerReader>(finished);
    ASSERT_TRUE(reader->OpenContainer(dir / "Setup.exe"));
    reader->SetVolumeArithmetic(true);
    reader->SetVolumeSize(1);  // every stream byte in a volume of its own
    const std::int32_t kLast = std::numeric_limits<std::int32_t>::max();
    for (std::int32_t offset : {kLast, kLast - 1}) {
        SCOPED_TRACE(offset);
        StringSink sink;
        EXPECT_FALSE(reader->ExtractTo(sink, offset, 1, true));
        EXPECT_NE(reader->LastError().find("beyond the last possible volume"), std::string::npos)
            << reader->LastError();
        EXPECT_FALSE(finished) << "a bad entry is no cancelled disk request";
    }
    // A body inside the executable still reads after that.
    StringSink sink;
    EXPECT_TRUE(reader->ExtractTo(sink, 0, 1, true));
    EXPECT_EQ(sink.bytes, "M");
}

}  // namespace
}  // namespace vesk
