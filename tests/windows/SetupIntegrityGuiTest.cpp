// The real engine stub on signed, damaged and hostile setups: a setup signed by osslsigncode
// (under a certificate made here) runs as an unsigned one does; a damaged setup and the decoding
// bombs end with one message naming the volume, exit code 3 and nothing left in the temporary
// folder.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "DemoInstall.h"
#include "GuiDriver.h"
#include "RunFolders.h"
#include "codec/lzss/LzssEncoder.h"
#include "container/ContainerFormat.h"
#include "resources/LanguageFile.h"
#include "support/CrcForgery.h"
#include "support/SetupFixture.h"
#include "support/TempDir.h"

namespace vesk {
namespace {

constexpr DWORD kExitTimeoutMs = 60000;
constexpr long kDamagedExitCode = 4;

// The host's path of a Windows path under Wine; empty elsewhere.
std::string UnixPathOf(const std::string& path) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    // Through void (*)(), which any function pointer may be cast to and from.
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return std::string();
    std::wstring wide(path.size() + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], int(wide.size()));
    char* unix = toUnix(wide.c_str());
    if (!unix) return std::string();
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

// Runs a shell command on the host (Wine starts Unix programs too, but does not let a Windows
// program wait for one) and gives its exit code, which the command leaves in a file of
// `windowsDir` (whose host path is `unixDir`); -1 when it does not end in time.
long RunHostCommand(const std::string& command, const std::string& windowsDir,
                    const std::string& unixDir) {
    static int runs = 0;
    const std::string name = "exit-" + std::to_string(++runs) + ".txt";
    const std::string line = "{ " + command + "; } >/dev/null 2>&1; echo $? >'" + unixDir + name +
                             ".part'; mv '" + unixDir + name + ".part' '" + unixDir + name + "'";
    std::string commandLine = "\"Z:/bin/sh\" -c \"" + line + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA("Z:\\bin\\sh", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string exitFile = windowsDir + name;
    for (DWORD waited = 0; waited < kExitTimeoutMs; waited += 50) {
        if (test::FileExists(exitFile)) return std::atol(test::ReadWholeFile(exitFile).c_str());
        Sleep(50);
    }
    return -1;
}

std::string Stub() {
    std::string stub = test::ReadWholeFile(VESK_STUB_PATH);
    EXPECT_GT(stub.size(), 1000u) << "stub not found at " << VESK_STUB_PATH;
    return stub;
}

// A setup file without checksums: `stub`, a project section that decodes past the engine's
// bound (groups of eight 18-byte references, 144 bytes from 17), and a tail pointing at it.
std::string ProjectBomb(const std::string& stub) {
    std::string file = stub;
    const std::size_t groups = std::size_t(kMaxProjectText / 144 + 2);
    file.reserve(stub.size() + groups * 17 + kTailSize);
    for (std::size_t i = 0; i < groups; ++i) {
        file += '\0';
        for (int k = 0; k < 8; ++k) file += "\xEE\xFF";
    }
    ContainerTail tail{};
    SetIdentityText(tail, "4711");
    tail.projectOffset = std::uint32_t(stub.size());
    tail.projectSize = std::uint32_t(file.size() - stub.size());
    tail.volumeCounter = kVolumeCounterValue;
    tail.volumeNumber = 1;
    std::uint8_t bytes[kTailSize];
    EncodeTail(tail, bytes);
    return file + std::string(reinterpret_cast<const char*>(bytes), kTailSize);
}

// Whether `text` ends with the file name of `path`, letter case aside.
bool EndsWithName(const std::string& text, const std::string& path) {
    const std::string name = "\\" + path.substr(path.find_last_of("\\/") + 1);
    return text.size() >= name.size() &&
           lstrcmpiA(text.substr(text.size() - name.size()).c_str(), name.c_str()) == 0;
}

class SetupIntegrityGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!test::DisplayAvailable()) GTEST_SKIP() << "no display";
    }

    // Runs `setup`, expects the one message naming `volume`, answers it and gives the exit code.
    long RunDamaged(const std::string& setup, const std::string& volume, const char* screenshot) {
        const std::set<std::string> before = test::TempFolderEntries();
        test::ChildProcess process;
        if (!process.Start(setup)) return -1;
        HWND box = test::WaitForMessageBox(process.Id(), nullptr, kExitTimeoutMs);
        EXPECT_NE(box, nullptr) << "no message";
        if (!box) return process.WaitForExit(kExitTimeoutMs);
        // The engine names the volume by the path it was started from or looked in.
        const std::string text = test::MessageBoxText(box);
        EXPECT_EQ(text.rfind("The setup is damaged: ", 0), 0u) << text;
        EXPECT_TRUE(EndsWithName(text, volume)) << text;
        if (screenshot) {
            EXPECT_TRUE(test::Screenshot(box, screenshot));
        }
        EXPECT_TRUE(test::ClickItem(box, IDOK));
        const long code = process.WaitForExit(kExitTimeoutMs);
        EXPECT_EQ(test::TempFolderEntries(), before)
            << "the run left something in the temporary folder";
        return code;
    }

    // Makes a test certificate in dir_ with the host's openssl; false (with the reason for the
    // skip) when not under Wine or when the host lacks osslsigncode or openssl.
    bool MakeSigner(std::string& why) {
        unixDir_ = UnixPathOf(dir_.Path());
        if (unixDir_.empty()) {
            why = "not under Wine: no host signing tool";
            return false;
        }
        if (unixDir_.back() != '/') unixDir_ += '/';
        if (RunHost("command -v osslsigncode && command -v openssl") != 0) {
            why = "osslsigncode or openssl missing (scripts/deps.sh installs them)";
            return false;
        }
        EXPECT_EQ(RunHost("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "
                          "/CN=VeskTestSigner -keyout " +
                          unixDir_ + "key.pem -out " + unixDir_ + "cert.pem"),
                  0);
        return true;
    }

    // Signs the setup at the Windows path `setup` in place; the command's exit code.
    long Sign(const std::string& setup) {
        const std::string unixSetup = UnixPathOf(setup);
        return RunHost("osslsigncode sign -certs " + unixDir_ + "cert.pem -key " + unixDir_ +
                       "key.pem -in '" + unixSetup + "' -out " + unixDir_ + "Signed.exe && mv " +
                       unixDir_ + "Signed.exe '" + unixSetup + "'");
    }

    long RunHost(const std::string& command) {
        return RunHostCommand(command, dir_.Path(), unixDir_);
    }

    test::TempDir dir_;
    std::string unixDir_;  // dir_ on the host, with a trailing slash
};

