#include "app/jpeg_messages.h"

#include <gtest/gtest.h>

namespace trevanto {
namespace {

TEST(JpegMessages, EachFailureHasItsTextAndKind) {
    const struct {
        JpegWriteResult result;
        std::string text;
        MessageKind kind;
    } rows[] = {
        {{JpegError::Refused, "/a.jpg", {}}, "", MessageKind::Warning},
        {{JpegError::NoMemory, "/a.jpg", {}}, "No memory for screenshot!", MessageKind::Warning},
        {{JpegError::CannotOpen, "/a.jpg", {}},
         "JpegFile :\nCan't open /a.jpg\n",
         MessageKind::Warning},
        {{JpegError::Library, "/a.jpg", "Maximum supported image dimension is 65500 pixels"},
         "Maximum supported image dimension is 65500 pixels",
         MessageKind::Error},
        {{JpegError::WriteFailed, "/a.jpg", {}},
         "Output file write error --- out of disk space?",
         MessageKind::Error},
    };
    for (const auto& row : rows) {
        const JpegMessage message = JpegWriteMessage(row.result);
        EXPECT_EQ(message.text, row.text);
        EXPECT_EQ(message.kind, row.kind) << row.text;
    }
}

}  // namespace
}  // namespace trevanto
