#pragma once
// The user as the desktop program asks him: the document's questions plus
// the deletion question with its "Do not show this message anymore" box.
// Tests put an answering stand-in here so that no dialog ever blocks.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/document/document_ports.h"
#include "online/stream_script.h"

namespace trevanto {

class DesktopUserPort : public UserPort {
  public:
    enum class SaveAnswer { Save, Discard, Cancel };
    // A question with the buttons Save, Discard and Cancel.
    virtual SaveAnswer AskSaveDiscardCancel(const std::string& question) = 0;
    // OK (true) or Cancel; `doNotShowAgain` receives the state of the box.
    virtual bool ConfirmDelete(const std::string& question, bool& doNotShowAgain) = 0;
    // A plain information box with the program's title.
    virtual void ShowInformation(const std::string& title, const std::string& text) {
        (void)title;
        ShowMessage(text, MessageKind::Information);
    }
    enum class RecutAnswer { KeepOwnShots, ReplaceAll, Cancel };
    // Whether to cut again, keeping the shots made by hand or edited or not.
    virtual RecutAnswer AskRecut(const std::string& question) {
        (void)question;
        return RecutAnswer::Cancel;
    }
    // "Go to frame...": a frame number from 0 to `last`, offering `current`;
    // nothing when cancelled.
    virtual std::optional<int32_t> ChooseFrameNumber(int32_t current, int32_t last) {
        (void)current;
        (void)last;
        return std::nullopt;
    }
    // The open dialog of video files; nothing when cancelled.
    virtual std::optional<std::string> ChooseVideoFile() { return std::nullopt; }

    struct TemplateChoice {
        std::string path;
        // 0xRRGGBB, when the user picked one with "Color".
        std::optional<uint32_t> transparentColour;
    };
    // The open dialog of shot bitmap templates, starting in `startFolder`
    // when it is not empty; nothing when cancelled.
    virtual std::optional<TemplateChoice> ChooseShotTemplate(const std::string& startFolder) {
        (void)startFolder;
        return std::nullopt;
    }
    // One of an ASX script's streams (StreamEntryDialog); nothing when cancelled.
    virtual std::optional<std::string> ChooseStream(const std::vector<std::string>& /*streams*/) {
        return std::nullopt;
    }
    // The same, the streams shown by their entries' titles.
    virtual std::optional<std::string> ChooseTitledStream(
        const std::vector<ScriptStream>& streams) {
        return ChooseStream(StreamUrls(streams));
    }
    // The "Open web page" dialog, starting in `startFolder` when it is not
    // empty; nothing when cancelled.
    virtual std::optional<std::string> ChooseWebPage(const std::string& startFolder) {
        (void)startFolder;
        return std::nullopt;
    }
    // Files chosen in one open dialog (full paths); none when cancelled.
    virtual std::vector<std::string> ChooseFiles(const std::string& title) {
        (void)title;
        return {};
    }
};

}  // namespace trevanto
