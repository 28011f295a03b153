#pragma once

#include <cstdint>
#include <string>

namespace durnak::admin {

// A small baseline JPEG, different for each seed: a coloured background with a few shapes,
// standing in for a product photo.
std::string demoJpeg(std::uint32_t seed, int width = 160, int height = 120);

// Encodes RGB pixels (width × height × 3 bytes) as a baseline JPEG.
std::string encodeJpeg(const std::uint8_t* rgb, int width, int height, int quality = 80);

} // namespace durnak::admin

namespace durnak::admin {

// Demo banners in the formats the client plays: a single-frame GIF (the animated GIF
// player shows it as it is) and a 24-bit Windows bitmap.
std::string demoGif(std::uint32_t seed, int width, int height);
std::string demoBmp(std::uint32_t seed, int width, int height);

} // namespace durnak::admin
