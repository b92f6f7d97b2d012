#pragma once
// What the widget tests share: the one QApplication of the test program and
// a user that answers every question from a script, so no dialog blocks.
#include <QApplication>

#include <deque>
#include <string>
#include <vector>

#include "ui/desktop_user_port.h"

namespace trevanto::test {

// Creates the test program's QApplication on first use.
QApplication& TestApplication();

class ScriptedUser : public DesktopUserPort {
  public:
    void ShowMessage(const std::string& text, MessageKind kind) override {
        messages.push_back(text);
        kinds.push_back(kind);
    }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return yesNoAnswer;
    }
    bool ConfirmDelete(const std::string& question, bool& doNotShowAgain) override {
        confirmations.push_back(question);
        doNotShowAgain = tickDoNotShow;
        return confirmAnswer;
    }
    SaveAnswer AskSaveDiscardCancel(const std::string& question) override {
        questions.push_back(question);
        return saveAnswer;
    }
    std::optional<std::string> ChooseFolder(const std::string& startFolder) override {
        folderStarts.push_back(startFolder);
        return chosenFolder;
    }
    std::optional<std::string> ChooseVideoFile() override { return videoFile; }
    std::optional<std::string> ChooseFile(FileDialogKind, const std::string&,
                                          const std::string&) override {
        return chosenFile;
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        informations.push_back(title + "|" + text);
    }
    bool OpenWithDefaultHandler(const std::string& pathOrUrl) override {
        opened.push_back(pathOrUrl);
        return true;
    }

    std::vector<std::string> messages;
    std::vector<MessageKind> kinds;
    std::vector<std::string> questions;
    std::vector<std::string> confirmations;
    std::vector<std::string> informations;
    std::vector<std::string> opened;
    std::vector<std::string> folderStarts;
    SaveAnswer saveAnswer = SaveAnswer::Cancel;
    std::optional<std::string> chosenFolder;
    bool yesNoAnswer = true;
    bool confirmAnswer = true;
    bool tickDoNotShow = false;
    std::optional<std::string> videoFile;
    std::optional<std::string> chosenFile;
};

}  // namespace trevanto::test
