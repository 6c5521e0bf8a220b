#include "controls/win32/Fonts.h"

#include <cmath>
#include <string>

#include "controls/win32/ScreenDpi.h"
#include "platform/win32/Text.h"

namespace quillon::controls::win32 {

UniqueFont CreateControlFont(const FontChoice& font) {
    const int dpi = ScreenDpi(LOGPIXELSY);
    LOGFONTW logFont{};
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfCharSet = DEFAULT_CHARSET;
    logFont.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = quillon::win32::Widen(font.name);
    face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&logFont));
}

}  // namespace quillon::controls::win32
