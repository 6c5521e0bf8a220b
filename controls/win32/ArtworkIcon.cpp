#include "controls/win32/ArtworkIcon.h"

#include <vector>

#include "controls/Canvas.h"

namespace quillon::controls::win32 {

UniqueIcon MakeArtworkIcon(Artwork which, int size) {
    Canvas canvas(size, size, 0);
    Canvas mask(size, size, 0);
    const Image image = MakeArtwork(which);
    canvas.drawImage(image, 0, 0, size);
    // The mask canvas marks the opaque pixels white.
    Image solid = image;
    for (std::size_t i = 0; i < solid.pixels.size(); ++i) solid.pixels[i] = 0xFFFFFF;
    mask.drawImage(solid, 0, 0, size);

    std::vector<Pixel> color(canvas.pixels());
    for (std::size_t i = 0; i < color.size(); ++i)
        if (mask.pixels()[i]) color[i] |= 0xFF000000u;
    // Monochrome rows are padded to 16 bits; a set bit is see-through.
    const int stride = (size + 15) / 16 * 2;
    std::vector<BYTE> andBits(static_cast<std::size_t>(stride * size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (!mask.pixel(x, y)) andBits[static_cast<std::size_t>(y * stride + x / 8)] |= 0x80 >> (x % 8);

    void* bits = nullptr;
    UniqueBitmap colorBitmap = CreateTopDownDib(size, size, &bits);
    if (!colorBitmap || !bits) return UniqueIcon();
    std::copy(color.begin(), color.end(), static_cast<Pixel*>(bits));
    UniqueBitmap maskBitmap(CreateBitmap(size, size, 1, 1, andBits.data()));

    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = colorBitmap.get();
    icon.hbmMask = maskBitmap.get();
    return UniqueIcon(CreateIconIndirect(&icon));
}

}  // namespace quillon::controls::win32
