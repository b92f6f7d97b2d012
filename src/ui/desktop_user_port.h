#pragma once
// The user as the desktop program asks him: the document's questions plus
// the deletion question with its "Do not show this message anymore" box.
// Tests put an answering stand-in here so that no dialog ever blocks.
#include <string>

#include "app/document_ports.h"

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
    // The open dialog of video files; nothing when cancelled.
    virtual std::optional<std::string> ChooseVideoFile() { return std::nullopt; }
};

}  // namespace trevanto
