// The document's construction, its commands, and how the player reaches the
// ports.
#include "app/player_doc.h"

#include <array>

#include "app/command_ids.h"

namespace trevanto {

CPlayerDoc::CPlayerDoc(MediaGraphFactory factory, DocumentPorts ports, int screenWidth,
                       int screenHeight)
    : ports_(ports.WithDefaults()),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight),
      player_(std::move(factory), *this) {
    // The graph shrinks each frame to the thumbnail while it converts it,
    // which costs far less than shrinking the RGB32 frame here.
    player_.SetThumbnailSize(kThumbnailWidth, kThumbnailHeight);
}

CPlayerDoc::~CPlayerDoc() = default;

bool CPlayerDoc::OnCommand(int32_t commandId, bool shift) {
    static constexpr std::array<float, 7> kRates{0.1f, 0.3f, 0.5f, 0.8f, 1.0f, 1.5f, 2.0f};
    if (commandId >= command::kRateFirst && commandId <= command::kRateLast) {
        player_.SetRate(kRates[static_cast<size_t>(commandId - command::kRateFirst)]);
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

void CPlayerDoc::ShowMessage(const std::string& text) {
    ports_.user->ShowMessage(text, MessageKind::Warning);
}

void CPlayerDoc::CheckCommand(int32_t commandId, bool checked) {
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
    }
}

void CPlayerDoc::OnPlayWithoutVideo() {
    ports_.frame->PostOpenFileCommand();
}

bool CPlayerDoc::SetUpSurfaces() {
    return surfaces_.SetUp(screenWidth_, screenHeight_);
}

void CPlayerDoc::OnVideoOpened(const std::string& fileName, int32_t sliderLineSize) {
    ports_.frame->SetVideoTitle(fileName);
    ports_.frame->SetSliderLineSize(sliderLineSize);
}

void CPlayerDoc::SetSliderStartMark(int32_t position) {
    ports_.frame->SetSliderStartMark(position);
}

void CPlayerDoc::SetSliderEndMark(int32_t position) {
    ports_.frame->SetSliderEndMark(position);
}

const ShotTemplate& CPlayerDoc::Template() const {
    static const ShotTemplate kNone;
    return template_ ? *template_ : kNone;
}

}  // namespace trevanto
