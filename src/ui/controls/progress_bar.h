#pragma once
// The progress bar of a long operation, standing in the first status-bar pane
// after a caption that names the operation. It lives exactly as long as the
// operation and follows the status bar when the window is resized.
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <QProgressBar>
#include <QStatusBar>

namespace trevanto {

class CProgressBar : public QObject {
    Q_OBJECT
  public:
    // Without a status bar nothing is created and every call is harmless.
    CProgressBar(QStatusBar* statusBar, const QString& caption, int sizePercent, int maximum,
                 bool smooth);
    // Hides the bar and puts the status bar's idle text back.
    ~CProgressBar() override;
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    bool IsCreated() const { return created_; }
    // Makes the bar visible and moves it to the value.
    void SetPos(int position);
    int Pos() const;
    const QString& Caption() const { return caption_; }
    QRect Placement() const { return placement_; }
    QProgressBar* Control() const { return control_; }

    // Puts the caption into pane 0 and moves the bar after it.
    void Place();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The right edge of pane 0: where the first permanent pane begins.
    int PaneRight() const;

    QPointer<QStatusBar> statusBar_;
    QPointer<QProgressBar> control_;
    bool created_ = false;
    int sizePercent_ = 100;
    QString caption_;
    QRect placement_;
};

}  // namespace trevanto
