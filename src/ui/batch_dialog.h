#pragma once
// File > "Slice a folder...": slices every video of a folder into an output
// folder with `trevanto-cli batch`, run as a child process whose progress
// events (--progress jsonl) fill a table of the videos. Cancel ends the batch
// as a kill would, which leaves its manifest to resume from: starting again
// slices only what is left. "Open" opens a finished video with its shots,
// from its shots file.
#include <QDialog>
#include <QProcess>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace trevanto {

class BatchDialog : public QDialog {
    Q_OBJECT
  public:
    enum Output { kCsv, kEdl, kJpeg, kPublish, kOutputCount };
    enum Column { kVideoColumn, kStatusColumn, kShotsColumn };

    // `cli` is the trevanto-cli program to run.
    explicit BatchDialog(QString cli, QWidget* parent = nullptr);
    ~BatchDialog() override;

    // trevanto-cli beside the desktop program (or in the build tree's
    // layout), else on the PATH; empty when there is none.
    static QString FindCli();

    QLineEdit* FolderEdit() const { return folder_; }
    QLineEdit* OutputEdit() const { return output_; }
    QCheckBox* OutputBox(Output output) const { return outputs_[output]; }
    QSpinBox* JobsBox() const { return jobs_; }
    QTableWidget* Table() const { return table_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CancelButton() const { return cancel_; }
    QPushButton* OpenButton() const { return open_; }
    QLabel* StatusLabel() const { return status_; }
    bool Running() const { return process_.state() != QProcess::NotRunning; }

  signals:
    // The shots file of a finished video, to open.
    void OpenRequested(const QString& shotsFile);

  public slots:
    void Start();
    void Cancel();
    void reject() override;

  private:
    void ReadEvents();
    void HandleEvent(const QByteArray& line);
    void Finished(int exitCode, QProcess::ExitStatus exitStatus);
    int RowOf(const QString& input);
    void SetRow(const QString& input, const QString& status, const QString& shots);
    void UpdateButtons();

    QString cli_;
    QProcess process_;
    QByteArray pending_;
    bool cancelled_ = false;
    QString outFolder_;
    QLineEdit* folder_ = nullptr;
    QLineEdit* output_ = nullptr;
    QCheckBox* outputs_[kOutputCount] = {};
    QSpinBox* jobs_ = nullptr;
    QTableWidget* table_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* open_ = nullptr;
};

}  // namespace trevanto
