#include "app/Pictures.h"

#include "ui/DrawnIcon.h"

#include <QFont>
#include <QIconEngine>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>
#include <utility>

namespace {

QPen Outline(const QColor& colour, qreal width = 1.0) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

const QColor Ink(45, 55, 72);
const QColor Blue(38, 110, 196);
const QColor LightBlue(214, 232, 252);
const QColor Green(46, 150, 80);
const QColor Red(204, 36, 36);
const QColor Amber(236, 170, 40);

void DrawSheet(QPainter& p, const QRectF& r) {
    p.setPen(Outline(Ink));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.5, 1.5);
}

void DrawTextLines(QPainter& p, qreal left, qreal right, qreal top, int count, qreal step) {
    p.setPen(Outline(QColor(120, 132, 150), 1.2));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + i * step), QPointF(right, top + i * step));
}

void DrawOpen(QPainter& p) {
    QPainterPath back;
    back.moveTo(2.5, 6);
    back.lineTo(9, 6);
    back.lineTo(11, 8);
    back.lineTo(19.5, 8);
    back.lineTo(19.5, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    p.setPen(Outline(QColor(150, 100, 20)));
    p.setBrush(QColor(226, 170, 60));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(2.5, 19.5);
    front.lineTo(6, 11.5);
    front.lineTo(22.5, 11.5);
    front.lineTo(19.5, 19.5);
    front.closeSubpath();
    p.setBrush(QColor(250, 208, 110));
    p.drawPath(front);
}

void DrawSave(QPainter& p) {
    QPainterPath disk;
    disk.moveTo(3.5, 3.5);
    disk.lineTo(17.5, 3.5);
    disk.lineTo(20.5, 6.5);
    disk.lineTo(20.5, 20.5);
    disk.lineTo(3.5, 20.5);
    disk.closeSubpath();
    p.setPen(Outline(QColor(24, 60, 120)));
    p.setBrush(Blue);
    p.drawPath(disk);
    p.setBrush(QColor(220, 226, 236));
    p.drawRect(QRectF(7, 3.5, 9, 6));
    p.setBrush(QColor(60, 80, 110));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(12.5, 4.5, 2.2, 4));
    p.setPen(Outline(QColor(24, 60, 120)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 12.5, 12, 8));
    DrawTextLines(p, 8, 16, 15, 2, 2.5);
}

void DrawReadCard(QPainter& p) {
    QPainterPath card;
    card.moveTo(4.5, 2.5);
    card.lineTo(13, 2.5);
    card.lineTo(16.5, 6);
    card.lineTo(16.5, 17.5);
    card.lineTo(4.5, 17.5);
    card.closeSubpath();
    p.setPen(Outline(QColor(40, 44, 52)));
    p.setBrush(QColor(70, 78, 92));
    p.drawPath(card);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 190, 70));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(6.3 + i * 2.3, 3.8, 1.4, 3.2));
    p.setBrush(QColor(235, 238, 242));
    p.drawRect(QRectF(6.5, 9.5, 8, 6));
    // the arrow: the card's content comes into the program
    QPainterPath arrow;
    arrow.moveTo(18.5, 11);
    arrow.lineTo(21.5, 11);
    arrow.lineTo(21.5, 16.5);
    arrow.lineTo(23.5, 16.5);
    arrow.lineTo(20, 21.5);
    arrow.lineTo(16.5, 16.5);
    arrow.lineTo(18.5, 16.5);
    arrow.closeSubpath();
    p.setPen(Outline(QColor(20, 100, 50), 0.8));
    p.setBrush(Green);
    p.drawPath(arrow);
}

void DrawFilter(QPainter& p) {
    QPainterPath funnel;
    funnel.moveTo(3, 4);
    funnel.lineTo(21, 4);
    funnel.lineTo(14, 12.5);
    funnel.lineTo(14, 20);
    funnel.lineTo(10, 17.5);
    funnel.lineTo(10, 12.5);
    funnel.closeSubpath();
    QLinearGradient fill(3, 4, 21, 4);
    fill.setColorAt(0, QColor(110, 170, 235));
    fill.setColorAt(1, Blue);
    p.setPen(Outline(QColor(24, 60, 120)));
    p.setBrush(fill);
    p.drawPath(funnel);
}

