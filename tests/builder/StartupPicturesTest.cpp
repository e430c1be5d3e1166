// The pictures a setup shows pass the build only when the engine's own bitmap reader reads them;
// the refusals say which file, which field and what to do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/plan/StartupFiles.h"
#include "project/TaskSlots.h"
#include "support/BmpBuilder.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

using test::BmpBuilder;

const char kSaveAs[] =
    "); save it as a BMP with a 40-byte header (BITMAPINFOHEADER), 24 bits or fewer";

std::string Picture(void (*change)(BmpBuilder&)) {
    BmpBuilder bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.pixels = std::string(16, '\x7f');
    change(bmp);
    return bmp.Bytes();
}

TEST(StartupPicturesTest, MustBeReadableByTheEnginesBitmapReader) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string error;  // empty: accepted
    };
    const std::string unreadable =
        "top.bmp (TopFramePicture of task 2401): the setup cannot show this picture (a BMP that "
        "is cut short, or of a bit depth, compression or size (at most 16384 pixels a side) it "
        "does not read";
    const Case cases[] = {
        {"40-byte header, 24 bits", Picture([](BmpBuilder&) {}), ""},
        {"12-byte core header, 8 bits", Picture([](BmpBuilder& b) {
             b.coreHeader = true;
             b.bitCount = 8;
             b.table = test::ColourTable(256, true);
             b.pixels = std::string(8, '\x01');
         }),
         ""},
        {"124-byte header", Picture([](BmpBuilder& b) { b.headerSize = 124; }),
         "top.bmp (TopFramePicture of task 2401): the setup cannot show this picture (a BMP with "
         "a 124-byte header" +
             std::string(kSaveAs)},
        {"108-byte header", Picture([](BmpBuilder& b) { b.headerSize = 108; }),
         "(a BMP with a 108-byte header" + std::string(kSaveAs)},
        {"pixels cut short", Picture([](BmpBuilder& b) { b.pixels.resize(10); }),
         unreadable + kSaveAs},
        {"JPEG inside", Picture([](BmpBuilder& b) { b.compression = 4; }), unreadable},
        {"too wide", Picture([](BmpBuilder& b) { b.width = 20000; }), unreadable},
        {"PNG", "\x89PNG\r\n\x1a\n" + std::string(60, '\0'),
         "TopFramePicture of task 2401 names \"top.bmp\", which is no BMP picture"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        test::WriteWholeFile(dir / "top.bmp", c.bytes);
        std::vector<Task> tasks(kTaskSlotCount);
        tasks[kSlotProjectProperties] = Task("2401", TaskType::DataSetting, false);
        tasks[kSlotProjectProperties]
            .Add(SubTask("1", SubTaskType::GetAllVar))
            .Add(FieldKind::TopFramePicture, "top.bmp");
        StartupFiles startup;
        const bool collected = startup.Collect(tasks, dir.Path());
        if (c.error.empty()) {
            EXPECT_TRUE(collected) << startup.LastError();
            EXPECT_EQ(startup.Files().size(), 1u);
        } else {
            EXPECT_FALSE(collected);
            EXPECT_NE(startup.LastError().find(c.error), std::string::npos) << startup.LastError();
        }
    }
}

}  // namespace
}  // namespace vesk
