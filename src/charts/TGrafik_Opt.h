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

class TGrafik_Opt : public QDialog {
    Q_OBJECT
public:
    // redraw is `DrawSelectedChart`.
    TGrafik_Opt(ChartScaleState& scale, ChartWidget& diag, const LanguageTexts& texts,
                std::function<void()> redraw, QWidget* parent = nullptr);

    // Entering the chart mode: both scales automatic, and the dialog shows it.
    void SetAutomaticScaling();

    // Event handlers, named after the form's controls and events.
    void Darstellung_2DClick();
    void Darstellung_3DClick();
    void Sk_Wert_neinClick();
    void Sk_Wert_RandClick();
    void Sk_Wert_BalkenClick();
    void Sk_auto_AnzahlClick();
    void Sk_manuell_AnzahlClick();
    void Y_Scale_AnzahlDownClick();
    void Y_Scale_AnzahlUpClick();
    void Sk_auto_TempoClick();
    void Sk_manuell_TempoClick();
    void Y_Scale_TempoDownClick();
    void Y_Scale_TempoUpClick();
    void FormShow();
    void FormActivate();
    void FormHide();

    QGroupBox* Skala = nullptr;
    QWidget* Panel_Anzahl = nullptr;
    QRadioButton* Sk_auto_Anzahl = nullptr;
    QRadioButton* Sk_manuell_Anzahl = nullptr;
    QLabel* Y_max_Anzahl = nullptr;
    QWidget* Y_Scale_Anzahl = nullptr; // the up/down pair
    QWidget* Panel_Tempo = nullptr;
    QRadioButton* Sk_auto_Tempo = nullptr;
    QRadioButton* Sk_manuell_Tempo = nullptr;
    QLabel* Y_max_Tempo = nullptr;
    QWidget* Y_Scale_Tempo = nullptr;
    QGroupBox* Werte = nullptr;
    QRadioButton* Sk_Wert_nein = nullptr;
    QRadioButton* Sk_Wert_Rand = nullptr;
    QRadioButton* Sk_Wert_Balken = nullptr;
    QGroupBox* Darstellung = nullptr;
    QRadioButton* Darstellung_2D = nullptr;
    QRadioButton* Darstellung_3D = nullptr;

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
