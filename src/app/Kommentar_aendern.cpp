#include "app/Kommentar_aendern.h"

#include "data/Cp1252.h"
#include "data/MeasurementData.h"
#include "lang/LanguageTexts.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TKommentar_aen::TKommentar_aen(MeasurementData& data, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), Data(data), Texts(texts) {
    setObjectName(QStringLiteral("Kommentar_aen"));
    setWindowTitle(QStringLiteral("Kommentar ändern"));
    setModal(true);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // Wide enough for the whole comment.
    Edit1->setMinimumWidth(
        std::max(377, Edit1->fontMetrics().averageCharWidth() * (static_cast<int>(MaxCommentLength) + 4)));
    Edit1->setMaxLength(static_cast<int>(MaxCommentLength));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button1->setAccessibleName(QStringLiteral("OK"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &TKommentar_aen::Button1Click);
}

void TKommentar_aen::FormShow() {
    if (!Texts[37].empty())
        setWindowTitle(QString::fromStdString(Texts[37]));
    Edit1->setAccessibleName(windowTitle());
    // An own file's comment comes padded with blanks; the edit shows it without them, so that
    // typing goes on after the text (saving pads it again).
    QString comment = QString::fromStdString(Data.Comment);
    while (comment.endsWith(QLatin1Char(' ')))
        comment.chop(1);
    Edit1->setText(comment);
    Edit1->setCursorPosition(static_cast<int>(comment.size()));
    Edit1->cursorBackward(true, static_cast<int>(comment.size()));
    Edit1->setFocus();
}

void TKommentar_aen::Button1Click() {
    Data.Comment = Utf8Left(Edit1->text().toStdString(), MaxCommentLength);
    accept();
}

void TKommentar_aen::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}
