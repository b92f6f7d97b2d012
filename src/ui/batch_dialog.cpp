#include "ui/batch_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

namespace trevanto {
namespace {

// The shots file of the input that `base` names, under the output folder.
constexpr int kShotsFileRole = Qt::UserRole;

QWidget* WithBrowse(QLineEdit* edit, QWidget* parent, const QString& caption) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browse = new QPushButton("Browse...", row);
    layout->addWidget(edit, 1);
    layout->addWidget(browse);
    QObject::connect(browse, &QPushButton::clicked, parent, [edit, parent, caption] {
        const QString folder = QFileDialog::getExistingDirectory(parent, caption, edit->text());
        if (!folder.isEmpty())
            edit->setText(folder);
    });
    return row;
}

QString Duration(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    return QString("%1:%2").arg(whole / 60).arg(whole % 60, 2, 10, QChar('0'));
}

}  // namespace

QString BatchDialog::FindCli() {
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {here + "/trevanto-cli", here + "/../cli/trevanto-cli"}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return QStandardPaths::findExecutable("trevanto-cli");
}

BatchDialog::BatchDialog(QString cli, QWidget* parent) : QDialog(parent), cli_(std::move(cli)) {
    setWindowTitle("Slice a folder");
    folder_ = new QLineEdit(this);
    output_ = new QLineEdit(this);
    jobs_ = new QSpinBox(this);
    jobs_->setRange(1, 64);
    jobs_->setValue(std::max(1, QThread::idealThreadCount()));
    auto* outputs = new QWidget(this);
    auto* outputsLayout = new QHBoxLayout(outputs);
    outputsLayout->setContentsMargins(0, 0, 0, 0);
    const char* const names[kOutputCount] = {"Shot list (CSV)", "EDL", "JPEG images", "Web pages"};
    for (int output = 0; output < kOutputCount; ++output) {
        outputs_[output] = new QCheckBox(names[output], outputs);
        outputsLayout->addWidget(outputs_[output]);
    }
    auto* form = new QFormLayout;
    form->addRow("&Folder:", WithBrowse(folder_, this, "Folder of videos"));
    form->addRow("Output f&older:", WithBrowse(output_, this, "Output folder"));
    form->addRow("Besides the shots files:", outputs);
    form->addRow("&Videos at a time:", jobs_);

    table_ = new QTableWidget(0, 3, this);
    table_->setHorizontalHeaderLabels({"Video", "Status", "Shots"});
    table_->horizontalHeader()->setSectionResizeMode(kVideoColumn, QHeaderView::Stretch);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    progress_ = new QProgressBar(this);
    status_ = new QLabel(this);

    auto* buttons = new QDialogButtonBox(this);
    start_ = buttons->addButton("&Start", QDialogButtonBox::ActionRole);
    cancel_ = buttons->addButton("Cancel", QDialogButtonBox::ActionRole);
    open_ = buttons->addButton("&Open", QDialogButtonBox::ActionRole);
    buttons->addButton(QDialogButtonBox::Close);
    connect(start_, &QPushButton::clicked, this, &BatchDialog::Start);
    connect(cancel_, &QPushButton::clicked, this, &BatchDialog::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &BatchDialog::reject);
    connect(open_, &QPushButton::clicked, this, [this] {
        const auto selected = table_->selectedItems();
        if (!selected.isEmpty())
            emit OpenRequested(
                table_->item(selected[0]->row(), kVideoColumn)->data(kShotsFileRole).toString());
    });
    connect(table_, &QTableWidget::itemSelectionChanged, this, &BatchDialog::UpdateButtons);
    connect(&process_, &QProcess::readyReadStandardOutput, this, &BatchDialog::ReadEvents);
    connect(&process_, &QProcess::finished, this, &BatchDialog::Finished);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(table_, 1);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addWidget(buttons);
    resize(640, 480);
    UpdateButtons();
}

