#include "ui/message_box_user.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "ui/bitmap_preview_dialog.h"
#include "ui/confirm_dialog.h"
#include "ui/publish_wizard.h"
#include "ui/settings_dialog.h"
#include "ui/stream_entry_dialog.h"
#include "ui/video_link_dialog.h"
#include "ui/video_preview_dialog.h"
#include "ui/web_page_preview_dialog.h"

namespace trevanto {
namespace {

constexpr const char* kTitle = "Trevanto";

// Notes an Escape key press anywhere in the program while events are let through.
class EscapeWatcher : public QObject {
  public:
    bool pressed = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            pressed = true;
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// A message box as the window manager should see it: a dialog over its
// owner, with a title and a close button but nothing to minimise or
// maximise it by.
QMessageBox::StandardButton RunMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                          const QString& title, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title, text, buttons, owner, kMessageBoxFlags);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QString ToQtFilter(const std::string& filter) {
    // "text|pattern|text|pattern||": each pair becomes "text (pattern)"; a
    // text that names its patterns already keeps them.
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters.append(parts[i].contains('(') ? QString("%1").arg(parts[i]).replace(';', ' ')
                                              : QString("%1 (%2)").arg(parts[i], patterns));
    }
    return filters.join(";;");
}

void MessageBoxUser::ShowMessage(const std::string& text, MessageKind kind) {
    ShowTitledMessage({}, text, kind);
}

void MessageBoxUser::ShowTitledMessage(const std::string& title, const std::string& text,
                                       MessageKind kind) {
    const QString message = QString::fromStdString(text);
    const QString boxTitle = title.empty() ? QString(kTitle) : QString::fromStdString(title);
    QMessageBox::Icon icon = QMessageBox::Warning;
    if (kind == MessageKind::Information)
        icon = QMessageBox::Information;
    else if (kind == MessageKind::Error)
        icon = QMessageBox::Critical;
    RunMessageBox(owner_, icon, boxTitle, message, QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<std::string> MessageBoxUser::ChooseFolder(const std::string& startFolder) {
    const QString folder = QFileDialog::getExistingDirectory(owner_, "Extract as jpeg",
                                                             QString::fromStdString(startFolder));
    if (folder.isEmpty())
        return std::nullopt;
    return folder.toStdString();
}

bool MessageBoxUser::AskYesNo(const std::string& text) {
    return RunMessageBox(owner_, QMessageBox::Question, kTitle, QString::fromStdString(text),
                         QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::NoButton) == QMessageBox::Yes;
}

std::optional<std::string> MessageBoxUser::ChooseFile(FileDialogKind kind,
                                                      const std::string& filter,
                                                      const std::string& defaultExtension) {
    QFileDialog dialog(owner_);
    dialog.setNameFilter(ToQtFilter(filter));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (kind == FileDialogKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

bool MessageBoxUser::PumpEventsAndCheckEscape(int maxEvents) {
    EscapeWatcher watcher;
    qApp->installEventFilter(&watcher);
    // Qt cannot count the events it delivers; a short slice of time per
    // allowed event keeps the window responsive without stalling the work.
    QApplication::processEvents(QEventLoop::AllEvents, std::max(1, maxEvents));
    qApp->removeEventFilter(&watcher);
    return watcher.pressed;
}

bool MessageBoxUser::OpenWithDefaultHandler(const std::string& pathOrUrl) {
    const QString target = QString::fromStdString(pathOrUrl);
    const QUrl url = target.contains("://") ? QUrl(target) : QUrl::fromLocalFile(target);
    return QDesktopServices::openUrl(url);
}

bool MessageBoxUser::ConfirmDelete(const std::string& question, bool& doNotShowAgain) {
    ConfirmDialog dialog(QString::fromStdString(question), owner_);
    const bool ok = dialog.exec() == QDialog::Accepted;
    doNotShowAgain = dialog.DoNotShowAgain();
    return ok;
}

DesktopUserPort::SaveAnswer MessageBoxUser::AskSaveDiscardCancel(const std::string& question) {
    switch (RunMessageBox(owner_, QMessageBox::Question, kTitle, QString::fromStdString(question),
                          QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                          QMessageBox::Save)) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
    }
}

DesktopUserPort::RecutAnswer MessageBoxUser::AskRecut(const std::string& question) {
    QMessageBox box(QMessageBox::Question, kTitle, QString::fromStdString(question),
                    QMessageBox::Cancel, owner_, kMessageBoxFlags);
    QPushButton* keep = box.addButton("Keep my shots", QMessageBox::AcceptRole);
    QPushButton* replace = box.addButton("Replace all shots", QMessageBox::DestructiveRole);
    box.setDefaultButton(keep);
    box.exec();
    if (box.clickedButton() == keep)
        return RecutAnswer::KeepOwnShots;
    return box.clickedButton() == replace ? RecutAnswer::ReplaceAll : RecutAnswer::Cancel;
}

void MessageBoxUser::ShowInformation(const std::string& title, const std::string& text) {
    RunMessageBox(owner_, QMessageBox::Information, QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<int32_t> MessageBoxUser::ChooseFrameNumber(int32_t current, int32_t last) {
    QInputDialog dialog(owner_, kMessageBoxFlags);
    dialog.setObjectName("goToFrameDialog");
    dialog.setWindowTitle("Go to frame");
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setLabelText(QString("Frame number (0 to %1):").arg(last));
    dialog.setIntRange(0, last);
    dialog.setIntValue(current);
    // A question, not a window to resize. The dialog lays itself out when
    // first measured.
    dialog.sizeHint();
    if (QLayout* layout = dialog.layout())
        layout->setSizeConstraint(QLayout::SetFixedSize);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.intValue();
}

std::optional<std::string> MessageBoxUser::ChooseVideoFile() {
    VideoPreviewDialog dialog(owner_);
    return dialog.RunModal();
}

std::optional<DesktopUserPort::TemplateChoice> MessageBoxUser::ChooseShotTemplate(
    const std::string& startFolder) {
    BitmapPreviewDialog dialog(owner_);
    dialog.SetInitialFolder(startFolder);
    const std::optional<std::string> path = dialog.RunModal();
    if (!path)
        return std::nullopt;
    TemplateChoice choice{*path, std::nullopt};
    if (dialog.ColorChosen())
        choice.transparentColour = dialog.ChosenColor() & 0xFFFFFF;
    return choice;
}

bool MessageBoxUser::RunDialog(QDialog& dialog) {
    const QPointer<QWidget> owner = owner_;
    owner_ = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    owner_ = owner;
    return accepted;
}

bool MessageBoxUser::EditSlicingSettings(SlicingSettings& settings) {
    SettingsDialog dialog(settings, *this, owner_);
    if (!RunDialog(dialog))
        return false;
    settings = dialog.Settings();
    return true;
}

bool MessageBoxUser::EditVideoLink(VideoLinkFields& fields) {
    VideoLinkDialog dialog(fields, *this, owner_);
    if (!RunDialog(dialog))
        return false;
    fields = dialog.Fields();
    return true;
}

std::optional<std::string> MessageBoxUser::ChooseStream(const std::vector<std::string>& streams) {
    std::vector<ScriptStream> untitled;
    for (const std::string& url : streams)
        untitled.push_back({url, {}});
    return ChooseTitledStream(untitled);
}

std::optional<std::string> MessageBoxUser::ChooseTitledStream(
    const std::vector<ScriptStream>& streams) {
    StreamEntryDialog dialog(streams, owner_);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.SelectedUrl();
}

std::optional<std::string> MessageBoxUser::ChooseWebPage(const std::string& startFolder) {
    WebPagePreviewDialog dialog(owner_);
    dialog.SetInitialFolder(startFolder);
    return dialog.RunModal();
}

std::vector<std::string> MessageBoxUser::ChooseFiles(const std::string& title) {
    std::vector<std::string> paths;
    for (const QString& path :
         QFileDialog::getOpenFileNames(owner_, QString::fromStdString(title), {}, "All Files (*)"))
        paths.push_back(path.toStdString());
    return paths;
}

bool MessageBoxUser::EditPublishOptions(Publisher& copy) {
    PublishWizard wizard(copy, *this, owner_);
    return RunDialog(wizard);
}

}  // namespace trevanto
