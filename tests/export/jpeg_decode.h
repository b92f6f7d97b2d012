#pragma once
// Reads a JPEG file back with libjpeg, for checking what the exporter wrote.
#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

namespace trevanto::testing {

struct DecodeErrors {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
};

// Only trivially destructible objects in this frame (see the jump).
inline bool DecodeInto(FILE* file, jpeg_decompress_struct* info, QImage* image) {
    if (setjmp(reinterpret_cast<DecodeErrors*>(info->err)->jump) != 0)
        return false;
    jpeg_create_decompress(info);
    jpeg_stdio_src(info, file);
    jpeg_read_header(info, TRUE);
    info->out_color_space = JCS_RGB;
    jpeg_start_decompress(info);
    *image = QImage(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                    QImage::Format_RGB888);
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info->output_scanline));
        jpeg_read_scanlines(info, &row, 1);
    }
    jpeg_finish_decompress(info);
    return true;
}

// The decoded picture; null when the file is missing or no JPEG.
inline QImage DecodeJpeg(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return {};
    jpeg_decompress_struct info{};
    DecodeErrors errors{};
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = [](j_common_ptr common) {
        std::longjmp(reinterpret_cast<DecodeErrors*>(common->err)->jump, 1);
    };
    QImage image;
    const bool decoded = DecodeInto(file, &info, &image);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return decoded ? image : QImage();
}

}  // namespace trevanto::testing
