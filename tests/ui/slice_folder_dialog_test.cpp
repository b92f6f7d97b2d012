// File > "Slice a folder...": the dialog runs trevanto-cli's batch, fills its
// table from the batch's events, stops on Cancel so that starting again
// finishes the rest, and opens a finished video's shots file.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>

#include <filesystem>
#include <fstream>

#include "desktop_fixture.h"
#include "support/test_clips.h"
#include "ui/batch_dialog.h"

namespace trevanto::test {
namespace {

using SliceFolderDialogTest = DesktopTest;

// Rows of the table as "video status shots".
std::vector<std::string> Rows(const BatchDialog& dialog) {
    std::vector<std::string> rows;
    const QTableWidget& table = *dialog.Table();
    for (int row = 0; row < table.rowCount(); ++row) {
        QString text;
        for (int column = 0; column < 3; ++column)
            text += (column ? " " : "") + table.item(row, column)->text();
        rows.push_back(text.toStdString());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST_F(SliceFolderDialogTest, SlicesAFolderStopsOnCancelAndOpensAFinishedVideo) {
    TempFolder folder;
    const std::string videos = folder / "videos";
    std::filesystem::create_directories(videos);
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg"})
        std::filesystem::copy_file(MediaPath("clip_mpeg1.mpg"), videos + "/" + name);
    std::ofstream(videos + "/notes.mp4") << "not a video\n";
    BatchDialog dialog(TREVANTO_CLI_PATH);
    dialog.FolderEdit()->setText(QString::fromStdString(videos));
    dialog.OutputEdit()->setText(QString::fromStdString(folder / "out"));
    dialog.OutputBox(BatchDialog::kCsv)->setChecked(true);
    dialog.JobsBox()->setValue(1);

    // Cancelled while the first video is sliced: nothing is left running.
    dialog.StartButton()->click();
    ASSERT_TRUE(WaitFor([&] { return dialog.Table()->rowCount() > 0; }));
    dialog.CancelButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !dialog.Running(); }));
    EXPECT_EQ(dialog.StatusLabel()->text(), "Stopped. Start again to slice what is left.");

    dialog.StartButton()->click();
    ASSERT_TRUE(WaitFor([&] { return !dialog.Running(); }));
    const std::string failed = Rows(dialog)[3];
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"videos/a.mpg done 5", "videos/b.mpg done 5",
                                                      "videos/c.mpg done 5", failed}));
    EXPECT_EQ(failed.rfind("videos/notes.mp4 failed: ", 0), 0u) << failed;
    EXPECT_EQ(dialog.StatusLabel()->text(), "3 done, 1 failed.");
    EXPECT_TRUE(std::filesystem::exists(folder / "out/videos/c.csv"));

    QSignalSpy opened(&dialog, &BatchDialog::OpenRequested);
    for (int row = 0; row < dialog.Table()->rowCount(); ++row) {
        dialog.Table()->selectRow(row);
        const bool done = dialog.Table()->item(row, 1)->text() == "done";
        EXPECT_EQ(dialog.OpenButton()->isEnabled(), done) << row;
    }
    dialog.Table()->selectRow(0);
    dialog.OpenButton()->click();
    ASSERT_EQ(opened.size(), 1);
    const std::string shotsFile = opened[0][0].toString().toStdString();
    EXPECT_TRUE(std::filesystem::exists(shotsFile)) << shotsFile;
}

}  // namespace
}  // namespace trevanto::test
