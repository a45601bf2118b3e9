#include "settings/TEinstellungen.h"

#include "app/FileDialogs.h"
#include "data/MeasurementData.h"
#include "lang/LanguageTexts.h"
#include "settings/Option.h"
#include "settings/Settings.h"

#include <QButtonGroup>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A language text, or the form's German word while the language file has none.
QString TextOr(const std::string& text, const char* builtIn) {
    return text.empty() ? QString::fromUtf8(builtIn) : Q(text);
}

QToolButton* ArrowButton(QWidget* parent, const char* name, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFixedSize(22, 13);
    return button;
}

QButtonGroup* RadioGroup(QGroupBox* box, const QStringList& items, int columns, const char* prefix) {
    auto* group = new QButtonGroup(box);
    auto* layout = new QGridLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        radio->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(prefix)).arg(i));
        radio->setAccessibleName(items[i]);
        group->addButton(radio, i);
        layout->addWidget(radio, i / columns, i % columns);
    }
    return group;
}

void SetRadioTexts(QButtonGroup* group, const QStringList& items) {
    for (int i = 0; i < items.size(); ++i)
        if (QAbstractButton* button = group->button(i)) {
            button->setText(items[i]);
            button->setAccessibleName(items[i]);
        }
}

void Select(QButtonGroup* group, int index) {
    if (QAbstractButton* button = group->button(index))
        button->setChecked(true);
}

} // namespace

TEinstellungen::TEinstellungen(Settings& settings, MeasurementData& data, const LanguageTexts& texts,
                               FileDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), data_(data), texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("Einstellungen"));
    setWindowTitle(QStringLiteral("Einstellungen"));
    setModal(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(CreatePathPage(), QStringLiteral("Pfad"));
    PageControl1->addTab(CreateLengthPage(), QStringLiteral("Fz-Länge"));
    PageControl1->addTab(CreateCalculationPage(), QStringLiteral("V-Berechnung"));
    PageControl1->addTab(CreateDisplayPage(), QStringLiteral("Darstellung"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    setMinimumWidth(480);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
    connect(Daten_Pfad, &QPushButton::clicked, this, [this] { Daten_PfadClick(); });
    connect(Card_Pfad, &QPushButton::clicked, this, [this] { Card_PfadClick(); });
    connect(P_up_downUp, &QToolButton::clicked, this, [this] { P_up_downUpClick(); });
    connect(P_up_downDown, &QToolButton::clicked, this, [this] { P_up_downDownClick(); });
    connect(L_up_downUp, &QToolButton::clicked, this, [this] { L_up_downUpClick(); });
    connect(L_up_downDown, &QToolButton::clicked, this, [this] { L_up_downDownClick(); });
    connect(LZ_up_downUp, &QToolButton::clicked, this, [this] { LZ_up_downUpClick(); });
    connect(LZ_up_downDown, &QToolButton::clicked, this, [this] { LZ_up_downDownClick(); });
    connect(VGroupLowButtons, &QButtonGroup::idClicked, this, [this](int id) { VGroupLowClick(id); });
    connect(VGroupHighButtons, &QButtonGroup::idClicked, this, [this](int id) { VGroupHighClick(id); });
    connect(V50Buttons, &QButtonGroup::idClicked, this, [this](int id) { V50_BerechnungClick(id); });
    connect(LimitButtons, &QButtonGroup::idClicked, this, [this](int id) { Darstellung_LimitClick(id); });
}

QWidget* TEinstellungen::CreatePathPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* layout = new QVBoxLayout(page);
    auto pathBox = [page](const char* boxName, const QString& title, QLineEdit*& edit, const char* editName,
                          QPushButton*& button, const char* buttonName) {
        auto* box = new QGroupBox(title, page);
        box->setObjectName(QString::fromLatin1(boxName));
        auto* row = new QHBoxLayout(box);
        edit = new QLineEdit(box);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setAccessibleName(title);
        button = new QPushButton(QStringLiteral("suchen"), box);
        button->setObjectName(QString::fromLatin1(buttonName));
        button->setAccessibleName(QStringLiteral("suchen: ") + title);
        // Enter in the path field must not open the folder chooser.
        button->setAutoDefault(false);
        row->addWidget(edit, 1);
        row->addWidget(button);
        return box;
    };
    GroupBox1 = pathBox("GroupBox1", QStringLiteral("Datenpfad"), Edit1, "Edit1", Daten_Pfad, "Daten_Pfad");
    GroupBox2 = pathBox("GroupBox2", QStringLiteral("Kartenpfad"), Edit2, "Edit2", Card_Pfad, "Card_Pfad");
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);
    layout->addStretch();
    return page;
}

