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
    bool EditSlicingSettings(SlicingSettings& settings) override;
    bool EditVideoLink(VideoLinkFields& fields) override;
    std::optional<TemplateChoice> ChooseShotTemplate(const std::string& startFolder) override;
    std::optional<std::string> ChooseStream(const std::vector<std::string>& streams) override;
    std::optional<std::string> ChooseWebPage(const std::string& startFolder) override;
    std::vector<std::string> ChooseFiles(const std::string& title) override;
    bool EditPublishOptions(Publisher& copy) override;

  private:
    // Runs a dialog modally; the messages it shows meanwhile stand over it.
    bool RunDialog(QDialog& dialog);

    QPointer<QWidget> owner_;
};

// "Shots file (*.hpv)|*.hpv|All Files (*.*)|*.*||" as Qt's ";;" filter list.
QString ToQtFilter(const std::string& filter);

}  // namespace trevanto
