#include "app/CommentDialog.h"

#include "base/Cp1252.h"
#include "base/LanguageTexts.h"
#include "data/MeasurementData.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CommentDialog::CommentDialog(MeasurementData& data, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), Data(data), Texts(texts) {
    setObjectName(QStringLiteral("commentDialog"));
    setWindowTitle(QStringLiteral("Kommentar ändern"));
    setModal(true);

    commentEdit = new QLineEdit(this);
    commentEdit->setObjectName(QStringLiteral("commentEdit"));
    // Wide enough for the whole comment.
    commentEdit->setMinimumWidth(std::max(377, commentEdit->fontMetrics().averageCharWidth() *
                                                   (static_cast<int>(MaxCommentLength) + 4)));
    commentEdit->setMaxLength(static_cast<int>(MaxCommentLength));
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setAccessibleName(QStringLiteral("OK"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(commentEdit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(okButton, &QPushButton::clicked, this, &CommentDialog::OkClick);
}

void CommentDialog::OnShow() {
    if (!Texts[37].empty())
        setWindowTitle(QString::fromStdString(Texts[37]));
    commentEdit->setAccessibleName(windowTitle());
    // An own file's comment comes padded with blanks; the edit shows it without them, so that
    // typing goes on after the text (saving pads it again).
    QString comment = QString::fromStdString(Data.Comment);
    while (comment.endsWith(QLatin1Char(' ')))
        comment.chop(1);
    commentEdit->setText(comment);
    commentEdit->setCursorPosition(static_cast<int>(comment.size()));
    commentEdit->cursorBackward(true, static_cast<int>(comment.size()));
    commentEdit->setFocus();
}

void CommentDialog::OkClick() {
    Data.Comment = Utf8Left(commentEdit->text().toStdString(), MaxCommentLength);
    accept();
}

void CommentDialog::showEvent(QShowEvent* event) {
    OnShow();
    QDialog::showEvent(event);
}
