#include "ui/web_page_preview_dialog.h"

#include <QFileInfo>

#include "ui/page_snapshot.h"
#include "ui/preview_area.h"

namespace trevanto {

WebPagePreviewDialog::WebPagePreviewDialog(QWidget* parent)
    : PreviewFileDialog(parent, "Open web page", kFilter), snapshot_(new PageSnapshot(this)) {
    connect(snapshot_, &PageSnapshot::Finished, this, [this](const QImage& page) {
        if (page.isNull())
            return;
        DrawingArea().ShowPicture(page);
        SetInfo(pageName_);
    });
}

// Any regular file may be chosen; its picture follows when the browser
// draws it in time.
PreviewFileDialog::PreviewState WebPagePreviewDialog::Preview(const QString& path) {
    DrawingArea().Clear();
    SetInfo(NoPreviewText());
    pageName_ = QFileInfo(path).fileName();
    snapshot_->Start(QFileInfo(path).absoluteFilePath());
    return PreviewState::Ok;
}

void WebPagePreviewDialog::CancelPreview() {
    snapshot_->Cancel();
}

}  // namespace trevanto
