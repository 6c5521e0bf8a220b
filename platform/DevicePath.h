#pragma once
// Names that open a device rather than a file on disk: reading one may wait
// for ever (COM1, a pipe) or read something that is no file at all.
#include <string>

namespace quillon {

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$ as the last part of a
// path (any case, any extension, trailing dots or blanks), and any path in
// the device namespaces ("\\.\..." or "\\?\..." other than a drive path).
bool IsDevicePath(const std::string& path);

}  // namespace quillon