TEST_F(SetupIntegrityGuiTest, ASignedSetupRunsAsAnUnsignedOneDoes) {
    std::string why;
    if (!MakeSigner(why)) GTEST_SKIP() << why;
    const std::string stub = Stub();
    test::FixtureSet set = test::BuildFixtureSetWithStub(
        dir_ / "Setup.exe", stub, std::int32_t(stub.size() + 20000),
        {{DefaultLanguageFile(), false}, {test::FixtureBytes(50000, 3, false), true}});
    ASSERT_EQ(set.volumePaths.size(), 2u);
    ASSERT_EQ(Sign(set.setupPath), 0);
    const std::string signedBytes = test::ReadWholeFile(set.setupPath);
    const ImageSigningFields fields = FindImageSigningFields(
        reinterpret_cast<const std::uint8_t*>(signedBytes.data()), signedBytes.size());
    ASSERT_GT(fields.certificateSize, 0u) << "osslsigncode did not sign";
    ASSERT_EQ(fields.certificateOffset + fields.certificateSize, signedBytes.size());

    test::ChildProcess setup;
    ASSERT_TRUE(setup.Start(set.setupPath));
    HWND frame = test::WaitForWizard(setup.Id(), 30000);
    ASSERT_NE(frame, nullptr) << "the signed setup did not find its payload";
    EXPECT_TRUE(test::Screenshot(frame, "SignedSetup-Wizard.bmp"));
    EXPECT_TRUE(test::LeaveWizard(setup.Id()));
    EXPECT_EQ(setup.WaitForExit(kExitTimeoutMs), 2);
}