void DrawCarGlyph(QPainter& p, const QRectF& r, const QColor& body) {
    const qreal w = r.width();
    const qreal h = r.height();
    QPainterPath car;
    car.moveTo(r.left(), r.top() + h * 0.75);
    car.lineTo(r.left(), r.top() + h * 0.45);
    car.lineTo(r.left() + w * 0.2, r.top() + h * 0.4);
    car.lineTo(r.left() + w * 0.35, r.top() + h * 0.1);
    car.lineTo(r.left() + w * 0.72, r.top() + h * 0.1);
    car.lineTo(r.left() + w * 0.85, r.top() + h * 0.4);
    car.lineTo(r.right(), r.top() + h * 0.48);
    car.lineTo(r.right(), r.top() + h * 0.75);
    car.closeSubpath();
    p.setPen(Outline(body.darker(160), 0.8));
    p.setBrush(body);
    p.drawPath(car);
    p.setBrush(Ink);
    p.setPen(Qt::NoPen);
    const qreal wheel = h * 0.32;
    p.drawEllipse(QPointF(r.left() + w * 0.25, r.top() + h * 0.78), wheel, wheel);
    p.drawEllipse(QPointF(r.left() + w * 0.75, r.top() + h * 0.78), wheel, wheel);
}

void DrawClockGlyph(QPainter& p, const QPointF& centre, qreal radius) {
    p.setPen(Outline(QColor(24, 60, 120), 1.0));
    p.setBrush(QColor(255, 250, 225));
    p.drawEllipse(centre, radius, radius);
    p.setPen(Outline(Ink, 1.2));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.65));
    p.drawLine(centre, centre + QPointF(radius * 0.5, 0));
}

void DrawVehicleList(QPainter& p) {
    DrawSheet(p, QRectF(3.5, 2.5, 15, 19));
    DrawTextLines(p, 6, 16, 6, 5, 3);
    DrawCarGlyph(p, QRectF(11.5, 14.5, 12, 7), Red);
}

void DrawIntervalList(QPainter& p) {
    DrawSheet(p, QRectF(3.5, 2.5, 15, 19));
    DrawTextLines(p, 6, 16, 6, 5, 3);
    DrawClockGlyph(p, QPointF(17.5, 17), 5.5);
}

void DrawChart(QPainter& p) {
    p.setPen(Outline(Ink, 1.2));
    p.drawLine(QPointF(3, 3), QPointF(3, 21));
    p.drawLine(QPointF(3, 21), QPointF(22, 21));
    const qreal heights[] = {7, 12, 16, 10};
    const QColor colours[] = {Blue, Green, Amber, Red};
    for (int i = 0; i < 4; ++i) {
        p.setPen(Outline(colours[i].darker(150), 0.8));
        p.setBrush(colours[i]);
        p.drawRect(QRectF(5 + i * 4.3, 20.5 - heights[i], 3.2, heights[i]));
    }
}

void DrawSummary(QPainter& p) {
    DrawSheet(p, QRectF(2.5, 3.5, 19, 17));
    p.setPen(Outline(QColor(120, 132, 150), 0.9));
    for (qreal y : {8.0, 12.0, 16.0})
        p.drawLine(QPointF(2.5, y), QPointF(21.5, y));
    p.drawLine(QPointF(10, 3.5), QPointF(10, 20.5));
    p.setPen(Outline(Blue, 1.6));
    QPainterPath sigma;
    sigma.moveTo(8.3, 9.4);
    sigma.lineTo(4.5, 9.4);
    sigma.lineTo(6.6, 12.5);
    sigma.lineTo(4.5, 15.6);
    sigma.lineTo(8.3, 15.6);
    p.setBrush(Qt::NoBrush);
    p.drawPath(sigma);
}

void DrawPrint(QPainter& p) {
    p.setPen(Outline(Ink));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 2.5, 11, 7));
    p.setBrush(QColor(150, 160, 175));
    p.drawRoundedRect(QRectF(2.5, 8.5, 19, 9), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6.5, 14.5, 11, 7));
    DrawTextLines(p, 8.5, 15.5, 17, 2, 2.3);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawEllipse(QPointF(18.5, 11.3), 1, 1);
}

void DrawAbout(QPainter& p) {
    QRadialGradient fill(QPointF(9, 8), 14);
    fill.setColorAt(0, QColor(100, 165, 235));
    fill.setColorAt(1, Blue);
    p.setPen(Outline(QColor(24, 60, 120)));
    p.setBrush(fill);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 7.3), 1.6, 1.6);
    p.drawRoundedRect(QRectF(10.6, 10.2, 2.8, 7.8), 1, 1);
}

void DrawLanguage(QPainter& p) {
    p.setPen(Outline(QColor(24, 90, 60)));
    p.setBrush(QColor(120, 200, 150));
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(QColor(24, 90, 60), 0.9));
    p.drawEllipse(QPointF(12, 12), 4.2, 9.5);
    p.drawLine(QPointF(12, 2.5), QPointF(12, 21.5));
    p.drawLine(QPointF(2.5, 12), QPointF(21.5, 12));
    p.drawLine(QPointF(4, 7), QPointF(20, 7));
    p.drawLine(QPointF(4, 17), QPointF(20, 17));
}

