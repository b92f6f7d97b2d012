#pragma once
// The small interfaces through which the document reaches the outside world.
// The desktop program, trevanto-cli and the tests each implement them.
//
// Rule for growing them: a new operation gets a default body, so that no front
// end breaks when it is added.
#include <QImage>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/timecode.h"
#include "export/compact_thumbnail.h"

namespace trevanto {

class Publisher;
class Surface;
struct SlicingSettings;
struct VideoLinkFields;

// An image list entry as the view keeps it, handed back unchanged: the undo
// stack keeps the pictures of the shots it may put back. A view that keeps
// JPEG bytes hands those over (decoding and encoding them again would blur
// the picture a little each time), any other the picture itself.
struct KeptThumbnail {
    QImage picture;
    CompactThumbnail compact;

    bool IsNull() const { return picture.isNull() && compact.IsNull(); }
    size_t Bytes() const {
        return static_cast<size_t>(picture.sizeInBytes()) + static_cast<size_t>(compact.Bytes());
    }
};

// The thumbnail view: an image list of 100 x 80 pictures and a list of items,
// item i showing image i.
class ShotViewPort {
  public:
    virtual ~ShotViewPort() = default;
    // Adds the picture to the image list and an item with the caption at the
    // end of the list. False when the view refuses.
    virtual bool AddThumbnail(const QImage& picture, const std::string& caption,
                              int32_t& imageIndex, int32_t& itemIndex) = 0;
    // Replaces the picture of an image list entry.
    virtual bool ReplaceThumbnail(int32_t imageIndex, const QImage& picture) = 0;
    // Puts the picture into the image list at `imageIndex` and an item with
    // the caption at row `item`; the entries there and after move one on.
    // False when the view refuses.
    virtual bool InsertThumbnail(int32_t /*item*/, int32_t /*imageIndex*/,
                                 const QImage& /*picture*/, const std::string& /*caption*/) {
        return false;
    }
    // The picture of an image list entry; null when there is none.
    virtual QImage Thumbnail(int32_t /*imageIndex*/) const { return {}; }
    // The entry as kept, and adding one back as AddThumbnail does.
    virtual KeptThumbnail KeepThumbnail(int32_t imageIndex) const {
        return {Thumbnail(imageIndex), {}};
    }
    virtual bool AddKeptThumbnail(const KeptThumbnail& kept, const std::string& caption,
                                  int32_t& imageIndex, int32_t& itemIndex) {
        return AddThumbnail(kept.picture.isNull() ? kept.compact.Picture() : kept.picture, caption,
                            imageIndex, itemIndex);
    }
    virtual void SetItemCaption(int32_t item, const std::string& caption) = 0;
    // Removes the item and its image; the view then tells the document
    // (CPlayerDoc::ShiftIndexesAfterRemoval).
    virtual void DeleteItemAndImage(int32_t item) = 0;
    virtual void DeleteAllItems() = 0;
    // Painting is locked while shots are rebuilt.
    virtual void SetPaintingLocked(bool /*locked*/) {}
};

// The main frame's indicators: toolbar check states, status panes, the
// navigation slider and the video preview.
class FramePort {
  public:
    virtual ~FramePort() = default;
    // Check state of the buttons Play, Pause, Stop, Sampler and Engine (command ids).
    virtual void CheckButton(int32_t commandId, bool checked) = 0;
    // "Frame=%ld/%ld" and the position label; `times`: see PictureTimes.
    virtual void UpdateFramePanes(int32_t current, int32_t count, bool timecodeMode,
                                  double durationSeconds, const PictureTimes& times) = 0;
    // "TotalShots=%ld".
    virtual void UpdateShotCount(int32_t count) = 0;
    // The middle pane: a run's progress, then what it found; empty clears it.
    virtual void ShowSlicingStatus(const std::string& /*text*/) {}
    // Slider position 0..32767; marks are slider positions, -1 for none.
    virtual void SetSliderPosition(int32_t /*position*/) {}
    virtual void SetSliderStartMark(int32_t /*position*/) {}
    virtual void SetSliderEndMark(int32_t /*position*/) {}
    // The preview bar's caption: the opened file's name.
    virtual void SetVideoTitle(const std::string& /*fileName*/) {}
    // Stretches the frame onto the preview. False when nothing could be shown
    // (a preview of zero size): the frame then goes no further. Null when no
    // video is open: the preview shows the window colour.
    virtual bool PresentFrame(const std::shared_ptr<const Surface>& /*frame*/) { return true; }
    // Play with no video open brings up the File open dialog.
    virtual void PostOpenFileCommand() {}
    // "No sound" in the status bar while the open video plays without sound
    // (none in the file, none that decodes, or no audio device).
    virtual void ShowNoSound(bool /*noSound*/) {}
};

// Long operations show a progress bar in the status bar, range 0..32767.
class ProgressPort {
  public:
    virtual ~ProgressPort() = default;
    virtual void BeginProgress(const std::string& /*caption*/) {}
    virtual void SetProgress(int32_t /*position*/) {}
    virtual void EndProgress() {}
};

enum class FileDialogKind { Open, Save };

// The box a message is shown in: a report of work done, a failure the user can
// act on, or a failure of the program or a library.
enum class MessageKind { Information, Warning, Error };

// The user: message boxes, questions and file choices.
class UserPort {
  public:
    virtual ~UserPort() = default;
    virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
    // Failures are warnings unless said otherwise.
    void ShowMessage(const std::string& text) { ShowMessage(text, MessageKind::Warning); }
    // A message in a box of its own title (a library's failure); empty: the
    // program's name.
    virtual void ShowTitledMessage(const std::string& /*title*/, const std::string& text,
                                   MessageKind kind) {
        ShowMessage(text, kind);
    }
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A file chosen by the user, or nothing when cancelled. The filter is in
    // the form "Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*||".
    virtual std::optional<std::string> ChooseFile(FileDialogKind /*kind*/,
                                                  const std::string& /*filter*/,
                                                  const std::string& /*defaultExtension*/) {
        return std::nullopt;
    }
    // A folder chosen by the user, starting at `startFolder`; nothing when
    // cancelled.
    virtual std::optional<std::string> ChooseFolder(const std::string& /*startFolder*/) {
        return std::nullopt;
    }
    // Lets up to `maxEvents` waiting user events through; true when the user
    // pressed Escape among them.
    virtual bool PumpEventsAndCheckEscape(int /*maxEvents*/) { return false; }
    // Opens a file or URL with the desktop's default handler.
    virtual bool OpenWithDefaultHandler(const std::string& /*pathOrUrl*/) { return false; }
    // The Settings dialog on a copy of the slicing settings: true, with the
    // copy edited, when closed with OK.
    virtual bool EditSlicingSettings(SlicingSettings& /*settings*/) { return false; }
    // The "Create a video hyperlink" dialog: true, with the fields accepted
    // (AcceptVideoLinkFields), when the user asks for the link.
    virtual bool EditVideoLink(VideoLinkFields& /*fields*/) { return false; }
    // The publish wizard on a copy of the document's publisher: true, with
    // the copy edited, when the last step ends with "Finish".
    virtual bool EditPublishOptions(Publisher& /*copy*/) { return false; }
};

// The front end's side of the document. A port left out (or null) is a
// do-nothing one: the view refuses every thumbnail, the user answers No and
// cancels every choice.
struct DocumentPorts {
    ShotViewPort* view = nullptr;
    FramePort* frame = nullptr;
    ProgressPort* progress = nullptr;
    UserPort* user = nullptr;

    // The same ports with every null one replaced by its do-nothing one.
    DocumentPorts WithDefaults() const;
};

}  // namespace trevanto
