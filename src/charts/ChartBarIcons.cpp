#include "charts/ChartBarIcons.h"

#include "ui/DrawnIcon.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>
#include <utility>

namespace {

// Every picture is drawn in a 24 x 24 box and scaled to the size asked for.
using Drawing = DrawFunction;

const QColor PkwColour(255, 96, 96);
const QColor LkwColour(240, 240, 128);
const QColor LzColour(128, 176, 255);
const QColor HeavyColour(144, 240, 128);
const QColor Ink(40, 40, 40);

void Bar(QPainter& p, QRectF r, const QColor& fill) {
    p.setPen(QPen(fill.darker(170), 1.0));
    p.setBrush(fill);
    p.drawRect(r);
}

// A vehicle side view: a cab in front, a body behind it, wheels below.
void Vehicle(QPainter& p, qreal x, qreal width, const QColor& fill, bool truck) {
    p.setPen(QPen(Ink, 1.0));
    p.setBrush(fill);
    QPainterPath body;
    if (truck) {
        body.addRect(x, 6.5, width - 6, 10);
        body.addRoundedRect(x + width - 6, 9.5, 6, 7, 1.5, 1.5);
    } else {
        body.moveTo(x, 16.5);
        body.lineTo(x, 12.5);
        body.lineTo(x + width * 0.25, 12);
        body.lineTo(x + width * 0.38, 8);
        body.lineTo(x + width * 0.72, 8);
        body.lineTo(x + width * 0.85, 12);
        body.lineTo(x + width, 12.5);
        body.lineTo(x + width, 16.5);
        body.closeSubpath();
    }
    p.drawPath(body.simplified());
    p.setBrush(Ink);
    p.drawEllipse(QPointF(x + width * 0.22, 17.5), 2.2, 2.2);
    p.drawEllipse(QPointF(x + width * 0.8, 17.5), 2.2, 2.2);
}

void Arrow(QPainter& p, QPointF from, QPointF to, qreal head = 4) {
    p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1e-9, std::hypot(to.x() - from.x(), to.y() - from.y()));
    const QPointF n(-d.y(), d.x());
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({to + d * 1.5, to - d * head + n * head * 0.7, to - d * head - n * head * 0.7}));
}

// Paging: triangles pointing left or right, a stop bar for the big step.
void Paging(QPainter& p, int triangles, bool forward, bool stop) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 170));
    const qreal w = 7;
    qreal x = 12 - (triangles * w + (stop ? 3 : 0)) / 2;
    auto triangle = [&](qreal left) {
        if (forward)
            p.drawPolygon(QPolygonF({QPointF(left, 6), QPointF(left + w, 12), QPointF(left, 18)}));
        else
            p.drawPolygon(QPolygonF({QPointF(left + w, 6), QPointF(left, 12), QPointF(left + w, 18)}));
    };
    if (stop && !forward) {
        p.drawRect(QRectF(x, 6, 2, 12));
        x += 3;
    }
    for (int i = 0; i < triangles; ++i, x += w)
        triangle(x);
    if (stop && forward)
        p.drawRect(QRectF(x + 1, 6, 2, 12));
}

void BarChartGlyph(QPainter& p, const QList<qreal>& heights, const QColor& fill) {
    p.setPen(QPen(Ink, 1.0));
    p.drawLine(QPointF(2.5, 3), QPointF(2.5, 21.5));
    p.drawLine(QPointF(2.5, 21.5), QPointF(22, 21.5));
    const qreal w = 18.0 / heights.size();
    for (int i = 0; i < heights.size(); ++i)
        Bar(p, QRectF(4.5 + i * w, 21 - heights[i], w - 1.2, heights[i]), fill);
}

} // namespace

