#pragma once
// Ports that record what the document asked of the front end. The view keeps
// items and images like the thumbnail view: item i shows image i.
#include <QImage>

#include <map>
#include <string>
#include <vector>

#include "app/document_ports.h"
#include "app/player_doc.h"

namespace trevanto::test {

class RecordingView : public ShotViewPort {
  public:
    struct Item {
        std::string caption;
        QImage picture;
    };

    bool AddThumbnail(const QImage& picture, const std::string& caption, int32_t& imageIndex,
                      int32_t& itemIndex) override {
        if (refuse)
            return false;
        items.push_back({caption, picture});
        imageIndex = itemIndex = static_cast<int32_t>(items.size()) - 1;
        return true;
    }
    bool ReplaceThumbnail(int32_t imageIndex, const QImage& picture) override {
        if (imageIndex < 0 || imageIndex >= static_cast<int32_t>(items.size()))
            return false;
        items[static_cast<size_t>(imageIndex)].picture = picture;
        ++replacements;
        return true;
    }
    void SetItemCaption(int32_t item, const std::string& caption) override {
        if (item >= 0 && item < static_cast<int32_t>(items.size())) {
            items[static_cast<size_t>(item)].caption = caption;
        }
    }
    void DeleteItemAndImage(int32_t item) override {
        items.erase(items.begin() + item);
        if (document)
            document->ShiftIndexesAfterRemoval(item, item);
    }
    void DeleteAllItems() override { items.clear(); }

    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const auto& item : items)
            captions.push_back(item.caption);
        return captions;
    }

    CPlayerDoc* document = nullptr;
    bool refuse = false;
    int replacements = 0;
    std::vector<Item> items;
};

class RecordingFrame : public FramePort {
  public:
    void CheckButton(int32_t commandId, bool checked) override { buttons[commandId] = checked; }
    void UpdateFramePanes(int32_t current, int32_t count, bool timecodeMode, double) override {
        paneFrame = current;
        paneCount = count;
        paneTimecode = timecodeMode;
    }
    void UpdateShotCount(int32_t count) override { shotCountPane = count; }
    void SetSliderPosition(int32_t position) override { slider = position; }
    bool PresentFrame(const std::shared_ptr<const Surface>& frame) override {
        ++presented;
        if (!frame)
            ++blankPresents;
        return previewVisible;
    }
    void SetVideoTitle(const std::string& fileName) override { title = fileName; }

    bool Checked(int32_t commandId) const {
        const auto found = buttons.find(commandId);
        return found != buttons.end() && found->second;
    }

    std::map<int32_t, bool> buttons;
    int32_t paneFrame = -2;
    int32_t paneCount = -2;
    bool paneTimecode = false;
    int32_t shotCountPane = -1;
    int32_t slider = -1;
    int presented = 0;
    int blankPresents = 0;
    bool previewVisible = true;
    std::string title;
};

class RecordingUser : public UserPort {
  public:
    void ShowMessage(const std::string& text, MessageKind kind) override {
        messages.push_back(text);
        kinds.push_back(kind);
    }
    bool AskYesNo(const std::string&) override { return true; }
    std::vector<std::string> messages;
    std::vector<MessageKind> kinds;
};

}  // namespace trevanto::test
