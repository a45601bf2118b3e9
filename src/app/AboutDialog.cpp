#include "app/AboutDialog.h"

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

AboutDialog::AboutDialog(const std::filesystem::path& programDirectory, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);
    setFixedSize(BannerWidth, BannerHeight);

    const auto logo = ReadLogoText(FindShippedFile(programDirectory, "logo.txt"));
    productNameLabel =
        TransparentLabel(this, "productNameLabel", PixelFont(QStringLiteral("Arial"), 21, true), {30, 96});
    addressLabel = TransparentLabel(this, "addressLabel", PixelFont(QStringLiteral("Arial"), 13), {30, 112});
    revisionLabel =
        TransparentLabel(this, "revisionLabel", PixelFont(QStringLiteral("MS Sans Serif"), 13), {321, 24});
    if (logo) {
        productNameLabel->setText(QString::fromStdString(logo->Name));
        addressLabel->setText(QString::fromStdString(logo->Address));
    }
    revisionLabel->setText(QString::fromStdString(RevisionText()));
    for (QLabel* label : {productNameLabel, addressLabel, revisionLabel}) {
        label->adjustSize();
        label->setAccessibleName(label->text());
    }

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setAccessibleName(QStringLiteral("OK"));
    okButton->setGeometry(312, 224, 121, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawBanner(p, QRectF(rect()), false);
}
