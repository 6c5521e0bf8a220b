// The console reads the shell's folders where the shell keeps them, so that a
// verb that needs the Start menu does not load shell32: it must read exactly
// what SHGetFolderPathW answers, in this prefix as in the Windows XP one.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "platform/win32/ShellFolderRecord.h"

namespace quillon::win32 {
namespace {

TEST(ShellFolderRecord, ReadsWhatTheShellAnswersAndLeavesTheRestToIt) {
    for (int csidl : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_APPDATA}) {
        SCOPED_TRACE(csidl);
        wchar_t shell[MAX_PATH] = {};
        const HRESULT result = SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, shell);
        if (const auto recorded = RecordedShellFolder(csidl)) {
            EXPECT_EQ(result, S_OK);
            EXPECT_EQ(*recorded, std::wstring(shell));
        }
    }
    // The folders a reading verb and a run's record need come without the shell here.
    EXPECT_TRUE(RecordedShellFolder(CSIDL_COMMON_STARTMENU));
    EXPECT_TRUE(RecordedShellFolder(CSIDL_COMMON_APPDATA));
    EXPECT_FALSE(RecordedShellFolder(CSIDL_PERSONAL));
}

}  // namespace
}  // namespace quillon::win32
