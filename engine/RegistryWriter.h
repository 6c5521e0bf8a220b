#pragma once
// Every registry value a tweak sets goes through WriteRegValue: a three-line
// registration script in c:\tempreg.reg, imported silently by regedit (on
// 64-bit Windows by the reg that writes the native view: InNativeView).
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Platform;

enum class RegType : unsigned char { String = 0, Dword = 1, Binary = 2 };

inline constexpr std::string_view kScriptPath = "c:\\tempreg.reg";
inline constexpr std::string_view kImportCommand = "regedit /s c:\\tempreg.reg";

// Whether a script cannot carry the text as text: it holds a C0 control, DEL
// or a C1 control (U+0080 to U+009F). A script in the ANSI code page turns the
// C1 ones into other characters, and one that takes NEL for a line break
// would let the text write lines of its own: the safe side is to refuse them.
bool HoldsControlCharacter(std::string_view text);

// The text with backslashes and double quotes escaped, as a script's quoted
// names and string data need it.
std::string ScriptEscaped(std::string_view text);

// The script's three lines. Backslashes and double quotes in the value name and
// in string data are escaped, so the stored value equals the text given.
// Throws PlatformError for text holding a control character: regedit would
// take a lone carriage return as a line break, letting the text write lines of
// its own.
std::vector<std::string> RegistrationScript(std::string_view key, RegType type,
                                            std::string_view valueName, std::string_view data);

// Writes one value and returns once the import has ended (events are processed
// while waiting), so imports take effect in call order and the script is never
// read half-written; from its writing until the import has ended no other
// process can change the script. No script is left behind. Throws PlatformError
// when the text is refused, the script cannot be written, or the import cannot
// be started or does not end within its bound.
void WriteRegValue(Platform& platform, std::string_view key, RegType type,
                   std::string_view valueName, std::string_view data);

// Imports a whole script the same way, through c:\tempreg.reg: `lines` are
// its lines after the header line, none holding a line break. Throws
// PlatformError as WriteRegValue does.
void ImportScript(Platform& platform, const std::vector<std::string>& lines);

}  // namespace quillon
