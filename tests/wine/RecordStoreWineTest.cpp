// Where records live and what pruning may enter, as Windows (here Wine) gives
// the machine's folders, name and links.
#include <windows.h>
#include <shlobj.h>
#include <sddl.h>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "record/RecordStore.h"
#include "platform/win32/Text.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace quillon {
namespace {

using win32::Narrow;
using win32::Widen;

constexpr char kBase[] = "C:\\Quillon record store test";

bool Exists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs a tool of the host (Wine's Z: drive) in `folder` and waits until `done`
// holds: Wine gives no handle to wait on. Wine makes no junction by the
// system's call, but takes a link of the host's file system for one.
template <class Done>
bool RunHostTool(const std::wstring& tool, std::wstring line, const std::string& folder, Done done) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(tool.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, Widen(folder).c_str(),
                        &startup, &info))
        return false;
    win32::UniqueHandle process(info.hProcess), thread(info.hThread);
    for (int i = 0; i < 300 && !done(); ++i) Sleep(100);
    return done();
}

// The host's path of a Windows path, as Wine maps it; empty where it cannot tell.
std::string UnixPath(const std::string& path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(Widen(path).c_str()) : nullptr;
    if (!unix) return {};
    std::string out = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

// Links go as links: Wine's own removal would follow a host link. Started
// only when there is something to remove: a removal the host starts late
// would take the folder the test makes next.
void RemoveTestFolder() {
    if (!Exists(kBase)) return;
    RunHostTool(L"Z:\\bin\\rm", L"rm -rf \"" + Widen(std::string(kBase).substr(3)) + L"\"", "C:\\",
                [] { return !Exists(kBase); });
}

TEST(RecordStoreWine, RecordsLiveInTheMachinesApplicationDataNamedForThisComputer) {
    win32::Win32Platform platform;
    wchar_t common[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, common), S_OK);
    EXPECT_EQ(platform.commonAppDataFolder(), Narrow(common));
    EXPECT_EQ(DefaultUndoRoot(platform), Narrow(common) + "\\Quillon\\undo");

    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(name, &length));
    EXPECT_EQ(platform.computerName(), Narrow(name));
}

TEST(RecordStoreWine, PruningNeverEntersALinkInsideARecord) {
    win32::Win32Platform platform;
    const std::string base = kBase, root = base + "\\undo", theirs = base + "\\theirs";
    if (!Exists("Z:\\bin\\ln")) GTEST_SKIP() << "no host tool to make a folder link with";
    RemoveTestFolder();
    ASSERT_TRUE(CreateDirectoryW(Widen(base).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Widen(theirs).c_str(), nullptr));
    platform.appendFileFlushed(theirs + "\\keep.txt", "not the program's");
    const std::string old = CreateRecordFolder(platform, root, false);
    const std::string target = UnixPath(theirs), link = UnixPath(old) + "/files";
    ASSERT_FALSE(target.empty());
    // In a whole run of this program Wine has been seen not to start the host tool in time (alone it
    // does); the simulated drive's pruning test covers the rule wherever this cannot.
    if (!RunHostTool(L"Z:\\bin\\ln", Widen("ln -s \"" + target + "\" \"" + link + "\""), "C:\\",
                     [&] { return Exists(old + "\\files"); }))
        GTEST_SKIP() << "the host made no folder link in time";
    const std::string made = CreateRecordFolder(platform, root, false);
    EXPECT_TRUE(platform.isLinkOrJunction(old + "\\files"));
    EXPECT_FALSE(platform.isLinkOrJunction(old));

    PruneRecords(platform, root, 1, {made});

    EXPECT_EQ(platform.readFileBytes(theirs + "\\keep.txt"), "not the program's");
    EXPECT_TRUE(ReadRecordHeader(platform, made));
    // Windows removes the link as itself and the record with it; Wine cannot
    // remove a host link, and the record then stays whole, to be tried again.
    EXPECT_TRUE(!platform.directoryExists(old) || ReadRecordHeader(platform, old));
    RemoveTestFolder();
}

