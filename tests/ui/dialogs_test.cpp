// The Settings dialog and the "Create a video hyperlink" dialog, and the
// commands that open them.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>

#include <thread>

#include "app/messages/settings_messages.h"
#include "app/messages/video_link_messages.h"
#include "desktop_fixture.h"
#include "ui/message_box_user.h"
#include "ui/settings_dialog.h"
#include "ui/video_link_dialog.h"

namespace trevanto::test {
namespace {

using namespace command;
using DialogsTest = DesktopTest;

// Once the next modal dialog of the type shows, `act` works on it.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(10, qApp, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return WhenShown<Dialog>(act);
        act(*dialog);
    });
}

TEST_F(DialogsTest, SettingsRefuseEachBadValueWithItsMessageAndStayOpen) {
    SlicingSettings given;
    given.rateOption = 2;
    given.rateValue = 2.5f;
    given.threshold = 12.5f;
    SettingsDialog dialog(given, user_);
    EXPECT_EQ(dialog.RateEdit(2)->text() + dialog.Threshold()->text(), "2.512");
    const struct {
        int option;
        const char* text;
        const char* message;
    } refused[] = {{0, "", message::kEmptyValue},
                   {0, "0", message::kNegativeValue},
                   {1, "0.5", message::kNegativeValue},
                   {2, "-1", message::kNegativeValue},
                   {3, "99999999999", message::kValueTooLarge}};
    for (const auto& row : refused) {
        dialog.RateRadio(row.option)->click();
        for (int option = 0; option < 4; ++option)
            EXPECT_EQ(dialog.RateEdit(option)->isEnabled(), option == row.option);
        dialog.RateEdit(row.option)->setText(row.text);
        dialog.accept();
        EXPECT_EQ(user_.messages.back(), row.message) << row.text;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << row.text;
    }
    EXPECT_EQ(user_.messages.size(), std::size(refused));
    // The spin buttons step from what is typed, within 0 to 128.
    dialog.Threshold()->SetText("30.5");
    for (const auto& [steps, shown] : {std::pair(1, "31"), {200, "128"}, {-300, "0"}}) {
        dialog.Threshold()->stepBy(steps);
        EXPECT_EQ(dialog.Threshold()->text(), shown);
    }
}

TEST_F(DialogsTest, SettingsOkWritesBackAndRecomputesTheStepCancelChangesNothing) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start() && OpenPaused(*app, MediaPath(SampleVideo())));  // 25 frames/s
    MessageBoxUser boxes(&app->Frame());
    user_.editSettings = [&](SlicingSettings& settings) {
        return boxes.EditSlicingSettings(settings);
    };
    const struct {
        int option;  // -1: "Default"
        QString value, threshold;
        bool ok;
        int32_t step;
        float threshold_;
        QString shown;  // the threshold on showing
        int jobs;       // the workers chosen, kept between runs after OK
    } rows[] = {
        {2, "3", "0", true, 75, 15.0f, "15", 3},       // a threshold of 0 is not taken
        {1, "2.5", "12.5", true, 12, 12.5f, "15", 2},  // 2 shots per second
        {0, "9", "40", false, 12, 12.5f, "12", 7},     // Cancel
        {3, "17abc", "-3", true, 17, 12.5f, "12", 1},
        {-1, "", "", true, 40, 15.0f, "12", 0},  // the cores
    };
    int jobs = app->Document().Slicing().Jobs();
    for (const auto& row : rows) {
        QString shown;
        WhenShown<SettingsDialog>([&](SettingsDialog& dialog) {
            shown = dialog.Threshold()->text();
            if (row.option < 0) {
                dialog.DefaultButton()->click();
            } else {
                dialog.RateRadio(row.option)->click();
                dialog.RateEdit(row.option)->setText(row.value);
                dialog.Threshold()->SetText(row.threshold);
                dialog.Jobs()->setValue(row.jobs);
            }
            row.ok ? dialog.accept() : dialog.reject();
        });
        app->OnCommand(kSettings);
        if (row.ok)
            jobs =
                row.option < 0 ? static_cast<int>(std::thread::hardware_concurrency()) : row.jobs;
        EXPECT_EQ(std::pair(app->Document().Slicing().Jobs(), app->Settings().SlicingJobs()),
                  std::pair(jobs, jobs));
        const SlicingSettings& now = app->Document().Slicing().Settings();
        EXPECT_EQ(shown, row.shown) << row.value.toStdString();
        EXPECT_EQ(std::pair(now.stepFrames, now.threshold), std::pair(row.step, row.threshold_))
            << row.value.toStdString();
    }
}

