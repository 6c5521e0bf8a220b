// Writes quillon.ico, the executable's icon, from the gear artwork the window
// draws: one 32 by 32 image in 256 colours. Run on the build machine:
//   g++ -std=c++20 -I. app/icon/MakeIcon.cpp BUILD/libquillon_core.a -o make-icon && ./make-icon app/quillon.ico
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <vector>

#include "controls/Artwork.h"

namespace {

using quillon::controls::Pixel;

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(value & 0xFF);
    out.push_back(value >> 8 & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, unsigned value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Nearest colour of a palette, so artwork with more than 256 shades still fits.
std::uint8_t Nearest(const std::vector<Pixel>& palette, Pixel pixel) {
    auto distance = [](Pixel a, Pixel b) {
        int total = 0;
        for (int shift : {0, 8, 16}) {
            const int d = int(a >> shift & 0xFF) - int(b >> shift & 0xFF);
            total += d * d;
        }
        return total;
    };
    std::size_t best = 0;
    for (std::size_t i = 1; i < palette.size(); ++i)
        if (distance(palette[i], pixel) < distance(palette[best], pixel)) best = i;
    return static_cast<std::uint8_t>(best);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make-icon OUTPUT.ico\n";
        return 2;
    }
    const quillon::controls::Image image = quillon::controls::MakeArtwork(quillon::controls::Artwork::Gears);
    constexpr int kSize = 32;

    // The most frequent colours make the palette.
    std::map<Pixel, int> counts;
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        if (image.opaque[i]) ++counts[image.pixels[i]];
    std::multimap<int, Pixel, std::greater<>> byCount;
    for (auto [pixel, count] : counts) byCount.emplace(count, pixel);
    std::vector<Pixel> palette{0};
    for (auto [count, pixel] : byCount)
        if (palette.size() < 256) palette.push_back(pixel);
    palette.resize(256, 0);

    std::vector<std::uint8_t> bitmap;
    Put32(bitmap, 40);
    Put32(bitmap, kSize);
    Put32(bitmap, kSize * 2);  // colour rows and mask rows
    Put16(bitmap, 1);
    Put16(bitmap, 8);
    for (int i = 0; i < 6; ++i) Put32(bitmap, 0);
    for (Pixel colour : palette) Put32(bitmap, colour);
    for (int y = kSize - 1; y >= 0; --y)
        for (int x = 0; x < kSize; ++x) {
            const std::size_t i = image.index(x, y);
            bitmap.push_back(image.opaque[i] ? Nearest(palette, image.pixels[i]) : 0);
        }
    for (int y = kSize - 1; y >= 0; --y)
        for (int byte = 0; byte < 4; ++byte) {
            std::uint8_t mask = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!image.opaque[image.index(byte * 8 + bit, y)]) mask |= 0x80 >> bit;
            bitmap.push_back(mask);
        }

    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file.push_back(kSize);
    file.push_back(kSize);
    file.push_back(0);  // 256 colours
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 8);
    Put32(file, static_cast<unsigned>(bitmap.size()));
    Put32(file, 22);
    file.insert(file.end(), bitmap.begin(), bitmap.end());
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
    return 0;
}