BatchDialog::~BatchDialog() {
    if (Running()) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void BatchDialog::Start() {
    if (Running())
        return;
    const QString folder = folder_->text();
    outFolder_ = output_->text();
    if (cli_.isEmpty()) {
        status_->setText("trevanto-cli, which slices the videos, is not installed.");
        return;
    }
    if (!QFileInfo(folder).isDir() || outFolder_.isEmpty()) {
        status_->setText("Choose a folder of videos and an output folder.");
        return;
    }
    QStringList arguments = {"batch",
                             folder,
                             "--out",
                             outFolder_,
                             "--save",
                             "--jobs",
                             QString::number(jobs_->value()),
                             "--progress",
                             "jsonl"};
    const char* const options[kOutputCount] = {"--csv", "--edl", "--jpeg", "--publish"};
    for (int output = 0; output < kOutputCount; ++output) {
        if (outputs_[output]->isChecked())
            arguments << options[output];
    }
    table_->setRowCount(0);
    progress_->setRange(0, 1);
    progress_->setValue(0);
    pending_.clear();
    cancelled_ = false;
    status_->setText("Looking for videos...");
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.start(cli_, arguments);
    UpdateButtons();
}

void BatchDialog::Cancel() {
    if (!Running())
        return;
    cancelled_ = true;
    process_.terminate();
}

void BatchDialog::reject() {
    Cancel();
    QDialog::reject();
}

void BatchDialog::ReadEvents() {
    pending_ += process_.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = pending_.indexOf('\n')) >= 0) {
        HandleEvent(pending_.left(end));
        pending_.remove(0, end + 1);
    }
}

void BatchDialog::HandleEvent(const QByteArray& line) {
    const QJsonObject event = QJsonDocument::fromJson(line).object();
    const QString name = event["event"].toString();
    const QString input = event["input"].toString();
    if (name == "start") {
        progress_->setRange(0, std::max(1, event["total"].toInt()));
        progress_->setValue(event["finished"].toInt());
        status_->setText(QString("%1 videos").arg(event["total"].toInt()));
    } else if (name == "slicing") {
        SetRow(input, "slicing", "");
    } else if (name == "recorded" || name == "video") {
        const bool done = event["status"].toString() == "done";
        SetRow(input, done ? "done" : "failed: " + event["reason"].toString(),
               done ? QString::number(event["shots"].toInt()) : QString());
        const QString shotsFile =
            done ? QDir(outFolder_).filePath(event["base"].toString() + ".hpv") : QString();
        table_->item(RowOf(input), kVideoColumn)->setData(kShotsFileRole, shotsFile);
        if (name == "video")
            progress_->setValue(progress_->value() + 1);
    } else if (name == "progress") {
        const double left = event["seconds_left"].toDouble();
        status_->setText(QString("%1 of %2 videos, %3 frames/s%4")
                             .arg(event["finished"].toInt())
                             .arg(event["total"].toInt())
                             .arg(event["frames_per_second"].toInt())
                             .arg(left >= 0 ? ", " + Duration(left) + " left" : QString()));
    } else if (name == "end") {
        status_->setText(
            QString("%1 done, %2 failed.").arg(event["done"].toInt()).arg(event["failed"].toInt()));
    }
    UpdateButtons();
}

void BatchDialog::Finished(int exitCode, QProcess::ExitStatus exitStatus) {
    ReadEvents();
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kStatusColumn)->text() == "slicing")
            table_->item(row, kStatusColumn)->setText("stopped");
    }
    if (cancelled_) {
        status_->setText("Stopped. Start again to slice what is left.");
    } else if (exitStatus != QProcess::NormalExit || exitCode > 1) {
        status_->setText("The batch could not run: " +
                         QString::fromUtf8(process_.readAllStandardError()).trimmed());
    }
    UpdateButtons();
}

int BatchDialog::RowOf(const QString& input) {
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kVideoColumn)->text() == input)
            return row;
    }
    const int row = table_->rowCount();
    table_->insertRow(row);
    for (int column = kVideoColumn; column <= kShotsColumn; ++column)
        table_->setItem(row, column, new QTableWidgetItem(column == kVideoColumn ? input : ""));
    return row;
}

void BatchDialog::SetRow(const QString& input, const QString& status, const QString& shots) {
    const int row = RowOf(input);
    table_->item(row, kStatusColumn)->setText(status);
    table_->item(row, kShotsColumn)->setText(shots);
}

void BatchDialog::UpdateButtons() {
    const bool running = Running();
    start_->setEnabled(!running);
    cancel_->setEnabled(running);
    const auto selected = table_->selectedItems();
    open_->setEnabled(
        !selected.isEmpty() &&
        !table_->item(selected[0]->row(), kVideoColumn)->data(kShotsFileRole).toString().isEmpty());
}

}  // namespace trevanto