// The detector: each one's own value box, a sensitivity above 0 and below
// 100, and the choice kept for the next start.
TEST_F(DialogsTest, SettingsDetectorAndSensitivityRefusedTakenAndKept) {
    SlicingSettings given;
    given.sensitivity = 70.0f;
    SettingsDialog dialog(given, user_);
    EXPECT_EQ(dialog.Detector()->currentText() + dialog.Sensitivity()->text(),
              "Channel spread (classic)70");
    EXPECT_FALSE(dialog.Sensitivity()->isEnabled());
    dialog.Detector()->setCurrentIndex(1);
    EXPECT_TRUE(dialog.Sensitivity()->isEnabled() && !dialog.Threshold()->isEnabled());
    for (const char* text : {"", "0", "100", "abc", "-5"}) {
        dialog.Sensitivity()->setText(text);
        dialog.accept();
        EXPECT_EQ(user_.messages.back(), message::kSensitivityRefused) << text;
        EXPECT_NE(dialog.result(), QDialog::Accepted) << text;
    }
    dialog.Sensitivity()->setText("62.5");
    dialog.accept();
    EXPECT_EQ(std::pair(dialog.Settings().detector, dialog.Settings().sensitivity),
              std::pair(ShotDetector::Content, 62.5f));
    {
        auto app = MakeApp();
        MessageBoxUser boxes(&app->Frame());
        user_.editSettings = [&](SlicingSettings& settings) {
            return boxes.EditSlicingSettings(settings);
        };
        WhenShown<SettingsDialog>([](SettingsDialog& shown) {
            shown.Detector()->setCurrentIndex(1);
            shown.Sensitivity()->setText("80");
            shown.accept();
        });
        app->OnCommand(kSettings);
    }
    const SlicingSettings kept = MakeApp()->Document().Slicing().Settings();
    EXPECT_EQ(std::pair(kept.detector, kept.sensitivity), std::pair(ShotDetector::Content, 80.0f));
}

TEST_F(DialogsTest, VideoLinkDialogRefusesWithAMessageAndAcceptsTheTimesInOrder) {
    VideoLinkDialog dialog({"00:02:00.0000", "00:01:00.0000", "", "http://s/l.asp"}, user_);
    using Field = VideoLinkDialog::Field;
    EXPECT_EQ(dialog.Edit(Field::kStart)->maxLength() + dialog.Edit(Field::kScriptUrl)->maxLength(),
              32 + 2048);
    dialog.CopyButton()->click();
    EXPECT_EQ(user_.messages, std::vector<std::string>{message::kEmptyVideoUrl});
    dialog.Edit(Field::kVideoUrl)->setText("http://v/clip.wmv");
    dialog.CopyButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Fields().start + "-" + dialog.Fields().end, "00:01:00.0000-00:02:00.0000");
    EXPECT_EQ(dialog.Fields().videoUrl, "http://v/clip.wmv");
}

TEST_F(DialogsTest, CreateAVideolinkCopiesTheLinkOfTheSelectedShotsAndKeepsTheUrls) {
    auto app = MakeApp();
    ASSERT_TRUE(app->Start() && OpenPaused(*app, MediaPath(SampleVideo())));
    for (int i = 0; i < 3; ++i) {
        std::string caption;
        ASSERT_TRUE(app->Document().AddShot(SolidPicture(Qt::red), caption, i * 100, i * 100 + 99));
    }
    std::vector<VideoLinkFields> shown;
    user_.editLink = [&](VideoLinkFields& fields) {
        shown.push_back(fields);
        fields.videoUrl = "http://v/clip a&b.wmv";
        fields.scriptUrl = "http://s/l.asp";
        return AcceptVideoLinkFields(fields, user_);
    };
    app->View().item(0)->setSelected(true);
    app->View().item(2)->setSelected(true);
    app->OnCommand(kVideoLink);
    const QString link =
        "http://s/l.asp?startAt=00%3A00%3A00%2E0000&endAt=00%3A00%3A11%2E0960"
        "&media=http%3A%2F%2Fv%2Fclip+a%26b%2Ewmv";
    EXPECT_EQ(QApplication::clipboard()->text(), link);
    // The urls stay for the next link; a cancelled one copies nothing.
    user_.editLink = [&](VideoLinkFields& fields) { return shown.push_back(fields), false; };
    app->View().item(0)->setSelected(false);
    app->OnCommand(kVideoLink);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].start + shown[0].end + shown[0].videoUrl + shown[0].scriptUrl,
              "00:00:00.000000:00:11.0960");  // a local file is no online video
    EXPECT_EQ(shown[1].start + shown[1].end + shown[1].videoUrl + shown[1].scriptUrl,
              "00:00:08.000000:00:11.0960http://v/clip a&b.wmvhttp://s/l.asp");
    EXPECT_EQ(QApplication::clipboard()->text(), link);
}

}  // namespace
}  // namespace trevanto::test
