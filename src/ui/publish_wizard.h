#pragma once
// "Publish to the web": five steps over a working copy of the publisher's
// options. Each step's page is built from the copy when the step is entered;
// Next and Previous store the page's fields once they pass its checks (a
// refused field is told to the user and the page stays). Finish on step 5
// accepts the dialog; the caller assigns the copy back.
#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace trevanto {

class DesktopUserPort;
class MenuButton;
class Publisher;

class PublishWizard : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kStepCount = 5;
    // The keyword menus' first command ids.
    static constexpr int32_t kTitleKeywordCommand = 2000;
    static constexpr int32_t kCaptionKeywordCommand = 2200;

    PublishWizard(Publisher& copy, DesktopUserPort& user, QWidget* parent = nullptr);

    int Step() const { return step_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* PreviousButton() const { return previous_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The page of the current step (its controls are named).
    QWidget* Page() const { return page_; }

    void Next();
    void Previous();

  private:
    void EnterStep(int step);
    // Stores the page's fields (checked, unless step 5 goes back); false when
    // a check failed and the page stays.
    bool LeaveStep(bool forward);

    QWidget* BuildTargetPage();
    QWidget* BuildLayoutPage();
    QWidget* BuildTemplatePage();
    QWidget* BuildShotPage();
    QWidget* BuildFilesPage();
    QWidget* BuildUrlsPage();
    // The title or caption edit with its "Keywords" button inserting "$(NAME)".
    QWidget* KeywordEdit(const char* name, const std::string& text, bool caption);
    QLineEdit* Edit(const char* name) const;
    bool Checked(const char* name) const;

    Publisher& copy_;
    DesktopUserPort& user_;
    int step_ = 0;
    QWidget* page_ = nullptr;
    QVBoxLayout* pageHolder_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    // What the current page stores on leaving: empty, or the refusal.
    std::function<std::string(bool forward)> store_;
};

}  // namespace trevanto
