#include "shots/frame_change_detector.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

namespace trevanto {
namespace {

struct Format {
    int bitsPerPixel;
    uint32_t red, green, blue;
};

constexpr Format kRgb32{32, 0x00FF0000, 0x0000FF00, 0x000000FF};
constexpr Format kRgb565{16, 0xF800, 0x07E0, 0x001F};
constexpr Format kRgb555{16, 0x7C00, 0x03E0, 0x001F};
constexpr Format kRgb24{24, 0, 0, 0};

// A frame of 4 x 2 pixels whose channels alternate between mean + d and
// mean - d, so that each channel's mean absolute deviation is exactly d.
struct TestFrame {
    TestFrame(const Format& f, int dr, int dg, int db, int mean = 100, int pitch = 0)
        : format(f), pitch(pitch ? pitch : 4 * f.bitsPerPixel / 8), pixels(this->pitch * 2 + 16) {
        const int bytes = format.bitsPerPixel / 8;
        for (int y = 0; y < 2; ++y) {
            // Rows start at a whole pixel below y x pitch.
            uint8_t* row = pixels.data() + y * this->pitch / bytes * bytes;
            for (int x = 0; x < 4; ++x) {
                const int sign = (x + y) % 2 ? 1 : -1;
                const uint32_t rgb[3] = {static_cast<uint32_t>(mean + sign * dr),
                                         static_cast<uint32_t>(mean + sign * dg),
                                         static_cast<uint32_t>(mean + sign * db)};
                uint8_t* p = row + x * bytes;
                if (bytes == 3) {
                    p[0] = static_cast<uint8_t>(rgb[2]), p[1] = static_cast<uint8_t>(rgb[1]);
                    p[2] = static_cast<uint8_t>(rgb[0]);
                    continue;
                }
                uint32_t word = 0;
                for (int c = 0; c < 3; ++c) {
                    const uint32_t mask = c == 0 ? format.red : c == 1 ? format.green : format.blue;
                    word |= mask ? (rgb[c] << std::countr_zero(mask)) & mask : 0;
                }
                std::memcpy(p, &word, static_cast<size_t>(bytes));  // little-endian
            }
        }
    }
    FramePixels Pixels() const {
        return {pixels.data(), pitch,        4,          2, format.bitsPerPixel,
                format.red,    format.green, format.blue};
    }

    Format format;
    int pitch;
    std::vector<uint8_t> pixels;
};

DetectorResult Feed(FrameChangeDetector& detector, const TestFrame& frame, int32_t number,
                    FrameRole role = FrameRole::Normal) {
    DetectorResult result;
    detector.AnalyseFrame(frame.Pixels(), 0, 0, 4, 2, number, {role, 15.0f}, &result);
    return result;
}

TEST(Detector, ReadsEachChannelThroughItsMask) {
    const struct {
        const char* name;
        Format format;
        int pitch, mean;
        std::array<uint8_t, 3> deviation;
    } rows[] = {{"rgb32", kRgb32, 0, 100, {3, 7, 11}},
                {"bgrx32", {32, 0x0000FF00, 0x00FF0000, 0xFF000000}, 0, 100, {3, 7, 11}},
                {"xbgr32", {32, 0x000000FF, 0x0000FF00, 0x00FF0000}, 0, 100, {3, 7, 11}},
                {"rgb565", kRgb565, 0, 15, {3, 7, 11}},
                {"rgb555", kRgb555, 0, 15, {3, 7, 11}},
                {"rgb555 padded", kRgb555, 12, 15, {3, 7, 11}},
                {"rgb24", kRgb24, 0, 100, {3, 7, 11}},
                {"rgb24 pitch 13", kRgb24, 13, 100, {3, 7, 11}},
                {"rgb24 pitch 14", kRgb24, 14, 100, {3, 7, 11}},
                {"a zero mask reads as zero", {32, 0xFF0000, 0, 0xFF}, 0, 100, {3, 0, 11}}};
    FrameChangeDetector detector;
    int32_t number = 0;  // the same frame number twice would be skipped
    for (const auto& row : rows) {
        const TestFrame frame(row.format, 3, 7, 11, row.mean, row.pitch);
        EXPECT_EQ(Feed(detector, frame, number++, FrameRole::StartsRun).deviation, row.deviation)
            << row.name;
    }
}

TEST(Detector, CallsThatChangeNothingAndEachDepthsOwnState) {
    FrameChangeDetector detector;
    const TestFrame calm(kRgb32, 5, 5, 5), busy(kRgb32, 90, 90, 90);
    Feed(detector, calm, 0, FrameRole::StartsRun);
    DetectorResult report;
    const DetectorInput normal{FrameRole::Normal, 15.0f};
    detector.AnalyseFrame(busy.Pixels(), 4, 0, 10, 2, 1, normal, &report);  // outside the surface
    EXPECT_EQ(report.verdict, DetectorVerdict::NotAnalysed);
    detector.AnalyseFrame(busy.Pixels(), 0, 2, 4, 10, 2, normal, &report);
    EXPECT_EQ(report.verdict, DetectorVerdict::NotAnalysed);
    detector.AnalyseFrame(busy.Pixels(), -5, -5, 0, 0, 3, normal, &report);  // clips to nothing
    EXPECT_EQ(report.verdict, DetectorVerdict::NotAnalysed);
    const std::vector<uint8_t> eightBits(64, 0);
    detector.AnalyseFrame({eightBits.data(), 8, 8, 8, 8, 0, 0, 0}, 0, 0, 8, 8, 4,
                          {FrameRole::EndsShot, 15.0f}, &report);
    EXPECT_EQ(report.verdict, DetectorVerdict::NotAnalysed);
    EXPECT_EQ(report.deviation, (std::array<uint8_t, 3>{}));
    Feed(detector, calm, 5);
    detector.AnalyseFrame(busy.Pixels(), 0, 0, 4, 2, 6, normal, nullptr);  // not remembered
    report = Feed(detector, busy, 6);
    EXPECT_EQ(report.verdict, DetectorVerdict::ShotEnded);
    EXPECT_EQ(report.cutStart, 0);
    // Cut numbers count on across runs; the 16-bit detector has its own runs.
    const int32_t first = report.cutNumber;
    Feed(detector, calm, 0, FrameRole::StartsRun);
    Feed(detector, calm, 1);
    Feed(detector, TestFrame(kRgb565, 1, 1, 1, 15), 7);
    Feed(detector, TestFrame(kRgb565, 1, 1, 1, 15), 8);
    EXPECT_EQ(Feed(detector, TestFrame(kRgb565, 14, 14, 14, 15), 9).cutStart, 7);
    report = Feed(detector, busy, 2);
    EXPECT_EQ(report.cutStart, 0);
    EXPECT_EQ(report.cutNumber, first + 1);
}

}  // namespace
}  // namespace trevanto
