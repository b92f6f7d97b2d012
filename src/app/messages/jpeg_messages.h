#pragma once
// What the user is told when a JPEG image could not be written.
#include <string>

#include "app/document/document_ports.h"
#include "export/jpeg_writer.h"

namespace trevanto {

struct JpegMessage {
    // Empty when there is nothing to tell (written, or nothing to write).
    std::string text;
    // The library's own failures are errors ("JPEG Fatal Error"), the rest
    // warnings.
    MessageKind kind = MessageKind::Warning;
    // The box's title; empty: the program's name.
    std::string title;
};

inline constexpr const char* kJpegFatalErrorTitle = "JPEG Fatal Error";

JpegMessage JpegWriteMessage(const JpegWriteResult& result);

}  // namespace trevanto
