#include "app/Info.h"

#include "app/Logo.h"
#include "app/Pictures.h"
#include "lang/ShippedFiles.h"

#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* TransparentLabel(QWidget* parent, const char* name, const QFont& font, QPoint position) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    label->move(position);
    return label;
}

QFont PixelFont(const QString& family, int pixelSize, bool bold = false) {
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

} // namespace

TfrmAbout::TfrmAbout(const std::filesystem::path& programDirectory, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);
    setFixedSize(BannerWidth, BannerHeight);

    const auto logo = ReadLogoText(FindShippedFile(programDirectory, "logo.txt"));
    ProductName =
        TransparentLabel(this, "ProductName", PixelFont(QStringLiteral("Arial"), 21, true), {30, 96});
    Comments = TransparentLabel(this, "Comments", PixelFont(QStringLiteral("Arial"), 13), {30, 112});
    Version = TransparentLabel(this, "Version", PixelFont(QStringLiteral("MS Sans Serif"), 13), {321, 24});
    if (logo) {
        ProductName->setText(QString::fromStdString(logo->Name));
        Comments->setText(QString::fromStdString(logo->Address));
    }
    Version->setText(QString::fromStdString(RevisionText()));
    for (QLabel* label : {ProductName, Comments, Version}) {
        label->adjustSize();
        label->setAccessibleName(label->text());
    }

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setAccessibleName(QStringLiteral("OK"));
    OKButton->setGeometry(312, 224, 121, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmAbout::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawBanner(p, QRectF(rect()), false);
}
