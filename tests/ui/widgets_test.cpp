// The frame window's panes and progress bar, and the preview's aspect.
#include <QCheckBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "app/settings/settings_store.h"
#include "desktop_fixture.h"
#include "picture/surface.h"
#include "ui/controls/progress_bar.h"
#include "ui/message_box_user.h"
#include "ui/preview_widget.h"

namespace trevanto::test {
namespace {

using WidgetsTest = DesktopTest;

// Answers the next modal dialog once it shows: a file dialog takes `button`
// as its file (none: cancelled), a box notes its texts, ticks its "do not
// show" box on OK and presses `button`.
// Whether the last box answered was a dialog that the window manager can
// neither minimise nor maximise: no such hint, and a fixed size.
bool lastBoxWasPlainDialog = false;

void AnswerModal(const QString& button, QString& shown) {
    QTimer::singleShot(10, qApp, [button, &shown] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return AnswerModal(button, shown);
        const Qt::WindowFlags flags = modal->windowFlags();
        lastBoxWasPlainDialog =
            (flags & Qt::WindowType_Mask) == Qt::Dialog &&
            !(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) &&
            modal->minimumSize() == modal->maximumSize();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            shown = files->nameFilters().join(";;");
            return button.isEmpty()
                       ? files->reject()
                       : (files->selectFile(button), static_cast<QDialog*>(files)->accept());
        }
        QStringList texts;
        for (const QLabel* label : modal->findChildren<QLabel*>())
            texts << label->text();
        for (QCheckBox* box : modal->findChildren<QCheckBox*>())
            texts << box->text(), box->setChecked(button == "OK");
        texts.removeAll("");
        shown = texts.join('|');
        for (QAbstractButton* press : modal->findChildren<QAbstractButton*>()) {
            if (press->text().remove('&') == button)
                return press->click();
        }
    });
}

TEST_F(WidgetsTest, FramePanesTheProgressBarAfterItsCaptionAndThePreviewAspect) {
    SettingsStore settings(folder_.File("trevanto.conf"));
    CMainFrame frame(settings);
    frame.UpdateFramePanes(1500, 3000, true, 120.0, nullptr);
    EXPECT_EQ(frame.PositionLabel()->text(), "00:01:00:0000 / 00:02:00:0000");
    frame.resize(800, 500);
    frame.show();
    frame.UpdateFramePanes(123456, 654321, false, 10.0, nullptr);
    frame.BeginProgress("Saving");
    QApplication::processEvents();
    EXPECT_EQ(frame.StatusPane(2)->width(), 100);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Saving");
    const QProgressBar* control = frame.Progress()->Control();
    const QFontMetrics metrics(frame.statusBar()->font());
    EXPECT_EQ(control->geometry().left(),
              metrics.horizontalAdvance("Saving") + 4 * metrics.horizontalAdvance(' '));
    frame.resize(1000, 500);
    QApplication::processEvents();
    EXPECT_EQ(control->geometry().right() + 1, frame.StatusPane(1)->x());
    frame.EndProgress();
    // The preview keeps the display aspect between black bars: wide, wide
    // by its pixels' aspect, tall.
    const struct {
        int width, height;
        double pixelAspect;
        QPoint red, black;  // in the 200 x 200 contents, which start at (1, 1)
    } cases[] = {{160, 90, 1.0, {1, 48}, {100, 42}},     // the picture: y 45..156
                 {100, 100, 2.0, {200, 54}, {100, 48}},  // y 51..150
                 {90, 160, 1.0, {48, 200}, {42, 100}}};  // x 45..156
    for (const auto& c : cases) {
        PreviewWidget preview;
        preview.resize(202, 202);
        auto picture = std::make_shared<Surface>(c.width, c.height);
        picture->Fill(0xFF0000);
        picture->SetPixelAspect(c.pixelAspect);
        ASSERT_TRUE(preview.Present(picture));
        const QImage shown = preview.grab().toImage();
        EXPECT_EQ(shown.pixel(c.red), qRgb(255, 0, 0)) << c.width << " x " << c.height;
        EXPECT_EQ(shown.pixel(c.black), qRgb(0, 0, 0)) << c.width << " x " << c.height;
    }
}

TEST_F(WidgetsTest, MessageBoxesAndFileDialogsShowTheTextsAndReturnTheAnswers) {
    QWidget owner;
    MessageBoxUser user(&owner);
    const QString clip = QString::fromStdString(MediaPath(SampleVideo()));
    const QString kVideoFilter =
        "Video Files (*.avi *.mpg *.mpeg *.wmv *.asf *.mp4 *.m4v *.mov *.mkv *.webm *.ts *.m2ts "
        "*.mts *.3gp *.vob);;All Files (*.*)";
    using Save = DesktopUserPort::SaveAnswer;
    const auto asked = [&](Save answer) { return user.AskSaveDiscardCancel("Save?") == answer; };
    const auto confirmed = [&] {
        bool tick = false;
        return user.ConfirmDelete("Delete?", tick) * 2 + tick;
    };
    const auto file = [](std::optional<std::string> chosen) {
        return QString::fromStdString(chosen.value_or("none"));
    };
    const struct {
        QString button;
        std::function<QString()> ask;
        QString shown, answer;
    } rows[] = {
        {"OK", [&] { return user.ShowMessage("Saved."), ""; }, "Saved.", ""},
        {"OK", [&] { return user.ShowInformation("About", "Version 1"), ""; }, "Version 1", ""},
        {"Yes", [&] { return QString::number(user.AskYesNo("Merge?")); }, "Merge?", "1"},
        {"No", [&] { return QString::number(user.AskYesNo("Merge?")); }, "Merge?", "0"},
        {"Save", [&] { return QString::number(asked(Save::Save)); }, "Save?", "1"},
        {"Discard", [&] { return QString::number(asked(Save::Discard)); }, "Save?", "1"},
        {"Cancel", [&] { return QString::number(asked(Save::Cancel)); }, "Save?", "1"},
        {"Replace all shots", [&] { return QString::number(int(user.AskRecut("Cut?"))); }, "Cut?",
         "1"},
        {"OK", [&] { return QString::number(confirmed()); },
         "Delete?|Do not show this message anymore", "3"},
        {"Cancel", [&] { return QString::number(confirmed()); },
         "Delete?|Do not show this message anymore", "0"},
        {clip, [&] { return file(user.ChooseVideoFile()); }, kVideoFilter, clip},
        {"", [&] { return file(user.ChooseVideoFile()); }, kVideoFilter, "none"},
        {"OK", [&] { return QString::number(user.ChooseFrameNumber(12, 99).value_or(-1)); },
         "Frame number (0 to 99):", "12"},
        {"Cancel", [&] { return QString::number(user.ChooseFrameNumber(12, 99).value_or(-1)); },
         "Frame number (0 to 99):", "-1"},
    };
    for (const auto& row : rows) {
        QString shown;
        AnswerModal(row.button, shown);
        EXPECT_EQ(row.ask(), row.answer) << row.shown.toStdString();
        EXPECT_EQ(shown, row.shown);
        // Message boxes are dialogs; the file dialog may be resized.
        if (!row.shown.startsWith("Video Files")) {
            EXPECT_TRUE(lastBoxWasPlainDialog) << row.shown.toStdString();
        }
    }
    QApplication::postEvent(&owner, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    EXPECT_TRUE(user.PumpEventsAndCheckEscape(10));
    EXPECT_FALSE(user.PumpEventsAndCheckEscape(10));
}

}  // namespace
}  // namespace trevanto::test
