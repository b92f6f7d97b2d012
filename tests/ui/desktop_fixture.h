#pragma once
// A whole desktop program on a temporary settings file, with a scripted user
// and unpaced playback, for the tests that open real clips.
#include <QTest>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/player_doc.h"
#include "common/text_format.h"
#include "support/test_clips.h"
#include "ui/main_frame.h"
#include "ui/thumb_view.h"
#include "ui/trevanto_app.h"
#include "ui_test_support.h"

namespace trevanto::test {

// The caption of shot `number` over [start, end] without timecodes.
inline std::string FormatCaption(int number, int start, int end) {
    return FormatText("shot %04d ( %d - %d )", number, start, end);
}

// A 100 x 80 picture of one colour.
inline QImage SolidPicture(const QColor& colour) {
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

class DesktopTest : public ::testing::Test {
  protected:
    DesktopTest() { TestApplication(); }

    std::unique_ptr<CTrevantoApp> MakeApp() {
        AppOptions options;
        options.settingsPath = folder_.File("trevanto.conf");
        options.user = &user_;
        options.pacedPlayback = false;
        auto app = std::make_unique<CTrevantoApp>(std::move(options));
        app->Frame().resize(900, 600);
        return app;
    }

    // Lets events through until the condition holds; false on time-out.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 20000) {
        return QTest::qWaitFor(condition, timeoutMs);
    }

    // Opens a clip, waits for its first frame and pauses there.
    static bool OpenPaused(CTrevantoApp& app, const std::string& path) {
        if (!app.OpenVideo(path))
            return false;
        app.OnCommand(command::kPause);
        // A seek is sure to deliver its frame, whatever had arrived before.
        Player& player = app.Document().GetPlayer();
        player.SeekToFrame(0);
        return WaitFor([&] {
            return player.FrameSurface() != nullptr && !player.SeekIssued() &&
                   player.CurrentFrame() == 0;
        });
    }

    TempFolder folder_;
    ScriptedUser user_;
};

}  // namespace trevanto::test
