#include "app/SplashScreen.h"

#include "app/Pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

SplashScreen::SplashScreen(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(BannerWidth, BannerHeight);
    setAccessibleName(QStringLiteral("Korvelan II"));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashScreen::ShowForAWhile(int milliseconds) {
    QTimer::singleShot(milliseconds, this, &QDialog::accept);
    exec();
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawBanner(p, QRectF(rect()), true);
}
