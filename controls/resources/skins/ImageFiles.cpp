#include "ImageFiles.h"

#include <cstdio>
#include <memory>

namespace skingen {
namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void Put32Be(std::vector<uint8_t>& v, uint32_t x) {
    for (int s = 24; s >= 0; s -= 8)
        v.push_back(static_cast<uint8_t>(x >> s));
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

bool WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::unique_ptr<FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
    if (!f) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return false;
    return std::fflush(f.get()) == 0;
}

void PutInfoHeader(std::vector<uint8_t>& v, int w, int h, int bits, uint32_t imageSize) {
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(w));
    Put32(v, static_cast<uint32_t>(h));
    Put16(v, 1);
    Put16(v, static_cast<uint32_t>(bits));
    Put32(v, 0); // BI_RGB
    Put32(v, imageSize);
    Put32(v, 2835); // 72 dpi
    Put32(v, 2835);
    Put32(v, 0);
    Put32(v, 0);
}

// The DIB of one icon or cursor image: 32-bit colour with alpha, then the
// 1-bit AND mask for systems that ignore the alpha channel.
std::vector<uint8_t> IconDib(const Raster& img) {
    const int w = img.Width(), h = img.Height();
    const int maskStride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> v;
    PutInfoHeader(v, w, h * 2, 32, static_cast<uint32_t>(w * h * 4 + maskStride * h));
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = img.At(x, y);
            const uint8_t a = Raster::Byte(img.AlphaAt(x, y) * 255);
            v.push_back(a ? Raster::Byte(c.b) : 0);
            v.push_back(a ? Raster::Byte(c.g) : 0);
            v.push_back(a ? Raster::Byte(c.r) : 0);
            v.push_back(a);
        }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (img.AlphaAt(x, y) < 0.5f) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

// type 1 icon, 2 cursor; for cursors the two words after the colour count are the hot spot.
std::vector<uint8_t> IconFile(const std::vector<Raster>& images, int type, int hotX, int hotY) {
    std::vector<uint8_t> v;
    Put16(v, 0);
    Put16(v, static_cast<uint32_t>(type));
    Put16(v, static_cast<uint32_t>(images.size()));
    std::vector<std::vector<uint8_t>> dibs;
    for (const Raster& r : images)
        dibs.push_back(IconDib(r));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        v.push_back(static_cast<uint8_t>(images[i].Width() & 0xFF));
        v.push_back(static_cast<uint8_t>(images[i].Height() & 0xFF));
        v.push_back(0);
        v.push_back(0);
        Put16(v, type == 2 ? static_cast<uint32_t>(hotX) : 1);
        Put16(v, type == 2 ? static_cast<uint32_t>(hotY) : 32);
        Put32(v, static_cast<uint32_t>(dibs[i].size()));
        Put32(v, offset);
        offset += static_cast<uint32_t>(dibs[i].size());
    }
    for (const auto& d : dibs)
        v.insert(v.end(), d.begin(), d.end());
    return v;
}

uint32_t Adler32(const std::vector<uint8_t>& d) {
    uint32_t a = 1, b = 0;
    for (uint8_t x : d) {
        a = (a + x) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutChunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
    Put32Be(png, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png.insert(png.end(), body.begin(), body.end());
    Put32Be(png, Crc32(body.data(), body.size()));
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::vector<uint8_t> EncodeBmp24(const Raster& img) {
    const int w = img.Width(), h = img.Height();
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    Put32(v, static_cast<uint32_t>(14 + 40 + stride * h));
    Put32(v, 0);
    Put32(v, 14 + 40);
    PutInfoHeader(v, w, h, 24, static_cast<uint32_t>(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = img.At(x, y);
            v.push_back(Raster::Byte(c.b));
            v.push_back(Raster::Byte(c.g));
            v.push_back(Raster::Byte(c.r));
        }
        for (int p = w * 3; p < stride; ++p)
            v.push_back(0);
    }
    return v;
}

std::vector<uint8_t> EncodePng(const Raster& img) {
    const int w = img.Width(), h = img.Height();
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(h) * (1 + 3 * w));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0); // filter: none
        for (int x = 0; x < w; ++x) {
            const Rgb c = img.At(x, y);
            raw.push_back(Raster::Byte(c.r));
            raw.push_back(Raster::Byte(c.g));
            raw.push_back(Raster::Byte(c.b));
        }
    }
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const size_t n = std::min<size_t>(65535, raw.size() - at);
        z.push_back(at + n >= raw.size() ? 1 : 0);
        Put16(z, static_cast<uint32_t>(n));
        Put16(z, static_cast<uint32_t>(~n & 0xFFFF));
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                 raw.begin() + static_cast<ptrdiff_t>(at + n));
        if (raw.empty()) break;
    }
    Put32Be(z, Adler32(raw));

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> ihdr;
    Put32Be(ihdr, static_cast<uint32_t>(w));
    Put32Be(ihdr, static_cast<uint32_t>(h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteBmp24(const std::string& path, const Raster& img) {
    return WriteAll(path, EncodeBmp24(img));
}

bool WriteIco(const std::string& path, const std::vector<Raster>& images) {
    return WriteAll(path, IconFile(images, 1, 0, 0));
}

bool WriteCur(const std::string& path, const Raster& img, int hotX, int hotY) {
    return WriteAll(path, IconFile({img}, 2, hotX, hotY));
}

bool WritePng(const std::string& path, const Raster& img) {
    return WriteAll(path, EncodePng(img));
}

} // namespace skingen
