#include "charts/ChartOptionsDialog.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "charts/ChartWidget.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QRadioButton* Radio(QWidget* parent, const char* name, const char* caption) {
    auto* radio = new QRadioButton(QString::fromUtf8(caption), parent);
    radio->setObjectName(QString::fromLatin1(name));
    return radio;
}

// The up/down pair of a manual scale: a small widget with two arrow buttons.
QWidget* UpDown(QWidget* parent, const char* name, QToolButton*& up, QToolButton*& down) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up = new QToolButton(box);
    up->setObjectName(QString::fromLatin1(name) + QStringLiteral("Up"));
    up->setArrowType(Qt::UpArrow);
    up->setAccessibleName(QStringLiteral("+"));
    down = new QToolButton(box);
    down->setObjectName(QString::fromLatin1(name) + QStringLiteral("Down"));
    down->setArrowType(Qt::DownArrow);
    down->setAccessibleName(QStringLiteral("-"));
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        b->setFixedSize(22, 14);
        layout->addWidget(b);
    }
    return box;
}

// One scale panel: "auto" / "manuell", the manual maximum and its up/down pair.
QWidget* ScalePanel(QWidget* parent, const char* name, QRadioButton* automatic, QRadioButton* manual,
                    QLabel* max, QWidget* upDown) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    automatic->setParent(panel);
    manual->setParent(panel);
    max->setParent(panel);
    upDown->setParent(panel);
    auto* choice = new QButtonGroup(panel);
    choice->addButton(automatic);
    choice->addButton(manual);
    layout->addWidget(automatic, 0, 0);
    layout->addWidget(manual, 1, 0);
    max->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    max->setMinimumWidth(max->fontMetrics().horizontalAdvance(QStringLiteral("1000000")));
    layout->addWidget(max, 1, 1);
    layout->addWidget(upDown, 1, 2);
    layout->setColumnStretch(0, 1);
    return panel;
}

void SetCaption(QAbstractButton* button, const std::string& text) {
    if (!text.empty())
        button->setText(QString::fromStdString(text));
}

void SetCaption(QGroupBox* box, const std::string& text) {
    if (!text.empty())
        box->setTitle(QString::fromStdString(text));
}

} // namespace

ChartOptionsDialog::ChartOptionsDialog(ChartScaleState& scale, ChartWidget& diag, const LanguageTexts& texts,
                                       std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), scale_(scale), diag_(diag), texts_(texts), redraw_(std::move(redraw)) {
    setObjectName(QStringLiteral("optionsDialog"));
    setWindowTitle(QStringLiteral("Grafik"));
    setModal(true);
    CreateControls();
    ConnectHandlers();
}

