#pragma once
// Writes RGB pixel rows as a baseline JPEG file with libjpeg (version 6
// interface).
#include <cstdint>
#include <string>

namespace trevanto {

inline constexpr int kJpegQuality = 80;

enum class JpegError {
    None,
    // Nothing to write (no rows, a side below 1): nothing to tell either.
    Refused,
    // The picture's memory could not be had.
    NoMemory,
    // The file cannot be created.
    CannotOpen,
    // The library failed; its own text comes with it.
    Library,
    // The file could not be completed (a full disk).
    WriteFailed,
};

struct JpegWriteResult {
    JpegError error = JpegError::Refused;
    std::string file;
    // The library's text for JpegError::Library.
    std::string libraryText;

    bool Written() const { return error == JpegError::None; }
};

// `rgb` holds height rows of width * 3 bytes (R, G, B), top row first, each
// `stride` bytes after the one before. An existing file is overwritten.
// Never aborts: library errors come back as the result.
JpegWriteResult WriteRgbJpeg(const std::string& fileName, const uint8_t* rgb, int width, int height,
                             int stride, int quality = kJpegQuality);

// The same JPEG in memory, byte for byte what WriteRgbJpeg writes: what
// workers make while the files are written in order elsewhere.
struct JpegBytes {
    JpegError error = JpegError::Refused;
    std::string bytes;
    std::string libraryText;
};
JpegBytes EncodeRgbJpeg(const uint8_t* rgb, int width, int height, int stride,
                        int quality = kJpegQuality);
// Writes encoded bytes as `fileName` (through a temporary file and a rename),
// reporting as WriteRgbJpeg does.
JpegWriteResult WriteJpegBytes(const std::string& fileName, const JpegBytes& jpeg);

}  // namespace trevanto
