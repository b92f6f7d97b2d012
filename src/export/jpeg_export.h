#pragma once
// The pieces of exporting shots as JPEG images that need no document: the
// export size, scaling the frame into the work surface, framing and writing
// the picture, the image names, the output folder and the report texts.
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "export/jpeg_writer.h"
#include "export/shot_template.h"
#include "picture/surface.h"

namespace trevanto {

struct ExportSize {
    int width = kTemplateWidth;
    int height = kTemplateHeight;
};

// The largest side of an exported image, in pixels.
inline constexpr int kMaxExportSide = 4096;
// Why images of this size cannot be made, empty when they can: each side
// must be 1 to kMaxExportSide.
std::string ExportSizeProblem(const ExportSize& size);

// The shot size when the publication stretches the video to fit, else 100 x 80.
ExportSize JpegExportSize(bool stretchToFit, int shotWidth, int shotHeight);

// Scales the whole frame onto (0,0)-(width,height) of the work surface. Fails
// when either surface is missing or the rectangle does not fit the work surface.
bool ScaleToWorkSurface(const Surface* frame, Surface* work, int width, int height);

// The top-left width x height of the work surface with the template drawn
// over it (unstretched at 100 x 80, or scaled to the size), written as a
// JPEG file straight from the picture's scan lines.
JpegWriteResult SaveSurfaceAsJpeg(const std::string& filePath, const Surface& work,
                                  const ShotTemplate& shotTemplate, bool stretchToFit, int width,
                                  int height, int quality = kJpegQuality);

// The same image encoded in memory, byte for byte what SaveSurfaceAsJpeg
// writes (WriteJpegBytes writes it).
JpegBytes EncodeSurfaceAsJpeg(const Surface& work, const ShotTemplate& shotTemplate,
                              bool stretchToFit, int width, int height, int quality = kJpegQuality);

// A shot's thumbnail (framed already), scaled to width x height and written
// as a JPEG file: the image of a shot whose video is not the open one.
JpegWriteResult SaveThumbnailAsJpeg(const std::string& filePath, const QImage& thumbnail, int width,
                                    int height, int quality = kJpegQuality);
// The note added to the report of images whose shots' first frames cannot
// be reached; empty for none.
std::string JpegUnreachableNote(int32_t count);

// "image0001.jpg" ... "image9999.jpg", "image10000.jpg".
std::string JpegImageName(int32_t counter);
// The absolute folder the images go to, from the publication's target file:
// the target itself when it is a folder, else the folder part of its path
// when it names an existing folder, else the current folder.
std::string JpegOutputFolder(const std::string& targetFile);
// "Jpeg image "<path>" saved." for a selection of one image, else
// "<n> JPEG images have been saved to disk.".
std::string JpegExportReport(int32_t selectionLength, const std::string& lastImagePath);

}  // namespace trevanto
