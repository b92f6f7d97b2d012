#pragma once
// The document's ports for the command line: messages go to stderr, the
// shots are kept in a plain list, the frame panes drive a progress line.
#include <QImage>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/document/document_ports.h"
#include "export/compact_thumbnail.h"

namespace trevanto::cli {

// The user: every message box becomes a line on the error stream.
class CliUser : public UserPort {
  public:
    explicit CliUser(std::ostream& err) : err_(err) {}
    using UserPort::ShowMessage;
    void ShowMessage(const std::string& text, MessageKind kind) override;
    bool AskYesNo(const std::string& text) override;
    int MessageCount() const { return messages_; }
    // File dialogs are answered with the file named on the command line.
    void SetFileAnswer(std::optional<std::string> path) { fileAnswer_ = std::move(path); }
    std::optional<std::string> ChooseFile(FileDialogKind kind, const std::string& filter,
                                          const std::string& defaultExtension) override;
    // Starts xdg-open on it, without waiting.
    bool OpenWithDefaultHandler(const std::string& pathOrUrl) override;
    // The link's parts as the command line gave them, checked as the dialog
    // checks them.
    bool EditVideoLink(VideoLinkFields& fields) override;

  private:
    std::ostream& err_;
    int messages_ = 0;
    std::optional<std::string> fileAnswer_;
};

// The thumbnail view without a window: it keeps captions and pictures.
class CliView : public ShotViewPort {
  public:
    bool AddThumbnail(const QImage& picture, const std::string& caption, int32_t& imageIndex,
                      int32_t& itemIndex) override;
    bool ReplaceThumbnail(int32_t imageIndex, const QImage& picture) override;
    QImage Thumbnail(int32_t imageIndex) const override;
    void SetItemCaption(int32_t item, const std::string& caption) override;
    void DeleteItemAndImage(int32_t item) override;
    void DeleteAllItems() override;

    const std::vector<std::string>& Captions() const { return captions_; }

  private:
    // Kept compact: a film of many thousand shots fits in memory.
    std::vector<CompactThumbnail> pictures_;
    std::vector<std::string> captions_;
};

// How far a run over the frames first..last is once `frame` is done, 0 to 100.
int SlicedPercent(int32_t frame, int32_t first, int32_t last);

// A progress line "slicing  42%  310.5 fps" on a terminal, redrawn at most
// five times a second over the frames first..last.
class ProgressLine {
  public:
    ProgressLine(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
    void Begin(int32_t firstFrame, int32_t lastFrame);
    void Update(int32_t frame);
    // Clears the line.
    void End();

  private:
    using Clock = std::chrono::steady_clock;
    std::ostream& err_;
    bool enabled_;
    bool active_ = false;
    bool drawn_ = false;
    int32_t first_ = 0;
    int32_t last_ = 0;
    int64_t frames_ = 0;
    Clock::time_point started_;
    Clock::time_point lastDrawn_;
};

// The main frame without a window: only the frame pane is used, for progress.
class CliFrame : public FramePort {
  public:
    explicit CliFrame(ProgressLine& progress) : progress_(progress) {}
    void CheckButton(int32_t, bool) override {}
    void UpdateFramePanes(int32_t current, int32_t count, bool timecodeMode, double durationSeconds,
                          const PictureTimes& times) override;
    void UpdateShotCount(int32_t) override {}

  private:
    ProgressLine& progress_;
};

}  // namespace trevanto::cli
