#include "ui/settings_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleOptionSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

#include "app/document/document_ports.h"
#include "app/messages/settings_messages.h"
#include "common/text_numbers.h"

namespace trevanto {
namespace {

constexpr float kDefaultThreshold = 15.0f;

int Cores() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                      SlicingSettings::kMaxJobs);
}

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

QString SensitivityText(float sensitivity) {
    return QString::number(static_cast<double>(sensitivity), 'g', 4);
}

QLabel* Note(const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// A control after its label (the label's buddy, for its mnemonic and
// screen readers), the rest of the row left empty.
QHBoxLayout* LabelledRow(const char* label, QWidget* control) {
    auto* row = new QHBoxLayout;
    auto* text = new QLabel(label, control->parentWidget());
    text->setBuddy(control);
    row->addWidget(text);
    row->addWidget(control);
    row->addStretch(1);
    return row;
}

}  // namespace

ThresholdSpinBox::ThresholdSpinBox(float threshold, QWidget* parent) : QAbstractSpinBox(parent) {
    setObjectName("threshold");
    setAccelerated(false);
    SetText(ToQString(ThresholdText(threshold)));
}

void ThresholdSpinBox::SetText(const QString& text) {
    lineEdit()->setText(text);
}

float ThresholdSpinBox::Typed() const {
    return static_cast<float>(ReadLeadingDecimal(text().toStdString()));
}

void ThresholdSpinBox::stepBy(int steps) {
    // From what is typed now, so that a typed threshold is not lost.
    const float stepped = std::clamp(Typed() + static_cast<float>(steps), kLowest, kHighest);
    SetText(ToQString(ThresholdText(stepped)));
}

