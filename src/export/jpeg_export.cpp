#include "export/jpeg_export.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <utility>

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

int DibStride(int width) {
    return (width * 3 + 3) & ~3;
}

std::unique_ptr<uint8_t[]> MakeBottomUpDib(const QImage& picture) {
    const int width = picture.width();
    const int height = picture.height();
    const int stride = DibStride(width);
    std::unique_ptr<uint8_t[]> dib(new (std::nothrow)
                                       uint8_t[static_cast<size_t>(stride) * height]());
    if (!dib)
        return dib;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uint8_t* row = dib.get() + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<uint8_t>(qBlue(source[x]));
            row[x * 3 + 1] = static_cast<uint8_t>(qGreen(source[x]));
            row[x * 3 + 2] = static_cast<uint8_t>(qRed(source[x]));
        }
    }
    return dib;
}

std::unique_ptr<uint8_t[]> PackFlipAndSwap(const uint8_t* dib, int width, int height) {
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    const size_t stride = static_cast<size_t>(DibStride(width));
    std::unique_ptr<uint8_t[]> packed(new (std::nothrow) uint8_t[rowBytes * height]);
    if (!packed)
        return packed;
    // Packing reads the rows at their aligned stride, so that widths that are
    // not a multiple of 4 do not shear the picture.
    for (int y = 0; y < height; ++y) {
        std::memcpy(packed.get() + y * rowBytes, dib + y * stride, rowBytes);
    }
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(packed.get() + top * rowBytes, packed.get() + (top + 1) * rowBytes,
                         packed.get() + bottom * rowBytes);
    }
    for (size_t i = 0; i + 2 < rowBytes * height; i += 3)
        std::swap(packed[i], packed[i + 2]);
    return packed;
}

JpegWriteResult SaveSurfaceAsJpeg(const std::string& filePath, const Surface& work,
                                  const ShotTemplate& shotTemplate, bool stretchToFit, int width,
                                  int height, int quality) {
    if (!work.IsValid() || width < 1 || height < 1 || width > work.Width() ||
        height > work.Height())
        return {};
    QImage picture = CopyRegion(work, width, height);
    if (picture.isNull())
        return {false, {}, "No memory for screenshot!"};
    shotTemplate.DrawTemplate(picture, stretchToFit);
    const std::unique_ptr<uint8_t[]> dib = MakeBottomUpDib(picture);
    if (!dib)
        return {false, {}, "No memory for screenshot!"};
    const std::unique_ptr<uint8_t[]> rgb = PackFlipAndSwap(dib.get(), width, height);
    if (!rgb)
        return {false, {}, "DWORD Memory Error"};
    return WriteRgbJpeg(filePath, rgb.get(), width, height, quality);
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

std::string JpegExportReport(int32_t selectionLength, const std::string& lastImagePath) {
    if (selectionLength == 1)
        return FormatText("Jpeg image \"%s\" saved.", lastImagePath.c_str());
    return FormatText("%ld JPEG images have been saved to disk.",
                      static_cast<long>(selectionLength));
}

}  // namespace trevanto
