// Builds small setups with the container writer for tests of the reader and the tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk {
class ContainerReader;
}

namespace vesk::test {

struct FixtureBody {
    std::string content;  // the file's bytes
    bool raw = false;     // stored as is (kind N) instead of LZSS
    char kind = 0;        // the kind letter listed; 0: N when raw, A otherwise
    std::string path;     // the path listed; "[InstallDir]\\f" + index when empty
    int listed = 1;       // file-list entries naming this one body (more share it), paths + "~n"
    // The length recorded for the body in the checksum block; -1: its content's, as the builder
    // records it.
    std::int64_t recorded = -1;
};

struct FixtureEntry {
    std::int32_t offset = 0;
    std::int32_t size = 0;  // bytes in the stream
    bool raw = false;
};

struct FixtureSet {
    std::string setupPath;
    std::vector<FixtureEntry> entries;
    std::vector<std::string> volumePaths;
    std::string projectXml;
    std::string identity;
};

// Writes `setupPath` (and its volumes) from a stub of `stubSize` bytes and the bodies, with a
// project text that lists them. Fails the calling test when the writer fails.
FixtureSet BuildFixtureSet(const std::string& setupPath, std::size_t stubSize,
                           std::int32_t diskSize, const std::vector<FixtureBody>& bodies,
                           const std::string& identity = "20261207");

// The same with a given stub image (the real engine, for tests that run the result).
// `extraProperties` is added to the project's properties (task 2401, GetAllVar) as it is, for
// example "<ProvideForInstall>1</ProvideForInstall>\r\n".
FixtureSet BuildFixtureSetWithStub(const std::string& setupPath, const std::string& stubImage,
                                   std::int32_t diskSize, const std::vector<FixtureBody>& bodies,
                                   const std::string& identity = "20261207",
                                   const std::string& extraProperties = "");

// Four bodies, LZSS and raw, that a 3000-byte stub and volumes of kThreeVolumeDiskSize stream
// bytes spread over Setup.exe, Setup2.Cab and Setup3.Cab.
constexpr std::int32_t kThreeVolumeDiskSize = 20000;
const std::vector<FixtureBody>& ThreeVolumeBodies();

// Opens the set as the engine does and reads its project and every body (volumes of `diskSize`
// stream bytes); with `bodies`, each body must give its content. False at the first failure.
bool ReadWholeSet(ContainerReader& reader, const FixtureSet& set, std::int32_t diskSize,
                  const std::vector<FixtureBody>* bodies);

// Deterministic pseudo-random bytes, text-like when `compressible` is set.
std::string FixtureBytes(std::size_t size, std::uint32_t seed, bool compressible);

}  // namespace vesk::test
