#include "ui/preview_file_dialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <utility>

#include "ui/message_box_user.h"
#include "ui/preview_area.h"

namespace trevanto {

PreviewFileDialog::PreviewFileDialog(QWidget* parent, const QString& title,
                                     const std::string& filter)
    : QFileDialog(parent, title) {
    // The platform's own dialog has no room for a preview.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::ReadOnly);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setNameFilter(ToQtFilter(filter));

    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    area_ = new PreviewArea(panel);
    column->addWidget(area_, 0, Qt::AlignHCenter);
    infoRow_ = new QHBoxLayout;
    info_ = new QLabel(panel);
    info_->setAlignment(Qt::AlignCenter);
    info_->setWordWrap(true);
    info_->setMinimumWidth(PreviewArea::kWidth);
    infoRow_->addWidget(info_, 1);
    column->addLayout(infoRow_);
    column->addStretch(1);
    // Qt's dialog lays itself out on a grid; the panel takes a column of its
    // own beside the file list.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount() - 1, 1);
    }
    // Room for the file list's columns beside the panel.
    resize(sizeHint().expandedTo(QSize(780, 440)));
    connect(this, &QFileDialog::currentChanged, this, &PreviewFileDialog::OnSelectionChanged);
}

void PreviewFileDialog::SetInitialFolder(const std::string& folder) {
    if (!folder.empty())
        setDirectory(QString::fromStdString(folder));
}

std::optional<std::string> PreviewFileDialog::RunModal() {
    if (exec() != QDialog::Accepted || selectedFiles().isEmpty())
        return std::nullopt;
    return selectedFiles().front().toStdString();
}

QString PreviewFileDialog::InfoText() const {
    return infoText_;
}

void PreviewFileDialog::SetInfo(const QString& text) {
    infoText_ = text;
    // A long file name is shortened in its middle rather than widen the panel.
    QStringList lines = text.split('\n');
    for (QString& line : lines)
        line = info_->fontMetrics().elidedText(line, Qt::ElideMiddle, PreviewArea::kWidth);
    info_->setText(lines.join('\n'));
    info_->setToolTip(text);
}

void PreviewFileDialog::OnSelectionChanged(const QString& path) {
    if (path == currentPath_)
        return;
    currentPath_ = path;
    acceptWhenReady_ = false;
    CancelPreview();
    if (path.isEmpty()) {  // nothing selected: nothing to say
        state_ = PreviewState::None;
        area_->Clear();
        SetInfo({});
        return;
    }
    // Folders, devices and missing files have no preview.
    const QFileInfo file(path);
    state_ = file.exists() && file.isFile() ? Preview(path) : PreviewState::Failed;
    if (state_ == PreviewState::Failed)
        ShowNoPreview();
    area_->update();
}

void PreviewFileDialog::CompletePreview(bool ok) {
    state_ = ok ? PreviewState::Ok : PreviewState::Failed;
    if (!ok)
        ShowNoPreview();
    area_->update();
    if (!std::exchange(acceptWhenReady_, false))
        return;
    if (ok) {
        QFileDialog::accept();
    } else {
        QApplication::beep();
    }
}

void PreviewFileDialog::accept() {
    const QStringList files = selectedFiles();
    const QString path = files.isEmpty() ? QString() : files.front();
    // A folder is entered, a missing file gets the dialog's own message.
    const QFileInfo file(path);
    if (!file.exists() || file.isDir()) {
        QFileDialog::accept();
        return;
    }
    OnSelectionChanged(path);
    switch (state_) {
        case PreviewState::Pending:
            acceptWhenReady_ = true;
            return;
        case PreviewState::Ok:
            QFileDialog::accept();
            return;
        case PreviewState::None:
        case PreviewState::Failed:
            QApplication::beep();
            return;
    }
}

void PreviewFileDialog::ShowNoPreview() {
    area_->Clear();
    SetInfo(NoPreviewText());
}

}  // namespace trevanto
