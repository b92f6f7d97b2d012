// The document's construction, its commands, and how the player reaches the
// ports.
#include "app/player_doc.h"

#include "app/command_ids.h"

namespace trevanto {

CPlayerDoc::CPlayerDoc(MediaGraphFactory factory, DocumentPorts ports, int screenWidth,
                       int screenHeight)
    : ports_(ports),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight),
      player_(std::move(factory), *this) {
    // The graph shrinks each frame to the thumbnail while it converts it,
    // which costs far less than shrinking the RGB32 frame here.
    player_.SetThumbnailSize(kThumbnailWidth, kThumbnailHeight);
}

CPlayerDoc::~CPlayerDoc() = default;

bool CPlayerDoc::OnCommand(int32_t commandId, bool shift) {
    if (const auto rate = command::RateOf(commandId)) {
        player_.SetRate(*rate);
        return true;
    }
    switch (commandId) {
        case command::kSetStartMark:
            player_.SetStartMark(shift);
            return true;
        case command::kSetEndMark:
            player_.SetEndMark(shift);
            return true;
        case command::kInsertShot:
        case command::kShotsAddManually:
            InsertShot();
            return true;
        case command::kSampler:
            OnSamplerCommand();
            return true;
        case command::kEngine:
            OnEngineCommand();
            return true;
        case command::kShotsStartEngine:
            OnShotsMenuEngine();
            return true;
        case command::kPlay:
            player_.Play();
            return true;
        case command::kPause:
            player_.Pause();
            return true;
        case command::kStop:
            player_.Stop();
            return true;
        case command::kTogglePlayPause:
            player_.TogglePlayPause();
            return true;
        case command::kViewTimecode:
            RecaptionAll();
            return true;
        default:
            return false;
    }
}

void CPlayerDoc::SetFrameRequestHandler(FrameRequestKind kind,
                                        std::function<void(const FrameRequest&)> handler) {
    requestHandlers_[kind] = std::move(handler);
}

void CPlayerDoc::ShowMessage(const std::string& text) {
    if (ports_.user)
        ports_.user->ShowMessage(text, MessageKind::Warning);
}

void CPlayerDoc::CheckCommand(int32_t commandId, bool checked) {
    if (ports_.frame)
        ports_.frame->CheckButton(commandId, checked);
}

void CPlayerDoc::CheckButton(PlayerButton button, bool checked) {
    switch (button) {
        case PlayerButton::Play:
            CheckCommand(command::kPlay, checked);
            break;
        case PlayerButton::Pause:
            CheckCommand(command::kPause, checked);
            break;
        case PlayerButton::Stop:
            CheckCommand(command::kStop, checked);
            break;
        case PlayerButton::Sampler:
            CheckCommand(command::kSampler, checked);
            break;
        case PlayerButton::Engine:
            CheckCommand(command::kEngine, checked);
            break;
    }
}

void CPlayerDoc::PostOpenFileCommand() {
    if (ports_.frame)
        ports_.frame->PostOpenFileCommand();
}

bool CPlayerDoc::SetUpSurfaces() {
    return surfaces_.SetUp(screenWidth_, screenHeight_);
}

void CPlayerDoc::OnVideoOpened(const std::string& fileName, int32_t sliderLineSize) {
    if (!ports_.frame)
        return;
    ports_.frame->SetVideoTitle(fileName);
    ports_.frame->SetSliderLineSize(sliderLineSize);
}

void CPlayerDoc::SetSliderStartMark(int32_t position) {
    if (ports_.frame)
        ports_.frame->SetSliderStartMark(position);
}

void CPlayerDoc::SetSliderEndMark(int32_t position) {
    if (ports_.frame)
        ports_.frame->SetSliderEndMark(position);
}

void CPlayerDoc::RunFrameRequest(const FrameRequest& request) {
    if (request.kind == FrameRequestKind::RefreshThumbnail) {
        CompleteRefresh(request.item);
        return;
    }
    const auto handler = requestHandlers_.find(request.kind);
    if (handler != requestHandlers_.end() && handler->second)
        handler->second(request);
}

const ShotTemplate& CPlayerDoc::Template() const {
    static const ShotTemplate kNone;
    return template_ ? *template_ : kNone;
}

}  // namespace trevanto
