#pragma once
// Registry key paths as the program and the registry tools write them.
#include <string>
#include <string_view>

namespace quillon {

// "HKLM\\Software\\X\\" -> "HKEY_LOCAL_MACHINE\\Software\\X": the root's full
// name, no trailing backslash; empty when the root is not one Windows has.
std::string NormalisedKey(std::string_view key);

// Whether NormalisedKey(key) is `key` itself.
bool IsNormalisedKey(std::string_view key);

// Whether `key` is `ancestor` or lies below it (both normalised, any case).
bool KeyWithin(std::string_view key, std::string_view ancestor);

// The part of a key below its root ("" for the root itself).
std::string KeyBelowRoot(std::string_view normalisedKey);
std::string KeyRoot(std::string_view normalisedKey);

// A key or file path one level up; "" for a path with no backslash.
std::string ParentPath(std::string_view path);

// On 64-bit Windows a 32-bit program sees most of HKEY_LOCAL_MACHINE\SOFTWARE
// through a view of its own, kept in the native registry below
// HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node; some keys (the policies above all)
// are shared by both views, as on Windows 7 and later. Every key the program
// reads, writes and records is a native path: a key of the 32-bit view is
// named by where the native view keeps it.
enum class RegView { Native, Wow32 };

inline constexpr std::string_view kWow32Node = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node";

// The native path of what a 32-bit program on 64-bit Windows opens as `key` (normalised).
std::string KeyOf32BitView(std::string_view key);
// Which view a native path (normalised) on 64-bit Windows belongs to: asked
// where a target is made (an effect read, a record's line), never of a target after.
RegView ViewOfKey(std::string_view key);
// "64-bit" or "32-bit", for people and records.
const char* ViewName(RegView view);

}  // namespace quillon
