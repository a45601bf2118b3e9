#include "ui/DrawnIcon.h"

#include <QIconEngine>
#include <QImage>
#include <QPixmap>

#include <utility>

QImage RenderDrawnPicture(const DrawFunction& draw, QSize deviceSize, QIcon::Mode mode) {
    QImage image(deviceSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(deviceSize.width() / DrawnIconBox, deviceSize.height() / DrawnIconBox);
        draw(p);
    }
    if (mode == QIcon::Disabled) {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = QColor::fromRgba(qUnpremultiply(line[x]));
                const int grey = 150 + qGray(c.rgb()) * 100 / 255;
                line[x] = qPremultiply(qRgba(grey, grey, grey, c.alpha() * 2 / 3));
            }
        }
    }
    return image;
}

namespace {
class DrawnIconEngine : public QIconEngine {
public:
    DrawnIconEngine(QString key, DrawFunction draw) : key_(std::move(key)), draw_(std::move(draw)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawImage(QRectF(rect),
                           RenderDrawnPicture(draw_, (QSizeF(rect.size()) * dpr).toSize(), mode));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State, qreal scale) override {
        if (size.isEmpty())
            return {};
        QPixmap pixmap = QPixmap::fromImage(RenderDrawnPicture(draw_, (QSizeF(size) * scale).toSize(), mode));
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new DrawnIconEngine(key_, draw_); }
    QString key() const override { return key_; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(24, 24)}; }

private:
    QString key_;
    DrawFunction draw_;
};
} // namespace

QIcon MakeIcon(const QString& key, DrawFunction draw) {
    return QIcon(new DrawnIconEngine(key, std::move(draw)));
}
