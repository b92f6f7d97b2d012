#pragma once
// "Open web page": previews the selected page as a browser draws it in an
// 800 x 600 window, shrunk into the preview. The page is drawn in the
// background; a page that does not come in time keeps "Not a web page" but
// may still be chosen.
#include "ui/preview_file_dialog.h"

namespace trevanto {

class PageSnapshot;

class WebPagePreviewDialog : public PreviewFileDialog {
    Q_OBJECT
  public:
    static constexpr const char* kFilter =
        "Html Files (*.htm;*.html;*.mhtml)|*.htm;*.html;*.mhtml|All Files (*.*)|*.*||";

    explicit WebPagePreviewDialog(QWidget* parent = nullptr);

  protected:
    PreviewState Preview(const QString& path) override;
    void CancelPreview() override;
    QString NoPreviewText() const override { return "Not a web page"; }

  private:
    PageSnapshot* snapshot_ = nullptr;
    QString pageName_;
};

}  // namespace trevanto