QAbstractSpinBox::StepEnabled ThresholdSpinBox::stepEnabled() const {
    const float typed = Typed();
    StepEnabled enabled = StepNone;
    if (typed < kHighest)
        enabled |= StepUpEnabled;
    if (typed > kLowest)
        enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State ThresholdSpinBox::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

QSize ThresholdSpinBox::sizeHint() const {
    // Room for "-128.5" and the spin buttons, as a QSpinBox would ask.
    ensurePolished();
    const QFontMetrics metrics(font());
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize text(metrics.horizontalAdvance("-128.50") + 4,
                     std::max(metrics.height(), lineEdit()->sizeHint().height()));
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

SettingsDialog::SettingsDialog(const SlicingSettings& settings, UserPort& user, QWidget* parent)
    : QDialog(parent),
      user_(user),
      settings_(settings),
      rateGroup_(new QButtonGroup(this)),
      threshold_(new ThresholdSpinBox(
          settings.threshold == 0.0f ? kDefaultThreshold : settings.threshold, this)),
      detector_(new QComboBox(this)),
      sensitivity_(new QLineEdit(SensitivityText(settings.sensitivity), this)) {
    setObjectName("settingsDialog");
    setWindowTitle("Settings");

    auto* sampler = new QGroupBox("Shot sampler", this);
    auto* samplerLayout = new QVBoxLayout(sampler);
    samplerLayout->addWidget(
        Note("The shot sampler linearly slices the video according to some rate. Please "
             "choose below one of the rate options, and fill the corresponding edit box.",
             sampler));
    auto* rates = new QGridLayout;
    // Each option: its radio, the words before its edit box, the words after.
    static constexpr const char* kRates[4][3] = {{"1,", "", "shots overall"},
                                                 {"2,", "", "shots per second"},
                                                 {"3,", "1 shot every", "seconds"},
                                                 {"4,", "1 shot every", "frames"}};
    const int editWidth = fontMetrics().horizontalAdvance("0000000000");
    for (int option = 0; option < 4; ++option) {
        radios_[option] = new QRadioButton(kRates[option][0], sampler);
        edits_[option] = new QLineEdit(sampler);
        edits_[option]->setFixedWidth(editWidth);
        rateGroup_->addButton(radios_[option], option);
        rates->addWidget(radios_[option], option, 0);
        rates->addWidget(new QLabel(kRates[option][1], sampler), option, 1);
        rates->addWidget(edits_[option], option, 2);
        rates->addWidget(new QLabel(kRates[option][2], sampler), option, 3);
    }
    rates->setColumnStretch(4, 1);
    samplerLayout->addLayout(rates);

    auto* engine = new QGroupBox("Automatic shot engine", this);
    auto* engineLayout = new QVBoxLayout(engine);
    engineLayout->addWidget(
        Note("The automatic shot engine intelligently slices the video based on its content. "
             "It detects changes like cuts, fades, ... Increase the threshold in order to "
             "reduce the amount of shots.",
             engine));
    detector_->setObjectName("detector");
    detector_->addItems({"Channel spread (classic)", "Content"});
    engineLayout->addLayout(LabelledRow("Detector", detector_));
    engineLayout->addLayout(LabelledRow("Threshold", threshold_));
    engineLayout->addWidget(
        Note("The content detector compares the pictures' layout and colours: it sees cuts "
             "between dim shots and passes over flashes and steady motion. Increase its "
             "sensitivity (above 0, below 100) for more shots.",
             engine));
    sensitivity_->setObjectName("sensitivity");
    sensitivity_->setFixedWidth(fontMetrics().horizontalAdvance("0000000000"));
    engineLayout->addLayout(LabelledRow("Sensitivity", sensitivity_));

    // Runs decode their segments on this many workers; the shots are the same.
    jobs_ = new QSpinBox(this);
    jobs_->setObjectName("jobs");
    jobs_->setRange(1, SlicingSettings::kMaxJobs);
    jobs_->setValue(settings.jobs);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    default_ = buttons->addButton("Default", QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(default_, &QPushButton::clicked, this, &SettingsDialog::RestoreDefaults);
    connect(rateGroup_, &QButtonGroup::idClicked, this, &SettingsDialog::SelectOption);
    connect(detector_, &QComboBox::currentIndexChanged, this, &SettingsDialog::SelectDetector);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sampler);
    layout->addWidget(engine);
    layout->addLayout(LabelledRow("Workers decoding side by side", jobs_));
    layout->addWidget(buttons);
    // Wide enough for the notes to wrap into a few lines.
    setMinimumWidth(fontMetrics().averageCharWidth() * 64);

    const int option = settings.rateOption;
    if (option >= 0 && option < 4) {
        radios_[option]->setChecked(true);
        edits_[option]->setText(ToQString(SamplerValueText(option, settings.rateValue)));
    }
    SelectOption(option);
    detector_->setCurrentIndex(static_cast<int>(settings.detector));
    SelectDetector(detector_->currentIndex());
}

void SettingsDialog::SelectDetector(int detector) {
    const bool content = detector == static_cast<int>(ShotDetector::Content);
    threshold_->setEnabled(!content);
    sensitivity_->setEnabled(content);
}

void SettingsDialog::SelectOption(int option) {
    for (int other = 0; other < 4; ++other)
        edits_[other]->setEnabled(other == option);
}

void SettingsDialog::RestoreDefaults() {
    const SlicingSettings defaults;
    radios_[defaults.rateOption]->setChecked(true);
    edits_[defaults.rateOption]->setText(
        ToQString(SamplerValueText(defaults.rateOption, defaults.rateValue)));
    SelectOption(defaults.rateOption);
    threshold_->SetText(ToQString(ThresholdText(kDefaultThreshold)));
    jobs_->setValue(Cores());
    detector_->setCurrentIndex(static_cast<int>(defaults.detector));
    sensitivity_->setText(SensitivityText(defaults.sensitivity));
}

void SettingsDialog::accept() {
    const int option = rateGroup_->checkedId();
    if (option < 0)
        return;  // no option chosen: nothing to take
    const SamplerValueReading reading =
        ReadSamplerValue(option, edits_[option]->text().toStdString());
    if (reading.check != SamplerValueCheck::Accepted) {
        user_.ShowMessage(message::SamplerValueMessage(reading.check));
        edits_[option]->setFocus();
        return;
    }
    const bool content = detector_->currentIndex() == static_cast<int>(ShotDetector::Content);
    const auto sensitivity = ReadSensitivity(sensitivity_->text().toStdString());
    if (content && !sensitivity) {
        user_.ShowMessage(message::kSensitivityRefused);
        sensitivity_->setFocus();
        return;
    }
    settings_.rateOption = option;
    settings_.rateValue = reading.value;
    settings_.detector = static_cast<ShotDetector>(detector_->currentIndex());
    settings_.sensitivity = sensitivity.value_or(settings_.sensitivity);
    if (const auto threshold = ReadThreshold(threshold_->text().toStdString()))
        settings_.threshold = *threshold;
    settings_.jobs = jobs_->value();
    QDialog::accept();
}

}  // namespace trevanto
