#pragma once
// The 16 colours of the program's pictures, and the letter that stands for each in their text sources.
#include <cstdint>

constexpr char kPaletteChars[] = "krgybptsdRGYBMCW";
constexpr std::uint8_t kPalette[16][3] = {  // red, green, blue
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
