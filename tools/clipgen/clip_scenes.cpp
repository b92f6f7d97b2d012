#include "clipgen/clip_scenes.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace trevanto::clipgen {
namespace {

uint32_t Rgb(int r, int g, int b) {
    return (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

// Flat mid grey with a faint noise that changes every frame.
void DrawGreyNoise(Surface& picture, int frame) {
    uint32_t seed = 0x9E3779B9u * static_cast<uint32_t>(frame + 1);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grey = 126 + static_cast<int>((seed >> 24) % 5);
            row[x] = Rgb(grey, grey, grey);
        }
    }
}

// Black and white vertical stripes that swap colours every other frame.
// They do not scroll: at a scaling of 3.2 the blend at the stripes' edges,
// and so their spread, would change with their phase.
void DrawStripes(Surface& picture, int frame) {
    const int period = 32;
    frame = (frame / 2) * (period / 2);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x)
            row[x] = ((x + frame) % period) < period / 2 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
    }
}

// The shot engine scales a frame to 100 x 80 by area averaging, so moving
// edges blend differently with their phase. Steps of five thumbnail pixels
// keep every edge at the same place relative to the averaging boxes.
int StepX(const Surface& picture) {
    return picture.Width() / 20;
}
int StepY(const Surface& picture) {
    return picture.Height() / 16;
}

// A red and blue checkerboard drifting diagonally.
void DrawCheckerboard(Surface& picture, int frame) {
    const int square = 40;
    const int dx = frame * StepX(picture), dy = frame * StepY(picture);
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const bool red = (((x + dx) / square) + ((y + dy) / square)) % 2 == 0;
            row[x] = red ? Rgb(200, 40, 40) : Rgb(40, 40, 200);
        }
    }
}

// A smooth green ramp, up and down, sliding sideways over a flat colour.
void DrawGradient(Surface& picture, int frame) {
    // One whole period across the picture: its values stay the same as it slides.
    const int period = picture.Width();
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const int phase = (x + frame * StepX(picture)) % period;
            const int ramp = phase < period / 2 ? phase : period - phase;
            row[x] = Rgb(100, ramp * 255 / (period / 2), 100);
        }
    }
}

// Medium-contrast diagonal grey stripes moving down.
void DrawDiagonals(Surface& picture, int frame) {
    const int period = 24;
    for (int y = 0; y < picture.Height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.Row(y));
        for (int x = 0; x < picture.Width(); ++x) {
            const bool light = ((x + y + frame * StepY(picture)) % period) < period / 2;
            row[x] = light ? Rgb(192, 192, 192) : Rgb(64, 64, 64);
        }
    }
}

QColor Hsv(double hue, int saturation, int value) {
    return QColor::fromHsv(static_cast<int>(std::fmod(hue, 360.0)), saturation, value);
}

