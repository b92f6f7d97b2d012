// The video and bitmap open dialogs: the preview of a good file, the refusal
// of a bad one, and a newer selection winning over an older preview.
#include <QColorDialog>
#include <QFile>
#include <QPushButton>
#include <QTimer>

#include "desktop_fixture.h"
#include "ui/bitmap_preview_dialog.h"
#include "ui/preview_area.h"
#include "ui/video_preview_dialog.h"

namespace trevanto::test {
namespace {

using State = PreviewFileDialog::PreviewState;

class PreviewDialogTest : public DesktopTest {
  protected:
    // Selects the file, waits for its preview, then presses OK: true when
    // the dialog took the file.
    static bool PreviewAndAccept(PreviewFileDialog& dialog, const std::string& path) {
        dialog.OnSelectionChanged(QString::fromStdString(path));
        EXPECT_TRUE(WaitFor([&] { return dialog.State() != State::Pending; }));
        dialog.setResult(QDialog::Rejected);
        dialog.selectFile(QString::fromStdString(path));
        dialog.accept();
        return dialog.result() == QDialog::Accepted;
    }
    std::string WriteText(const std::string& name) {
        QFile file(QString::fromStdString(folder_ / name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("not a picture\n") > 0);
        return folder_ / name;
    }
    static QRgb Shadow(const PreviewFileDialog& dialog) {
        return dialog.Area().palette().color(QPalette::Dark).rgb();
    }
};

TEST_F(PreviewDialogTest, VideoShowsTheFirstFrameAndItsFactsAndRefusesOtherFiles) {
    const TestClip& clip = TestClips().front();
    VideoPreviewDialog dialog;
    ASSERT_TRUE(PreviewAndAccept(dialog, MediaPath(clip)));
    const QSize shown = FitPicture({clip.width, clip.height}, {128, 163});
    EXPECT_EQ(dialog.InfoText(), QString("%1 x %2, %3 s\n%4 frames")
                                     .arg(clip.width)
                                     .arg(clip.height)
                                     .arg(clip.frameCount / clip.framesPerSecond, 0, 'f', 1)
                                     .arg(clip.frameCount));
    EXPECT_NE(dialog.Area().Canvas().pixel(64, 81), Shadow(dialog));
    EXPECT_EQ(dialog.Area().Canvas().pixel(64, (163 - shown.height()) / 2 - 1), Shadow(dialog));

    EXPECT_FALSE(PreviewAndAccept(dialog, WriteText("notes.txt")));
    EXPECT_EQ(dialog.InfoText(), "Not a video");
    EXPECT_EQ(dialog.Area().Canvas().pixel(64, 81), Shadow(dialog));
}

TEST_F(PreviewDialogTest, VideoPreviewOfANewerSelectionWins) {
    const TestClip& older = TestClips().front();
    const auto newer =
        std::find_if(TestClips().begin(), TestClips().end(),
                     [&](const TestClip& clip) { return clip.width != older.width; });
    ASSERT_NE(newer, TestClips().end());
    VideoPreviewDialog dialog;
    dialog.OnSelectionChanged(QString::fromStdString(MediaPath(older)));
    dialog.OnSelectionChanged(QString::fromStdString(MediaPath(*newer)));
    ASSERT_TRUE(WaitFor([&] { return dialog.State() != State::Pending; }));
    EXPECT_TRUE(dialog.InfoText().startsWith(QString("%1 x ").arg(newer->width)));
}

// The selected clip plays in the preview, and stops when another file is
// selected or the dialog closes.
TEST_F(PreviewDialogTest, VideoPreviewPlaysTheClipUntilAnotherFileIsSelected) {
    VideoPreviewDialog dialog;
    dialog.OnSelectionChanged(QString::fromStdString(MediaPath(TestClips().front())));
    ASSERT_TRUE(WaitFor([&] { return dialog.Playback().FramesShown() >= 3; }));
    EXPECT_TRUE(dialog.Playback().Playing());
    const QImage shown = dialog.Area().Canvas();
    EXPECT_TRUE(WaitFor([&] { return dialog.Area().Canvas() != shown; }));  // frames advance
    dialog.OnSelectionChanged(QString::fromStdString(WriteText("notes.txt")));
    EXPECT_FALSE(dialog.Playback().Playing());
    dialog.OnSelectionChanged(QString::fromStdString(MediaPath(TestClips().front())));
    ASSERT_TRUE(WaitFor([&] { return dialog.Playback().Playing(); }));
    dialog.reject();
    EXPECT_FALSE(dialog.Playback().Playing());
}

TEST_F(PreviewDialogTest, BitmapIsShrunkToFitCentredNeverEnlargedAndNonImagesAreRefused) {
    struct Row {
        QSize size;
        QRect drawn;  // in the 128 x 163 area
    };
    const Row rows[] = {{{640, 480}, {0, 33, 128, 96}}, {{50, 40}, {39, 61, 50, 40}}};
    BitmapPreviewDialog dialog;
    for (const Row& row : rows) {
        QImage picture(row.size, QImage::Format_RGB32);
        picture.fill(Qt::red);
        const std::string path = folder_ / QString("%1.bmp").arg(row.size.width()).toStdString();
        ASSERT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
        EXPECT_TRUE(PreviewAndAccept(dialog, path)) << row.size.width();
        EXPECT_EQ(dialog.InfoText(),
                  QString("%1 x %2").arg(row.size.width()).arg(row.size.height()));
        const QImage& area = dialog.Area().Canvas();
        const QRect& r = row.drawn;
        EXPECT_EQ(area.pixel(r.left(), r.top()), qRgb(255, 0, 0));
        EXPECT_EQ(area.pixel(r.right(), r.bottom()), qRgb(255, 0, 0));
        EXPECT_EQ(area.pixel(r.left(), r.top() - 1), Shadow(dialog));
        EXPECT_EQ(area.pixel(r.right(), r.bottom() + 1), Shadow(dialog));
        if (r.left() > 0) {
            EXPECT_EQ(area.pixel(r.left() - 1, r.top()), Shadow(dialog));
        }
    }
    EXPECT_FALSE(PreviewAndAccept(dialog, WriteText("text.bmp")));
    EXPECT_EQ(dialog.InfoText(), "Not an image");

    EXPECT_FALSE(dialog.ColorChosen());
    QTimer::singleShot(0, [] {
        auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(colours, nullptr);
        colours->setCurrentColor(Qt::green);
        colours->accept();
    });
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == "Color")
            button->click();
    }
    EXPECT_TRUE(dialog.ColorChosen());
    EXPECT_EQ(dialog.ChosenColor() & 0xFFFFFF, 0x00FF00u);
}

}  // namespace
}  // namespace trevanto::test
