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
constexpr Format kBgrx32{32, 0x0000FF00, 0x00FF0000, 0xFF000000};
constexpr Format kXbgr32{32, 0x000000FF, 0x0000FF00, 0x00FF0000};
constexpr Format kRgb565{16, 0xF800, 0x07E0, 0x001F};
constexpr Format kRgb555{16, 0x7C00, 0x03E0, 0x001F};
constexpr Format kRgb24{24, 0, 0, 0};

uint32_t Place(uint32_t value, uint32_t mask) {
    return mask == 0 ? 0 : (value << std::countr_zero(mask)) & mask;
}

// A frame of 4 x 2 pixels whose channels alternate between mean + d and
// mean - d, so that each channel's mean absolute deviation is exactly d.
class TestFrame {
  public:
    TestFrame(const Format& format, int pitch = 0) : format_(format) {
        const int bytes = format.bitsPerPixel / 8;
        pitch_ = pitch ? pitch : kWidth * bytes;
        pixels_.assign(static_cast<size_t>(pitch_) * kHeight + 16, 0);
    }

    void Paint(int dr, int dg, int db, int mean = 15) {
        const int bytes = format_.bitsPerPixel / 8;
        for (int y = 0; y < kHeight; ++y) {
            // Rows start at a whole pixel below y x pitch.
            const size_t row = static_cast<size_t>(y) * pitch_ / bytes * bytes;
            for (int x = 0; x < kWidth; ++x) {
                const int sign = ((x + y) % 2) ? 1 : -1;
                const uint32_t r = mean + sign * dr, g = mean + sign * dg, b = mean + sign * db;
                uint8_t* p = pixels_.data() + row + static_cast<size_t>(x) * bytes;
                if (format_.bitsPerPixel == 24) {
                    p[0] = static_cast<uint8_t>(b);
                    p[1] = static_cast<uint8_t>(g);
                    p[2] = static_cast<uint8_t>(r);
                    continue;
                }
                const uint32_t word =
                    Place(r, format_.red) | Place(g, format_.green) | Place(b, format_.blue);
                if (bytes == 2) {
                    const uint16_t half = static_cast<uint16_t>(word);
                    std::memcpy(p, &half, 2);
                } else {
                    std::memcpy(p, &word, 4);
                }
            }
        }
    }

    FramePixels Pixels() const {
        return {pixels_.data(),       pitch_,      kWidth,        kHeight,
                format_.bitsPerPixel, format_.red, format_.green, format_.blue};
    }

    static constexpr int kWidth = 4;
    static constexpr int kHeight = 2;

  private:
    Format format_;
    int pitch_;
    std::vector<uint8_t> pixels_;
};

class Detector : public ::testing::Test {
  protected:
    // Analyses the whole test frame; returns the report.
    DetectorReport Feed(const TestFrame& frame, int32_t number, int32_t state = 1,
                        float threshold = 15.0f) {
        DetectorReport report;
        report.state = state;
        report.threshold = threshold;
        report.deviation = {128, 128, 128};
        detector_.AnalyseFrame(frame.Pixels(), 0, 0, TestFrame::kWidth, TestFrame::kHeight, number,
                               &report);
        return report;
    }

    FrameChangeDetector detector_;
};

TEST_F(Detector, ThresholdIsExceededStrictly) {
    TestFrame frame(kRgb32);
    frame.Paint(20, 20, 20, 100);
    Feed(frame, 0, 0);
    Feed(frame, 1);
    EXPECT_EQ(Feed(frame, 2).state, 1);

    frame.Paint(25, 25, 25, 100);  // a change of exactly 15: no cut
    DetectorReport report = Feed(frame, 3);
    EXPECT_EQ(report.state, 1);
    EXPECT_EQ(report.deviation, (std::array<uint8_t, 3>{25, 25, 25}));

    frame.Paint(20, 20, 20, 100);
    Feed(frame, 4);
    frame.Paint(26, 25, 25, 100);  // 16 > 15: a cut ending at the previous frame
    report = Feed(frame, 5);
    EXPECT_EQ(report.state, 2);
    EXPECT_EQ(report.cutStart, 0);
    EXPECT_EQ(report.cutEnd, 4);
}

