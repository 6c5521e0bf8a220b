// WriteRegValue against Wine's real regedit and registry.
#include <gtest/gtest.h>

#include "engine/RegistryWriter.h"
#include "platform/win32/Win32Platform.h"
#include "tests/wine/RegistryRead.h"

namespace quillon {
namespace {

const wchar_t kSubkey[] = L"Software\\QuillonTest\\Writer";
const std::string kKey = "HKEY_CURRENT_USER\\Software\\QuillonTest\\Writer";

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

}  // namespace
}  // namespace quillon
