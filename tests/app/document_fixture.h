#pragma once
// A document whose ports record what it asked of the front end, on the real
// FFmpeg graph (driven unpaced, event by event, as trevanto-cli drives it) or
// on a fake graph of synthetic scenes. The view keeps item i with image i.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <thread>

#include "app/document/player_doc.h"
#include "support/test_clips.h"
#include "video/open_media_graph.h"

namespace trevanto::test {

using RangeList = std::vector<std::pair<int32_t, int32_t>>;

struct View : ShotViewPort {
    struct Item {
        std::string caption;
        QImage picture;
    };
    bool AddThumbnail(const QImage& picture, const std::string& caption, int32_t& image,
                      int32_t& item) override {
        if (refuse)
            return false;
        items.push_back({caption, picture});
        image = item = static_cast<int32_t>(items.size()) - 1;
        return true;
    }
    bool ReplaceThumbnail(int32_t image, const QImage& picture) override {
        items.at(static_cast<size_t>(image)).picture = picture;
        ++replacements;
        return true;
    }
    bool InsertThumbnail(int32_t item, int32_t image, const QImage& picture,
                         const std::string& caption) override {
        if (refuse || item != image)  // item i shows picture i here
            return false;
        items.insert(items.begin() + item, {caption, picture});
        return true;
    }
    void SetItemCaption(int32_t item, const std::string& text) override {
        items.at(static_cast<size_t>(item)).caption = text;
    }
    void DeleteItemAndImage(int32_t item) override {
        items.erase(items.begin() + item);
        document->ShiftIndexesAfterRemoval(item, item);
    }
    QImage Thumbnail(int32_t image) const override {
        return image >= 0 && image < static_cast<int32_t>(items.size())
                   ? items[static_cast<size_t>(image)].picture
                   : QImage();
    }
    void DeleteAllItems() override { items.clear(); }
    void SetPaintingLocked(bool lock) override { locked = lock; }
    CPlayerDoc* document = nullptr;
    bool refuse = false;
    bool locked = false;
    int replacements = 0;
    std::vector<Item> items;
};

struct Frame : FramePort {
    void CheckButton(int32_t id, bool checked) override { buttons[id] = checked; }
    void UpdateFramePanes(int32_t, int32_t, bool, double, const PictureTimes&) override {}
    void UpdateShotCount(int32_t) override {}
    bool PresentFrame(const std::shared_ptr<const Surface>& frame) override {
        blankPresents += frame ? 0 : 1;
        return previewVisible;
    }
    bool Checked(int32_t id) const { return buttons.count(id) != 0 && buttons.at(id); }
    std::map<int32_t, bool> buttons;
    bool previewVisible = true;
    int blankPresents = 0;
};

// Answers the file dialogs with `answer` and the questions with `yes`,
// presses Escape at pump `escapeAtPump` and keeps what the progress bar showed.
struct User : UserPort, ProgressPort {
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override { return questions.push_back(text), yes; }
    std::optional<std::string> ChooseFile(FileDialogKind, const std::string&,
                                          const std::string&) override {
        return answer;
    }
    bool PumpEventsAndCheckEscape(int) override { return ++pumps == escapeAtPump; }
    bool OpenWithDefaultHandler(const std::string& path) override {
        opened.push_back(path);
        return true;
    }
    void BeginProgress(const std::string& caption) override { progress.push_back(caption); }
    void EndProgress() override { progress.push_back("end"); }
    std::vector<std::string> messages, questions, opened, progress;
    bool yes = true;
    std::optional<std::string> answer;
    int pumps = 0, escapeAtPump = -1;
};

class Session {
  public:
    explicit Session(MediaGraphFactory factory = OpenMediaGraph, int width = 640, int height = 480)
        : doc(std::move(factory), DocumentPorts{&view, &frame, &user, &user}, width, height) {
        view.document = &doc;
    }
    // Opens the clip unpaced and pauses it with nothing waiting.
    bool Open(const TestClip& clip) {
        doc.Slicing().SetPacedPlayback(false);
        if (!doc.OpenVideo(MediaPath(clip)))
            return false;
        doc.Playback().Pause();
        doc.HandleGraphEvents();
        return true;
    }
    // Handles events until `done` holds; false after a minute without it.
    bool RunUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            if (!doc.HandleNextGraphEvent())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    bool RunChain() {
        return RunUntil([this] { return !doc.FrameChainRunning(); });
    }
    // Opens the clip and slices it with the engine from its first frame.
    bool OpenAndSlice(const TestClip& clip, float threshold = 15.0f) {
        if (!Open(clip))
            return false;
        SlicingSettings settings = doc.Slicing().Settings();
        settings.threshold = threshold;
        doc.Slicing().ApplySlicingSettings(settings);
        doc.Playback().SeekToFrame(0);
        doc.Slicing().StartEngine();
        return RunUntil([this] { return !doc.Slicing().IsRunning(); });
    }
    RangeList Ranges() const {
        RangeList ranges;
        for (const auto& shot : doc.Shots())
            ranges.emplace_back(shot->startFrame, shot->endFrame);
        return ranges;
    }

    View view;
    Frame frame;
    User user;
    CPlayerDoc doc;
};

}  // namespace trevanto::test