QIcon ChartBarIcon(ChartBarPicture picture) {
    switch (picture) {
    case ChartBarPicture::AllVehicles:
        return MakeIcon("all", [](QPainter& p) {
            for (int i = 0; i < 3; ++i) {
                const qreal x = 3 + i * 6.5;
                const qreal scale = i == 1 ? 1.0 : 0.7;
                Bar(p, QRectF(x, 21 - 4 * scale, 5, 4 * scale), LzColour);
                Bar(p, QRectF(x, 21 - 8 * scale, 5, 4 * scale), LkwColour);
                Bar(p, QRectF(x, 21 - 18 * scale, 5, 10 * scale), PkwColour);
            }
        });
    case ChartBarPicture::SumOfAll:
        return MakeIcon("sum", [](QPainter& p) {
            Bar(p, QRectF(4, 5, 16, 16), Qt::white);
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(13);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Ink);
            p.drawText(QRectF(4, 5, 16, 16), Qt::AlignCenter, QString(QChar(0x03A3)));
        });
    case ChartBarPicture::Pkw:
        return MakeIcon("pkw", [](QPainter& p) { Vehicle(p, 2, 20, PkwColour, false); });
    case ChartBarPicture::Lkw:
        return MakeIcon("lkw", [](QPainter& p) { Vehicle(p, 2, 20, LkwColour, true); });
    case ChartBarPicture::Lz:
        return MakeIcon("lz", [](QPainter& p) {
            Vehicle(p, 1, 7.5, LzColour, false);
            p.setPen(QPen(Ink, 1.0));
            p.setBrush(LzColour);
            p.drawRect(QRectF(1, 6.5, 7.5, 10));
            p.drawLine(QPointF(8.5, 15), QPointF(10, 15));
            Vehicle(p, 10, 13, LzColour, true);
        });
    case ChartBarPicture::LkwAndLz:
        return MakeIcon("heavy", [](QPainter& p) {
            Vehicle(p, 1, 13, HeavyColour, true);
            p.setPen(QPen(Ink, 2.0));
            p.drawLine(QPointF(18.5, 6), QPointF(18.5, 14));
            p.drawLine(QPointF(14.5, 10), QPointF(22.5, 10));
        });
    case ChartBarPicture::Speed:
        return MakeIcon("speed", [](QPainter& p) { BarChartGlyph(p, {3, 7, 13, 17, 12, 6, 2}, Qt::white); });
    case ChartBarPicture::Gap:
        return MakeIcon("gap", [](QPainter& p) {
            p.setPen(QPen(Ink, 1.5));
            p.drawLine(QPointF(3, 5), QPointF(3, 19));
            p.drawLine(QPointF(21, 5), QPointF(21, 19));
            Arrow(p, QPointF(12, 12), QPointF(4.5, 12), 3.5);
            Arrow(p, QPointF(12, 12), QPointF(19.5, 12), 3.5);
        });
    case ChartBarPicture::Count:
        return MakeIcon("count", [](QPainter& p) { BarChartGlyph(p, {8, 12, 16, 10, 14, 6}, Qt::white); });
    case ChartBarPicture::Length:
        return MakeIcon("length", [](QPainter& p) {
            p.setPen(QPen(Ink, 1.0));
            p.setBrush(QColor(250, 220, 120));
            p.drawRect(QRectF(2, 9, 20, 7));
            for (int i = 1; i < 8; ++i)
                p.drawLine(QPointF(2 + i * 2.5, 9), QPointF(2 + i * 2.5, i % 2 ? 11.5 : 13));
        });
    case ChartBarPicture::DirectionBoth:
        return MakeIcon("both", [](QPainter& p) {
            Arrow(p, QPointF(3, 8), QPointF(19, 8));
            Arrow(p, QPointF(21, 16), QPointF(5, 16));
        });
    case ChartBarPicture::Direction1:
        return MakeIcon("dir1", [](QPainter& p) { Arrow(p, QPointF(3, 12), QPointF(19, 12), 5); });
    case ChartBarPicture::Direction2:
        return MakeIcon("dir2", [](QPainter& p) { Arrow(p, QPointF(21, 12), QPointF(5, 12), 5); });
    case ChartBarPicture::Back24:
        return MakeIcon("back24", [](QPainter& p) { Paging(p, 2, false, true); });
    case ChartBarPicture::Back6:
        return MakeIcon("back6", [](QPainter& p) { Paging(p, 2, false, false); });
    case ChartBarPicture::Back1:
        return MakeIcon("back1", [](QPainter& p) { Paging(p, 1, false, false); });
    case ChartBarPicture::Forward1:
        return MakeIcon("fwd1", [](QPainter& p) { Paging(p, 1, true, false); });
    case ChartBarPicture::Forward6:
        return MakeIcon("fwd6", [](QPainter& p) { Paging(p, 2, true, false); });
    case ChartBarPicture::Forward24:
        return MakeIcon("fwd24", [](QPainter& p) { Paging(p, 2, true, true); });
    }
    return {};
}

QIcon ChartBarTextIcon(const QString& text) {
    return MakeIcon("text:" + text, [text](QPainter& p) {
        p.setPen(QPen(Ink, 1.0));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(1, 4, 22, 16), 3, 3);
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        font.setPixelSize(11);
        const qreal width = QFontMetricsF(font).horizontalAdvance(text);
        if (width > 19)
            font.setPixelSize(std::max(6, static_cast<int>(11 * 19 / width)));
        p.setFont(font);
        p.drawText(QRectF(1, 4, 22, 16), Qt::AlignCenter, text);
    });
}
