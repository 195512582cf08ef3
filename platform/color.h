#pragma once
// Colours as the drawing code knows them: $00BBGGRR, one byte each for blue,
// green and red. The constants have fixed values so that pictures are
// reproducible on every machine.
#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clBtnFace = 0xF0F0F0;
constexpr TColor clWindowFrame = 0x000000;
constexpr TColor clInfoBk = 0xE1FFFF;
// What a pixel read outside a bitmap returns: neither black nor any area colour.
constexpr TColor clInvalid = 0xFFFFFFFF;

constexpr std::uint8_t GetRValue(TColor c) { return c & 0xFF; }
constexpr std::uint8_t GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t GetBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// The device's nearest colour: on the 32-bit surfaces every colour is exact.
constexpr TColor NearestColor(TColor c) { return c & 0x00FFFFFF; }
