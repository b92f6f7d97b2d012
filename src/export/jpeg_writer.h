#pragma once
// Writes RGB pixel rows as a baseline JPEG file with libjpeg (version 6
// interface).
#include <cstdint>
#include <string>

namespace trevanto {

inline constexpr int kJpegQuality = 80;
inline constexpr const char* kJpegFatalErrorTitle = "JPEG Fatal Error";

struct JpegWriteResult {
    bool written = false;
    // What to tell the user when nothing was written; empty for a refused
    // call (null buffer, zero size). A library error has the library's text
    // under the title "JPEG Fatal Error"; a file that cannot be created has
    // "JpegFile :\nCan't open <name>\n" and no title.
    std::string title;
    std::string message;
};

// `rgb` holds height rows of width * 3 bytes (R, G, B), top row first. An
// existing file is overwritten. Never aborts: library errors come back as
// the result.
JpegWriteResult WriteRgbJpeg(const std::string& fileName, const uint8_t* rgb, int width, int height,
                             int quality = kJpegQuality);

}  // namespace trevanto