// Text centred in a box of the 24-unit picture, at a pixel size of the picture's units.
void DrawCentredText(QPainter& p, const QRectF& box, const QString& text, qreal size, const QColor& colour) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(100);
    // Fonts are laid out at a large size and scaled down, so that small pictures keep exact shapes.
    p.save();
    p.translate(box.center());
    p.scale(size / 100.0, size / 100.0);
    p.setFont(font);
    p.setPen(colour);
    const QRectF big(-box.width() * 50 / size, -box.height() * 50 / size, box.width() * 100 / size,
                     box.height() * 100 / size);
    p.drawText(big, Qt::AlignCenter, text);
    p.restore();
}

void DrawInterval(QPainter& p, int minutes) {
    p.setPen(Outline(QColor(24, 60, 120), 1.0));
    p.setBrush(LightBlue);
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    // the minute ticks of a clock face
    p.setPen(Outline(QColor(90, 120, 170), 0.8));
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.translate(12, 12);
        p.rotate(30.0 * i);
        p.drawLine(QPointF(0, -10.3), QPointF(0, -8.8));
        p.restore();
    }
    const QString text = QString::number(minutes) + QChar(u'\'');
    DrawCentredText(p, QRectF(3, 5, 18, 14), text, minutes < 10 ? 11.5 : 9.5, QColor(20, 40, 90));
}

void DrawSpeedLimit(QPainter& p, int limit, bool on) {
    const QColor ring = on ? Red : QColor(160, 160, 160);
    const QColor text = on ? QColor(20, 20, 20) : QColor(130, 130, 130);
    p.setPen(Outline(on ? QColor(130, 20, 20) : QColor(120, 120, 120), 0.6));
    p.setBrush(ring);
    p.drawEllipse(QPointF(12, 12), 11, 11);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? Qt::white : QColor(246, 246, 246));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    DrawCentredText(p, QRectF(4, 6, 16, 12), QString::number(limit), limit >= 100 ? 7.6 : 10.0, text);
}

