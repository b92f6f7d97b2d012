#pragma once
// A drawing surface: a block of pixels with a size, a pitch and an RGB pixel
// format (16, 24 or 32 bits per pixel with channel masks). It replaces the
// off-screen surfaces and device contexts of the original platform: it can be
// locked for direct pixel access, stretch-copied onto another surface, and
// painted on with QPainter when it holds 32-bit RGB pixels.
#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

namespace trevanto {

struct PixelFormat {
    int bitsPerPixel = 32;
    uint32_t redMask = 0x00FF0000;
    uint32_t greenMask = 0x0000FF00;
    uint32_t blueMask = 0x000000FF;

    static PixelFormat Rgb32() { return {}; }
    static PixelFormat Rgb24() { return {24, 0xFF0000, 0x00FF00, 0x0000FF}; }
    static PixelFormat Rgb565() { return {16, 0xF800, 0x07E0, 0x001F}; }
    static PixelFormat Rgb555() { return {16, 0x7C00, 0x03E0, 0x001F}; }
    int BytesPerPixel() const { return bitsPerPixel / 8; }
    bool IsRgb32() const { return *this == Rgb32(); }
    bool operator==(const PixelFormat&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The pixels of a locked surface. Valid until the surface is unlocked.
struct LockedPixels {
    uint8_t* bits = nullptr;
    int pitch = 0;
    int width = 0;
    int height = 0;
    PixelFormat format;
};

class Surface;

// A copy of `from`'s pixels in a surface of its own, shared read-only (a
// shot's first frame kept while later frames overwrite the original); null
// when it cannot be made.
std::shared_ptr<const Surface> SharedCopy(const Surface& from);

class Surface {
  public:
    // A surface of the given size and format; pixels start black. A size of
    // 0 or an unsupported depth gives an invalid surface (IsValid false).
    Surface(int width, int height, PixelFormat format = PixelFormat::Rgb32(), int pitch = 0);

    bool IsValid() const { return pixels_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Pitch() const { return pitch_; }
    const PixelFormat& Format() const { return format_; }
    // Width of one pixel over its height as the picture is meant to be
    // shown (a video's sample aspect ratio); 1 for square pixels.
    double PixelAspect() const { return pixelAspect_; }
    void SetPixelAspect(double aspect) { pixelAspect_ = aspect > 0.0 ? aspect : 1.0; }

    // Direct pixel access. Lock fails (bits null) on an invalid surface or
    // while another lock is held.
    LockedPixels Lock();
    void Unlock();
    bool IsLocked() const { return locked_; }

    const uint8_t* Bits() const { return pixels_.get(); }
    uint8_t* Bits() { return pixels_.get(); }
    const uint8_t* Row(int y) const { return pixels_.get() + static_cast<size_t>(y) * pitch_; }
    uint8_t* Row(int y) { return pixels_.get() + static_cast<size_t>(y) * pitch_; }

    // Stretch copy of the whole source onto the destination rectangle of this
    // surface, clipped to this surface (the Blt of a stretching renderer).
    // Area averaging when shrinking, nearest pixel when enlarging. Fails when
    // either surface is invalid or locked, or the rectangle is empty.
    bool StretchFrom(const Surface& source, Rect destination);

    // Reads and writes one pixel as 0xRRGGBB, whatever the pixel format.
    uint32_t PixelRgb(int x, int y) const;
    void SetPixelRgb(int x, int y, uint32_t rgb);
    void Fill(uint32_t rgb);

    // A QImage sharing this surface's pixels (32-bit RGB surfaces only; an
    // image of another depth is a converted copy). Paint on it with QPainter
    // as on the original platform's device context.
    QImage AsImage();
    // A deep copy as a QImage in Format_RGB32.
    QImage ToImage() const;
    // Copies a QImage of the same size into this surface, converting pixels.
    bool CopyFromImage(const QImage& image);

  private:
    int width_ = 0;
    int height_ = 0;
    int pitch_ = 0;
    PixelFormat format_;
    struct FreeBytes {
        void operator()(uint8_t* bytes) const;
    };
    // From calloc: a large surface's pages stay untouched, and cost nothing,
    // until something draws on them (a screen-sized work surface most runs
    // never use).
    std::unique_ptr<uint8_t[], FreeBytes> pixels_;
    double pixelAspect_ = 1.0;
    bool locked_ = false;
};

using SurfacePtr = std::shared_ptr<Surface>;

}  // namespace trevanto