QWidget* TEinstellungen::CreateLengthPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(12);
    auto row = [&](int r, QLineEdit*& edit, const char* editName, QToolButton*& up, const char* upName,
                   QToolButton*& down, const char* downName, QLabel*& label, const char* labelName,
                   const QString& caption) {
        edit = new QLineEdit(page);
        edit->setObjectName(QString::fromLatin1(editName));
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(48);
        edit->setAccessibleName(caption);
        up = ArrowButton(page, upName, Qt::UpArrow);
        down = ArrowButton(page, downName, Qt::DownArrow);
        up->setAccessibleName(caption + QStringLiteral(" +1"));
        down->setAccessibleName(caption + QStringLiteral(" -1"));
        auto* arrows = new QVBoxLayout;
        arrows->setSpacing(0);
        arrows->addWidget(up);
        arrows->addWidget(down);
        label = new QLabel(caption, page);
        label->setObjectName(QString::fromLatin1(labelName));
        label->setBuddy(edit);
        grid->addWidget(edit, r, 0);
        grid->addLayout(arrows, r, 1);
        grid->addWidget(label, r, 2);
    };
    row(0, PKW_Laenge, "PKW_Laenge", P_up_downUp, "P_up_downUp", P_up_downDown, "P_up_downDown", Label_PKW,
        "Label_PKW", QStringLiteral("m  Mindestlänge PKW"));
    row(1, LKW_Laenge, "LKW_Laenge", L_up_downUp, "L_up_downUp", L_up_downDown, "L_up_downDown", Label_LKW,
        "Label_LKW", QStringLiteral("m  Mindestlänge LKW"));
    row(2, LZ_Laenge, "LZ_Laenge", LZ_up_downUp, "LZ_up_downUp", LZ_up_downDown, "LZ_up_downDown", Label_LZ,
        "Label_LZ", QStringLiteral("m  Mindestlänge LZ"));
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* TEinstellungen::CreateCalculationPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* layout = new QVBoxLayout(page);
    VGroupLow = new QGroupBox(QStringLiteral("VGroupLow"), page);
    VGroupLow->setObjectName(QStringLiteral("VGroupLow"));
    VGroupLowButtons = RadioGroup(VGroupLow, {"V05", "V10", "V15", "V20", "V25"}, 5, "VGroupLow");
    V50_Berechnung = new QGroupBox(QStringLiteral("V50 - Berechnung"), page);
    V50_Berechnung->setObjectName(QStringLiteral("V50_Berechnung"));
    V50Buttons = RadioGroup(V50_Berechnung, {QStringLiteral("50%-Wert"), QStringLiteral("Mittelwert")}, 2,
                            "V50_Berechnung");
    VGroupHigh = new QGroupBox(QStringLiteral("VGroupHigh"), page);
    VGroupHigh->setObjectName(QStringLiteral("VGroupHigh"));
    VGroupHighButtons = RadioGroup(VGroupHigh, {"V75", "V80", "V85", "V90", "V95"}, 5, "VGroupHigh");
    layout->addWidget(VGroupLow);
    layout->addWidget(V50_Berechnung);
    layout->addWidget(VGroupHigh);
    layout->addStretch();
    return page;
}

QWidget* TEinstellungen::CreateDisplayPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* layout = new QVBoxLayout(page);
    Darstellung_Limit = new QGroupBox(QStringLiteral("Darstellung Limitüberschreitung"), page);
    Darstellung_Limit->setObjectName(QStringLiteral("Darstellung_Limit"));
    LimitButtons = RadioGroup(Darstellung_Limit, {QStringLiteral("Linie"), QStringLiteral("Fläche")}, 2,
                              "Darstellung_Limit");
    layout->addWidget(Darstellung_Limit);
    layout->addStretch();
    return page;
}