void ChartOptionsDialog::CreateControls() {
    scaleBox = new QGroupBox(QStringLiteral("Y - Skalierung"), this);
    scaleBox->setObjectName(QStringLiteral("scaleBox"));

    QToolButton *countUp = nullptr, *countDown = nullptr, *speedUp = nullptr, *speedDown = nullptr;
    countAutoScale = Radio(scaleBox, "countAutoScale", "auto");
    countManualScale = Radio(scaleBox, "countManualScale", "manuell");
    countMaximumLabel = new QLabel(QStringLiteral("100000"), scaleBox);
    countMaximumLabel->setObjectName(QStringLiteral("countMaximumLabel"));
    countScaleStepper = UpDown(scaleBox, "countScaleStepper", countUp, countDown);
    countScalePanel = ScalePanel(scaleBox, "countScalePanel", countAutoScale, countManualScale,
                                 countMaximumLabel, countScaleStepper);
    countManualScale->setChecked(true);

    speedAutoScale = Radio(scaleBox, "speedAutoScale", "auto");
    speedManualScale = Radio(scaleBox, "speedManualScale", "manuell");
    speedMaximumLabel = new QLabel(scaleBox);
    speedMaximumLabel->setObjectName(QStringLiteral("speedMaximumLabel"));
    speedScaleStepper = UpDown(scaleBox, "speedScaleStepper", speedUp, speedDown);
    speedScalePanel = ScalePanel(scaleBox, "speedScalePanel", speedAutoScale, speedManualScale,
                                 speedMaximumLabel, speedScaleStepper);
    speedAutoScale->setChecked(true);

    valueLabelBox = new QGroupBox(QStringLiteral("Werte anzeigen"), scaleBox);
    valueLabelBox->setObjectName(QStringLiteral("valueLabelBox"));
    noValueLabels = Radio(valueLabelBox, "noValueLabels", "nein");
    valueLabelsAtEdge = Radio(valueLabelBox, "valueLabelsAtEdge", "Rand");
    valueLabelsInBars = Radio(valueLabelBox, "valueLabelsInBars", "Balken");
    noValueLabels->setChecked(true);
    auto* values = new QVBoxLayout(valueLabelBox);
    for (QRadioButton* r : {noValueLabels, valueLabelsAtEdge, valueLabelsInBars})
        values->addWidget(r);

    // Both scale panels take the same place; the dialog shows the one of the chart on display.
    auto* scales = new QVBoxLayout(scaleBox);
    scales->addWidget(countScalePanel);
    scales->addWidget(speedScalePanel);
    scales->addWidget(valueLabelBox);
    for (QWidget* w : {countScalePanel, speedScalePanel, static_cast<QWidget*>(countMaximumLabel),
                       countScaleStepper, static_cast<QWidget*>(speedMaximumLabel), speedScaleStepper})
        w->hide();

    appearanceBox = new QGroupBox(QStringLiteral("Darstellung"), this);
    appearanceBox->setObjectName(QStringLiteral("Darstellung"));
    flatChart = Radio(appearanceBox, "flatChart", "2D");
    threeDChart = Radio(appearanceBox, "threeDChart", "3D");
    threeDChart->setChecked(true);
    auto* view = new QHBoxLayout(appearanceBox);
    view->addWidget(flatChart);
    view->addWidget(threeDChart);

    // Without a close box (no window manager, or a keyboard user) the dialog still closes.
    auto* buttons = new QDialogButtonBox(this);
    closeButton_ = buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scaleBox);
    layout->addWidget(appearanceBox);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(265);

    connect(countUp, &QToolButton::clicked, this, [this] { CountScaleUpClick(); });
    connect(countDown, &QToolButton::clicked, this, [this] { CountScaleDownClick(); });
    connect(speedUp, &QToolButton::clicked, this, [this] { SpeedScaleUpClick(); });
    connect(speedDown, &QToolButton::clicked, this, [this] { SpeedScaleDownClick(); });
}

void ChartOptionsDialog::ConnectHandlers() {
    connect(flatChart, &QRadioButton::clicked, this, [this] { FlatChartClick(); });
    connect(threeDChart, &QRadioButton::clicked, this, [this] { ThreeDChartClick(); });
    connect(noValueLabels, &QRadioButton::clicked, this, [this] { NoValueLabelsClick(); });
    connect(valueLabelsAtEdge, &QRadioButton::clicked, this, [this] { ValueLabelsAtEdgeClick(); });
    connect(valueLabelsInBars, &QRadioButton::clicked, this, [this] { ValueLabelsInBarsClick(); });
    connect(countAutoScale, &QRadioButton::clicked, this, [this] { CountAutoScaleClick(); });
    connect(countManualScale, &QRadioButton::clicked, this, [this] { CountManualScaleClick(); });
    connect(speedAutoScale, &QRadioButton::clicked, this, [this] { SpeedAutoScaleClick(); });
    connect(speedManualScale, &QRadioButton::clicked, this, [this] { SpeedManualScaleClick(); });
}

void ChartOptionsDialog::SetAutomaticScaling() {
    ::SetAutomaticScaling(scale_);
    countAutoScale->setChecked(true);
    speedAutoScale->setChecked(true);
    CountAutoScaleClick();
    SpeedAutoScaleClick();
}

void ChartOptionsDialog::FlatChartClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.View3D = false;
    diag_.SetAppearance(appearance);
}

void ChartOptionsDialog::ThreeDChartClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.View3D = true;
    diag_.SetAppearance(appearance);
}

void ChartOptionsDialog::NoValueLabelsClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.ValueLabels = ValueLabelMode::None;
    diag_.SetAppearance(appearance);
}

void ChartOptionsDialog::ValueLabelsAtEdgeClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.ValueLabels = ValueLabelMode::Edge;
    diag_.SetAppearance(appearance);
}

