// "Open online video": the URL dialog stays open on what cannot be opened;
// the chosen stream of a script is opened by the document and becomes the
// history's current URL.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <fstream>

#include "app/front_ends/online_video.h"
#include "desktop_fixture.h"
#include "online/xml_reader.h"
#include "support/loopback_http_server.h"
#include "ui/stream_entry_dialog.h"
#include "ui/stream_url_dialog.h"

namespace trevanto::test {
namespace {

using OnlineVideoTest = DesktopTest;

TEST_F(OnlineVideoTest, TheChosenStreamOfAScriptOpensAndEntersTheHistory) {
    LoopbackHttpServer server;
    const std::string mpeg2 = server.Url("/2.mpg"), mpeg1 = server.Url("/1.mpg");
    server.Serve("/1.mpg", FileReply("video/mpeg", MediaPath("clip_mpeg1.mpg")));
    server.Serve("/list.asx", TextReply("video/x-ms-asf", "<asx><entry><ref href='" + mpeg2 +
                                                              "'/></entry><entry><ref href='" +
                                                              mpeg1 + "'/></entry></asx>"));
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    std::vector<bool> open;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<StreamUrlDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const std::pair<std::string, std::optional<std::string>> rows[] = {
            {"", mpeg1},
            {server.Url("/missing.asx"), mpeg1},
            {server.Url("/list.asx"), std::nullopt},  // the stream choice cancelled
            {server.Url("/list.asx"), mpeg1},
        };
        for (const auto& [url, stream] : rows) {
            open.push_back(dialog->isVisible());
            user_.stream = stream;
            dialog->UrlBox()->setEditText(QString::fromStdString(url));
            dialog->OkButton()->click();
        }
        open.push_back(dialog->isVisible());
    });
    app->Frame().Action(command::kOpenOnlineVideo)->trigger();
    EXPECT_EQ(open, (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(user_.messages, std::vector<std::string>{message::kScriptUnreachable});
    EXPECT_EQ(user_.offered, (std::vector<std::string>{mpeg2, mpeg1}));
    EXPECT_EQ(app->UrlHistory().entries, std::vector<std::string>{app->UrlHistory().current});
    const Player& player = app->Document().GetPlayer();
    EXPECT_EQ(player.OpenedPath() + " " + std::to_string(player.FrameCount()), mpeg1 + " 200");
}

// A script given like a file (start-up, drop, recent files) offers its streams.
// The streams are offered by their entries' titles, sorted, with their
// URLs as tooltips; OK takes the URL.
TEST_F(OnlineVideoTest, TheStreamChooserListsTheEntriesTitles) {
    const XmlParseResult parsed = ParseXml(
        "<asx><entry><title> Second part </title><ref href='http://h/2.wmv'/></entry>"
        "<entry><ref href='http://h/3.wmv'/></entry>"
        "<entry><TITLE>First part</TITLE><ref href='http://h/1.wmv'/></entry></asx>");
    StreamEntryDialog dialog(CollectStreams(XmlNodeRef(parsed.root.get())));
    QListWidget* list = dialog.List();
    const std::pair<QString, QString> rows[] = {{"First part", "http://h/1.wmv"},
                                                {"Second part", "http://h/2.wmv"},
                                                {"http://h/3.wmv", "http://h/3.wmv"}};
    ASSERT_EQ(list->count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->item(i)->text(), rows[i].first);
        EXPECT_EQ(list->item(i)->toolTip(), rows[i].second);
    }
    list->setCurrentRow(1);
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) {
        if (button->text() == "OK")
            button->click();
    }
    EXPECT_EQ(dialog.SelectedUrl(), "http://h/2.wmv");
}

TEST_F(OnlineVideoTest, AScriptOpenedAsAFileOffersItsStreams) {
    const std::string clip = MediaPath("clip_mpeg1.mpg"), script = folder_ / "list.wvx";
    std::ofstream(script) << "<ASX>\n<Entry><Ref HREF=\"" << clip << "\"/></Entry>\n</ASX>";
    auto app = MakeApp();
    user_.stream = std::nullopt;
    EXPECT_FALSE(app->OpenDocument(script));
    user_.stream = clip;
    ASSERT_TRUE(app->OpenDocument(script));
    EXPECT_EQ(user_.offered, std::vector<std::string>{clip});
    EXPECT_EQ(app->Document().GetPlayer().OpenedPath(), clip);
    EXPECT_EQ(app->Settings().RecentFiles().front(), script);
}

// A server that trickles: the window goes on working while the video opens,
// a dialog names it after half a second, and its Cancel ends the open
// without a message.
TEST_F(OnlineVideoTest, AnOpenThatTakesLongShowsItsProgressAndCanBeCancelled) {
    LoopbackHttpServer server;
    HttpReply trickle = FileReply("video/mpeg", MediaPath("clip_mpeg1.mpg"));
    trickle.trickle = true;
    server.Serve("/slow.mpg", trickle);
    auto app = MakeApp();
    ASSERT_TRUE(app->Start());
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(50);
    QString label;
    std::function<void()> cancelWhenShown = [&] {
        auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return QTimer::singleShot(50, cancelWhenShown);
        label = dialog->labelText();
        dialog->findChild<QPushButton*>()->click();
    };
    QTimer::singleShot(0, cancelWhenShown);
    EXPECT_FALSE(app->OpenVideo(server.Url("/slow.mpg")));
    EXPECT_EQ(label, "Opening slow.mpg...");
    EXPECT_GE(ticks, 8) << "the UI thread went on";
    EXPECT_EQ(user_.messages, std::vector<std::string>{});
    EXPECT_FALSE(app->Document().IsOpen());
}

}  // namespace
}  // namespace trevanto::test
