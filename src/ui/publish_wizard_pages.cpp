// The pages of the publish wizard: their controls, how they are filled from
// the working copy, and what they store when left.
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/front_ends/publish_wizard_steps.h"
#include "common/paths.h"
#include "publish/keyword_table.h"
#include "publish/publisher.h"
#include "ui/controls/menu_button.h"
#include "ui/desktop_user_port.h"
#include "ui/publish_wizard.h"

namespace trevanto {
namespace {

constexpr int kEditLimit = 2047;
constexpr int kTargetLimit = 259;
constexpr int kUrlLimit = 2048;
constexpr const char* kTargetFilter =
    "Web page (*.html)|*.html|Web archive (*.mhtml)|*.mhtml|All Files (*.*)|*.*||";
// An address of the kind the script url asks for.
constexpr const char* kScriptExample = "http://www.example.com/scripts/videolink.asp";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.toStdString();
}

QLineEdit* MakeEdit(QWidget* page, const char* name, const QString& text, int limit) {
    auto* edit = new QLineEdit(page);
    edit->setObjectName(name);
    edit->setMaxLength(limit);
    edit->setText(text);
    return edit;
}

QCheckBox* MakeBox(QWidget* page, const char* name, const QString& text, bool checked) {
    auto* box = new QCheckBox(text, page);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QPushButton* MakeButton(QWidget* page, const char* name, const QString& text) {
    auto* button = new QPushButton(text, page);
    button->setObjectName(name);
    return button;
}

// A number edit as wide as a few digits, with its unit after it.
QHBoxLayout* NumberRow(QLineEdit* edit, const QString& unit) {
    edit->setMaximumWidth(edit->fontMetrics().averageCharWidth() * 10);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    if (!unit.isEmpty())
        row->addWidget(new QLabel(unit, edit->parentWidget()));
    row->addStretch(1);
    return row;
}

QLabel* Heading(QWidget* page, const QString& text) {
    auto* label = new QLabel(text, page);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QString Number(int32_t value) {
    return QString::number(value);
}

}  // namespace

bool PublishWizard::Checked(const char* name) const {
    return page_->findChild<QCheckBox*>(name)->isChecked();
}

QWidget* PublishWizard::KeywordEdit(const char* name, const std::string& text, bool caption) {
    auto* holder = new QWidget;
    QLineEdit* edit = MakeEdit(holder, name, Q(text), kEditLimit);
    auto* keywords = new MenuButton("Keywords", holder);
    keywords->setObjectName("keywords");
    const int32_t first = caption ? kCaptionKeywordCommand : kTitleKeywordCommand;
    const std::vector<std::string_view> names =
        MenuKeywords(caption ? KeywordMenu::Caption : KeywordMenu::Title);
    for (size_t i = 0; i < names.size(); ++i)
        keywords->AddItem(Q(std::string(names[i])), first + static_cast<int32_t>(i));
    connect(keywords, &QPushButton::clicked, keywords, &MenuButton::ShowMenu);
    connect(keywords, &MenuButton::CommandChosen, edit, [edit, names, first](int32_t id) {
        // In place of the selection, the caret after it, the edit focused.
        edit->insert("$(" + Q(std::string(names[static_cast<size_t>(id - first)])) + ")");
        edit->setFocus();
    });
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(edit, 1);
    row->addWidget(keywords);
    return holder;
}

QWidget* PublishWizard::BuildTargetPage() {
    auto* page = new QWidget;
    const PublishOptions& options = copy_.Options();
    QLineEdit* target = MakeEdit(page, "target", Q(options.targetFile), kTargetLimit);
    QPushButton* browse = MakeButton(page, "browseTarget", "...");
    auto* type = new QLabel(Q(copy_.TargetTypeText()), page);
    type->setObjectName("targetType");
    connect(browse, &QPushButton::clicked, this, [this, target, type] {
        const auto chosen = user_.ChooseFile(FileDialogKind::Save, kTargetFilter, "html");
        if (!chosen)
            return;
        target->setText(Q(*chosen));
        // The label follows a chosen target, not a typed one.
        Publisher probe;
        probe.Options().targetFile = *chosen;
        type->setText(Q(probe.TargetTypeText()));
    });
    auto* welcome = new QLabel(
        "This wizard helps you create a thumbnail ready for the web. Please follow these steps :",
        page);
    welcome->setWordWrap(true);
    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(new QLabel("Target :", page));
    targetRow->addWidget(target, 1);
    targetRow->addWidget(browse);
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance("...") * 4);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(page, "Welcome."));
    layout->addWidget(welcome);
    layout->addWidget(
        new QLabel("- Choose a target filename\n\n- Choose a target type\n\n- Check "
                   "the box if you want to use a template\n\n- Then click Next and "
                   "follow next steps",
                   page));
    layout->addStretch(1);
    layout->addLayout(targetRow);
    layout->addWidget(type);
    layout->addWidget(MakeBox(page, "useTemplate", "Use html template", options.useTemplate));
    layout->addWidget(
        MakeBox(page, "showResult", "Show result in web browser", options.showResult));
    store_ = [this](bool) {
        return StoreTargetStep(S(Edit("target")->text()), Checked("useTemplate"),
                               Checked("showResult"), copy_);
    };
    return page;
}

