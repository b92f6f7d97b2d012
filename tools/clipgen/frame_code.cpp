#include "clipgen/frame_code.h"

#include <algorithm>
#include <cstdlib>

namespace trevanto::clipgen {
namespace {

constexpr int kBlocks = 2 * kFrameCodeBits;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
// Two blocks of a pair must differ at least this much in brightness.
constexpr int kMinContrast = 64;

int CheckValue(int number) {
    return (number ^ (number >> 4) ^ (number >> 8) ^ 0x5) & 0xF;
}

int BlockLeft(int width, int block) {
    return block * width / kBlocks;
}

// Mean brightness of the middle of a block, away from its edges, where
// compression blurs the picture.
int BlockBrightness(const Surface& frame, int block) {
    const int left = BlockLeft(frame.Width(), block);
    const int right = BlockLeft(frame.Width(), block + 1);
    const int top = frame.Height() - FrameCodeHeight(frame.Height());
    const int bottom = frame.Height();
    const int marginX = (right - left) / 4, marginY = (bottom - top) / 4;
    long sum = 0, count = 0;
    for (int y = top + marginY; y < bottom - marginY; ++y) {
        for (int x = left + marginX; x < right - marginX; ++x) {
            const uint32_t rgb = frame.PixelRgb(x, y);
            sum += ((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF);
            ++count;
        }
    }
    return count == 0 ? 0 : static_cast<int>(sum / (3 * count));
}

}  // namespace

int FrameCodeHeight(int pictureHeight) {
    return std::max(8, pictureHeight / 15);
}

void DrawFrameCode(Surface& picture, int frame) {
    const int word = (CheckValue(frame) << 12) | (frame & kFrameCodeMaxFrame);
    const int top = picture.Height() - FrameCodeHeight(picture.Height());
    for (int bit = 0; bit < kFrameCodeBits; ++bit) {
        const bool one = (word >> (kFrameCodeBits - 1 - bit)) & 1;
        for (int half = 0; half < 2; ++half) {
            const int block = 2 * bit + half;
            const uint32_t colour = (half == 0) == one ? kWhite : kBlack;
            const int right = BlockLeft(picture.Width(), block + 1);
            for (int y = top; y < picture.Height(); ++y)
                for (int x = BlockLeft(picture.Width(), block); x < right; ++x)
                    picture.SetPixelRgb(x, y, colour);
        }
    }
}

int ReadFrameCode(const Surface& frame) {
    if (!frame.IsValid() || frame.Width() < kBlocks * 4 || frame.Height() < 16)
        return -1;
    int word = 0;
    for (int bit = 0; bit < kFrameCodeBits; ++bit) {
        const int first = BlockBrightness(frame, 2 * bit);
        const int second = BlockBrightness(frame, 2 * bit + 1);
        if (std::abs(first - second) < kMinContrast)
            return -1;
        word = (word << 1) | (first > second ? 1 : 0);
    }
    const int number = word & kFrameCodeMaxFrame;
    return (word >> 12) == CheckValue(number) ? number : -1;
}

}  // namespace trevanto::clipgen