void TEinstellungen::FormShow() {
    setWindowTitle(TextOr(texts_[149], "Einstellungen"));
    PageControl1->setTabText(0, TextOr(texts_[190], "Pfad"));
    PageControl1->setTabText(1, TextOr(texts_[191], "Fz-Länge"));
    PageControl1->setTabText(2, TextOr(texts_[192], "V-Berechnung"));
    PageControl1->setTabText(3, TextOr(texts_[193], "Darstellung"));
    GroupBox1->setTitle(TextOr(texts_[150], "Datenpfad"));
    GroupBox2->setTitle(TextOr(texts_[151], "Kartenpfad"));
    Edit1->setAccessibleName(GroupBox1->title());
    Edit2->setAccessibleName(GroupBox2->title());
    const QString search = TextOr(texts_[152], "suchen");
    Daten_Pfad->setText(search);
    Card_Pfad->setText(search);
    Daten_Pfad->setAccessibleName(search + QStringLiteral(": ") + GroupBox1->title());
    Card_Pfad->setAccessibleName(search + QStringLiteral(": ") + GroupBox2->title());
    const struct {
        QLabel* label;
        QLineEdit* edit;
        QToolButton* up;
        QToolButton* down;
        QString text;
    } lengths[] = {
        {Label_PKW, PKW_Laenge, P_up_downUp, P_up_downDown, TextOr(texts_[140], "m  Mindestlänge PKW")},
        {Label_LKW, LKW_Laenge, L_up_downUp, L_up_downDown, TextOr(texts_[141], "m  Mindestlänge LKW")},
        {Label_LZ, LZ_Laenge, LZ_up_downUp, LZ_up_downDown, TextOr(texts_[142], "m  Mindestlänge LZ")}};
    for (const auto& row : lengths) {
        row.label->setText(row.text);
        row.edit->setAccessibleName(row.text);
        row.up->setAccessibleName(row.text + QStringLiteral(" +1"));
        row.down->setAccessibleName(row.text + QStringLiteral(" -1"));
    }
    Darstellung_Limit->setTitle(TextOr(texts_[143], "Darstellung Limitüberschreitung"));
    SetRadioTexts(LimitButtons, {TextOr(texts_[144], "Linie"), TextOr(texts_[145], "Fläche")});
    V50_Berechnung->setTitle(TextOr(texts_[146], "V50 - Berechnung"));
    SetRadioTexts(V50Buttons, {TextOr(texts_[147], "50%-Wert"), TextOr(texts_[148], "Mittelwert")});
    VGroupLow->setTitle(TextOr(texts_[153], "VGroupLow"));
    VGroupHigh->setTitle(TextOr(texts_[154], "VGroupHigh"));

    Select(LimitButtons, settings_.AboveLimitStyle != 0 ? 1 : 0);
    Select(V50Buttons, settings_.CalcV50 != 0 ? 1 : 0);
    Select(VGroupLowButtons, settings_.VLowIndex);
    Select(VGroupHighButtons, settings_.VHighIndex);
    ShowLengths();
    Edit1->setText(Q(settings_.DataPath));
    Edit2->setText(Q(settings_.CardPath));
}

void TEinstellungen::FormHide() {
    if (WriteSettings)
        WriteSettings();
}

void TEinstellungen::ShowLengths() {
    PKW_Laenge->setText(QString::number(settings_.Lengths.PkwMinLength));
    LKW_Laenge->setText(QString::number(settings_.Lengths.LkwMinLength));
    LZ_Laenge->setText(QString::number(settings_.Lengths.LzMinLength));
}

void TEinstellungen::LengthsChanged() {
    ShowLengths();
    MarkRebuildAfterLengthChange(data_);
}

void TEinstellungen::P_up_downUpClick() {
    PkwLengthUp(settings_.Lengths);
    LengthsChanged();
}

void TEinstellungen::P_up_downDownClick() {
    PkwLengthDown(settings_.Lengths);
    LengthsChanged();
}

void TEinstellungen::L_up_downUpClick() {
    LkwLengthUp(settings_.Lengths);
    LengthsChanged();
}

void TEinstellungen::L_up_downDownClick() {
    LkwLengthDown(settings_.Lengths);
    LengthsChanged();
}

void TEinstellungen::LZ_up_downUpClick() {
    LzLengthUp(settings_.Lengths);
    LengthsChanged();
}

void TEinstellungen::LZ_up_downDownClick() {
    LzLengthDown(settings_.Lengths);
    LengthsChanged();
}

void TEinstellungen::V50_BerechnungClick(int index) {
    settings_.CalcV50 = index;
}

void TEinstellungen::VGroupLowClick(int index) {
    settings_.VLowIndex = index;
    if (LowerPercentileChosen)
        LowerPercentileChosen(index);
}

void TEinstellungen::VGroupHighClick(int index) {
    settings_.VHighIndex = index;
    if (UpperPercentileChosen)
        UpperPercentileChosen(index);
}

void TEinstellungen::Darstellung_LimitClick(int index) {
    settings_.AboveLimitStyle = index;
    data_.LimitColourShift = LimitColourShiftOf(settings_);
}

QString TEinstellungen::ChooseFolder(const QString& current) {
    QString folder = dialogs_.ExistingDirectory(this, TextOr(texts_[152], "suchen"), current);
    if (folder.isEmpty())
        return {};
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

void TEinstellungen::Daten_PfadClick() {
    const QString folder = ChooseFolder(Edit1->text());
    if (!folder.isEmpty())
        Edit1->setText(folder);
}

void TEinstellungen::Card_PfadClick() {
    const QString folder = ChooseFolder(Edit2->text());
    if (!folder.isEmpty())
        Edit2->setText(folder);
}

void TEinstellungen::Edit1Change() {
    settings_.DataPath = Edit1->text().toStdString();
}

void TEinstellungen::Edit2Change() {
    settings_.CardPath = Edit2->text().toStdString();
}

void TEinstellungen::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TEinstellungen::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}
