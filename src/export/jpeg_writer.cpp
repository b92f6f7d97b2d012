#include "export/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "common/atomic_file.h"

namespace trevanto {
namespace {

// The standard error manager with its exit routine replaced: a fatal library
// error jumps back to CompressRows instead of ending the process.
struct ErrorManager {
    jpeg_error_mgr standard;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

extern "C" void ErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->text);
    std::longjmp(manager->jump, 1);
}

// Warnings are not shown to the user.
extern "C" void IgnoreMessage(j_common_ptr /*info*/) {}

// The compressor and its error manager; destroyed whatever happened.
struct Compressor {
    Compressor() {
        compress.err = jpeg_std_error(&errors.standard);
        errors.standard.error_exit = ErrorExit;
        errors.standard.output_message = IgnoreMessage;
        errors.text[0] = '\0';
    }
    ~Compressor() { jpeg_destroy_compress(&compress); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    jpeg_compress_struct compress{};
    ErrorManager errors{};
};

// All library calls that can fail. Only trivially destructible objects live
// in this frame, so that the jump of ErrorExit skips no destructor; the
// compressor and the file belong to the caller.
bool CreateCompressor(Compressor* compressor) {
    if (setjmp(compressor->errors.jump) != 0)
        return false;
    jpeg_create_compress(&compressor->compress);
    return true;
}

bool CompressRows(Compressor* compressor, FILE* file, const uint8_t* rgb, int width, int height,
                  int stride, int quality) {
    jpeg_compress_struct* info = &compressor->compress;
    if (setjmp(compressor->errors.jump) != 0)
        return false;
    jpeg_stdio_dest(info, file);
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        // The library reads the row only; its interface is not const-correct.
        JSAMPROW row =
            const_cast<uint8_t*>(rgb + info->next_scanline * static_cast<size_t>(stride));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

JpegWriteResult WriteRgbJpeg(const std::string& fileName, const uint8_t* rgb, int width, int height,
                             int stride, int quality) {
    if (rgb == nullptr || width <= 0 || height <= 0 || stride < width * 3)
        return {JpegError::Refused, fileName, {}};
    Compressor compressor;
    if (!CreateCompressor(&compressor))
        return {JpegError::Library, fileName, compressor.errors.text};
    // Beside the old image first: a failure leaves it as it was.
    AtomicFile file(fileName);
    if (!file.Open())
        return {JpegError::CannotOpen, fileName, {}};
    if (!CompressRows(&compressor, file.Stream(), rgb, width, height, stride, quality))
        return {JpegError::Library, fileName, compressor.errors.text};
    if (!file.Commit())
        return {JpegError::WriteFailed, fileName, {}};
    return {JpegError::None, fileName, {}};
}

JpegBytes EncodeRgbJpeg(const uint8_t* rgb, int width, int height, int stride, int quality) {
    if (rgb == nullptr || width <= 0 || height <= 0 || stride < width * 3)
        return {JpegError::Refused, {}, {}};
    Compressor compressor;
    if (!CreateCompressor(&compressor))
        return {JpegError::Library, {}, compressor.errors.text};
    // A stdio stream on memory: the same destination manager as for a file.
    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    if (memory == nullptr)
        return {JpegError::NoMemory, {}, {}};
    const bool compressed = CompressRows(&compressor, memory, rgb, width, height, stride, quality);
    const bool closed = std::fclose(memory) == 0;
    const std::unique_ptr<char, decltype(&std::free)> owned(buffer, &std::free);
    if (!compressed)
        return {JpegError::Library, {}, compressor.errors.text};
    if (!closed)
        return {JpegError::NoMemory, {}, {}};
    return {JpegError::None, std::string(buffer, size), {}};
}

JpegWriteResult WriteJpegBytes(const std::string& fileName, const JpegBytes& jpeg) {
    if (jpeg.error != JpegError::None)
        return {jpeg.error, fileName, jpeg.libraryText};
    AtomicFile file(fileName);
    if (!file.Open())
        return {JpegError::CannotOpen, fileName, {}};
    if (!file.Write(jpeg.bytes) || !file.Commit())
        return {JpegError::WriteFailed, fileName, {}};
    return {JpegError::None, fileName, {}};
}

}  // namespace trevanto
