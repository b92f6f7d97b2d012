#pragma once
// The shot bitmap template: a 100 x 80 picture drawn over every thumbnail and
// exported image. Its pixels of the transparent colour (magenta unless the
// user chose another) form the window through which the video frame shows;
// all other pixels cover the frame.
#include <QImage>
#include <QRgb>

#include <cstdint>
#include <string>
#include <vector>

namespace trevanto {

inline constexpr int kTemplateWidth = 100;
inline constexpr int kTemplateHeight = 80;
inline constexpr QRgb kMagenta = 0xFFFF00FF;

enum class TemplateLoadStatus { Loaded, CannotLoad, NotHundredByEighty };

class ShotTemplate {
  public:
    // The built-in template (bitmap 141). False, silently, when it cannot be
    // loaded; there is then no template.
    bool LoadBuiltIn(QRgb transparentColour = kMagenta);
    // A template from a bitmap file. A relative path is looked for first in
    // the "bitmaps" folder of the program's folder, then in that of
    // ../share/trevanto beside it (FindShippedFile), then as given. The
    // current template is dropped first, so a failure leaves none.
    TemplateLoadStatus LoadTemplateFile(const std::string& path, QRgb transparentColour = kMagenta);
    // Takes a picture as the template (used by both loads). Fails, leaving no
    // template, unless it measures 100 x 80.
    bool PrepareTemplate(const QImage& picture, QRgb transparentColour = kMagenta);
    void Clear();

    bool IsLoaded() const { return !picture_.isNull(); }
    QRgb TransparentColour() const { return transparentColour_; }
    // The template picture (Format_RGB32), null when none is loaded.
    const QImage& Picture() const { return picture_; }
    // 1 where the template pixel is the transparent colour, 0 where it is
    // opaque; 100 x 80, row after row. The inverse mask is its complement.
    const std::vector<uint8_t>& TransparencyMask() const { return transparencyMask_; }

    // Overlays the template on `target`: inside the window the target's
    // pixels stay, elsewhere the template's replace them. Unstretched it
    // covers (0,0)-(100,80) of the target (clipped to it); stretched it is
    // scaled to the whole target. False, target unchanged, when no template
    // is loaded or the target is empty.
    bool DrawTemplate(QImage& target, bool stretch) const;

  private:
    QImage picture_;
    std::vector<uint8_t> transparencyMask_;
    QRgb transparentColour_ = kMagenta;
};

}  // namespace trevanto
