#pragma once
// The test program's one QApplication, a user answering from a script, and
// a whole desktop program on a temporary settings file with unpaced playback.
#include <QApplication>
#include <QTest>

#include <cstdlib>

#include <gtest/gtest.h>

#include "app/commands/command_ids.h"
#include "app/document/player_doc.h"
#include "publish/video_link.h"
#include "support/test_clips.h"
#include "ui/desktop_user_port.h"
#include "ui/main_frame.h"
#include "ui/page_snapshot.h"
#include "ui/thumb_view.h"
#include "ui/trevanto_app.h"

namespace trevanto::test {

struct ScriptedUser : DesktopUserPort {
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    bool AskYesNo(const std::string& text) override { return questions.push_back(text), yes; }
    bool ConfirmDelete(const std::string& question, bool& doNotShowAgain) override {
        confirmations.push_back(question);
        doNotShowAgain = tickDoNotShow;
        return confirm;
    }
    SaveAnswer AskSaveDiscardCancel(const std::string& question) override {
        return questions.push_back(question), saveAnswer;
    }
    RecutAnswer AskRecut(const std::string& question) override {
        return questions.push_back(question), recutAnswer;
    }
    std::optional<std::string> ChooseVideoFile() override { return file; }
    std::optional<int32_t> ChooseFrameNumber(int32_t, int32_t) override { return frameNumber; }
    std::optional<std::string> ChooseStream(const std::vector<std::string>& streams) override {
        return offered = streams, stream;
    }
    std::optional<std::string> ChooseFile(FileDialogKind, const std::string&,
                                          const std::string&) override {
        return file;
    }
    // The dialogs: none given is Cancel.
    bool EditSlicingSettings(SlicingSettings& settings) override {
        return editSettings && editSettings(settings);
    }
    bool EditVideoLink(VideoLinkFields& fields) override { return editLink && editLink(fields); }

    std::optional<TemplateChoice> ChooseShotTemplate(const std::string&) override {
        return templateChoice;
    }
    std::vector<std::string> ChooseFiles(const std::string&) override { return files; }
    bool EditPublishOptions(Publisher& copy) override { return editPublish && editPublish(copy); }
    bool OpenWithDefaultHandler(const std::string& path) override {
        return opened.push_back(path), true;
    }

    std::vector<std::string> messages, questions, confirmations, offered, opened;
    std::optional<std::string> file, stream;
    std::optional<int32_t> frameNumber;
    std::vector<std::string> files;
    std::function<bool(SlicingSettings&)> editSettings;
    std::function<bool(VideoLinkFields&)> editLink;
    std::function<bool(Publisher&)> editPublish;
    std::optional<TemplateChoice> templateChoice;
    SaveAnswer saveAnswer = SaveAnswer::Cancel;
    RecutAnswer recutAnswer = RecutAnswer::Cancel;
    bool yes = true, confirm = true, tickDoNotShow = false;
};

// The view keeps its pictures as JPEG: colours come back within a few steps.
inline bool NearColour(QRgb a, QRgb b) {
    constexpr int kSteps = 16;
    return std::abs(qRed(a) - qRed(b)) <= kSteps && std::abs(qGreen(a) - qGreen(b)) <= kSteps &&
           std::abs(qBlue(a) - qBlue(b)) <= kSteps;
}

inline QImage SolidPicture(const QColor& colour) {
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

class DesktopTest : public ::testing::Test {
  protected:
    DesktopTest() {
        static int argc = 1;
        static char name[] = "ui_tests";
        static char* argv[] = {name, nullptr};
        // Never destroyed: input devices made by the tests go away with the
        // process, after static destructors that they would otherwise outlive.
        [[maybe_unused]] static QApplication* application =
            (PageSnapshot::PrepareApplication(), new QApplication(argc, argv));
    }
    std::unique_ptr<CTrevantoApp> MakeApp(bool paced = false) {
        auto app = std::make_unique<CTrevantoApp>(
            AppOptions{folder_.File("trevanto.conf"), {}, &user_, paced});
        app->Frame().resize(900, 600);
        return app;
    }
    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, 20000);
    }
    // Opens a clip and waits, paused, for its first frame (a seek's frame surely comes).
    static bool OpenPaused(CTrevantoApp& app, const std::string& path) {
        if (!app.OpenVideo(path))
            return false;
        app.OnCommand(command::kPause);
        const Player& player = app.Document().GetPlayer();
        app.Document().Playback().SeekToFrame(0);
        return WaitFor([&] {
            return player.FrameSurface() && !player.SeekIssued() && player.CurrentFrame() == 0;
        });
    }

    TempFolder folder_;
    ScriptedUser user_;
};

}  // namespace trevanto::test
