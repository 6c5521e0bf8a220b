#pragma once
// The shell keeps where its folders are under "User Shell Folders" in the
// registry and answers SHGetFolderPathW from there. Reading the same value
// needs no shell32, which loads user32 and gdi32 with it (16 ms under Wine).
#include <optional>
#include <string>

namespace quillon::win32 {

// The folder CSIDL_STARTUP, CSIDL_COMMON_STARTUP, CSIDL_COMMON_STARTMENU or
// CSIDL_COMMON_APPDATA names, as SHGetFolderPathW gives it (SHGFP_TYPE_CURRENT,
// no token), when the registry names it and the folder exists; nothing
// otherwise, and for any other folder: then only the shell can tell.
std::optional<std::wstring> RecordedShellFolder(int csidl);

}  // namespace quillon::win32
