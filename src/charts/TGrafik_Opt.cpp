#include "charts/TGrafik_Opt.h"

#include "charts/ChartWidget.h"
#include "lang/LanguageTexts.h"

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

TGrafik_Opt::TGrafik_Opt(ChartScaleState& scale, ChartWidget& diag, const LanguageTexts& texts,
                         std::function<void()> redraw, QWidget* parent)
    : QDialog(parent), scale_(scale), diag_(diag), texts_(texts), redraw_(std::move(redraw)) {
    setObjectName(QStringLiteral("Grafik_Opt"));
    setWindowTitle(QStringLiteral("Grafik"));
    setModal(true);
    CreateControls();
    ConnectHandlers();
}

void TGrafik_Opt::CreateControls() {
    Skala = new QGroupBox(QStringLiteral("Y - Skalierung"), this);
    Skala->setObjectName(QStringLiteral("Skala"));

    QToolButton *countUp = nullptr, *countDown = nullptr, *speedUp = nullptr, *speedDown = nullptr;
    Sk_auto_Anzahl = Radio(Skala, "Sk_auto_Anzahl", "auto");
    Sk_manuell_Anzahl = Radio(Skala, "Sk_manuell_Anzahl", "manuell");
    Y_max_Anzahl = new QLabel(QStringLiteral("100000"), Skala);
    Y_max_Anzahl->setObjectName(QStringLiteral("Y_max_Anzahl"));
    Y_Scale_Anzahl = UpDown(Skala, "Y_Scale_Anzahl", countUp, countDown);
    Panel_Anzahl =
        ScalePanel(Skala, "Panel_Anzahl", Sk_auto_Anzahl, Sk_manuell_Anzahl, Y_max_Anzahl, Y_Scale_Anzahl);
    Sk_manuell_Anzahl->setChecked(true);

    Sk_auto_Tempo = Radio(Skala, "Sk_auto_Tempo", "auto");
    Sk_manuell_Tempo = Radio(Skala, "Sk_manuell_Tempo", "manuell");
    Y_max_Tempo = new QLabel(Skala);
    Y_max_Tempo->setObjectName(QStringLiteral("Y_max_Tempo"));
    Y_Scale_Tempo = UpDown(Skala, "Y_Scale_Tempo", speedUp, speedDown);
    Panel_Tempo =
        ScalePanel(Skala, "Panel_Tempo", Sk_auto_Tempo, Sk_manuell_Tempo, Y_max_Tempo, Y_Scale_Tempo);
    Sk_auto_Tempo->setChecked(true);

    Werte = new QGroupBox(QStringLiteral("Werte anzeigen"), Skala);
    Werte->setObjectName(QStringLiteral("Werte"));
    Sk_Wert_nein = Radio(Werte, "Sk_Wert_nein", "nein");
    Sk_Wert_Rand = Radio(Werte, "Sk_Wert_Rand", "Rand");
    Sk_Wert_Balken = Radio(Werte, "Sk_Wert_Balken", "Balken");
    Sk_Wert_nein->setChecked(true);
    auto* values = new QVBoxLayout(Werte);
    for (QRadioButton* r : {Sk_Wert_nein, Sk_Wert_Rand, Sk_Wert_Balken})
        values->addWidget(r);

    // Both scale panels take the same place; the dialog shows the one of the chart on display.
    auto* scales = new QVBoxLayout(Skala);
    scales->addWidget(Panel_Anzahl);
    scales->addWidget(Panel_Tempo);
    scales->addWidget(Werte);
    for (QWidget* w : {Panel_Anzahl, Panel_Tempo, static_cast<QWidget*>(Y_max_Anzahl), Y_Scale_Anzahl,
                       static_cast<QWidget*>(Y_max_Tempo), Y_Scale_Tempo})
        w->hide();

    Darstellung = new QGroupBox(QStringLiteral("Darstellung"), this);
    Darstellung->setObjectName(QStringLiteral("Darstellung"));
    Darstellung_2D = Radio(Darstellung, "Darstellung_2D", "2D");
    Darstellung_3D = Radio(Darstellung, "Darstellung_3D", "3D");
    Darstellung_3D->setChecked(true);
    auto* view = new QHBoxLayout(Darstellung);
    view->addWidget(Darstellung_2D);
    view->addWidget(Darstellung_3D);

    // Without a close box (no window manager, or a keyboard user) the dialog still closes.
    auto* buttons = new QDialogButtonBox(this);
    closeButton_ = buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Skala);
    layout->addWidget(Darstellung);
    layout->addStretch();
    layout->addWidget(buttons);
    setMinimumWidth(265);

    connect(countUp, &QToolButton::clicked, this, [this] { Y_Scale_AnzahlUpClick(); });
    connect(countDown, &QToolButton::clicked, this, [this] { Y_Scale_AnzahlDownClick(); });
    connect(speedUp, &QToolButton::clicked, this, [this] { Y_Scale_TempoUpClick(); });
    connect(speedDown, &QToolButton::clicked, this, [this] { Y_Scale_TempoDownClick(); });
}

void TGrafik_Opt::ConnectHandlers() {
    connect(Darstellung_2D, &QRadioButton::clicked, this, [this] { Darstellung_2DClick(); });
    connect(Darstellung_3D, &QRadioButton::clicked, this, [this] { Darstellung_3DClick(); });
    connect(Sk_Wert_nein, &QRadioButton::clicked, this, [this] { Sk_Wert_neinClick(); });
    connect(Sk_Wert_Rand, &QRadioButton::clicked, this, [this] { Sk_Wert_RandClick(); });
    connect(Sk_Wert_Balken, &QRadioButton::clicked, this, [this] { Sk_Wert_BalkenClick(); });
    connect(Sk_auto_Anzahl, &QRadioButton::clicked, this, [this] { Sk_auto_AnzahlClick(); });
    connect(Sk_manuell_Anzahl, &QRadioButton::clicked, this, [this] { Sk_manuell_AnzahlClick(); });
    connect(Sk_auto_Tempo, &QRadioButton::clicked, this, [this] { Sk_auto_TempoClick(); });
    connect(Sk_manuell_Tempo, &QRadioButton::clicked, this, [this] { Sk_manuell_TempoClick(); });
}

