// The Security phase through the Win32 platform, against Wine's real regedit,
// reg and registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/Phases.h"
#include "platform/win32/Win32Platform.h"
#include "tests/support/MemoryForm.h"
#include "tests/wine/RegistryRead.h"
#include "tests/wine/RegistryTree.h"

namespace quillon {
namespace {

const std::wstring kSafeBoot = L"SYSTEM\\CurrentControlSet\\Control\\SafeBoot";
const std::wstring kNameSpace = L"Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace";
const std::wstring kRecycleBin = kNameSpace + L"\\{645FF040-5081-101B-9F08-00AA002F954E}";
const std::wstring kUserPolicy = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const std::wstring kBlockList = kUserPolicy + L"\\DisallowCpl";

// Puts a key back as it was before the test, or removes it if it was not there.
class KeptKey {
public:
    KeptKey(HKEY root, std::wstring subkey)
        : root_(root), subkey_(std::move(subkey)), saved_(test::ReadTree(root_, subkey_)) {}
    ~KeptKey() {
        test::DeleteTree(root_, subkey_);
        if (saved_) test::WriteTree(root_, subkey_, *saved_);
    }
    KeptKey(const KeptKey&) = delete;
    KeptKey& operator=(const KeptKey&) = delete;

private:
    HKEY root_;
    std::wstring subkey_;
    std::optional<test::RegistryTree> saved_;
};

void SetValue(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}
void SetString(const std::wstring& subkey, const wchar_t* name, const std::wstring& data) {
    SetValue(subkey, name, REG_SZ, data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}
void SetDword(const std::wstring& subkey, const wchar_t* name, DWORD data) {
    SetValue(subkey, name, REG_DWORD, &data, sizeof data);
}

// Named values only: Wine's `reg add` also gives a new key an empty default value.
std::vector<std::wstring> NamedValues(const test::RegistryTree& tree) {
    std::vector<std::wstring> names;
    for (const test::TreeValue& v : tree.values)
        if (!v.name.empty()) names.push_back(v.name);
    return names;
}

std::optional<test::RegistryTree> SafeBootTree(const wchar_t* name) {
    return test::ReadTree(HKEY_LOCAL_MACHINE, kSafeBoot + L"\\" + name);
}

struct SecurityPhaseWine : ::testing::Test {
    win32::Win32Platform platform;
    test::MemoryForm form;
    SecurityPhaseWine() { form.showOnly(Page::Security); }
    void run() {
        RunContext context{form, platform, "Tester"};
        RunSecurityPhase(context);
    }
};

TEST_F(SecurityPhaseWine, SafeModeGoesAsideAndComesBackWhole) {
    KeptKey kept(HKEY_LOCAL_MACHINE, kSafeBoot);
    test::DeleteTree(HKEY_LOCAL_MACHINE, kSafeBoot);
    SetString(kSafeBoot, L"AlternateShell", L"cmd.exe");
    SetString(kSafeBoot + L"\\Minimal\\{4D36E965-E325-11CE-BFC1-08002BE10318}", L"", L"CD-ROM Drive");
    SetString(kSafeBoot + L"\\Minimal\\vga.sys", L"", L"Driver");
    SetDword(kSafeBoot + L"\\Minimal\\Base\\Deep\\Deeper", L"Order", 7);
    SetString(kSafeBoot + L"\\Network\\NetBT", L"", L"Service");
    SetString(kSafeBoot + L"\\Network\\Ndis\\Sub", L"Kept", L"yes");
    const auto minimal = SafeBootTree(L"Minimal"), network = SafeBootTree(L"Network");
    ASSERT_TRUE(minimal && network);
    ASSERT_EQ(minimal->subkeys.size(), 3u);

    form.setChk(39, kTicked);
    run();
    EXPECT_EQ(SafeBootTree(L"Minimal1"), minimal);
    EXPECT_EQ(SafeBootTree(L"Network1"), network);
    EXPECT_FALSE(SafeBootTree(L"Minimal"));
    EXPECT_FALSE(SafeBootTree(L"Network"));

    run();  // ticked again: nothing to move, the backups stay whole
    EXPECT_EQ(SafeBootTree(L"Minimal1"), minimal);
    EXPECT_EQ(SafeBootTree(L"Network1"), network);

    form.setChk(39, kUnticked);
    run();
    EXPECT_EQ(SafeBootTree(L"Minimal"), minimal);
    EXPECT_EQ(SafeBootTree(L"Network"), network);
    EXPECT_FALSE(SafeBootTree(L"Minimal1"));
    EXPECT_FALSE(SafeBootTree(L"Network1"));
    auto shell = test::ReadValue(HKEY_LOCAL_MACHINE, kSafeBoot, L"AlternateShell");
    ASSERT_TRUE(shell);
    EXPECT_EQ(shell->text, L"cmd.exe");
}

TEST_F(SecurityPhaseWine, RecycleBinKeyIsDeletedOnceAndComesBackEmpty) {
    KeptKey kept(HKEY_LOCAL_MACHINE, kNameSpace);
    SetString(kRecycleBin, L"", L"Recycle Bin");
    form.setChk(37, kTicked);
    run();
    EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, kRecycleBin));
    const auto others = test::ReadTree(HKEY_LOCAL_MACHINE, kNameSpace);
    run();
    EXPECT_EQ(test::ReadTree(HKEY_LOCAL_MACHINE, kNameSpace), others);

