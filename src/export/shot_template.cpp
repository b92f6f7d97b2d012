#include "export/shot_template.h"

#include <algorithm>

#include "common/paths.h"

// Resources compiled into a static library must be registered before use;
// the macro has to be expanded outside any namespace.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace trevanto {
namespace {

constexpr const char* kBuiltInTemplate = ":/bitmaps/shot_template_141.bmp";

bool SameColour(QRgb a, QRgb b) {
    return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

// A relative template path is first looked for in the "bitmaps" folder of
// the templates shipped with the program.
std::string ResolveTemplatePath(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    const std::string shipped = FindShippedFile(JoinPath("bitmaps", path));
    if (!shipped.empty() && !IsFolder(shipped))
        return shipped;
    return path;
}

// The template covers the target from (0,0): 100 x 80 clipped to the target,
// or scaled (nearest pixel, as a copying stretch does) to the whole target.
// Mask and picture are scaled alike, so that the window keeps its exact shape.
void Compose(QImage& target, const QImage& picture, const std::vector<uint8_t>& mask,
             bool stretch) {
    const int width = stretch ? target.width() : std::min(target.width(), kTemplateWidth);
    const int height = stretch ? target.height() : std::min(target.height(), kTemplateHeight);
    for (int y = 0; y < height; ++y) {
        const int sy =
            stretch ? static_cast<int>(static_cast<int64_t>(y) * kTemplateHeight / target.height())
                    : y;
        auto* row = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* templateRow = reinterpret_cast<const QRgb*>(picture.constScanLine(sy));
        for (int x = 0; x < width; ++x) {
            const int sx =
                stretch
                    ? static_cast<int>(static_cast<int64_t>(x) * kTemplateWidth / target.width())
                    : x;
            // (picture AND mask) OR (template AND inverse mask)
            if (mask[static_cast<size_t>(sy) * kTemplateWidth + sx] == 0) {
                row[x] = templateRow[sx] | 0xFF000000;
            }
        }
    }
}

}  // namespace

bool ShotTemplate::LoadBuiltIn(QRgb transparentColour) {
    static const bool registered = (InitResources(), true);
    (void)registered;
    Clear();
    QImage picture;
    if (!picture.load(QString::fromLatin1(kBuiltInTemplate), "BMP"))
        return false;
    return PrepareTemplate(picture, transparentColour);
}

TemplateLoadStatus ShotTemplate::LoadTemplateFile(const std::string& path, QRgb transparentColour) {
    Clear();
    const std::string resolved = ResolveTemplatePath(path);
    QImage picture;
    if (resolved.empty() || !picture.load(QString::fromStdString(resolved)))
        return TemplateLoadStatus::CannotLoad;
    if (picture.width() != kTemplateWidth || picture.height() != kTemplateHeight)
        return TemplateLoadStatus::NotHundredByEighty;
    return PrepareTemplate(picture, transparentColour) ? TemplateLoadStatus::Loaded
                                                       : TemplateLoadStatus::CannotLoad;
}

bool ShotTemplate::PrepareTemplate(const QImage& picture, QRgb transparentColour) {
    Clear();
    if (picture.width() != kTemplateWidth || picture.height() != kTemplateHeight)
        return false;
    QImage converted = picture.convertToFormat(QImage::Format_RGB32);
    if (converted.isNull())
        return false;
    std::vector<uint8_t> mask(static_cast<size_t>(kTemplateWidth) * kTemplateHeight, 0);
    for (int y = 0; y < kTemplateHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(converted.constScanLine(y));
        for (int x = 0; x < kTemplateWidth; ++x) {
            mask[static_cast<size_t>(y) * kTemplateWidth + x] =
                SameColour(row[x], transparentColour) ? 1 : 0;
        }
    }
    picture_ = std::move(converted);
    transparencyMask_ = std::move(mask);
    transparentColour_ = transparentColour;
    return true;
}

void ShotTemplate::Clear() {
    picture_ = QImage();
    transparencyMask_.clear();
    transparentColour_ = kMagenta;
}

bool ShotTemplate::DrawTemplate(QImage& target, bool stretch) const {
    if (!IsLoaded() || target.isNull())
        return false;
    const QImage::Format format = target.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32) {
        Compose(target, picture_, transparencyMask_, stretch);
        return true;
    }
    QImage work = target.convertToFormat(QImage::Format_RGB32);
    Compose(work, picture_, transparencyMask_, stretch);
    target = work.convertToFormat(format);
    return true;
}

}  // namespace trevanto