// What the review did: a signed Setup.exe, its Setup2.Cab changed and the volume's CRC-32 forged
// back. The SHA-256 in the signed Setup.exe refuses the volume: nothing is installed.
TEST_F(SetupIntegrityGuiTest, AVolumeChangedWithItsCrcForgedBackIsRefusedUnderTheSignature) {
    std::string why;
    if (!MakeSigner(why)) GTEST_SKIP() << why;
    test::RemoveTheDemo();
    const std::string setup = test::BuildDemoVariant(dir_);
    ASSERT_FALSE(setup.empty());
    const std::string setupDir = setup.substr(0, setup.find_last_of('\\') + 1);
    ASSERT_EQ(Sign(setup), 0);
    ASSERT_EQ(RunHost("osslsigncode verify -CAfile " + unixDir_ + "cert.pem -in '" +
                      UnixPathOf(setup) + "'"),
              0)
        << "the signature holds";

    const std::string cab = setupDir + "Setup2.Cab";
    std::string volume = test::ReadWholeFile(cab);
    ASSERT_GT(volume.size(), 3000u);
    const std::size_t stream = volume.size() - kTailSize;
    const std::uint32_t crc = test::Crc32Of(volume, 0, stream);
    volume.replace(1000, 10, "HKLM\\Run=x");
    ASSERT_TRUE(test::ForgeCrc32(volume, 0, stream, 2000, crc));
    ASSERT_TRUE(test::WriteWholeFile(cab, volume));

    const std::string folder = test::kTestRoot + "\\Forged";
    const std::string log = dir_ / "setup.log";
    test::ChildProcess process;
    ASSERT_TRUE(process.Start(setup, "/S /LOG=" + log + " /D=" + folder));
    EXPECT_EQ(process.WaitForExit(test::kInstallTimeoutMs), kDamagedExitCode);
    const std::string logText = test::ReadWholeFile(log);
    const std::size_t damaged = logText.find("The setup is damaged: ");
    ASSERT_NE(damaged, std::string::npos) << logText;
    const std::string line = logText.substr(damaged, logText.find('\r', damaged) - damaged);
    EXPECT_TRUE(EndsWithName(line, cab)) << line;
    EXPECT_NE(logText.find("Result    the setup is damaged (exit code 4)"), std::string::npos)
        << logText;
    EXPECT_FALSE(test::FileExists(folder)) << "rolled back: nothing of the product stays";
    test::RemoveTheDemo();
}

TEST_F(SetupIntegrityGuiTest, DamagedAndHostileSetupsEndWithOneMessage) {
    const std::string stub = Stub();
    const std::string language = DefaultLanguageFile();
    enum class Damage { FlippedBit, ProjectBomb, StartupBomb };
    struct Case {
        const char* name;
        Damage damage;
        const char* screenshot;
    };
    const Case cases[] = {
        {"a flipped bit in a body", Damage::FlippedBit, "DamagedSetup-Message.bmp"},
        {"a project section that decodes past its bound", Damage::ProjectBomb, nullptr},
        {"a start-up body listed 40000 times", Damage::StartupBomb, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string setup = dir / "Setup.exe";
        switch (c.damage) {
            case Damage::FlippedBit: {
                test::FixtureSet set = test::BuildFixtureSetWithStub(
                    setup, stub, 1 << 30,
                    {{language, false}, {test::FixtureBytes(9000, 4, false), true}});
                std::string bytes = test::ReadWholeFile(setup);
                bytes[std::size_t(set.entries[1].offset) + 4000] ^= 0x08;
                ASSERT_TRUE(test::WriteWholeFile(setup, bytes));
                break;
            }
            case Damage::ProjectBomb:
                ASSERT_TRUE(test::WriteWholeFile(setup, ProjectBomb(stub)));
                break;
            case Damage::StartupBomb:
                test::BuildFixtureSetWithStub(
                    setup, stub, 1 << 30,
                    {{language, false, 'K', "[TempFileDir]\\~VeskInstall-Language.ini"},
                     {std::string(200000, 'x'), false, 'K', "[TempFileDir]\\~VeskInstall-Bomb",
                      40000}});
                break;
        }
        EXPECT_EQ(RunDamaged(setup, setup, c.screenshot), kDamagedExitCode);
    }
}

}  // namespace
}  // namespace vesk