void ChartOptionsDialog::ValueLabelsInBarsClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.ValueLabels = ValueLabelMode::Bars;
    diag_.SetAppearance(appearance);
}

// The views read the "auto" choice when they scale, so it takes effect at the next redraw.
void ChartOptionsDialog::CountAutoScaleClick() {
    scale_.AutoCountScale = true;
    countMaximumLabel->hide();
    countScaleStepper->hide();
}

void ChartOptionsDialog::CountManualScaleClick() {
    scale_.AutoCountScale = false;
    countMaximumLabel->show();
    countScaleStepper->show();
}

void ChartOptionsDialog::SpeedAutoScaleClick() {
    scale_.AutoSpeedScale = true;
    speedMaximumLabel->hide();
    speedScaleStepper->hide();
}

void ChartOptionsDialog::SpeedManualScaleClick() {
    scale_.AutoSpeedScale = false;
    speedMaximumLabel->show();
    speedScaleStepper->show();
}

void ChartOptionsDialog::CountScaleDownClick() {
    StepCountScale(scale_, -1);
    ShowMaxima();
    redraw_();
}

void ChartOptionsDialog::CountScaleUpClick() {
    StepCountScale(scale_, 1);
    ShowMaxima();
    redraw_();
}

void ChartOptionsDialog::SpeedScaleDownClick() {
    StepSpeedScale(scale_, -1);
    ShowMaxima();
    redraw_();
}

void ChartOptionsDialog::SpeedScaleUpClick() {
    StepSpeedScale(scale_, 1);
    ShowMaxima();
    redraw_();
}

void ChartOptionsDialog::ShowMaxima() {
    countMaximumLabel->setText(
        QString::number(static_cast<qlonglong>(CountScaleStep(scale_.CountScaleIndex))));
    speedMaximumLabel->setText(
        QString::number(static_cast<qlonglong>(SpeedScaleStep(scale_.SpeedScaleIndex))));
}

void ChartOptionsDialog::OnShow() {
    SetCaption(scaleBox, texts_[Text::YScale]);
    SetCaption(valueLabelBox, texts_[Text::ShowValues]);
    SetCaption(appearanceBox, texts_[Text::View]);
    SetCaption(speedAutoScale, texts_[Text::Automatic]);
    SetCaption(countAutoScale, texts_[Text::Automatic]);
    SetCaption(speedManualScale, texts_[Text::Manual]);
    SetCaption(countManualScale, texts_[Text::Manual]);
    SetCaption(noValueLabels, texts_[Text::NoValues]);
    SetCaption(valueLabelsAtEdge, texts_[Text::ValuesAtEdge]);
    SetCaption(valueLabelsInBars, texts_[Text::ValuesInBars]);
    SetCaption(closeButton_, texts_[Text::Close]);
    ShowMaxima();
    if (scale_.ChartAxisKind == 1)
        countScalePanel->show();
    if (scale_.ChartAxisKind == 2)
        speedScalePanel->show();
    // The radio buttons follow the chart's appearance, which only this dialog changes.
    (diag_.Appearance().View3D ? threeDChart : flatChart)->setChecked(true);
    const ValueLabelMode mode = diag_.Appearance().ValueLabels;
    (mode == ValueLabelMode::Edge   ? valueLabelsAtEdge
     : mode == ValueLabelMode::Bars ? valueLabelsInBars
                                    : noValueLabels)
        ->setChecked(true);
}

void ChartOptionsDialog::OnActivate() {
    if (scale_.AutoCountScale) {
        countAutoScale->setChecked(true);
        CountAutoScaleClick();
    }
    if (scale_.AutoSpeedScale) {
        speedAutoScale->setChecked(true);
        SpeedAutoScaleClick();
    }
}

void ChartOptionsDialog::OnHide() {
    scale_.AutoSpeedScale = speedAutoScale->isChecked();
    scale_.AutoCountScale = countAutoScale->isChecked();
    countScalePanel->hide();
    speedScalePanel->hide();
}

void ChartOptionsDialog::showEvent(QShowEvent* event) {
    OnShow();
    OnActivate();
    QDialog::showEvent(event);
}

void ChartOptionsDialog::hideEvent(QHideEvent* event) {
    OnHide();
    QDialog::hideEvent(event);
}