void TGrafik_Opt::SetAutomaticScaling() {
    ::SetAutomaticScaling(scale_);
    Sk_auto_Anzahl->setChecked(true);
    Sk_auto_Tempo->setChecked(true);
    Sk_auto_AnzahlClick();
    Sk_auto_TempoClick();
}

void TGrafik_Opt::Darstellung_2DClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.View3D = false;
    diag_.SetAppearance(appearance);
}

void TGrafik_Opt::Darstellung_3DClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.View3D = true;
    diag_.SetAppearance(appearance);
}

void TGrafik_Opt::Sk_Wert_neinClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.ValueLabels = ValueLabelMode::None;
    diag_.SetAppearance(appearance);
}

void TGrafik_Opt::Sk_Wert_RandClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.ValueLabels = ValueLabelMode::Edge;
    diag_.SetAppearance(appearance);
}

void TGrafik_Opt::Sk_Wert_BalkenClick() {
    ChartAppearance appearance = diag_.Appearance();
    appearance.ValueLabels = ValueLabelMode::Bars;
    diag_.SetAppearance(appearance);
}

// The views read the "auto" choice when they scale, so it takes effect at the next redraw.
void TGrafik_Opt::Sk_auto_AnzahlClick() {
    scale_.AutoCountScale = true;
    Y_max_Anzahl->hide();
    Y_Scale_Anzahl->hide();
}

void TGrafik_Opt::Sk_manuell_AnzahlClick() {
    scale_.AutoCountScale = false;
    Y_max_Anzahl->show();
    Y_Scale_Anzahl->show();
}

void TGrafik_Opt::Sk_auto_TempoClick() {
    scale_.AutoSpeedScale = true;
    Y_max_Tempo->hide();
    Y_Scale_Tempo->hide();
}

void TGrafik_Opt::Sk_manuell_TempoClick() {
    scale_.AutoSpeedScale = false;
    Y_max_Tempo->show();
    Y_Scale_Tempo->show();
}

void TGrafik_Opt::Y_Scale_AnzahlDownClick() {
    StepCountScale(scale_, -1);
    ShowMaxima();
    redraw_();
}

void TGrafik_Opt::Y_Scale_AnzahlUpClick() {
    StepCountScale(scale_, 1);
    ShowMaxima();
    redraw_();
}

void TGrafik_Opt::Y_Scale_TempoDownClick() {
    StepSpeedScale(scale_, -1);
    ShowMaxima();
    redraw_();
}

void TGrafik_Opt::Y_Scale_TempoUpClick() {
    StepSpeedScale(scale_, 1);
    ShowMaxima();
    redraw_();
}

void TGrafik_Opt::ShowMaxima() {
    Y_max_Anzahl->setText(QString::number(static_cast<qlonglong>(CountScaleStep(scale_.CountScaleIndex))));
    Y_max_Tempo->setText(QString::number(static_cast<qlonglong>(SpeedScaleStep(scale_.SpeedScaleIndex))));
}

void TGrafik_Opt::FormShow() {
    SetCaption(Skala, texts_[130]);
    SetCaption(Werte, texts_[131]);
    SetCaption(Darstellung, texts_[132]);
    SetCaption(Sk_auto_Tempo, texts_[133]);
    SetCaption(Sk_auto_Anzahl, texts_[133]);
    SetCaption(Sk_manuell_Tempo, texts_[134]);
    SetCaption(Sk_manuell_Anzahl, texts_[134]);
    SetCaption(Sk_Wert_nein, texts_[135]);
    SetCaption(Sk_Wert_Rand, texts_[136]);
    SetCaption(Sk_Wert_Balken, texts_[137]);
    SetCaption(closeButton_, texts_[494]);
    ShowMaxima();
    if (scale_.ChartAxisKind == 1)
        Panel_Anzahl->show();
    if (scale_.ChartAxisKind == 2)
        Panel_Tempo->show();
    // The radio buttons follow the chart's appearance, which only this dialog changes.
    (diag_.Appearance().View3D ? Darstellung_3D : Darstellung_2D)->setChecked(true);
    const ValueLabelMode mode = diag_.Appearance().ValueLabels;
    (mode == ValueLabelMode::Edge   ? Sk_Wert_Rand
     : mode == ValueLabelMode::Bars ? Sk_Wert_Balken
                                    : Sk_Wert_nein)
        ->setChecked(true);
}

void TGrafik_Opt::FormActivate() {
    if (scale_.AutoCountScale) {
        Sk_auto_Anzahl->setChecked(true);
        Sk_auto_AnzahlClick();
    }
    if (scale_.AutoSpeedScale) {
        Sk_auto_Tempo->setChecked(true);
        Sk_auto_TempoClick();
    }
}

void TGrafik_Opt::FormHide() {
    scale_.AutoSpeedScale = Sk_auto_Tempo->isChecked();
    scale_.AutoCountScale = Sk_auto_Anzahl->isChecked();
    Panel_Anzahl->hide();
    Panel_Tempo->hide();
}

void TGrafik_Opt::showEvent(QShowEvent* event) {
    FormShow();
    FormActivate();
    QDialog::showEvent(event);
}

void TGrafik_Opt::hideEvent(QHideEvent* event) {
    FormHide();
    QDialog::hideEvent(event);
}
