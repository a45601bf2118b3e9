#include "app/Splash.h"

#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

TSplash::TSplash(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(BannerWidth, BannerHeight);
    setAccessibleName(QStringLiteral("Korvelan II"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TSplash::ShowForAWhile(int milliseconds) {
    QTimer::singleShot(milliseconds, this, &QDialog::accept);
    exec();
}

void TSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawBanner(p, QRectF(rect()), true);
}