QWidget* PublishWizard::BuildLayoutPage() {
    auto* page = new QWidget;
    const PublishOptions& options = copy_.Options();
    auto* grid = new QGridLayout;
    const struct {
        const char* label;
        const char* name;
        int32_t value;
        const char* unit;
    } rows[] = {{"In the x- direction :", "shotsPerRow", options.shotsPerRow, "shots"},
                {"Edge width :", "edgeWidth", options.edgeWidth, "pixels"},
                {"New page each :", "pageKBytes", options.pageKBytes, "kbytes"}};
    int line = 0;
    for (const auto& row : rows) {
        grid->addWidget(new QLabel(row.label, page), line, 0);
        grid->addLayout(
            NumberRow(MakeEdit(page, row.name, Number(row.value), kEditLimit), row.unit), line++,
            1);
    }
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(page, "General options :"));
    layout->addWidget(new QLabel("Title :", page));
    layout->addWidget(KeywordEdit("title", options.title, false));
    layout->addLayout(grid);
    layout->addStretch(1);
    store_ = [this](bool) {
        return StoreLayoutStep({S(Edit("title")->text()), S(Edit("shotsPerRow")->text()),
                                S(Edit("edgeWidth")->text()), S(Edit("pageKBytes")->text())},
                               copy_.Options());
    };
    return page;
}

QWidget* PublishWizard::BuildTemplatePage() {
    auto* page = new QWidget;
    const PublishOptions& options = copy_.Options();
    QLineEdit* file = MakeEdit(page, "templateFile", Q(options.templateFile), kEditLimit);
    QPushButton* browse = MakeButton(page, "browseTemplate", "...");
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance("...") * 4);
    connect(browse, &QPushButton::clicked, this, [this, file] {
        // The templates shipped with the program come first.
        std::string folder = FindShippedFile("templates");
        if (!IsFolder(folder))
            folder.clear();
        if (const auto chosen = user_.ChooseWebPage(folder))
            file->setText(Q(*chosen));
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file, 1);
    fileRow->addWidget(browse);
    auto* note = new QLabel(
        "( You can choose your own html template, or one of the templates "
        "provided in the Trevanto application template folder)",
        page);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(page, "General options :"));
    layout->addWidget(new QLabel("Title :", page));
    layout->addWidget(KeywordEdit("title", options.title, false));
    layout->addWidget(new QLabel("Html template :", page));
    layout->addLayout(fileRow);
    layout->addWidget(note);
    layout->addStretch(1);
    store_ = [this](bool forward) {
        return StoreTemplateStep(S(Edit("title")->text()), S(Edit("templateFile")->text()), forward,
                                 copy_.Options());
    };
    return page;
}

