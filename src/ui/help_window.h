#pragma once
// The user guide's window: HTML pages installed with the program, shown in a
// text browser with their contents at the left, back and forward, and a find
// bar. Links between the pages stay in the window; links to outside
// addresses open the user's browser (QDesktopServices).
#include <QMainWindow>
#include <QUrl>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace trevanto {

class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the guide whose contents page is `index` (a local HTML file), at
    // `page` of it when given (a file name beside the index, with an anchor
    // if wanted), else at the contents page.
    void ShowGuide(const QString& index, const QString& page = {});
    // Finds `text` in the page on show from the cursor on, round to the start
    // when needed. False when the page does not hold it.
    bool Find(const QString& text, bool backward = false);

    QTextBrowser* Browser() const { return browser_; }
    QListWidget* Contents() const { return contents_; }
    QLineEdit* FindField() const { return findField_; }

  private:
    // The contents list: the pages the index links to, in its order.
    void FillContents();
    // Marks the topic of the page on show in the contents list.
    void FollowSource(const QUrl& source);

    QUrl index_;
    QTextBrowser* browser_ = nullptr;
    QListWidget* contents_ = nullptr;
    QLineEdit* findField_ = nullptr;
    QLabel* findResult_ = nullptr;
};

}  // namespace trevanto
