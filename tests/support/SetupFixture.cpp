// Small setups written by the real container writer.
#include "support/SetupFixture.h"

#include <gtest/gtest.h>

#include "builder/writing/ContainerWriter.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerReader.h"

namespace vesk::test {

std::string FixtureBytes(std::size_t size, std::uint32_t seed, bool compressible) {
    static const char* const kWords[] = {"setup ", "install ", "folder ",  "file ",
                                         "disk ",  "volume ",  "program ", "\r\n"};
    std::string bytes;
    bytes.reserve(size);
    std::uint32_t state = seed * 2654435761u + 1;
    while (bytes.size() < size) {
        state = state * 1664525u + 1013904223u;
        if (compressible) {
            bytes += kWords[(state >> 24) % 8];
        } else {
            bytes += char(state >> 24);
        }
    }
    bytes.resize(size);
    return bytes;
}

const std::vector<FixtureBody>& ThreeVolumeBodies() {
    static const std::vector<FixtureBody> bodies = {{FixtureBytes(9000, 1, true), false},
                                                    {FixtureBytes(16000, 2, false), true},
                                                    {FixtureBytes(30000, 3, false), true},
                                                    {FixtureBytes(5000, 4, true), false}};
    return bodies;
}

bool ReadWholeSet(ContainerReader& reader, const FixtureSet& set, std::int32_t diskSize,
                  const std::vector<FixtureBody>* bodies) {
    std::string project;
    if (!reader.OpenContainer(set.setupPath) || !reader.ReadProjectText(project)) return false;
    reader.SetVolumeSize(diskSize);
    for (std::size_t i = 0; i < set.entries.size(); ++i) {
        StringSink sink;
        const FixtureEntry& e = set.entries[i];
        if (!reader.ExtractTo(sink, e.offset, e.size, e.raw)) return false;
        if (bodies) {
            EXPECT_EQ(sink.bytes, (*bodies)[i].content) << "entry " << i;
        }
    }
    return true;
}

FixtureSet BuildFixtureSet(const std::string& setupPath, std::size_t stubSize,
                           std::int32_t diskSize, const std::vector<FixtureBody>& bodies,
                           const std::string& identity) {
    std::string stub = "MZ" + FixtureBytes(stubSize > 2 ? stubSize - 2 : 0, 7, false);
    stub.resize(stubSize);
    return BuildFixtureSetWithStub(setupPath, stub, diskSize, bodies, identity);
}

FixtureSet BuildFixtureSetWithStub(const std::string& setupPath, const std::string& stub,
                                   std::int32_t diskSize, const std::vector<FixtureBody>& bodies,
                                   const std::string& identity,
                                   const std::string& extraProperties) {
    FixtureSet set;
    set.setupPath = setupPath;
    set.identity = identity;

    ContainerWriter writer;
    EXPECT_TRUE(writer.Begin(setupPath, stub, diskSize)) << writer.LastError();
    set.projectXml =
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<InstallProject>\r\n"
        "<Version>VeskInstall5.0</Version>\r\n"
        "<Task ID=\"2401\" Type=\"DataSetting\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"GetAllVar\">\r\n"
        "<ProjectName>Fixture</ProjectName>\r\n<ProductVersion>1.0</ProductVersion>\r\n"
        "<DiskSize>" +
        std::to_string(diskSize) + "</DiskSize>\r\n" + extraProperties +
        "</SubTask>\r\n</Task>\r\n"
        "<Task ID=\"2412\" Type=\"ExtractFiles\" IsExec=\"0\">\r\n"
        "<SubTask ID=\"10001\" Type=\"FileList\">\r\n";
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        std::vector<std::uint8_t> stored;
        const FixtureBody& body = bodies[i];
        if (body.raw) {
            stored.assign(body.content.begin(), body.content.end());
        } else {
            LzssEncode(reinterpret_cast<const std::uint8_t*>(body.content.data()),
                       body.content.size(), stored);
        }
        FixtureEntry entry;
        entry.raw = body.raw;
        entry.size = std::int32_t(stored.size());
        EXPECT_TRUE(writer.AddBody(stored.data(), stored.size(), entry.offset))
            << writer.LastError();
        if (!stored.empty()) {
            writer.RecordBody(entry.offset, body.recorded >= 0 ? std::uint64_t(body.recorded)
                                                               : body.content.size());
        }
        set.entries.push_back(entry);
        std::string path = body.path.empty() ? "[InstallDir]\\f" + std::to_string(i) : body.path;
        char kind = body.kind != 0 ? body.kind : body.raw ? 'N' : 'A';
        for (int copy = 0; copy < body.listed; ++copy) {
            set.projectXml += "<File>" + path + (copy ? "~" + std::to_string(copy) : "") + "," +
                              std::to_string(entry.offset) + "," + std::to_string(entry.size) +
                              "," + kind + ",2003-7-28 20:34:2</File>\r\n";
        }
    }
    set.projectXml += "</SubTask>\r\n</Task>\r\n</InstallProject>\r\n";
    EXPECT_TRUE(writer.Finish(set.projectXml, identity)) << writer.LastError();
    set.volumePaths = writer.VolumePaths();
    return set;
}

}  // namespace vesk::test