void DrawBannerImpl(QPainter& p, const QRectF& target, bool withTitle) {
    p.save();
    p.translate(target.topLeft());
    p.scale(target.width() / BannerWidth, target.height() / BannerHeight);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = BannerWidth;
    const qreal h = BannerHeight;
    const qreal horizon = 122;

    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(150, 196, 238));
    sky.setColorAt(1, QColor(232, 242, 252));
    p.fillRect(QRectF(0, 0, w, horizon), sky);

    // hills behind the road
    QPainterPath hills;
    hills.moveTo(0, horizon);
    hills.cubicTo(90, 96, 170, 112, 240, 104);
    hills.cubicTo(320, 94, 380, 108, w, 98);
    hills.lineTo(w, horizon);
    hills.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(176, 206, 160));
    p.drawPath(hills);

    QLinearGradient meadow(0, horizon, 0, h);
    meadow.setColorAt(0, QColor(208, 228, 190));
    meadow.setColorAt(1, QColor(238, 244, 230));
    p.fillRect(QRectF(0, horizon, w, h - horizon), meadow);

    // the road runs from the lower right to the horizon
    const QPointF vanish(330, horizon);
    QPainterPath road;
    road.moveTo(vanish.x() - 4, horizon);
    road.lineTo(vanish.x() + 4, horizon);
    road.lineTo(w + 60, h);
    road.lineTo(230, h);
    road.closeSubpath();
    p.setBrush(QColor(110, 116, 126));
    p.drawPath(road);
    p.setPen(QPen(QColor(245, 245, 245), 2));
    p.drawLine(QPointF(vanish.x() - 4, horizon), QPointF(230, h));
    p.drawLine(QPointF(vanish.x() + 4, horizon), QPointF(w + 60, h));
    // dashed centre line, dashes growing towards the viewer
    QPen dash(QColor(250, 250, 250), 1);
    p.setPen(dash);
    for (int i = 0; i < 7; ++i) {
        const qreal t0 = 0.05 + i * 0.14;
        const qreal t1 = t0 + 0.07;
        const QPointF a = vanish + (QPointF(w - 70 + 60, h) - vanish) * t0 * t0;
        const QPointF b = vanish + (QPointF(w - 70 + 60, h) - vanish) * t1 * t1;
        QPen thick = dash;
        thick.setWidthF(1 + 4 * t1);
        p.setPen(thick);
        p.drawLine(a, b);
    }
    // the counting device at the roadside
    p.setPen(QPen(QColor(60, 66, 76), 3));
    p.drawLine(QPointF(232, 240), QPointF(232, 184));
    p.setPen(QPen(QColor(40, 44, 52), 1));
    p.setBrush(QColor(250, 196, 60));
    p.drawRoundedRect(QRectF(222, 170, 20, 16), 2, 2);
    p.setBrush(QColor(40, 44, 52));
    p.drawEllipse(QPointF(237, 178), 3, 3);
    // its beam across the road
    QLinearGradient beam(240, 178, 320, 196);
    beam.setColorAt(0, QColor(255, 230, 120, 150));
    beam.setColorAt(1, QColor(255, 230, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(beam);
    QPolygonF cone;
    cone << QPointF(240, 176) << QPointF(330, 178) << QPointF(318, 214);
    p.drawPolygon(cone);

    // a count per hour as bars, the way the program shows it
    const int counts[] = {8, 5, 4, 9, 22, 38, 30, 24, 26, 28, 31, 36, 27};
    const qreal baseY = 78;
    for (int i = 0; i < 13; ++i) {
        const qreal barHeight = counts[i] * 1.35;
        QLinearGradient bar(0, baseY - barHeight, 0, baseY);
        const QColor top = counts[i] > 30 ? QColor(220, 70, 60) : QColor(40, 112, 200);
        bar.setColorAt(0, top.lighter(130));
        bar.setColorAt(1, top);
        p.setBrush(bar);
        p.setPen(QPen(top.darker(140), 0.8));
        p.drawRect(QRectF(30 + i * 13, baseY - barHeight, 9, barHeight));
    }
    p.setPen(QPen(QColor(50, 60, 80), 1.2));
    p.drawLine(QPointF(26, baseY + 0.5), QPointF(204, baseY + 0.5));

    if (withTitle) {
        QFont title(QStringLiteral("Liberation Sans"));
        title.setStyleHint(QFont::SansSerif);
        title.setBold(true);
        title.setPixelSize(34);
        p.setFont(title);
        p.setPen(QColor(255, 255, 255, 200));
        p.drawText(QPointF(31, 129), QStringLiteral("Korvelan II"));
        p.setPen(QColor(20, 40, 90));
        p.drawText(QPointF(30, 128), QStringLiteral("Korvelan II"));
        QFont sub = title;
        sub.setBold(false);
        sub.setPixelSize(14);
        p.setFont(sub);
        p.setPen(QColor(40, 56, 90));
        p.drawText(QPointF(31, 150), QStringLiteral("Verkehrszählung  \u00b7  Auswertung"));
    }
    p.setPen(QPen(QColor(60, 80, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    p.restore();
}

} // namespace

QIcon ToolIcon(ToolPicture picture) {
    switch (picture) {
    case ToolPicture::Open:
        return MakeIcon(QStringLiteral("open"), DrawOpen);
    case ToolPicture::Save:
        return MakeIcon(QStringLiteral("save"), DrawSave);
    case ToolPicture::ReadCard:
        return MakeIcon(QStringLiteral("card"), DrawReadCard);
    case ToolPicture::Filter:
        return MakeIcon(QStringLiteral("filter"), DrawFilter);
    case ToolPicture::VehicleList:
        return MakeIcon(QStringLiteral("vehicles"), DrawVehicleList);
    case ToolPicture::IntervalList:
        return MakeIcon(QStringLiteral("intervals"), DrawIntervalList);
    case ToolPicture::Chart:
        return MakeIcon(QStringLiteral("chart"), DrawChart);
    case ToolPicture::Summary:
        return MakeIcon(QStringLiteral("summary"), DrawSummary);
    case ToolPicture::Print:
        return MakeIcon(QStringLiteral("print"), DrawPrint);
    case ToolPicture::About:
        return MakeIcon(QStringLiteral("about"), DrawAbout);
    case ToolPicture::Language:
        return MakeIcon(QStringLiteral("language"), DrawLanguage);
    }
    return {};
}

QIcon IntervalIcon(int intervalFactor) {
    const int minutes = 5 * intervalFactor;
    return MakeIcon(QStringLiteral("interval-%1").arg(minutes),
                    [minutes](QPainter& p) { DrawInterval(p, minutes); });
}

QIcon SpeedLimitIcon(int limitIndex, bool displayOn) {
    const int limit = 10 * limitIndex;
    return MakeIcon(QStringLiteral("limit-%1-%2").arg(limit).arg(displayOn ? "on" : "off"),
                    [limit, displayOn](QPainter& p) { DrawSpeedLimit(p, limit, displayOn); });
}

void DrawBanner(QPainter& painter, const QRectF& target, bool withTitle) {
    DrawBannerImpl(painter, target, withTitle);
}

QPixmap BannerPixmap(qreal devicePixelRatio, bool withTitle) {
    QPixmap pixmap(QSize(BannerWidth, BannerHeight) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    DrawBanner(p, QRectF(0, 0, BannerWidth, BannerHeight), withTitle);
    return pixmap;
}

QFont ListFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}
