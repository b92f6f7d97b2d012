#pragma once
// The test program's one QApplication, a user answering from a script, and
// a whole desktop program on a temporary settings file with unpaced playback.
#include <QApplication>
#include <QTest>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/player_doc.h"
#include "common/text_format.h"
#include "support/test_clips.h"
#include "ui/desktop_user_port.h"
#include "ui/main_frame.h"
#include "ui/thumb_view.h"
#include "ui/trevanto_app.h"

namespace trevanto::test {

inline QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: input devices made by the tests go away with the
    // process, after static destructors that they would otherwise outlive.
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

struct ScriptedUser : DesktopUserPort {
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return yes;
    }
    bool ConfirmDelete(const std::string& question, bool& doNotShowAgain) override {
        confirmations.push_back(question);
        doNotShowAgain = tickDoNotShow;
        return confirm;
    }
    SaveAnswer AskSaveDiscardCancel(const std::string& question) override {
        questions.push_back(question);
        return saveAnswer;
    }
    std::optional<std::string> ChooseFolder(const std::string& start) override {
        folderStarts.push_back(start);
        return folder;
    }
    std::optional<std::string> ChooseVideoFile() override { return file; }
    std::optional<std::string> ChooseFile(FileDialogKind, const std::string&,
                                          const std::string&) override {
        return file;
    }
    void ShowInformation(const std::string& title, const std::string& text) override {
        messages.push_back(title + "|" + text);
    }
    bool OpenWithDefaultHandler(const std::string&) override { return true; }

    std::vector<std::string> messages, questions, confirmations, folderStarts;
    std::optional<std::string> folder, file;
    SaveAnswer saveAnswer = SaveAnswer::Cancel;
    bool yes = true, confirm = true, tickDoNotShow = false;
};

// The caption of shot `number` over [start, end] without timecodes.
inline std::string FormatCaption(int number, int start, int end) {
    return FormatText("shot %04d ( %d - %d )", number, start, end);
}

inline QImage SolidPicture(const QColor& colour) {
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

class DesktopTest : public ::testing::Test {
  protected:
    DesktopTest() { TestApplication(); }

    std::unique_ptr<CTrevantoApp> MakeApp() {
        AppOptions options{folder_.File("trevanto.conf"), {}, &user_, false};
        auto app = std::make_unique<CTrevantoApp>(std::move(options));
        app->Frame().resize(900, 600);
        return app;
    }
    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 20000);
    }
    // Opens a clip and waits, paused, for its first frame.
    static bool OpenPaused(CTrevantoApp& app, const std::string& path) {
        if (!app.OpenVideo(path))
            return false;
        app.OnCommand(command::kPause);
        // A seek is sure to deliver its frame, whatever had arrived before.
        const Player& player = app.Document().GetPlayer();
        app.Document().SeekToFrame(0);
        return WaitFor([&] {
            return player.FrameSurface() != nullptr && !player.SeekIssued() &&
                   player.CurrentFrame() == 0;
        });
    }

    TempFolder folder_;
    ScriptedUser user_;
};

}  // namespace trevanto::test
