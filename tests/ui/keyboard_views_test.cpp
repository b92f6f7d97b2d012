// The keys of the commands and their list, the View menu's bars, the video
// on the whole screen, and the layout of the bars across a restart.
#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

#include <set>

#include "desktop_fixture.h"
#include "ui/about_text.h"
#include "ui/desktop_commands.h"
#include "ui/preview_widget.h"
#include "ui/shortcuts_dialog.h"

namespace trevanto::test {
namespace {

using namespace command;

class KeyboardViewsTest : public DesktopTest {};

// Help > "Keyboard shortcuts" lists exactly the keys of the command table,
// each command's action answers its key, and no two commands share one.
TEST_F(KeyboardViewsTest, TheShortcutsListIsTheCommandTablesKeys) {
    auto app = MakeApp();
    ShortcutsDialog dialog;
    const QTableWidget* table = dialog.Table();
    std::vector<std::pair<QString, QString>> listed, expected;
    for (int row = 0; row < table->rowCount(); ++row)
        listed.emplace_back(table->item(row, 0)->text(), table->item(row, 1)->text());
    std::set<QKeySequence> keys;
    for (const DesktopCommand& command : DesktopCommands()) {
        if (*command.shortcut == '\0')
            continue;
        const QKeySequence key(command.shortcut);
        EXPECT_FALSE(key.isEmpty()) << command.shortcut;
        EXPECT_TRUE(keys.insert(key).second) << command.shortcut << " is shared";
        const QString where = IsThumbViewCommand(command.id) ? " (in the shot list)" : "";
        expected.emplace_back(QString(command.text).remove('&') + where,
                              key.toString(QKeySequence::NativeText));
        if (const QAction* action = app->Frame().Action(command.id)) {
            EXPECT_EQ(action->shortcut(), key) << command.text;
        }
    }
    expected.emplace_back("Stop a slicing run (while one runs)", "Esc");
    EXPECT_EQ(listed, expected);
    // The desktop's own keys where it has one.
    for (const auto& [id, standard] :
         {std::pair(kFileOpen, QKeySequence::Open), std::pair(kSaveShots, QKeySequence::Save),
          std::pair(kHelpTopics, QKeySequence::HelpContents)}) {
        EXPECT_TRUE(QKeySequence::keyBindings(standard).contains(
            QKeySequence(FindDesktopCommand(id)->shortcut)))
            << id;
    }
    EXPECT_EQ(app->Frame().Action(kPublish)->statusTip(), "Publish the shots to a Web thumbnail");
    const std::string about = AboutText();
    for (const char* part : {"Version", "Qt", "FFmpeg", "libjpeg-turbo", "Help Topics"})
        EXPECT_NE(about.find(part), std::string::npos) << part;
}

// Each bar goes and comes back from the View menu, whose checks follow;
// the video goes to the whole screen and back; the bars stay as they were
// left across a restart.
TEST_F(KeyboardViewsTest, TheViewItemsShowAndHideTheirBars) {
    {
        auto app = MakeApp();
        ASSERT_TRUE(app->Start());
        CMainFrame& frame = app->Frame();
        const std::pair<int32_t, QWidget*> bars[] = {{kViewToolbar, frame.ToolBar()},
                                                     {kViewStatusBar, frame.statusBar()},
                                                     {kViewPreview, frame.PreviewBar()},
                                                     {kViewScores, frame.ScoresBar()}};
        for (const auto& [id, bar] : bars) {
            QAction* check = frame.Action(id);
            ASSERT_TRUE(frame.ViewMenu()->actions().contains(check));
            ASSERT_TRUE(bar->isVisible()) << id;
            check->trigger();
            EXPECT_FALSE(bar->isVisible()) << id;
            EXPECT_FALSE(check->isChecked()) << id;
            check->trigger();
            EXPECT_TRUE(bar->isVisible()) << id;
            EXPECT_TRUE(check->isChecked()) << id;
        }
        // A bar closed by its own button shows so in the menu.
        frame.ScoresBar()->close();
        frame.Action(kViewStatusBar)->trigger();
        EXPECT_FALSE(frame.Action(kViewScores)->isChecked());

        PreviewWidget* preview = frame.Preview();
        frame.Action(kFullScreen)->trigger();
        EXPECT_TRUE(preview->isWindow() && preview->isFullScreen());
        EXPECT_TRUE(frame.Action(kFullScreen)->isChecked());
        EXPECT_TRUE(preview->actions().contains(frame.Action(kTogglePlayPause)));  // Space
        QTest::keyClick(preview, Qt::Key_Escape);
        EXPECT_FALSE(preview->isWindow());
        EXPECT_FALSE(frame.Action(kFullScreen)->isChecked());
        QTest::mouseDClick(preview, Qt::LeftButton);
        EXPECT_TRUE(preview->isWindow());
        frame.close();  // the video comes back first, then the layout is saved
        EXPECT_FALSE(preview->isWindow());
    }
    auto again = MakeApp();
    ASSERT_TRUE(again->Start());
    EXPECT_TRUE(again->Frame().ScoresBar()->isHidden());
    EXPECT_TRUE(again->Frame().statusBar()->isHidden());
    EXPECT_FALSE(again->Frame().Action(kViewStatusBar)->isChecked());
    EXPECT_FALSE(again->Frame().PreviewBar()->isHidden());
    EXPECT_FALSE(again->Frame().Action(kViewScores)->isChecked());
}

}  // namespace
}  // namespace trevanto::test
