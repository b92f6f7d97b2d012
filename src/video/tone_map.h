#pragma once
// Turns high dynamic range pictures (PQ, as in HDR10, or HLG) into 8-bit
// standard range RGB for frames, thumbnails and images. The signal becomes
// light in nits, a BT.2390-style curve rolls everything above the knee off
// towards the peak of the standard range display, then the BT.2020
// primaries become BT.709 ones and the light is encoded for a gamma 2.4
// display. Standard range white is put at HDR reference white, 203 nits
// (BT.2408), so what was graded at reference white looks nearly white.
#include <array>
#include <cstdint>
#include <vector>

namespace trevanto {

enum class Transfer { Standard, Pq, Hlg };

// Nits of a PQ (SMPTE ST 2084) signal of 0 to 1, and back.
double PqToNits(double signal);
double NitsToPq(double nits);
// Display light in nits of an HLG (ARIB STD-B67) signal of 0 to 1 on a
// 1000 nit display (system gamma 1.2, applied per channel).
double HlgToNits(double signal);
// The tone curve: light on the standard range display (0 to 1, 1 at
// 203 nits) for `nits` of HDR light mastered up to `peakNits`.
double ToneMapNits(double nits, double peakNits);

class ToneMapper {
  public:
    // `wideGamut`: the picture has BT.2020 primaries, else BT.709 ones.
    ToneMapper(Transfer transfer, bool wideGamut);
    Transfer Kind() const { return transfer_; }
    bool WideGamut() const { return wideGamut_; }
    // One row of 16-bit RGB (native order, the HDR signal) into 0xFFRRGGBB
    // words.
    void MapRow(const uint16_t* rgb, uint32_t* out, int width) const;

  private:
    static constexpr int kSignalSteps = 4096;  // of the 16-bit signal
    static constexpr int kRootSteps = 8192;    // of the square root of light
    Transfer transfer_;
    bool wideGamut_;
    std::vector<float> light_;     // signal >> 4 -> standard range light
    std::vector<uint8_t> encode_;  // sqrt(light) x kRootSteps -> 8-bit code
};

}  // namespace trevanto
