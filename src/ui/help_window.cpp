#include "ui/help_window.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>

namespace trevanto {
namespace {

// The page a link leads to, without its anchor: what the contents list marks.
QUrl PageOf(const QUrl& url) {
    return url.adjusted(QUrl::RemoveFragment);
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName("helpWindow");
    setWindowTitle("Trevanto Help");
    resize(900, 640);

    contents_ = new QListWidget(this);
    contents_->setObjectName("helpContents");
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpPage");
    // Pages of the guide stay here; other addresses go to the user's browser.
    browser_->setOpenExternalLinks(true);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 650});
    setCentralWidget(splitter);

    QToolBar* bar = addToolBar("Help");
    bar->setObjectName("helpToolBar");
    bar->setMovable(false);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back");
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward");
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* home = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Contents");
    home->setShortcut(Qt::ALT | Qt::Key_Home);
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(home, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    bar->addSeparator();
    bar->addWidget(new QLabel(" Find: ", bar));
    findField_ = new QLineEdit(bar);
    findField_->setObjectName("helpFind");
    findField_->setPlaceholderText("Text in this page");
    findField_->setClearButtonEnabled(true);
    findField_->setMaximumWidth(220);
    bar->addWidget(findField_);
    QAction* previous = bar->addAction("Previous");
    previous->setShortcut(QKeySequence::FindPrevious);
    QAction* next = bar->addAction("Next");
    next->setShortcut(QKeySequence::FindNext);
    findResult_ = new QLabel(bar);
    bar->addWidget(findResult_);
    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        findField_->setFocus();
        findField_->selectAll();
    });
    auto* close = new QAction(this);
    close->setShortcuts({QKeySequence(QKeySequence::Close), QKeySequence(Qt::Key_Escape)});
    addAction(close);
    connect(close, &QAction::triggered, this, &QWidget::close);
    connect(findField_, &QLineEdit::returnPressed, this, [this] { Find(findField_->text()); });
    connect(next, &QAction::triggered, this, [this] { Find(findField_->text()); });
    connect(previous, &QAction::triggered, this, [this] { Find(findField_->text(), true); });

    connect(contents_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        browser_->setSource(item->data(Qt::UserRole).toUrl());
    });
    connect(contents_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        browser_->setSource(item->data(Qt::UserRole).toUrl());
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::FollowSource);
}

void HelpWindow::ShowGuide(const QString& index, const QString& page) {
    const QUrl indexUrl = QUrl::fromLocalFile(QFileInfo(index).absoluteFilePath());
    if (indexUrl != index_) {
        index_ = indexUrl;
        browser_->clearHistory();
        browser_->setSource(index_);
        FillContents();
    }
    const QUrl wanted = page.isEmpty() ? index_ : index_.resolved(QUrl(page));
    // The page on show again would be a second entry in the history.
    if (wanted != browser_->source())
        browser_->setSource(wanted);
}

bool HelpWindow::Find(const QString& text, bool backward) {
    findResult_->clear();
    if (text.isEmpty())
        return false;
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (browser_->find(text, flags))
        return true;
    // Round to the other end of the page and on from there.
    const QTextCursor kept = browser_->textCursor();
    QTextCursor from(browser_->document());
    from.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(from);
    if (browser_->find(text, flags))
        return true;
    browser_->setTextCursor(kept);
    findResult_->setText(" Not found");
    return false;
}

void HelpWindow::FillContents() {
    contents_->clear();
    // The index page links to every topic in reading order.
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QUrl link(format.anchorHref());
            if (!format.isAnchor() || link.isEmpty() || !link.isRelative() ||
                link.path().isEmpty()) {
                continue;
            }
            auto* item = new QListWidgetItem(fragment.fragment().text().simplified(), contents_);
            item->setData(Qt::UserRole, index_.resolved(link));
        }
    }
}

void HelpWindow::FollowSource(const QUrl& source) {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QString("Trevanto Help") : "Trevanto Help - " + title);
    const QSignalBlocker quiet(contents_);
    contents_->clearSelection();
    for (int row = 0; row < contents_->count(); ++row) {
        QListWidgetItem* item = contents_->item(row);
        if (PageOf(item->data(Qt::UserRole).toUrl()) == PageOf(source)) {
            contents_->setCurrentItem(item);
            break;
        }
    }
}

}  // namespace trevanto
