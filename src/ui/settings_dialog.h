#pragma once
// The "Settings" dialog: the shot sampler's rate (one of four options, each
// with its edit box), the shot engine's detector, with the spread rule's
// threshold or the content detector's sensitivity, and the number of workers
// that decode a run. It works on a copy of
// the slicing settings; OK hands back the copy with the user's choices.
#include <QAbstractSpinBox>
#include <QDialog>

#include <array>

#include "shots/slicing_settings.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace trevanto {

class UserPort;

// The threshold's edit box with spin buttons: anything may be typed (what
// cannot be taken is left for OK to ignore); each step moves the threshold
// by one within 0 to 128 and shows its whole part.
class ThresholdSpinBox : public QAbstractSpinBox {
    Q_OBJECT
  public:
    static constexpr float kLowest = 0.0f;
    static constexpr float kHighest = 128.0f;

    explicit ThresholdSpinBox(float threshold, QWidget* parent = nullptr);
    void SetText(const QString& text);
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& position) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    StepEnabled stepEnabled() const override;

  private:
    // What the box holds now: the typed number, else 0.
    float Typed() const;
};

class SettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // Refused values are told to `user`, and the dialog stays open.
    SettingsDialog(const SlicingSettings& settings, UserPort& user, QWidget* parent = nullptr);

    // The settings as OK left them: the rate option and value, the detector,
    // the typed threshold when it can be taken (above 0), else the one in
    // force, and the sensitivity (OK refuses one it cannot take).
    const SlicingSettings& Settings() const { return settings_; }

    QRadioButton* RateRadio(int option) const { return radios_.at(option); }
    QLineEdit* RateEdit(int option) const { return edits_.at(option); }
    ThresholdSpinBox* Threshold() const { return threshold_; }
    QSpinBox* Jobs() const { return jobs_; }
    // Its items in the order of ShotDetector.
    QComboBox* Detector() const { return detector_; }
    QLineEdit* Sensitivity() const { return sensitivity_; }
    QPushButton* DefaultButton() const { return default_; }

  public slots:
    void accept() override;

  private:
    void SelectOption(int option);
    void RestoreDefaults();
    // Each detector's own value box is enabled with it.
    void SelectDetector(int detector);

    UserPort& user_;
    SlicingSettings settings_;
    QButtonGroup* rateGroup_;
    std::array<QRadioButton*, 4> radios_{};
    std::array<QLineEdit*, 4> edits_{};
    ThresholdSpinBox* threshold_;
    QSpinBox* jobs_ = nullptr;
    QComboBox* detector_;
    QLineEdit* sensitivity_;
    QPushButton* default_ = nullptr;
};

}  // namespace trevanto