QWidget* PublishWizard::BuildShotPage() {
    auto* page = new QWidget;
    const PublishOptions& options = copy_.Options();
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("width :", page), 1, 0);
    grid->addLayout(
        NumberRow(MakeEdit(page, "shotWidth", Number(options.shotWidth), kEditLimit), "pixels"), 1,
        1);
    grid->addWidget(new QLabel("height :", page), 2, 0);
    grid->addLayout(
        NumberRow(MakeEdit(page, "shotHeight", Number(options.shotHeight), kEditLimit), "pixels"),
        2, 1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(page, "Shot options :"));
    layout->addWidget(new QLabel("Caption :", page));
    layout->addWidget(KeywordEdit("caption", options.shotCaption, true));
    layout->addLayout(grid);
    layout->addWidget(
        MakeBox(page, "stretchToFit", "Stretch video display size to fit", options.stretchToFit));
    layout->addWidget(MakeBox(page, "displayCaption", "Display caption", options.displayCaption));
    layout->addStretch(1);
    store_ = [this](bool) {
        return StoreShotStep(
            {S(Edit("caption")->text()), S(Edit("shotWidth")->text()),
             S(Edit("shotHeight")->text()), Checked("stretchToFit"), Checked("displayCaption")},
            copy_.Options());
    };
    return page;
}

QWidget* PublishWizard::BuildFilesPage() {
    auto* page = new QWidget;
    auto* list = new QTreeWidget(page);
    list->setObjectName("files");
    list->setHeaderLabels({"name", "filepath"});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->header()->resizeSection(0, 135);
    list->header()->resizeSection(1, 170);
    const auto append = [list](const std::string& path) {
        auto* item = new QTreeWidgetItem(list, {Q(FileNamePart(path)), Q(path)});
        // Texts cut off by the column show whole in the tooltip.
        item->setToolTip(0, item->text(0));
        item->setToolTip(1, item->text(1));
    };
    for (const std::string& path : copy_.Options().additionalFiles)
        append(path);
    QPushButton* add = MakeButton(page, "addFiles", "Add");
    QPushButton* remove = MakeButton(page, "removeFiles", "Remove");
    connect(add, &QPushButton::clicked, this, [this, append] {
        for (const std::string& path : SortedForAdding(user_.ChooseFiles("Additional files")))
            append(path);
    });
    connect(remove, &QPushButton::clicked, list, [list] { qDeleteAll(list->selectedItems()); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(page, "Additional files to include :"));
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    store_ = [this, list](bool) {
        std::vector<std::string>& files = copy_.Options().additionalFiles;
        files.clear();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            files.push_back(S(list->topLevelItem(row)->text(1)));
        return std::string();
    };
    return page;
}

QWidget* PublishWizard::BuildUrlsPage() {
    auto* page = new QWidget;
    QLineEdit* video = MakeEdit(page, "videoUrl", Q(ProposedVideoUrl(copy_)), kUrlLimit);
    QLineEdit* script = MakeEdit(page, "scriptUrl", Q(copy_.Options().asxScriptUrl), kUrlLimit);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel("Online video url (optional) :", page));
    layout->addWidget(video);
    layout->addSpacing(fontMetrics().height());
    layout->addWidget(
        new QLabel(QString("Online asx script processing url (optional) :\nFor instance, %1")
                       .arg(kScriptExample),
                   page));
    layout->addWidget(script);
    layout->addStretch(1);
    store_ = [this](bool forward) {
        // Going back from the last step keeps nothing of it.
        if (forward) {
            copy_.Options().onlineVideoUrl = S(Edit("videoUrl")->text());
            copy_.Options().asxScriptUrl = S(Edit("scriptUrl")->text());
        }
        return std::string();
    };
    return page;
}

}  // namespace trevanto
