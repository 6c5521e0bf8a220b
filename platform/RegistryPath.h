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

}  // namespace quillon
