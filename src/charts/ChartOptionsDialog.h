#pragma once
// "Grafik-Optionen": the small modal dialog that the chart opens when it is clicked. It switches
// the chart between 2D and 3D, chooses the value labels, and chooses automatic or manual Y
// scaling for count and speed charts, stepping the manual maximum through the scale steps. Every
// change acts on the chart at once; the step buttons redraw it while the dialog is open.

#include "charts/ChartState.h"

#include <QDialog>

#include <functional>

class ChartWidget;
class LanguageTexts;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;
class QWidget;

class ChartOptionsDialog : public QDialog {
    Q_OBJECT
public:
    // redraw is `DrawSelectedChart`.
    ChartOptionsDialog(ChartScaleState& scale, ChartWidget& diag, const LanguageTexts& texts,
                       std::function<void()> redraw, QWidget* parent = nullptr);

    // Entering the chart mode: both scales automatic, and the dialog shows it.
    void SetAutomaticScaling();

    // Event handlers, named for what the user did.
    void FlatChartClick();
    void ThreeDChartClick();
    void NoValueLabelsClick();
    void ValueLabelsAtEdgeClick();
    void ValueLabelsInBarsClick();
    void CountAutoScaleClick();
    void CountManualScaleClick();
    void CountScaleDownClick();
    void CountScaleUpClick();
    void SpeedAutoScaleClick();
    void SpeedManualScaleClick();
    void SpeedScaleDownClick();
    void SpeedScaleUpClick();
    void OnShow();
    void OnActivate();
    void OnHide();

    QGroupBox* scaleBox = nullptr;
    QWidget* countScalePanel = nullptr;
    QRadioButton* countAutoScale = nullptr;
    QRadioButton* countManualScale = nullptr;
    QLabel* countMaximumLabel = nullptr;
    QWidget* countScaleStepper = nullptr; // the up/down pair
    QWidget* speedScalePanel = nullptr;
    QRadioButton* speedAutoScale = nullptr;
    QRadioButton* speedManualScale = nullptr;
    QLabel* speedMaximumLabel = nullptr;
    QWidget* speedScaleStepper = nullptr;
    QGroupBox* valueLabelBox = nullptr;
    QRadioButton* noValueLabels = nullptr;
    QRadioButton* valueLabelsAtEdge = nullptr;
    QRadioButton* valueLabelsInBars = nullptr;
    QGroupBox* appearanceBox = nullptr;
    QRadioButton* flatChart = nullptr;
    QRadioButton* threeDChart = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    ChartScaleState& scale_;
    ChartWidget& diag_;
    const LanguageTexts& texts_;
    std::function<void()> redraw_;
    QPushButton* closeButton_ = nullptr;

    void CreateControls();
    void ConnectHandlers();
    void ShowMaxima();
};
