#include "clipgen/hard_case_scenes.h"

#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cstdint>

#include "clipgen/clip_scenes.h"
#include "clipgen/clips.h"

namespace trevanto::clipgen {
namespace {

uint32_t Grey(int level) {
    level = std::clamp(level, 0, 255);
    return (static_cast<uint32_t>(level) << 16) | (static_cast<uint32_t>(level) << 8) |
           static_cast<uint32_t>(level);
}

uint32_t Hash(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    return x ^ (x >> 16);
}

// Two dim shots of the same two levels in the same shares, so that their
// channels spread alike: bars drifting sideways, then a checkerboard.
void DrawDim(Surface& picture, int frame, bool checkerboard) {
    const int square = picture.Width() / 8;
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const int column = (x + frame) / square;
            const bool light =
                checkerboard ? (column + (y + frame / 2) / square) % 2 == 0 : column % 2 == 0;
            const int grain =
                static_cast<int>(Hash(static_cast<uint32_t>((frame * 977 + y) * 1031 + x)) % 5) - 2;
            row[x] = Grey((light ? 48 : 28) + grain);
        }
    }
}

// Blocks of many colours sliding a sixth of a block to the left each frame.
void DrawPan(Surface& picture, int frame) {
    const int block = picture.Width() / 10;
    const int offset = frame * picture.Width() / 20;
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const uint32_t cell = Hash(static_cast<uint32_t>((x + offset) / block) * 7919u +
                                       static_cast<uint32_t>(y / block));
            row[x] = 0x404040u | (cell & 0xBFBFBFu);
        }
    }
}

// Grey clouds drifting and swelling over a shot.
void DrawSmoke(Surface& picture, int frame) {
    QImage image = picture.AsImage();
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    const double w = picture.Width(), h = picture.Height();
    for (int cloud = 0; cloud < 4; ++cloud) {
        const double x = w * (0.1 + 0.25 * cloud) + frame * (1.5 + cloud);
        const double y = h * (0.3 + 0.15 * (cloud % 3)) - frame * 0.8;
        const double radius = h * (0.3 + 0.01 * frame);
        QRadialGradient gradient(x, y, radius);
        gradient.setColorAt(0, QColor(190, 190, 190, 210));
        gradient.setColorAt(1, QColor(190, 190, 190, 0));
        painter.setBrush(gradient);
        painter.drawEllipse(QPointF(x, y), radius, radius);
    }
}

// `picture` = `picture` x (1 - share) + `other` x share, per channel.
void Blend(Surface& picture, const Surface& other, double share) {
    const auto weight = static_cast<uint32_t>(share * 256.0);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        const auto* from = reinterpret_cast<const uint32_t*>(other.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            uint32_t mixed = 0;
            for (const int shift : {0, 8, 16}) {
                const uint32_t a = (row[x] >> shift) & 0xFF, b = (from[x] >> shift) & 0xFF;
                mixed |= ((a * (256 - weight) + b * weight) >> 8) << shift;
            }
            row[x] = mixed;
        }
    }
}

void Fill(Surface& picture, uint32_t rgb) {
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        std::fill(row, row + picture.Width(), rgb);
    }
}

}  // namespace

void DrawHardCase(Surface& picture, int frame) {
    constexpr int kSunrise = 0, kSea = 1, kMeadow = 3, kDusk = 5;
    if (frame < kFlashShot) {
        DrawDim(picture, frame, frame >= kDimSecondShot);
    } else if (frame < kPanShot) {
        DrawSampleScene(picture, kSunrise, frame - kFlashShot, kPanShot - kFlashShot);
        if (frame == kFlashFrame || frame == kFlashFrame + 1) {
            Surface white(picture.Width(), picture.Height());
            Fill(white, 0xFFFFFF);
            Blend(picture, white, 0.85);
        }
    } else if (frame < kSmokeShot) {
        DrawPan(picture, frame - kPanShot);
    } else if (frame < kBlackShot) {
        DrawSampleScene(picture, kMeadow, frame - kSmokeShot, kBlackShot - kSmokeShot);
        DrawSmoke(picture, frame - kSmokeShot);
    } else if (frame < kFadeShot) {
        Fill(picture, 0);
    } else if (frame < kDissolveStart) {
        DrawSampleScene(picture, kSea, frame - kFadeShot, kDissolveStart - kFadeShot);
        if (frame < kFadeShot + kFadeFrames) {
            Surface black(picture.Width(), picture.Height());
            Fill(black, 0);
            Blend(picture, black, 1.0 - (frame - kFadeShot + 1.0) / (kFadeFrames + 1.0));
        }
    } else {
        DrawSampleScene(picture, kDusk, frame - kDissolveStart, kHardCaseFrames - kDissolveStart);
        if (frame < kDissolveStart + kDissolveFrames) {
            Surface before(picture.Width(), picture.Height());
            DrawSampleScene(before, kSea, frame - kFadeShot, kDissolveStart - kFadeShot);
            Blend(picture, before, 1.0 - (frame - kDissolveStart + 1.0) / (kDissolveFrames + 1.0));
        }
    }
}

}  // namespace trevanto::clipgen
