#include "ui/publish_wizard.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "publish/publisher.h"
#include "ui/desktop_user_port.h"

namespace trevanto {
namespace {

// The picture down the left side of every step.
constexpr QSize kSidePicture{109, 287};

}  // namespace

PublishWizard::PublishWizard(Publisher& copy, DesktopUserPort& user, QWidget* parent)
    : QDialog(parent), copy_(copy), user_(user) {
    setObjectName("publishWizard");
    auto* side = new QLabel(this);
    side->setPixmap(QIcon(":/wizard/publish_side.svg").pixmap(kSidePicture, devicePixelRatio()));
    side->setFixedSize(kSidePicture);

    pageHolder_ = new QVBoxLayout;
    auto* body = new QHBoxLayout;
    body->addWidget(side, 0, Qt::AlignTop);
    body->addSpacing(8);
    body->addLayout(pageHolder_, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* help = new QPushButton("Help", this);
    help->setEnabled(false);
    cancel_ = new QPushButton("Cancel", this);
    previous_ = new QPushButton("< Previous", this);
    next_ = new QPushButton("Next >", this);
    next_->setDefault(true);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(previous_, &QPushButton::clicked, this, &PublishWizard::Previous);
    connect(next_, &QPushButton::clicked, this, &PublishWizard::Next);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch(1);
    for (QPushButton* button : {cancel_, previous_, next_})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);
    // The layout keeps every page's minimum (a wider page widens the dialog);
    // it starts at about 289 x 210 dialog units of the usual font.
    EnterStep(1);
    resize(sizeHint().expandedTo(
        QSize(fontMetrics().averageCharWidth() * 72, fontMetrics().height() * 22)));
}

void PublishWizard::Next() {
    if (!LeaveStep(true))
        return;
    if (step_ == kStepCount)
        accept();
    else
        EnterStep(step_ + 1);
}

void PublishWizard::Previous() {
    if (step_ > 1 && LeaveStep(false))
        EnterStep(step_ - 1);
}

bool PublishWizard::LeaveStep(bool forward) {
    const std::string problem = store_ ? store_(forward) : std::string();
    if (problem.empty())
        return true;
    user_.ShowMessage(problem);
    return false;
}

void PublishWizard::EnterStep(int step) {
    step_ = step;
    setWindowTitle(QString("Publish to the web (Step %1 of %2)").arg(step).arg(kStepCount));
    // The frame's buttons lead here, so the old page can go at once.
    store_ = nullptr;
    delete page_;
    switch (step) {
        case 1:
            page_ = BuildTargetPage();
            break;
        case 2:
            page_ = copy_.Options().useTemplate ? BuildTemplatePage() : BuildLayoutPage();
            break;
        case 3:
            page_ = BuildShotPage();
            break;
        case 4:
            page_ = BuildFilesPage();
            break;
        default:
            page_ = BuildUrlsPage();
            break;
    }
    pageHolder_->addWidget(page_);
    previous_->setEnabled(step > 1);
    next_->setText(step == kStepCount ? "Finish" : "Next >");
}

QLineEdit* PublishWizard::Edit(const char* name) const {
    return page_->findChild<QLineEdit*>(name);
}

}  // namespace trevanto