void DrawCaption(QPainter& painter, const QRect& area, const QString& text) {
    QFont font("DejaVu Sans");
    font.setPixelSize(area.height() / 12);
    font.setBold(true);
    painter.setFont(font);
    const QRect box(area.left(), area.bottom() - area.height() / 6, area.width(),
                    area.height() / 8);
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(box.translated(2, 2), Qt::AlignCenter, text);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

void DrawTestScene(Surface& picture, int kind, int frame) {
    switch (kind % kTestSceneKinds) {
        case 0:
            DrawGreyNoise(picture, frame);
            break;
        case 1:
            DrawStripes(picture, frame);
            break;
        case 2:
            DrawCheckerboard(picture, frame);
            break;
        case 3:
            DrawGradient(picture, frame);
            break;
        default:
            DrawDiagonals(picture, frame);
            break;
    }
}

void DrawSampleScene(Surface& picture, int scene, int frame, int sceneFrames) {
    QImage image = picture.AsImage();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = image.rect();
    const double w = area.width(), h = area.height();
    const double t = static_cast<double>(frame) / std::max(1, sceneFrames);
    const double pi = std::numbers::pi;
    painter.setPen(Qt::NoPen);
    switch (scene % kSampleScenes) {
        case 0: {  // sunrise: a warm sky and a rising sun
            QLinearGradient sky(0, 0, 0, h);
            sky.setColorAt(0, QColor(40, 60, 140));
            sky.setColorAt(0.7, QColor(250, 150, 80));
            sky.setColorAt(1, QColor(255, 210, 120));
            painter.fillRect(area, sky);
            QRadialGradient sun(w / 2, h * (0.9 - 0.5 * t), h / 6);
            sun.setColorAt(0, QColor(255, 255, 220));
            sun.setColorAt(1, QColor(255, 200, 60, 0));
            painter.setBrush(sun);
            painter.drawEllipse(QPointF(w / 2, h * (0.9 - 0.5 * t)), h / 6, h / 6);
            painter.setBrush(QColor(30, 40, 30));
            painter.drawRect(QRectF(0, h * 0.82, w, h * 0.18));
            DrawCaption(painter, area, "Sunrise");
            break;
        }
        case 1: {  // the sea: waves rolling past
            QLinearGradient sea(0, 0, 0, h);
            sea.setColorAt(0, QColor(150, 200, 255));
            sea.setColorAt(0.4, QColor(20, 90, 170));
            sea.setColorAt(1, QColor(5, 30, 70));
            painter.fillRect(area, sea);
            for (int wave = 0; wave < 6; ++wave) {
                QPainterPath path;
                const double base = h * (0.4 + 0.1 * wave);
                path.moveTo(0, h);
                for (int x = 0; x <= area.width(); x += 8)
                    path.lineTo(x, base + 8 * std::sin(x / 40.0 + 2 * pi * t * 2 + wave));
                path.lineTo(w, h);
                painter.setBrush(QColor(255, 255, 255, 30 + 10 * wave));
                painter.drawPath(path);
            }
            DrawCaption(painter, area, "Open sea");
            break;
        }
        case 2: {  // a city at night: lit windows and passing lights
            painter.fillRect(area, QColor(8, 10, 25));
            for (int b = 0; b < 9; ++b) {
                const double left = b * w / 9, top = h * (0.3 + 0.05 * ((b * 7) % 5));
                painter.setBrush(QColor(25, 25, 40));
                painter.drawRect(QRectF(left + 4, top, w / 9 - 8, h - top));
                for (int row = 0; row < 8; ++row)
                    for (int col = 0; col < 3; ++col)
                        if ((b * 31 + row * 7 + col * 3 + frame / 10) % 4 == 0) {
                            painter.setBrush(QColor(255, 220, 120));
                            painter.drawRect(
                                QRectF(left + 10 + col * (w / 36), top + 10 + row * 18, w / 60, 8));
                        }
            }
            painter.setBrush(QColor(255, 80, 60));
            painter.drawEllipse(QPointF(std::fmod(t * 1.5 * w, w), h * 0.93), 6, 3);
            DrawCaption(painter, area, "City at night");
            break;
        }
        case 3: {  // a meadow with drifting flowers
            QLinearGradient meadow(0, 0, 0, h);
            meadow.setColorAt(0, QColor(120, 200, 250));
            meadow.setColorAt(0.35, QColor(200, 235, 255));
            meadow.setColorAt(0.36, QColor(90, 170, 60));
            meadow.setColorAt(1, QColor(30, 100, 30));
            painter.fillRect(area, meadow);
            for (int f = 0; f < 24; ++f) {
                const double x = std::fmod(f * 97.0 + t * 60, w);
                const double y = h * 0.45 + std::fmod(f * 53.0, h * 0.45);
                painter.setBrush(Hsv(f * 47.0, 200, 255));
                painter.drawEllipse(QPointF(x, y), 7, 7);
                painter.setBrush(QColor(250, 230, 80));
                painter.drawEllipse(QPointF(x, y), 2.5, 2.5);
            }
            DrawCaption(painter, area, "Meadow");
            break;
        }
        case 4: {  // spinning colour wheel
            painter.fillRect(area, QColor(20, 20, 20));
            painter.translate(w / 2, h / 2);
            painter.rotate(360.0 * t);
            for (int s = 0; s < 12; ++s) {
                painter.setBrush(Hsv(s * 30.0, 230, 240));
                painter.drawPie(QRectF(-h * 0.4, -h * 0.4, h * 0.8, h * 0.8), s * 30 * 16, 30 * 16);
            }
            painter.resetTransform();
            DrawCaption(painter, area, "Colour wheel");
            break;
        }
        default: {  // dusk: a purple sky with stars coming out
            QLinearGradient dusk(0, 0, 0, h);
            dusk.setColorAt(0, QColor(20, 10, 50));
            dusk.setColorAt(1, QColor(160, 60, 120));
            painter.fillRect(area, dusk);
            for (int s = 0; s < 60; ++s) {
                const int alpha = std::clamp(static_cast<int>(255 * (t * 2 - s / 60.0)), 0, 255);
                painter.setBrush(QColor(255, 255, 230, alpha));
                painter.drawEllipse(QPointF(std::fmod(s * 137.0, w), std::fmod(s * 71.0, h * 0.7)),
                                    1.5, 1.5);
            }
            painter.setBrush(QColor(240, 240, 210));
            painter.drawEllipse(QPointF(w * 0.8, h * 0.2), h / 14, h / 14);
            DrawCaption(painter, area, "Dusk");
            break;
        }
    }
}

}  // namespace trevanto::clipgen
