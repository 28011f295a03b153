#include "admin/pictures.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace durnak::admin {

std::string encodeJpeg(const std::uint8_t* rgb, int width, int height, int quality)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jerr.error_exit = [](j_common_ptr) { throw std::runtime_error("JPEG encoding failed"); };
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<std::size_t>(cinfo.next_scanline) * width * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

std::string demoJpeg(std::uint32_t seed, int width, int height)
{
    std::uint32_t state = seed * 2654435761u + 12345u;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    const int r0 = 120 + next() % 120, g0 = 120 + next() % 120, b0 = 120 + next() % 120;
    std::vector<std::uint8_t> px(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* p = &px[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(r0 * (height - y / 2) / height);
            p[1] = static_cast<std::uint8_t>(g0 * (width - x / 3) / width);
            p[2] = static_cast<std::uint8_t>(b0);
        }
    // A disc and a bar: the "part".
    const int cx = width / 4 + static_cast<int>(next() % (width / 2)), cy = height / 3 + static_cast<int>(next() % (height / 3));
    const int radius = height / 6 + static_cast<int>(next() % (height / 5));
    const std::uint8_t shade = static_cast<std::uint8_t>(40 + next() % 60);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int dx = x - cx, dy = y - cy;
            const bool disc = dx * dx + dy * dy <= radius * radius && dx * dx + dy * dy >= radius * radius / 9;
            const bool bar = y > height * 4 / 5 && y < height * 4 / 5 + 6 && x > width / 8 && x < width * 7 / 8;
            if (disc || bar) {
                auto* p = &px[(static_cast<std::size_t>(y) * width + x) * 3];
                p[0] = p[1] = p[2] = shade;
            }
        }
    return encodeJpeg(px.data(), width, height);
}

} // namespace durnak::admin

namespace durnak::admin {
namespace {

void put16(std::string& out, unsigned v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, unsigned v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Stripes and a band, coloured by the seed, as palette indexes 0..127.
std::uint8_t bannerIndex(std::uint32_t seed, int x, int y, int height)
{
    const bool band = y > height / 3 && y < height * 2 / 3;
    return static_cast<std::uint8_t>(((x / 12 + seed) % 16) * 8 + (band ? 7 : (y * 6 / height)));
}

std::array<std::uint8_t, 3> paletteColour(std::uint32_t seed, int index)
{
    const int hue = index / 8, light = index % 8;
    return {static_cast<std::uint8_t>(40 + (hue * 13 + seed * 7) % 120 + light * 10),
            static_cast<std::uint8_t>(60 + (hue * 29) % 100 + light * 8),
            static_cast<std::uint8_t>(120 + (hue * 5) % 60 + light * 6)};
}

} // namespace

std::string demoGif(std::uint32_t seed, int width, int height)
{
    std::string out = "GIF89a";
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    out += static_cast<char>(0xF6);  // global colour table of 128 entries
    out += '\0';
    out += '\0';
    for (int i = 0; i < 128; ++i)
        for (auto c : paletteColour(seed, i)) out += static_cast<char>(c);
    out += ',';
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(width));
    put16(out, static_cast<unsigned>(height));
    out += '\0';
    // LZW with 7-bit literals: codes stay 8 bits wide when a clear code comes before the
    // table would grow, so every code is one byte.
    constexpr int kMinCodeSize = 7, kClear = 128, kEnd = 129, kRun = 126;
    out += static_cast<char>(kMinCodeSize);
    std::string codes;
    int run = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (run == 0) codes += static_cast<char>(kClear);
            codes += static_cast<char>(bannerIndex(seed, x, y, height));
            run = (run + 1) % kRun;
        }
    codes += static_cast<char>(kEnd);
    for (std::size_t i = 0; i < codes.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, codes.size() - i);
        out += static_cast<char>(n);
        out.append(codes, i, n);
    }
    out += '\0';
    out += ';';
    return out;
}

std::string demoBmp(std::uint32_t seed, int width, int height)
{
    const unsigned rowBytes = (static_cast<unsigned>(width) * 3 + 3) & ~3u;
    const unsigned imageBytes = rowBytes * static_cast<unsigned>(height);
    std::string out = "BM";
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<unsigned>(width));
    put32(out, static_cast<unsigned>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {  // bottom-up rows, blue-green-red
        std::string row;
        for (int x = 0; x < width; ++x) {
            const auto c = paletteColour(seed, bannerIndex(seed, x, y, height));
            row += static_cast<char>(c[2]);
            row += static_cast<char>(c[1]);
            row += static_cast<char>(c[0]);
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

} // namespace durnak::admin
