#include "app/messages/jpeg_messages.h"

#include "common/text_format.h"

namespace trevanto {

JpegMessage JpegWriteMessage(const JpegWriteResult& result) {
    switch (result.error) {
        case JpegError::None:
        case JpegError::Refused:
            return {};
        case JpegError::NoMemory:
            return {"No memory for screenshot!", MessageKind::Warning, ""};
        case JpegError::CannotOpen:
            return {FormatText("JpegFile :\nCan't open %s\n", result.file.c_str()),
                    MessageKind::Warning, ""};
        case JpegError::Library:
            return {result.libraryText, MessageKind::Error, kJpegFatalErrorTitle};
        case JpegError::WriteFailed:
            return {"Output file write error --- out of disk space?", MessageKind::Error, ""};
    }
    return {};
}

}  // namespace trevanto
