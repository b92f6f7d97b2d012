#pragma once
// The user through modal message boxes and file dialogs.
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include "ui/desktop_user_port.h"

namespace trevanto {

class MessageBoxUser : public DesktopUserPort {
  public:
    explicit MessageBoxUser(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    using UserPort::ShowMessage;
    void ShowMessage(const std::string& text, MessageKind kind) override;
    void ShowTitledMessage(const std::string& title, const std::string& text,
                           MessageKind kind) override;
    std::optional<std::string> ChooseFolder(const std::string& startFolder) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> ChooseFile(FileDialogKind kind, const std::string& filter,
                                          const std::string& defaultExtension) override;
    bool PumpEventsAndCheckEscape(int maxEvents) override;
    bool OpenWithDefaultHandler(const std::string& pathOrUrl) override;
    bool ConfirmDelete(const std::string& question, bool& doNotShowAgain) override;
    SaveAnswer AskSaveDiscardCancel(const std::string& question) override;
    RecutAnswer AskRecut(const std::string& question) override;
    void ShowInformation(const std::string& title, const std::string& text) override;
    std::optional<std::string> ChooseVideoFile() override;
    std::optional<int32_t> ChooseFrameNumber(int32_t current, int32_t last) override;
    bool EditSlicingSettings(SlicingSettings& settings) override;
    bool EditVideoLink(VideoLinkFields& fields) override;
    std::optional<TemplateChoice> ChooseShotTemplate(const std::string& startFolder) override;
    std::optional<std::string> ChooseStream(const std::vector<std::string>& streams) override;
    std::optional<std::string> ChooseTitledStream(
        const std::vector<ScriptStream>& streams) override;
    std::optional<std::string> ChooseWebPage(const std::string& startFolder) override;
    std::vector<std::string> ChooseFiles(const std::string& title) override;
    bool EditPublishOptions(Publisher& copy) override;

  private:
    // Runs a dialog modally; the messages it shows meanwhile stand over it.
    bool RunDialog(QDialog& dialog);

    QPointer<QWidget> owner_;
};

// The window flags of the program's message boxes: a dialog with a title and
// a close button, which window managers give no minimise or maximise button.
inline constexpr Qt::WindowFlags kMessageBoxFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
    Qt::MSWindowsFixedSizeDialogHint;

// "Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*||" as Qt's ";;" filter list.
QString ToQtFilter(const std::string& filter);

}  // namespace trevanto
