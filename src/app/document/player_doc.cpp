// The document's construction, its commands, and how the player reaches the
// ports.
#include "app/document/player_doc.h"

#include "app/commands/command_ids.h"
#include "app/commands/slider_scale.h"
#include "app/messages/document_messages.h"
#include "app/messages/shots_file_messages.h"
#include "app/messages/stopped_work_messages.h"

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

bool CPlayerDoc::OpenVideo(const std::string& path) {
    return MayOpen(path) && player_.OpenVideo(path);
}

bool CPlayerDoc::MayOpen(const std::string& path) {
    if (!chain_.IsRunning())
        return true;
    // A job that may end unasked (retaking one picture) just ends.
    const std::string action = chain_.StopAction();
    if (!action.empty() && !ports_.user->AskYesNo(StopAndOpenQuestion(action, path)))
        return false;
    // The question let events through: the job may have ended meanwhile.
    chain_.Stop();
    return true;
}

void CPlayerDoc::OnNoVideo() {
    ShowMessage(message::kLoadMovieFirst);
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

void CPlayerDoc::OnOpenFailed(OpenFailure failure) {
    if (const std::string text = OpenFailureMessage(failure); !text.empty())
        ShowMessage(text);
}

void CPlayerDoc::OnPlayWithoutVideo() {
    ports_.frame->PostOpenFileCommand();
}

bool CPlayerDoc::SetUpSurfaces() {
    return surfaces_.SetUp(screenWidth_, screenHeight_);
}

void CPlayerDoc::OnVideoOpened(const std::string& fileName, int32_t frameCount) {
    ports_.frame->SetVideoTitle(fileName);
    // Nothing of the previous video stays on show, even when no frame of
    // this one is presented before a chain of frame jobs has run.
    ports_.frame->PresentFrame(nullptr);
    ports_.frame->SetSliderPosition(0);
    ports_.frame->UpdateFramePanes(0, frameCount, timecodeMode_, player_.DurationSeconds(),
                                   player_.PictureSeconds());
}

void CPlayerDoc::OnAwaitedFrame() {
    chain_.OnFrameArrived();
    ShowFrameAfterChain();
}

void CPlayerDoc::OnAwaitedFrameMissed() {
    chain_.OnFrameMissed();
    ShowFrameAfterChain();
}

void CPlayerDoc::ShowFrameAfterChain() {
    // The frames a chain awaited were not shown: once it is over, the one
    // the video stands on is.
    if (!chain_.IsRunning() && !player_.FrameAwaited())
        RepaintPreview();
}

void CPlayerDoc::OnPlayRangeChanged(int32_t start, int32_t end) {
    const int32_t frames = player_.FrameCount();
    ports_.frame->SetSliderStartMark(start == -1 ? -1 : SliderPositionOfFrame(start, frames));
    ports_.frame->SetSliderEndMark(end == -1 ? -1 : SliderPositionOfFrame(end, frames));
}

const ShotTemplate& CPlayerDoc::Template() const {
    static const ShotTemplate kNone;
    return template_ ? *template_ : kNone;
}

}  // namespace trevanto
