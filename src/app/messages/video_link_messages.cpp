#include "app/messages/video_link_messages.h"

#include "app/document/document_ports.h"

namespace trevanto {

std::string message::VideoLinkMessage(VideoLinkCheck check) {
    switch (check) {
        case VideoLinkCheck::Accepted:
            return {};
        case VideoLinkCheck::BadStart:
            return kBadStartTime;
        case VideoLinkCheck::BadEnd:
            return kBadEndTime;
        case VideoLinkCheck::EmptyVideoUrl:
            return kEmptyVideoUrl;
        case VideoLinkCheck::EmptyScriptUrl:
            return kEmptyScriptUrl;
    }
    return {};
}

bool AcceptVideoLinkFields(VideoLinkFields& fields, UserPort& user) {
    const VideoLinkCheck check = CheckVideoLinkFields(fields);
    if (check == VideoLinkCheck::Accepted)
        return true;
    user.ShowMessage(message::VideoLinkMessage(check));
    return false;
}

}  // namespace trevanto