    form.setChk(37, kUnticked);
    run();
    auto restored = test::ReadTree(HKEY_LOCAL_MACHINE, kRecycleBin);
    ASSERT_TRUE(restored);
    EXPECT_TRUE(NamedValues(*restored).empty());
    auto unnamed = test::ReadValue(HKEY_LOCAL_MACHINE, kRecycleBin, L"");
    if (unnamed) {
        EXPECT_EQ(unnamed->text, L"");
    }
    EXPECT_TRUE(restored->subkeys.empty());
}

TEST_F(SecurityPhaseWine, BlockListHoldsOnlyAddOrRemoveProgramsWhenTicked) {
    test::DeleteTree(HKEY_CURRENT_USER, kBlockList);
    form.setChk(27, kTicked);
    run();
    auto flag = test::ReadValue(HKEY_CURRENT_USER, kUserPolicy, L"DisallowCpl");
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(flag->dword, 1u);
    auto list = test::ReadTree(HKEY_CURRENT_USER, kBlockList);
    ASSERT_TRUE(list);
    EXPECT_EQ(NamedValues(*list), std::vector<std::wstring>{L"1"});
    auto entry = test::ReadValue(HKEY_CURRENT_USER, kBlockList, L"1");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(entry->text, L"Appwiz.cpl");

    form.setChk(27, kUnticked);
    run();
    EXPECT_EQ(test::ReadValue(HKEY_CURRENT_USER, kUserPolicy, L"DisallowCpl")->dword, 0u);
    entry = test::ReadValue(HKEY_CURRENT_USER, kBlockList, L"1");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->text, L"");
    test::DeleteTree(HKEY_CURRENT_USER, kBlockList);
}

TEST_F(SecurityPhaseWine, DownloadDirectoryIsStoredExactlyAsTyped) {
    form.setTxtPath("D:\\My Files\\Down \"loads\"\\ here\\");
    form.setListSelected(CheckList::Hide, 0, true);
    form.setListSelected(CheckList::Hide, 25, true);
    run();
    auto stored = test::ReadValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer", L"downloadDirectory");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->text, L"D:\\My Files\\Down \"loads\"\\ here\\");
    auto drives = test::ReadValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer",
                                  L"NoDrives");
    ASSERT_TRUE(drives);
    EXPECT_EQ(drives->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(drives->dword, 0x2000001u);
    EXPECT_EQ(form.progressHistory(), (std::vector<int>{500, 3500, 6800, 8000, 9000, 9900, 10905}));
}

// Boxes whose value a later box of the same page (or, for 65, the unticked
// side of 58) also writes: ticked alone, through the real regedit, they hold.
TEST_F(SecurityPhaseWine, ABoxTickedAloneKeepsTheValueItSharesWithALaterBox) {
    const std::wstring machinePolicy = L"Software\\Microsoft\\Windows\\CurrentVersion\\policies\\Explorer";
    const std::wstring update = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WindowsUpdate";
    KeptKey keptMachine(HKEY_LOCAL_MACHINE, machinePolicy);
    KeptKey keptUser(HKEY_CURRENT_USER, update);
    struct Case {
        Page page;
        int box;
        HKEY root;
        std::wstring key;
        const wchar_t* name;
    };
    for (const Case& c : {Case{Page::Security, 19, HKEY_LOCAL_MACHINE, machinePolicy, L"noRun"},
                          Case{Page::Security, 21, HKEY_LOCAL_MACHINE, machinePolicy, L"NoSetTaskbar"},
                          Case{Page::System, 65, HKEY_CURRENT_USER, update, L"DisableWindowsUpdateAccess"}}) {
        for (int box = 0; box < kCheckBoxCount; ++box) form.setChk(box, box == c.box ? kTicked : kUnticked);
        form.showOnly(c.page);
        RunContext context{form, platform, "Tester"};
        RunPhase(context, c.page);
        const auto stored = test::ReadValue(c.root, c.key, c.name);
        ASSERT_TRUE(stored) << c.box;
        EXPECT_EQ(stored->dword, 1u) << c.box;
    }
}

}  // namespace
}  // namespace quillon
