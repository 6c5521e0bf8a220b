// setup.dat through the Win32 text files: what the ANSI code page holds is
// written as before; what it cannot hold comes back as typed.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "settings/SelectionFile.h"
#include "tests/support/MemoryForm.h"

namespace quillon {
namespace {

struct SelectionFileWine : ::testing::Test {
    win32::Win32Platform platform;
    std::string setupDat = platform.executableFolder() + "\\setup.dat";
    void TearDown() override { DeleteFileW(win32::Widen(setupDat).c_str()); }

    std::string savedBytes(const std::string& path) {
        test::MemoryForm form;
        form.setTxtPath(path);
        SaveSelection(form, platform);
        std::string bytes(4096, '\0');
        DWORD got = 0;
        HANDLE file = CreateFileW(win32::Widen(setupDat).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        bytes.resize(got);
        return bytes;
    }
    std::string loadedPath() {
        test::MemoryForm form;
        LoadSelection(form, platform);
        return form.txtPath();
    }
};

TEST_F(SelectionFileWine, DownloadDirectoryOutsideTheCodePageComesBackAsTyped) {
    for (const std::string path : {"C:\\下载", "C:\\Down＂loads"}) {
        EXPECT_TRUE(savedBytes(path).starts_with("\xEF\xBB\xBF")) << path;
        EXPECT_EQ(loadedPath(), path);
    }
    const std::string plain = savedBytes("C:\\Downloads");
    EXPECT_EQ(plain.substr(0, 2), "\"0") << "an ANSI file, as before";
    EXPECT_NE(plain.find("\"C:\\Downloads\"\r\n"), std::string::npos);
    EXPECT_EQ(loadedPath(), "C:\\Downloads");
}

// Reading a device waits for the device; reading a pipe, for whoever writes
// it. Text files are files on disk, so the window's loader and the console
// both stop at once.
TEST_F(SelectionFileWine, DevicesPipesAndFoldersAreNeverRead) {
    HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\quillon-selection", PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CreateDirectoryW(win32::Widen(setupDat).c_str(), nullptr));
    for (const std::string path : {"COM1", "AUX", "CON", "NUL", "\\\\.\\pipe\\quillon-selection", setupDat.c_str()}) {
        const DWORD start = GetTickCount();
        EXPECT_THROW(platform.readTextFile(path), PlatformError) << path;
        EXPECT_LT(GetTickCount() - start, 5000u) << path;
    }
    EXPECT_EQ(loadedPath(), "");  // the window's loader stops quietly
    RemoveDirectoryW(win32::Widen(setupDat).c_str());
    CloseHandle(pipe);
}

}  // namespace
}  // namespace quillon
