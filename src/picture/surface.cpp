#include "picture/surface.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace trevanto {
namespace {

int Shift(uint32_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

// Expands a channel of `bits` width to 8 bits.
uint32_t ToEight(uint32_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    const int width = std::popcount(mask >> Shift(mask));
    if (width >= 8)
        return (value >> (width - 8)) & 0xFF;
    uint32_t result = value << (8 - width);
    result |= result >> width;  // replicate the top bits into the low ones
    return result & 0xFF;
}

uint32_t FromEight(uint32_t value, uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = Shift(mask);
    const int width = std::popcount(mask >> shift);
    const uint32_t channel = width >= 8 ? value << (width - 8) : value >> (8 - width);
    return (channel << shift) & mask;
}

}  // namespace

Surface::Surface(int width, int height, PixelFormat format, int pitch) : format_(format) {
    const int bytes = format.BytesPerPixel();
    if (width <= 0 || height <= 0 || (bytes != 2 && bytes != 3 && bytes != 4))
        return;
    width_ = width;
    height_ = height;
    pitch_ = std::max(pitch, width * bytes);
    if (pitch == 0)
        pitch_ = (width * bytes + 3) & ~3;  // rows aligned to 4 bytes
    pixels_.reset(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(pitch_) * height, 1)));
    if (!pixels_)
        width_ = height_ = pitch_ = 0;
}

void Surface::FreeBytes::operator()(uint8_t* bytes) const {
    std::free(bytes);
}

LockedPixels Surface::Lock() {
    if (!IsValid() || locked_)
        return {};
    locked_ = true;
    return {pixels_.get(), pitch_, width_, height_, format_};
}

void Surface::Unlock() {
    locked_ = false;
}

uint32_t Surface::PixelRgb(int x, int y) const {
    const uint8_t* p = Row(y) + static_cast<size_t>(x) * format_.BytesPerPixel();
    uint32_t word = 0;
    switch (format_.bitsPerPixel) {
        case 16: {
            uint16_t w;
            std::memcpy(&w, p, 2);
            word = w;
            break;
        }
        case 24:
            return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        default:
            std::memcpy(&word, p, 4);
    }
    const uint32_t r = ToEight((word & format_.redMask) >> Shift(format_.redMask), format_.redMask);
    const uint32_t g =
        ToEight((word & format_.greenMask) >> Shift(format_.greenMask), format_.greenMask);
    const uint32_t b =
        ToEight((word & format_.blueMask) >> Shift(format_.blueMask), format_.blueMask);
    return (r << 16) | (g << 8) | b;
}

void Surface::SetPixelRgb(int x, int y, uint32_t rgb) {
    uint8_t* p = Row(y) + static_cast<size_t>(x) * format_.BytesPerPixel();
    const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    if (format_.bitsPerPixel == 24) {
        p[0] = static_cast<uint8_t>(b);
        p[1] = static_cast<uint8_t>(g);
        p[2] = static_cast<uint8_t>(r);
        return;
    }
    const uint32_t word = FromEight(r, format_.redMask) | FromEight(g, format_.greenMask) |
                          FromEight(b, format_.blueMask);
    if (format_.bitsPerPixel == 16) {
        const uint16_t w = static_cast<uint16_t>(word);
        std::memcpy(p, &w, 2);
    } else {
        std::memcpy(p, &word, 4);
    }
}

void Surface::Fill(uint32_t rgb) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            SetPixelRgb(x, y, rgb);
}

bool Surface::StretchFrom(const Surface& source, Rect destination) {
    if (!IsValid() || !source.IsValid() || locked_ || source.locked_ || destination.IsEmpty())
        return false;
    const Rect clipped{std::max(destination.left, 0), std::max(destination.top, 0),
                       std::min(destination.right, width_), std::min(destination.bottom, height_)};
    if (clipped.IsEmpty())
        return true;
    const double scaleX = static_cast<double>(source.width_) / destination.Width();
    const double scaleY = static_cast<double>(source.height_) / destination.Height();
    const bool fast = format_.IsRgb32() && source.format_.IsRgb32();
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const double sy0 = (y - destination.top) * scaleY;
        const double sy1 = sy0 + scaleY;
        int y0 = static_cast<int>(sy0);
        int y1 = std::max(y0 + 1, static_cast<int>(sy1 + 0.999999));
        y1 = std::min(y1, source.height_);
        y0 = std::min(y0, source.height_ - 1);
        for (int x = clipped.left; x < clipped.right; ++x) {
            const double sx0 = (x - destination.left) * scaleX;
            const double sx1 = sx0 + scaleX;
            int x0 = static_cast<int>(sx0);
            int x1 = std::max(x0 + 1, static_cast<int>(sx1 + 0.999999));
            x1 = std::min(x1, source.width_);
            x0 = std::min(x0, source.width_ - 1);
            // Box filter over the source pixels the destination pixel covers.
            uint32_t sumR = 0, sumG = 0, sumB = 0, count = 0;
            for (int sy = y0; sy < y1; ++sy) {
                const uint8_t* row = source.Row(sy);
                for (int sx = x0; sx < x1; ++sx) {
                    uint32_t rgb;
                    if (fast) {
                        std::memcpy(&rgb, row + sx * 4, 4);
                    } else {
                        rgb = source.PixelRgb(sx, sy);
                    }
                    sumR += (rgb >> 16) & 0xFF;
                    sumG += (rgb >> 8) & 0xFF;
                    sumB += rgb & 0xFF;
                    ++count;
                }
            }
            const uint32_t rgb = ((sumR / count) << 16) | ((sumG / count) << 8) | (sumB / count);
            if (fast) {
                std::memcpy(Row(y) + x * 4, &rgb, 4);
            } else {
                SetPixelRgb(x, y, rgb);
            }
        }
    }
    return true;
}

QImage Surface::AsImage() {
    if (!IsValid())
        return {};
    if (format_.IsRgb32())
        return QImage(pixels_.get(), width_, height_, pitch_, QImage::Format_RGB32);
    return ToImage();
}

QImage Surface::ToImage() const {
    if (!IsValid())
        return {};
    QImage image(width_, height_, QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width_; ++x)
            line[x] = 0xFF000000u | PixelRgb(x, y);
    }
    return image;
}

std::shared_ptr<const Surface> SharedCopy(const Surface& from) {
    auto copy = std::make_shared<Surface>(from.Width(), from.Height(), from.Format());
    if (!from.IsValid() || !copy->IsValid())
        return nullptr;
    copy->SetPixelAspect(from.PixelAspect());
    const size_t rowBytes = static_cast<size_t>(from.Width()) * from.Format().BytesPerPixel();
    for (int y = 0; y < from.Height(); ++y)
        std::memcpy(copy->Row(y), from.Row(y), rowBytes);
    return copy;
}

bool Surface::CopyFromImage(const QImage& image) {
    if (!IsValid() || image.width() != width_ || image.height() != height_)
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width_; ++x)
            SetPixelRgb(x, y, line[x] & 0xFFFFFF);
    }
    return true;
}

}  // namespace trevanto
