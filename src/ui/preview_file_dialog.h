#pragma once
// The open dialogs with a preview of the selected file beside the file list:
// Qt's own file dialog with a preview area and an info line added to its
// layout. The dialog follows the selection, asks its variant to preview the
// selected file, and refuses OK for a file the variant cannot preview.
//
// A variant may preview in the background: it then answers Pending and calls
// CompletePreview later. A newer selection cancels the older preview; OK on a
// file whose preview is still running waits for it without blocking.
#include <QFileDialog>
#include <QString>

#include <optional>
#include <string>

class QHBoxLayout;
class QLabel;

namespace trevanto {

class PreviewArea;

class PreviewFileDialog : public QFileDialog {
    Q_OBJECT
  public:
    enum class PreviewState { None, Pending, Ok, Failed };

    // `filter` in the "text|pattern|...||" form; the base alone lists all files.
    PreviewFileDialog(QWidget* parent, const QString& title,
                      const std::string& filter = "All Files (*.*)|*.*||");

    // Used as the first folder when not empty.
    void SetInitialFolder(const std::string& folder);
    // Runs the dialog; the chosen path, or nothing when it was cancelled.
    std::optional<std::string> RunModal();

    // The selection moved to `path` (also called with a typed path on OK).
    void OnSelectionChanged(const QString& path);
    void accept() override;

    PreviewState State() const { return state_; }
    QString InfoText() const;
    const PreviewArea& Area() const { return *area_; }

  protected:
    // Previews a regular file: Ok, Failed, or Pending until CompletePreview.
    virtual PreviewState Preview(const QString& path) = 0;
    // Stops a preview in the background; its result must not arrive later.
    virtual void CancelPreview() {}
    // "Not a video" and the like.
    virtual QString NoPreviewText() const = 0;

    void CompletePreview(bool ok);
    void SetInfo(const QString& text);
    PreviewArea& DrawingArea() { return *area_; }
    // The row of the info line, for a variant's own buttons.
    QHBoxLayout& InfoRow() { return *infoRow_; }

  private:
    void ShowNoPreview();

    QString currentPath_;
    PreviewState state_ = PreviewState::None;
    // OK was pressed while the preview of the selection was still running.
    bool acceptWhenReady_ = false;
    PreviewArea* area_ = nullptr;
    QLabel* info_ = nullptr;
    QString infoText_;
    QHBoxLayout* infoRow_ = nullptr;
};

}  // namespace trevanto
