// Help Topics: the user guide of the build tree opens in the help window,
// whose links, history and find bar work; without the guide, the message.
#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBlock>
#include <QTextBrowser>

#include "desktop_fixture.h"
#include "ui/help_window.h"

namespace trevanto::test {
namespace {

// Stands for the user's browser.
class BrowserStandIn : public QObject {
    Q_OBJECT
  public:
    std::vector<QUrl> opened;
  public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

// Clicks the first link of the page on show whose address starts with `href`.
bool ClickLink(QTextBrowser& browser, const QString& href) {
    for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().anchorHref().startsWith(href))
                continue;
            QTextCursor cursor(browser.document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser.setTextCursor(cursor);
            browser.ensureCursorVisible();
            const QPoint at = browser.cursorRect(cursor).center();
            QTest::mouseClick(browser.viewport(), Qt::LeftButton, {}, at);
            return true;
        }
    }
    return false;
}

class HelpTopicsTest : public DesktopTest {
  protected:
    std::unique_ptr<CTrevantoApp> MakeAppWithGuide(const std::string& index) {
        auto app = MakeApp();
        app->SetHelpIndex(index);
        return app;
    }
};

TEST_F(HelpTopicsTest, OpensTheGuideWithItsContentsLinksAndFindBar) {
    auto app = MakeAppWithGuide(TREVANTO_HELP_DIR "/index.html");
    app->OnCommand(command::kHelpTopics);
    EXPECT_TRUE(user_.messages.empty());
    auto* help = app->Frame().findChild<HelpWindow*>("helpWindow");
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
    QTextBrowser& browser = *help->Browser();
    EXPECT_TRUE(browser.source().toString().endsWith("help/index.html"));
    // The contents list: the index's topics, the keyword reference among them.
    ASSERT_GE(help->Contents()->count(), 10);
    EXPECT_EQ(help->Contents()->findItems("Keyword reference", Qt::MatchExactly).size(), 1);

    // A link between pages stays in the window, and Back returns.
    ASSERT_TRUE(ClickLink(browser, "engine.html"));
    EXPECT_TRUE(browser.source().toString().endsWith("help/engine.html"));
    EXPECT_TRUE(browser.isBackwardAvailable());
    EXPECT_EQ(help->Contents()->currentItem()->text(), "Slicing with the shot engine");
    EXPECT_TRUE(help->Find("threshold"));
    EXPECT_EQ(browser.textCursor().selectedText(), "threshold");
    EXPECT_FALSE(help->Find("no such words here"));
    browser.backward();
    EXPECT_TRUE(browser.source().toString().endsWith("help/index.html"));

    // An outside address goes to the user's browser; the page stays.
    BrowserStandIn standIn;
    QDesktopServices::setUrlHandler("https", &standIn, "Open");
    app->ShowHelp("opening.html");
    const bool clicked = ClickLink(browser, "https://");
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_TRUE(clicked);
    ASSERT_EQ(standIn.opened.size(), 1u);
    EXPECT_EQ(standIn.opened[0].host(), "ffmpeg.org");
    EXPECT_TRUE(browser.source().toString().endsWith("help/opening.html"));
}

TEST_F(HelpTopicsTest, TellsWhenTheGuideIsMissing) {
    auto app = MakeAppWithGuide(folder_.File("help/index.html"));
    app->OnCommand(command::kHelpTopics);
    EXPECT_EQ(user_.messages, std::vector<std::string>{"Help file not installed."});
    EXPECT_EQ(app->Frame().findChild<HelpWindow*>("helpWindow"), nullptr);
}

}  // namespace
}  // namespace trevanto::test

#include "help_window_test.moc"