TEST_F(Detector, SameFrameTwiceChangesNothing) {
    TestFrame frame(kRgb32);
    frame.Paint(10, 10, 10, 100);
    Feed(frame, 0, 0);
    Feed(frame, 5);
    frame.Paint(90, 90, 90, 100);
    const DetectorReport first = Feed(frame, 6);
    EXPECT_EQ(first.state, 2);
    const DetectorReport again = Feed(frame, 6);
    EXPECT_EQ(again.state, 1);  // as the caller filled it
    EXPECT_EQ(again.cutNumber, 0);
    EXPECT_EQ(again.deviation, (std::array<uint8_t, 3>{128, 128, 128}));
}

TEST_F(Detector, RectangleOutsideTheSurfaceChangesNothing) {
    TestFrame frame(kRgb32);
    frame.Paint(10, 10, 10, 100);
    Feed(frame, 0, 0);
    DetectorReport report;
    report.threshold = 15.0f;
    report.deviation = {128, 128, 128};
    detector_.AnalyseFrame(frame.Pixels(), TestFrame::kWidth, 0, 10, 2, 1, &report);
    detector_.AnalyseFrame(frame.Pixels(), 0, TestFrame::kHeight, 4, 10, 2, &report);
    detector_.AnalyseFrame(frame.Pixels(), -5, -5, 0, 0, 3, &report);  // clips to nothing
    EXPECT_EQ(report.state, 1);
    EXPECT_EQ(report.deviation, (std::array<uint8_t, 3>{128, 128, 128}));
    // The last analysed frame is still frame 0: frame 4 compares with it.
    frame.Paint(80, 80, 80, 100);
    EXPECT_EQ(Feed(frame, 4).state, 2);
}

TEST_F(Detector, RunStartNeedsTwoFramesBeforeACut) {
    TestFrame calm(kRgb32), busy(kRgb32);
    calm.Paint(5, 5, 5, 100);
    busy.Paint(90, 90, 90, 100);
    Feed(calm, 100, 0);
    EXPECT_EQ(Feed(busy, 101).state, 1);  // 101 is not > 101
    const DetectorReport report = Feed(calm, 102);
    EXPECT_EQ(report.state, 2);
    EXPECT_EQ(report.cutStart, 100);
    EXPECT_EQ(report.cutEnd, 101);
}

TEST_F(Detector, ForcedEndAtTheRunsFirstFrameReportsAnEmptyRange) {
    TestFrame frame(kRgb32);
    frame.Paint(5, 5, 5, 100);
    const DetectorReport report = Feed(frame, 50, 0);
    EXPECT_EQ(report.cutNumber, 0);
    DetectorReport forced;
    forced.state = 2;
    detector_.AnalyseFrame(frame.Pixels(), 0, 0, 3, 2, 50, &forced);  // another rectangle
    EXPECT_EQ(forced.state, 2);
    EXPECT_EQ(forced.cutStart, 50);
    EXPECT_EQ(forced.cutEnd, 49);
}

TEST_F(Detector, CutNumbersCountOnAcrossRuns) {
    TestFrame calm(kRgb32), busy(kRgb32);
    calm.Paint(5, 5, 5, 100);
    busy.Paint(90, 90, 90, 100);
    Feed(calm, 0, 0);
    Feed(calm, 1);
    const int32_t first = Feed(busy, 2).cutNumber;
    Feed(busy, 3);
    const int32_t second = Feed(calm, 4).cutNumber;
    EXPECT_EQ(second, first + 1);
    Feed(calm, 0, 0);  // a new run, another video
    Feed(calm, 1);
    EXPECT_EQ(Feed(busy, 2).cutNumber, second + 1);
}