// The copy a record keeps of a file about to go: flushed through a handle that
// may write, which a read-only copy is not given until it is made writable.
TEST(RecordStoreWine, AFlushedCopyOfAReadOnlyFileKeepsItsBytesAndAttributes) {
    win32::Win32Platform platform;
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::string folder = Narrow(temp) + "Quillon flushed copy test";
    const std::string from = folder + "\\source.lnk", to = folder + "\\1 source.lnk";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    for (const std::string& path : {from, to}) {
        SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Widen(path).c_str());
    }
    platform.appendFileFlushed(from, std::string("shortcut\0bytes", 14));
    ASSERT_TRUE(SetFileAttributesW(Widen(from).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    platform.copyFileFlushed(from, to);
    EXPECT_EQ(platform.readFileBytes(to), std::string("shortcut\0bytes", 14));
    EXPECT_EQ(GetFileAttributesW(Widen(to).c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    // A copy already there is neither replaced nor removed.
    EXPECT_THROW(platform.copyFileFlushed(folder + "\\missing.lnk", to), PlatformError);
    EXPECT_THROW(platform.copyFileFlushed(from, to), PlatformError);
    EXPECT_EQ(platform.readFileBytes(to), std::string("shortcut\0bytes", 14));

    for (const std::string& path : {from, to}) {
        SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Widen(path).c_str());
    }
    RemoveDirectoryW(Widen(folder).c_str());
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// Which of the writing rights an allowed entry of the folder's list gives, by whom.
std::vector<std::string> WhoMayWrite(const std::string& folder, std::string& owner) {
    DWORD size = 0;
    const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    GetFileSecurityW(Widen(folder).c_str(), parts, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (!GetFileSecurityW(Widen(folder).c_str(), parts, buffer.data(), size, &size)) return {"cannot be read"};
    const auto descriptor = static_cast<PSECURITY_DESCRIPTOR>(buffer.data());
    PSID ownerSid = nullptr;
    BOOL defaulted = FALSE;
    GetSecurityDescriptorOwner(descriptor, &ownerSid, &defaulted);
    const auto named = [&](PSID sid) {
        for (const auto& [type, name] :
             {std::pair{WinLocalSystemSid, "SYSTEM"}, {WinBuiltinAdministratorsSid, "Administrators"},
              {WinWorldSid, "Everyone"}, {WinBuiltinUsersSid, "Users"}, {WinAuthenticatedUserSid, "Authenticated Users"}})
            if (IsWellKnownSid(sid, type)) return std::string(name);
        return std::string(ownerSid && EqualSid(sid, ownerSid) ? "the owner" : "someone else");
    };
    owner = ownerSid ? named(ownerSid) : "none";
    BOOL present = FALSE;
    PACL list = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted);
    if (!present || !list) return {"everyone (no list)"};
    constexpr DWORD kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                               FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
    std::vector<std::string> writers;
    for (DWORD i = 0; i < list->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(list, i, &entry)) continue;
        const auto* header = static_cast<ACE_HEADER*>(entry);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        if (allowed->Mask & kWriting)
            writers.push_back(named(const_cast<DWORD*>(&allowed->SidStart)));
    }
    std::sort(writers.begin(), writers.end());
    writers.erase(std::unique(writers.begin(), writers.end()), writers.end());
    return writers;
}

TEST(RecordStoreWine, UndoFoldersLetOnlyAdministratorsAndTheSystemWriteAndALooserOneIsTightened) {
    win32::Win32Platform platform;
    const std::string root = std::string(kBase) + " acl\\undo";
    CreateDirectoryW(Widen(std::string(kBase) + " acl").c_str(), nullptr);
    CreateDirectoryW(Widen(root).c_str(), nullptr);
    // Made beforehand by someone else, writable by everyone.
    PSECURITY_DESCRIPTOR loose = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &loose,
                                                                     nullptr));
    ASSERT_TRUE(SetFileSecurityW(Widen(root).c_str(), DACL_SECURITY_INFORMATION, loose));
    LocalFree(loose);
    std::string owner;
    const auto anyone = [](const std::vector<std::string>& writers) {
        for (const char* everybody : {"Everyone", "Users", "Authenticated Users", "someone else"})
            if (std::find(writers.begin(), writers.end(), everybody) != writers.end()) return true;
        return false;
    };
    ASSERT_TRUE(anyone(WhoMayWrite(root, owner)));

    const std::string record = CreateRecordFolder(platform, root, false);
    // Windows keeps the list as set. Wine keeps only what its host's file modes
    // hold: the owner is then the user who made the folder, an administrator.
    const std::vector<std::string> writers = WhoMayWrite(root, owner);
    EXPECT_FALSE(anyone(writers)) << ::testing::PrintToString(writers);
    EXPECT_TRUE(owner == "Administrators" || owner == "the owner") << owner;
    // What is made inside takes the same list.
    EXPECT_FALSE(anyone(WhoMayWrite(record, owner)));

    DeleteFileW(Widen(record + "\\record.txt").c_str());
    RemoveDirectoryW(Widen(record).c_str());
    RemoveDirectoryW(Widen(root).c_str());
    RemoveDirectoryW(Widen(std::string(kBase) + " acl").c_str());
}

}  // namespace
}  // namespace quillon
