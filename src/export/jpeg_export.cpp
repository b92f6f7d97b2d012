#include "export/jpeg_export.h"

#include <unistd.h>

#include <array>
#include <cstring>

#include "common/paths.h"
#include "common/text_format.h"

namespace trevanto {
namespace {

std::string CurrentFolder() {
    std::array<char, 4096> buffer{};
    if (::getcwd(buffer.data(), buffer.size()) == nullptr)
        return {};
    return buffer.data();
}

std::string Absolute(const std::string& folder) {
    if (!folder.empty() && folder.front() == '/')
        return folder;
    return JoinPath(CurrentFolder(), folder);
}

// The work surface's top-left width x height as a 32-bit picture.
QImage CopyRegion(const Surface& work, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        if (work.Format().IsRgb32()) {
            std::memcpy(row, work.Row(y), static_cast<size_t>(width) * 4);
            for (int x = 0; x < width; ++x)
                row[x] |= 0xFF000000;
        } else {
            for (int x = 0; x < width; ++x)
                row[x] = 0xFF000000 | work.PixelRgb(x, y);
        }
    }
    return picture;
}

}  // namespace

ExportSize JpegExportSize(bool stretchToFit, int shotWidth, int shotHeight) {
    if (stretchToFit)
        return {shotWidth, shotHeight};
    return {};
}

std::string ExportSizeProblem(const ExportSize& size) {
    if (size.width >= 1 && size.height >= 1 && size.width <= kMaxExportSide &&
        size.height <= kMaxExportSide) {
        return {};
    }
    return FormatText("Shot images of %d x %d cannot be made: each side must be 1 to %d pixels.",
                      size.width, size.height, kMaxExportSide);
}

bool ScaleToWorkSurface(const Surface* frame, Surface* work, int width, int height) {
    if (frame == nullptr || work == nullptr || !frame->IsValid() || !work->IsValid())
        return false;
    if (width < 1 || height < 1 || width > work->Width() || height > work->Height())
        return false;
    return work->StretchFrom(*frame, Rect{0, 0, width, height});
}

JpegWriteResult SaveSurfaceAsJpeg(const std::string& filePath, const Surface& work,
                                  const ShotTemplate& shotTemplate, bool stretchToFit, int width,
                                  int height, int quality) {
    return WriteJpegBytes(
        filePath, EncodeSurfaceAsJpeg(work, shotTemplate, stretchToFit, width, height, quality));
}

JpegBytes EncodeSurfaceAsJpeg(const Surface& work, const ShotTemplate& shotTemplate,
                              bool stretchToFit, int width, int height, int quality) {
    if (!work.IsValid() || width < 1 || height < 1 || width > work.Width() ||
        height > work.Height())
        return {JpegError::Refused, {}, {}};
    QImage picture = CopyRegion(work, width, height);
    if (picture.isNull())
        return {JpegError::NoMemory, {}, {}};
    shotTemplate.DrawTemplate(picture, stretchToFit);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {JpegError::NoMemory, {}, {}};
    return EncodeRgbJpeg(rgb.constBits(), width, height, static_cast<int>(rgb.bytesPerLine()),
                         quality);
}

JpegWriteResult SaveThumbnailAsJpeg(const std::string& filePath, const QImage& thumbnail, int width,
                                    int height, int quality) {
    if (thumbnail.isNull() || width < 1 || height < 1)
        return {JpegError::Refused, filePath, {}};
    const QImage rgb =
        thumbnail.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return {JpegError::NoMemory, filePath, {}};
    return WriteRgbJpeg(filePath, rgb.constBits(), width, height,
                        static_cast<int>(rgb.bytesPerLine()), quality);
}

std::string JpegImageName(int32_t counter) {
    return FormatText("image%04ld.jpg", static_cast<long>(counter));
}

std::string JpegOutputFolder(const std::string& targetFile) {
    if (!targetFile.empty() && IsFolder(targetFile))
        return Absolute(targetFile);
    if (targetFile.find_first_of("/\\") != std::string::npos) {
        const std::string part = FolderPart(targetFile);
        const std::string folder = part.empty() ? std::string(1, '/') : part;
        // A folder that does not exist cannot become current: the current
        // folder stays.
        if (IsFolder(folder))
            return Absolute(folder);
    }
    return CurrentFolder();
}

std::string JpegUnreachableNote(int32_t count) {
    if (count <= 0)
        return {};
    if (count == 1)
        return "1 shot was left out: its first frame cannot be reached in the video.";
    return FormatText("%ld shots were left out: their first frames cannot be reached in the video.",
                      static_cast<long>(count));
}

std::string JpegExportReport(int32_t selectionLength, const std::string& lastImagePath) {
    if (selectionLength == 1)
        return FormatText("Jpeg image \"%s\" saved.", lastImagePath.c_str());
    return FormatText("%ld JPEG images have been saved to disk.",
                      static_cast<long>(selectionLength));
}

}  // namespace trevanto
