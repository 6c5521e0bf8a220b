// WriteRegValue against Wine's real regedit and registry.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

#include "engine/RegistryWriter.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/RegistryRead.h"

namespace quillon {
namespace {

const wchar_t kSubkey[] = L"Software\\QuillonTest\\Writer";
const std::string kKey = "HKEY_CURRENT_USER\\Software\\QuillonTest\\Writer";
const wchar_t kInjectedSubkey[] = L"Software\\QuillonTest\\Injected";
const char kInjectedScript[] =
    "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\QuillonTest\\Injected]\r\n\"Injected\"=\"x\"\r\n";

struct RegistryWriterWine : ::testing::Test {
    win32::Win32Platform platform;
    // QUILLON_KEEP_TEST_KEYS=1 leaves the values for a look with `wine reg query`.
    void TearDown() override {
        if (!GetEnvironmentVariableW(L"QUILLON_KEEP_TEST_KEYS", nullptr, 0))
            test::DeleteTree(HKEY_CURRENT_USER, L"Software\\QuillonTest");
    }
    test::StoredValue read(const wchar_t* name) {
        auto value = test::ReadValue(HKEY_CURRENT_USER, kSubkey, name);
        EXPECT_TRUE(value) << "value missing";
        return value.value_or(test::StoredValue{});
    }
};

TEST_F(RegistryWriterWine, StoresDwordsFromEveryDigitForm) {
    test::DeleteTree(HKEY_CURRENT_USER, L"Software\\QuillonTest");
    WriteRegValue(platform, kKey, RegType::Dword, "Flag", "00000001");
    WriteRegValue(platform, kKey, RegType::Dword, "Zero", "0");
    WriteRegValue(platform, kKey, RegType::Dword, "Mask", "3FFFFFF");
    for (auto [name, expected] : {std::pair{L"Flag", 1u}, {L"Zero", 0u}, {L"Mask", 0x3FFFFFFu}}) {
        auto value = read(name);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(value.dword, expected) << name;
    }
}

TEST_F(RegistryWriterWine, StoresStringsExactlyAsGiven) {
    WriteRegValue(platform, kKey, RegType::String, "downloadDirectory", "C:\\Downloads");
    WriteRegValue(platform, kKey, RegType::String, "Empty", "");
    WriteRegValue(platform, kKey, RegType::String, "1", "Appwiz.cpl");
    WriteRegValue(platform, kKey, RegType::String, "Odd", "D:\\a \"quoted\" dir\\");
    EXPECT_EQ(read(L"downloadDirectory").text, L"C:\\Downloads");
    EXPECT_EQ(read(L"Empty").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(read(L"Empty").text, L"");
    EXPECT_EQ(read(L"1").text, L"Appwiz.cpl");
    EXPECT_EQ(read(L"Odd").text, L"D:\\a \"quoted\" dir\\");
}

TEST_F(RegistryWriterWine, LaterWriteWinsAndNoScriptIsLeft) {
    for (int i = 0; i < 5; ++i)
        WriteRegValue(platform, kKey, RegType::Dword, i % 2 ? "cpupriority" : "CPUPriority", "0000000" + std::to_string(i));
    EXPECT_EQ(read(L"CPUPriority").dword, 4u);
    EXPECT_EQ(GetFileAttributesW(L"c:\\tempreg.reg"), INVALID_FILE_ATTRIBUTES);
}

// A held key that was missing must not hide what the tool then creates.
TEST_F(RegistryWriterWine, HeldReadsSeeWhatAToolWritesAfterThem) {
    test::DeleteTree(HKEY_CURRENT_USER, L"Software\\QuillonTest");
    platform.holdRegistryKeysOpen(true);
    EXPECT_FALSE(platform.registryKeyExists(kKey));
    EXPECT_FALSE(platform.registryValue(kKey, "Held"));
    WriteRegValue(platform, kKey, RegType::Dword, "Held", "00000007");
    EXPECT_TRUE(platform.registryKeyExists(kKey));
    EXPECT_EQ(platform.registryValue(kKey, "Held"), DwordValue(7));
    platform.holdRegistryKeysOpen(true);
    EXPECT_EQ(platform.registryValue(kKey, "HELD"), DwordValue(7));  // one held key, any spelling
    WriteRegValue(platform, kKey, RegType::Dword, "Held", "00000008");
    EXPECT_EQ(platform.registryValue(kKey, "Held"), DwordValue(8));
    platform.holdRegistryKeysOpen(false);
}

TEST_F(RegistryWriterWine, TypedTextNeverWritesKeysOfItsOwn) {
    const std::string pasted = "C:\\dl\r[HKEY_CURRENT_USER\\Software\\QuillonTest\\Injected]\r\"Injected\"=\"x\"";
    EXPECT_THROW(WriteRegValue(platform, kKey, RegType::String, "downloadDirectory", pasted), PlatformError);
    EXPECT_THROW(WriteRegValue(platform, kKey, RegType::String, "downloadDirectory", "C:\\dl\n[x]"), PlatformError);
    // Look-alikes of '"' and '\\' that best fit would turn into the real ones.
    WriteRegValue(platform, kKey, RegType::String, "Quote", "C:\\Down＂loads＼＂]");
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kInjectedSubkey));
    EXPECT_EQ(read(L"Quote").text, L"C:\\Down\xFF02loads\xFF3C\xFF02]");
    EXPECT_EQ(GetFileAttributesW(L"c:\\tempreg.reg"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RegistryWriterWine, TextTheCodePageCannotHoldIsStoredAsTyped) {
    WriteRegValue(platform, kKey, RegType::String, "downloadDirectory", "C:\\下载");
    WriteRegValue(platform, kKey, RegType::String, "名前", "Caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(read(L"downloadDirectory").text, L"C:\\\x4E0B\x8F7D");
    EXPECT_EQ(read(L"\x540D\x524D").text, L"Caf\xE9 \x20AC");
}

// Another program rewrites or replaces c:\tempreg.reg as fast as it can while
// values are written.
DWORD WINAPI RewriteScriptUntilStopped(void* stop) {
    const std::wstring decoy = L"c:\\decoy.reg";
    for (unsigned round = 0; !static_cast<std::atomic<bool>*>(stop)->load(); ++round) {
        if (round % 2 == 0) {
            HANDLE file = CreateFileW(L"c:\\tempreg.reg", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            DWORD written = 0;
            WriteFile(file, kInjectedScript, sizeof kInjectedScript - 1, &written, nullptr);
            CloseHandle(file);
        } else {
            HANDLE file = CreateFileW(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            DWORD written = 0;
            WriteFile(file, kInjectedScript, sizeof kInjectedScript - 1, &written, nullptr);
            CloseHandle(file);
            if (GetFileAttributesW(L"c:\\tempreg.reg") != INVALID_FILE_ATTRIBUTES)
                MoveFileExW(decoy.c_str(), L"c:\\tempreg.reg", MOVEFILE_REPLACE_EXISTING);
        }
    }
    DeleteFileW(decoy.c_str());
    return 0;
}

TEST_F(RegistryWriterWine, ScriptCannotBeSwappedBetweenWritingAndImport) {
    test::DeleteTree(HKEY_CURRENT_USER, L"Software\\QuillonTest");
    std::atomic<bool> stop{false};
    HANDLE rewriter = CreateThread(nullptr, 0, RewriteScriptUntilStopped, &stop, 0, nullptr);
    ASSERT_TRUE(rewriter);
    int written = 0;
    std::vector<bool> stored(40, false);
    for (int i = 0; i < 40; ++i) {
        try {
            WriteRegValue(platform, kKey, RegType::Dword, "V" + std::to_string(i), "0000000" + std::to_string(i % 8));
            stored[i] = true;
            ++written;
        } catch (const PlatformError&) {
            // A script someone else got hold of is not imported: the write fails instead.
        }
    }
    stop = true;
    WaitForSingleObject(rewriter, INFINITE);
    CloseHandle(rewriter);
    DeleteFileW(L"c:\\tempreg.reg");
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kInjectedSubkey));
    std::printf("%d of 40 writes went through while the script was attacked\n", written);
    EXPECT_GT(written, 0);
    for (int i = 0; i < 40; ++i) {
        if (!stored[i]) continue;
        EXPECT_EQ(read((L"V" + std::to_wstring(i)).c_str()).dword, static_cast<DWORD>(i % 8)) << i;
    }
}

}  // namespace
}  // namespace quillon