TEST_F(Detector, BackwardJumpRestartsTheShotWithoutACut) {
    TestFrame calm(kRgb32), busy(kRgb32);
    calm.Paint(5, 5, 5, 100);
    busy.Paint(90, 90, 90, 100);
    Feed(calm, 500, 0);
    Feed(calm, 501);
    Feed(calm, 502);
    EXPECT_EQ(Feed(busy, 100).state, 1);  // jumped back: no cut here
    Feed(busy, 101);
    const DetectorReport report = Feed(calm, 102);
    EXPECT_EQ(report.state, 2);
    EXPECT_EQ(report.cutStart, 100);
    EXPECT_EQ(report.cutEnd, 101);
}

TEST_F(Detector, EightBitSurfacesAreIgnored) {
    std::vector<uint8_t> pixels(64, 0);
    DetectorReport report;
    report.state = 2;
    report.deviation = {128, 128, 128};
    detector_.AnalyseFrame({pixels.data(), 8, 8, 8, 8, 0, 0, 0}, 0, 0, 8, 8, 3, &report);
    EXPECT_EQ(report.state, 2);
    EXPECT_EQ(report.cutStart, 0);
    EXPECT_EQ(report.deviation, (std::array<uint8_t, 3>{128, 128, 128}));
}

TEST_F(Detector, MissingReportLeavesTheStateAlone) {
    TestFrame calm(kRgb32), busy(kRgb32);
    calm.Paint(5, 5, 5, 100);
    busy.Paint(90, 90, 90, 100);
    Feed(calm, 0, 0);
    Feed(calm, 1);
    detector_.AnalyseFrame(busy.Pixels(), 0, 0, 4, 2, 2, nullptr);
    // Frame 2 was not remembered: it still compares with frame 1.
    EXPECT_EQ(Feed(busy, 2).state, 2);
}

TEST_F(Detector, ReadsEachChannelThroughItsMask) {
    const Format noGreen{32, 0xFF0000, 0, 0xFF};
    const struct {
        const char* name;
        Format format;
        int pitch;
        int mean;
        std::array<uint8_t, 3> deviation;
    } cases[] = {{"rgb32", kRgb32, 0, 100, {3, 7, 11}},
                 {"bgrx32", kBgrx32, 0, 100, {3, 7, 11}},
                 {"xbgr32", kXbgr32, 0, 100, {3, 7, 11}},
                 {"rgb565", kRgb565, 0, 15, {3, 7, 11}},
                 {"rgb555", kRgb555, 0, 15, {3, 7, 11}},
                 {"rgb555 padded", kRgb555, 12, 15, {3, 7, 11}},
                 {"rgb24", kRgb24, 0, 100, {3, 7, 11}},
                 {"rgb24 pitch 13", kRgb24, 13, 100, {3, 7, 11}},
                 {"rgb24 pitch 14", kRgb24, 14, 100, {3, 7, 11}},
                 {"a zero mask reads as zero", noGreen, 0, 100, {3, 0, 11}}};
    int32_t number = 0;  // the same frame number twice would be skipped
    for (const auto& c : cases) {
        TestFrame frame(c.format, c.pitch);
        frame.Paint(3, 7, 11, c.mean);
        EXPECT_EQ(Feed(frame, number++, 0).deviation, c.deviation) << c.name;
    }
}

TEST_F(Detector, EachDepthKeepsItsOwnState) {
    TestFrame deep(kRgb32), shallow(kRgb565);
    deep.Paint(5, 5, 5, 100);
    shallow.Paint(1, 1, 1, 15);
    Feed(deep, 0, 0);
    Feed(deep, 1);
    // The 16-bit detector has never seen a run start: frame 7 starts its shot.
    Feed(shallow, 7);
    Feed(shallow, 8);
    shallow.Paint(14, 14, 14, 15);
    EXPECT_EQ(Feed(shallow, 9).cutStart, 7);
    deep.Paint(90, 90, 90, 100);
    const DetectorReport report = Feed(deep, 2);
    EXPECT_EQ(report.state, 2);
    EXPECT_EQ(report.cutStart, 0);
}

}  // namespace
}  // namespace trevanto
