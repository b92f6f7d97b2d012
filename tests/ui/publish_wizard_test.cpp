// The publish wizard's steps, its keyword menus, and "Publish to the Web"
// from the desktop against trevanto-cli.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>
#include <map>

#include "app/front_ends/publish_wizard_steps.h"
#include "cli/cli_process.h"
#include "desktop_fixture.h"
#include "ui/controls/menu_button.h"
#include "ui/publish_wizard.h"

namespace trevanto::test {
namespace {

using namespace command;
using PublishWizardTest = DesktopTest;

QLineEdit* EditOf(const PublishWizard& wizard, const char* name) {
    return wizard.Page()->findChild<QLineEdit*>(name);
}

template <typename Control>
Control* ControlOf(const PublishWizard& wizard, const char* name) {
    return wizard.Page()->findChild<Control*>(name);
}

void GoTo(PublishWizard& wizard, int step, bool useTemplate = false) {
    if (wizard.Step() == 1)
        ControlOf<QCheckBox>(wizard, "useTemplate")->setChecked(useTemplate);
    while (wizard.Step() < step)
        wizard.NextButton()->click();
}

TEST_F(PublishWizardTest, EachRefusedValueShowsItsMessageAndThePageStays) {
    const std::string larger = " It must be at most ";
    const struct {
        int step;
        bool useTemplate;
        const char* edit;
        const char* text;
        std::string message;
        bool previousRefused;  // "< Previous" checks too
    } rows[] = {
        {1, false, "target", "", message::kNoTargetFile, false},
        {2, false, "shotsPerRow", "x", message::kBadShotsPerRow, true},
        {2, false, "shotsPerRow", "1001", message::kBadShotsPerRow + larger + "1000.", true},
        {2, false, "edgeWidth", "-1", message::kBadEdgeWidth, true},
        {2, false, "pageKBytes", " 0kb", message::kBadPageKBytes, true},
        {2, false, "title", "A $(TITLE)", message::kTitleCircular, true},
        {2, true, "title", "$(TITLE)", message::kTitleCircular, true},
        {2, true, "templateFile", "", message::kNoTemplateFile, false},
        {2, true, "templateFile", "/no/t.html", "Template file (/no/t.html) does not exist.",
         false},
        {3, false, "shotWidth", "0", message::kBadShotWidth, true},
        {3, false, "shotHeight", "99999999999", message::kBadShotHeight + larger + "4096.", true},
        {3, false, "caption", "x$(SHOTCAPTION)", message::kCaptionCircular, true},
    };
    for (const auto& row : rows) {
        user_.messages.clear();
        Publisher copy;
        PublishWizard wizard(copy, user_);
        GoTo(wizard, row.step, row.useTemplate);
        EditOf(wizard, row.edit)->setText(row.text);
        wizard.NextButton()->click();
        wizard.PreviousButton()->click();
        EXPECT_EQ(wizard.Step(), row.previousRefused || row.step == 1 ? row.step : row.step - 1)
            << row.text;
        const std::vector<std::string> expected(row.previousRefused ? 2 : 1, row.message);
        EXPECT_EQ(user_.messages, expected) << row.text;
        EXPECT_EQ(copy.Options().title, "Trevanto Thumbnail") << row.text;
    }
}

TEST_F(PublishWizardTest, PreviousAndNextKeepWhatWasStored) {
    Publisher copy;
    copy.PublishVideoFacts("http://s/live.asf", 25, 1.0);  // a stream proposes its url
    PublishWizard wizard(copy, user_);
    EXPECT_FALSE(wizard.PreviousButton()->isEnabled());
    const auto typeLabel = [&] { return ControlOf<QLabel>(wizard, "targetType")->text(); };
    EditOf(wizard, "target")->setText("/p/out.MHTML");  // typed: the label stays
    EXPECT_EQ(typeLabel(), "Target type : web page");
    user_.file = "/p/album.MHTML";
    ControlOf<QPushButton>(wizard, "browseTarget")->click();
    EXPECT_EQ(typeLabel(), "Target type : web archive");
    GoTo(wizard, 2);
    EditOf(wizard, "shotsPerRow")->setText("3x");
    EditOf(wizard, "title")->setText("Clip $(title)");
    wizard.NextButton()->click();
    wizard.PreviousButton()->click();
    EXPECT_EQ(EditOf(wizard, "shotsPerRow")->text() + EditOf(wizard, "title")->text(),
              "3Clip $(title)");
    GoTo(wizard, 4);
    user_.files = {"/d/b.txt", "/d/A.txt", "/d/c.txt"};
    ControlOf<QPushButton>(wizard, "addFiles")->click();
    auto* list = ControlOf<QTreeWidget>(wizard, "files");
    list->topLevelItem(2)->setSelected(true);
    ControlOf<QPushButton>(wizard, "removeFiles")->click();
    EXPECT_EQ(list->topLevelItem(0)->text(0) + list->topLevelItem(1)->text(1), "A.txt/d/b.txt");
    wizard.NextButton()->click();
    EditOf(wizard, "videoUrl")->setText("http://v/clip.wmv");
    wizard.PreviousButton()->click();  // nothing of step 5 is kept
    wizard.NextButton()->click();
    EXPECT_EQ(EditOf(wizard, "videoUrl")->text(), "http://s/live.asf");
    EXPECT_EQ(wizard.NextButton()->text(), "Finish");
    EditOf(wizard, "scriptUrl")->setText("http://s/l.asp");
    wizard.NextButton()->click();
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_EQ(copy.Options().additionalFiles, (std::vector<std::string>{"/d/A.txt", "/d/b.txt"}));
    EXPECT_EQ(copy.Options().targetFile + copy.Options().asxScriptUrl,
              "/p/album.MHTMLhttp://s/l.asp");
    EXPECT_EQ(copy.Options().shotsPerRow, 3);
}

TEST_F(PublishWizardTest, KeywordMenusListTheirKeywordsAndInsertAtTheCaret) {
    const struct {
        int step;
        const char* edit;
        int32_t firstCommand;
        QString names;
    } rows[] = {
        {2, "title", 2000,
         "COUNT PADDEDCOUNT SHOTWIDTH SHOTHEIGHT VIDEOLINK_URL PAGE PAGECOUNT THUMBNAILWIDTH "
         "THUMBNAILHEIGHT CREATIONDATE VIDEONAME VIDEOURL VIDEOFRAMES VIDEODURATION USERNAME"},
        {3, "caption", 2200,
         "INDEX COUNT PADDEDINDEX PADDEDCOUNT MARKIN MARKOUT TIMECODEIN TIMECODEOUT SHOTWIDTH "
         "SHOTHEIGHT VIDEOLINK VIDEOLINK_URL VIDEOLINK_STARTAT PAGE PAGECOUNT THUMBNAILWIDTH "
         "THUMBNAILHEIGHT CREATIONDATE VIDEONAME VIDEOURL VIDEOFRAMES VIDEODURATION USERNAME "
         "SHOTFILENAME"},
    };
    for (const auto& row : rows) {
        Publisher copy;
        PublishWizard wizard(copy, user_);
        GoTo(wizard, row.step);
        auto* button = ControlOf<MenuButton>(wizard, "keywords");
        QStringList names;
        for (QAction* action : button->Menu()->actions())
            names << action->text();
        EXPECT_EQ(names.join(' '), row.names);
        int32_t chosen = 0;
        QObject::connect(button, &MenuButton::CommandChosen, [&](int32_t id) { chosen = id; });
        QLineEdit* edit = EditOf(wizard, row.edit);
        edit->setText("a-b-c");
        edit->setSelection(1, 3);
        button->Menu()->actions().at(names.indexOf("COUNT"))->trigger();
        EXPECT_EQ(edit->text(), "a$(COUNT)c");
        EXPECT_EQ(edit->cursorPosition(), 9);
        EXPECT_EQ(chosen, row.firstCommand + names.indexOf("COUNT"));
    }
}

// The files of the folder, each with the folder's path in its text left out.
std::map<std::string, std::string> FilesIn(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string bytes = ReadWholeFile(entry.path().string());
        for (size_t at = 0; (at = bytes.find(folder, at)) != std::string::npos;)
            bytes.erase(at, folder.size());
        files[entry.path().filename().string()] = bytes;
    }
    return files;
}

TEST_F(PublishWizardTest, PublishingFromTheDesktopMakesWhatTrevantoCliMakes) {
    const std::string clip = MediaPath("clip_mpeg1.mpg");
    auto app = MakeApp();
    ASSERT_TRUE(app->Start() && OpenPaused(*app, clip));
    app->OnCommand(kPublish);
    EXPECT_EQ(user_.messages, std::vector<std::string>{"No shot to export."});
    app->OnCommand(kStop);
    app->OnCommand(kEngine);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().Slicing().IsRunning(); }));
    const std::string page = folder_ / "desk/index.html";
    bool finish = false;
    user_.editPublish = [&](Publisher& copy) {
        PublishWizard wizard(copy, user_);
        EditOf(wizard, "target")->setText(QString::fromStdString(page));
        GoTo(wizard, 2);
        EditOf(wizard, "shotsPerRow")->setText("2");
        EditOf(wizard, "pageKBytes")->setText("1");
        EditOf(wizard, "title")->setText("Clip $(VIDEONAME)");
        GoTo(wizard, finish ? 5 : 4);
        (finish ? wizard.NextButton() : wizard.CancelButton())->click();
        return wizard.result() == QDialog::Accepted;
    };
    app->OnCommand(kPublish);  // cancelled
    EXPECT_EQ(app->Document().GetPublisher().Options().title, "Trevanto Thumbnail");
    finish = true;
    app->OnCommand(kPublish);
    ASSERT_TRUE(WaitFor([&] { return !app->Document().Publishing().IsRunning(); }));
    EXPECT_EQ(app->Document().GetPublisher().Options().title, "Clip $(VIDEONAME)");
    EXPECT_EQ(user_.opened, std::vector<std::string>{page});
    EXPECT_EQ(user_.messages.size(), 1u);

    const auto cli = RunCli({"slice", clip, "--engine", "--publish", folder_ / "cli/index.html",
                             "--per-row", "2", "--page-kb", "1", "--title", "Clip $(VIDEONAME)"});
    ASSERT_EQ(cli.status, 0) << cli.err;
    const auto desk = FilesIn(folder_ / "desk");
    EXPECT_GT(desk.size(), 6u);  // five images and more than one page
    EXPECT_TRUE(desk == FilesIn(folder_ / "cli"));
}

}  // namespace
}  // namespace trevanto::test
