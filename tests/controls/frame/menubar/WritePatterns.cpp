// Writes the test patterns as 24-bit bitmap files into the folder given.
#include <cstdio>
#include <string>
#include <vector>

#include "PatternColors.h"

namespace {

bool WriteBitmap(const std::string& path, COLORREF (*colour)(int, int)) {
    const int stride = (mbtest::kPatternW * 3 + 3) & ~3;
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = mbtest::kPatternW;
    ih.biHeight = mbtest::kPatternH;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = static_cast<DWORD>(stride * mbtest::kPatternH);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    std::vector<unsigned char> rows(ih.biSizeImage, 0);
    for (int y = 0; y < mbtest::kPatternH; ++y)
        for (int x = 0; x < mbtest::kPatternW; ++x) {
            // Bottom-up rows, blue first.
            unsigned char* p = &rows[static_cast<size_t>((mbtest::kPatternH - 1 - y) * stride + x * 3)];
            const COLORREF c = colour(x, y);
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&ih, sizeof ih, 1, f) == 1 &&
                    std::fwrite(rows.data(), rows.size(), 1, f) == 1;
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string dir = argv[1];
    const bool ok = WriteBitmap(dir + "/pattern100.bmp", &mbtest::Pattern0) &&
                    WriteBitmap(dir + "/pattern1.bmp", &mbtest::Pattern1);
    return ok ? 0 : 1;
}
