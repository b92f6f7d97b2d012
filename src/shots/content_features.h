#pragma once
// What the content detector knows of a picture: its layout (the mean
// brightness of a coarse grid of blocks), its brightness and colour
// histograms and whether it is black. Measured from the 100 x 80 thumbnail
// every slicing run already has, so the player's run and the segment
// workers measure the same pixels.
#include <array>
#include <cstdint>
#include <optional>

namespace trevanto {

struct FramePixels;

inline constexpr int kContentGridColumns = 20;
inline constexpr int kContentGridRows = 16;
inline constexpr int kContentLumaBins = 32;
inline constexpr int kContentColourBins = 64;  // 4 x 4 x 4 levels of red, green, blue

struct ContentFeatures {
    std::array<float, kContentGridColumns * kContentGridRows> layout{};  // block brightness
    std::array<float, kContentLumaBins> luma{};                          // shares, sum 1
    std::array<float, kContentColourBins> colour{};                      // shares, sum 1
    float meanLuma = 0.0f;
    float layoutSpread = 0.0f;  // standard deviation of the layout's blocks
    bool black = false;
};

// The features of a whole picture; nothing for another depth than 24 or 32
// bits, or no pixels. Pure: any thread may measure any picture.
std::optional<ContentFeatures> MeasureContent(const FramePixels& pixels);

// How unlike two pictures are, from 0 (the same) to 100: half from their
// layouts (one minus their correlation, weighed down where a picture is
// too flat to have a layout), half from their histograms.
float ContentDistance(const ContentFeatures& a, const ContentFeatures& b);

}  // namespace trevanto
