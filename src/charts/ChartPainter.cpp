#include "charts/ChartPainter.h"

#include "charts/TextAnchor.h"
#include "data/TextFormat.h"
#include "ui/QtText.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

// Sizes in screen pixels at a unit of 1.
constexpr double Margin = 8;
constexpr double Gap = 4;
constexpr double TickLength = 4;
constexpr double FloorBand = 5; // the bottom wall seen edge-on in 2D
constexpr double BarShare = 0.7;
// In 3D a bar takes the middle of the depth, from 15 % to 85 % of it.
constexpr double BarDepthFront = 0.15;
constexpr double BarDepthBack = 0.85;

const QColor PanelColour(212, 212, 212);
const QColor WallColour(128, 128, 128);
const QColor SideWallColour(196, 196, 196);
const QColor BottomWallColour(255, 255, 128);
const QColor GridColour(0, 0, 0, 70);
const QColor AxisColour(60, 60, 60);
const QColor LimitColour(255, 0, 0);
const QColor LimitEdgeColour(255, 255, 255);
constexpr double LimitLineWidth = 2;
constexpr double LimitEdgeWidth = 1.5;

QColor ToQColor(const Rgb& c) {
    return QColor(c.R, c.G, c.B);
}

bool IsBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

QFont ChartFont(const char* family, double points, double unit) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::SansSerif);
    // Points as on a 96 dpi screen, then scaled to the device: pixel sizes keep every device alike.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0 * unit))));
    return font;
}

QFontMetricsF Metrics(const QFont& font, const QPaintDevice* device) {
    return device ? QFontMetricsF(font, device) : QFontMetricsF(font);
}

QString TickText(double value) {
    const double whole = std::round(value);
    if (std::abs(value - whole) < 1e-9)
        return QString::fromStdString(IntToStr(static_cast<long long>(whole)));
    return QString::fromStdString(FloatToStr(value));
}

// Grid values from 0 to max with a 1-2-2.5-5 step; a step that divides max is preferred.
std::vector<double> NiceTicks(double max, int maxCount) {
    maxCount = std::max(1, maxCount);
    std::vector<double> steps;
    const int e0 = static_cast<int>(std::floor(std::log10(max / maxCount))) - 1;
    for (int e = e0; e <= e0 + 3; ++e)
        for (double m : {1.0, 2.0, 2.5, 5.0}) {
            const double step = m * std::pow(10.0, e);
            if ((m == 2.5 && step < 10) || (step < 1 && max >= 1))
                continue; // counts and speeds are whole numbers
            steps.push_back(step);
        }
    double chosen = 0;
    for (double step : steps)
        if (max / step <= maxCount + 1e-9 && std::abs(std::remainder(max, step)) < step * 1e-9) {
            chosen = step;
            break;
        }
    if (chosen == 0)
        for (double step : steps)
            if (max / step <= maxCount + 1e-9) {
                chosen = step;
                break;
            }
    if (chosen == 0)
        chosen = max;
    std::vector<double> ticks;
    for (int i = 0; i * chosen <= max * (1 + 1e-9); ++i)
        ticks.push_back(i * chosen);
    if (max - ticks.back() >= 0.6 * chosen)
        ticks.push_back(max);
    return ticks;
}

// Side by side when the widest label fits its slot; else upright when that fits better (and the
// labels are not too long for it); else every Step-th label.
LabelRowFit FitLabelRow(const std::vector<double>& widths, double textHeight, double slot,
                        double maxUprightExtent) {
    LabelRowFit fit;
    const double widest = widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
    fit.Extent = textHeight;
    if (widest <= 0 || slot <= 0)
        return fit;
    const double spacing = 0.5 * textHeight;
    const int sideBySide = std::max(1, static_cast<int>(std::ceil((widest + spacing) / slot)));
    if (sideBySide == 1)
        return fit;
    const int upright = std::max(1, static_cast<int>(std::ceil((textHeight + 0.3 * spacing) / slot)));
    if (upright < sideBySide && widest <= maxUprightExtent) {
        fit.Upright = true;
        fit.Step = upright;
        fit.Extent = widest;
    } else {
        fit.Step = sideBySide;
    }
    return fit;
}

// The box of a label centred on x; bottomAnchored: the box ends at y (labels above something),
// else it begins at y (labels below the axis).
QRectF LabelBox(const LabelRowFit& fit, double width, double height, double x, double y,
                bool bottomAnchored) {
    const double w = fit.Upright ? height : width;
    const double h = fit.Upright ? width : height;
    return QRectF(x - w / 2, bottomAnchored ? y - h : y, w, h);
}

// Tells a device that places text itself (a metafile) where the next texts are anchored.
void Anchor(QPainter& p, TextAnchor anchor) {
    if (auto* device = dynamic_cast<TextAnchoring*>(p.device()))
        device->SetTextAnchor(anchor);
}

// A label side by side is centred on its bar; an upright one begins at its bar.
void DrawLabel(QPainter& p, const PlacedLabel& label, bool upright, const QFontMetricsF& fm) {
    Anchor(p, upright ? TextAnchor::Left : TextAnchor::Centre);
    if (!upright) {
        p.drawText(QPointF(label.Box.left(), label.Box.top() + fm.ascent()), label.Text);
        return;
    }
    p.save();
    p.translate(label.Box.left(), label.Box.bottom());
    p.rotate(-90);
    p.drawText(QPointF(0, fm.ascent()), label.Text);
    p.restore();
}

// Draws text turned by angle (-90: reading upwards, 90: reading downwards) centred in box.
void DrawTurnedText(QPainter& p, const QRectF& box, const QString& text, const QFontMetricsF& fm, int angle) {
    const QString shown = fm.elidedText(text, Qt::ElideRight, box.height());
    const double width = fm.horizontalAdvance(shown);
    Anchor(p, TextAnchor::Centre);
    p.save();
    if (angle < 0) {
        p.translate(box.left(), box.center().y() + width / 2);
        p.rotate(-90);
    } else {
        p.translate(box.right(), box.center().y() - width / 2);
        p.rotate(90);
    }
    p.drawText(QPointF(0, fm.ascent()), shown);
    p.restore();
}

QColor Blend(const QColor& a, const QColor& b, double share) {
    return QColor::fromRgbF(static_cast<float>(a.redF() * (1 - share) + b.redF() * share),
                            static_cast<float>(a.greenF() * (1 - share) + b.greenF() * share),
                            static_cast<float>(a.blueF() * (1 - share) + b.blueF() * share));
}

} // namespace

ChartPainter::ChartPainter(const ChartDescription& chart, const ChartAppearance& appearance)
    : chart_(chart), appearance_(appearance) {}

int ChartPainter::BarCount() const {
    std::size_t n = chart_.Labels.size();
    for (const auto& series : chart_.Series)
        n = std::max(n, series.Values.size());
    return static_cast<int>(n);
}

double ChartPainter::SeriesValue(int series, int bar) const {
    if (series < 0 || series >= static_cast<int>(chart_.Series.size()) || bar < 0)
        return 0;
    const auto& values = chart_.Series[static_cast<std::size_t>(series)].Values;
    if (bar >= static_cast<int>(values.size()))
        return 0;
    return std::max(0.0, Finite(values[static_cast<std::size_t>(bar)]));
}

double ChartPainter::BarTotal(int bar) const {
    double total = 0;
    for (int s = 0; s < static_cast<int>(chart_.Series.size()); ++s)
        total = chart_.Arrangement == BarArrangement::SideBySide ? std::max(total, SeriesValue(s, bar))
                                                                 : total + SeriesValue(s, bar);
    return total;
}

double ChartPainter::ValueY(const ChartLayout& l, double value) const {
    const double share = std::clamp(value / l.AxisMax, 0.0, 1.0);
    return l.Plot.bottom() - share * l.Plot.height();
}

QRectF ChartPainter::BarFront(const ChartLayout& l, int bar, int series) const {
    if (chart_.Arrangement == BarArrangement::SideBySide) {
        const double value = SeriesValue(series, bar);
        const double y0 = ValueY(l, 0);
        const double y1 = ValueY(l, value);
        if (value <= 0 || y0 - y1 <= 0)
            return {};
        const double width = l.BarWidth / std::max<std::size_t>(1, chart_.Series.size());
        const QPointF shift = l.Depth * BarDepthFront;
        const double x = l.Plot.left() + l.SlotWidth * (bar + 0.5) - l.BarWidth / 2 + width * series;
        return QRectF(x + shift.x(), y1 - shift.y(), width, y0 - y1);
    }
    double below = 0;
    for (int s = 0; s < series; ++s)
        below += SeriesValue(s, bar);
    const double value = SeriesValue(series, bar);
    const double y0 = ValueY(l, below);
    const double y1 = ValueY(l, below + value);
    if (value <= 0 || y0 - y1 <= 0)
        return {};
    const QPointF shift = l.Depth * BarDepthFront;
    const double x = l.Plot.left() + l.SlotWidth * (bar + 0.5) - l.BarWidth / 2;
    return QRectF(x + shift.x(), y1 - shift.y(), l.BarWidth, y0 - y1);
}

ChartLayout ChartPainter::Layout(const QPaintDevice* device, const QRectF& target) const {
    ChartLayout l;
    l.Target = target;
    const double dpi = device ? device->logicalDpiY() : 96.0;
    const double screen = dpi / 96.0;
    // Fonts grow a little with large pictures and shrink a little in small windows.
    const double size =
        std::clamp(std::min(target.width() / (1100 * screen), target.height() / (700 * screen)), 0.8, 2.0);
    const double u = screen * size;
    l.Unit = u;
    l.TitleFont = ChartFont("Arial", 12, u);
    l.FootFont = ChartFont("Arial", 10, u);
    l.AxisTitleFont = ChartFont("Arial", 10, u);
    l.AxisLabelFont = ChartFont("Arial", 8, u);
    l.ValueLabelFont = ChartFont("Arial Narrow", 8, u);
    const QFontMetricsF fmTitle = Metrics(l.TitleFont, device);
    const QFontMetricsF fmFoot = Metrics(l.FootFont, device);
    const QFontMetricsF fmAxisTitle = Metrics(l.AxisTitleFont, device);
    const QFontMetricsF fmLabel = Metrics(l.AxisLabelFont, device);
    const QFontMetricsF fmValue = Metrics(l.ValueLabelFont, device);
    const double margin = Margin * u;
    const double gap = Gap * u;
    const double tick = TickLength * u;

    l.BarCount = BarCount();
    l.AxisMax = chart_.LeftAxisMax > 0 && std::isfinite(chart_.LeftAxisMax) ? chart_.LeftAxisMax : 1;

    // Top and bottom bands: title, foot, bottom axis title.
    double top = target.top() + margin;
    double bottom = target.bottom() - margin;
    const double inner = std::max(0.0, target.width() - 2 * margin);
    if (!chart_.Title.empty()) {
        l.TitleBox = QRectF(target.left() + margin, top, inner, fmTitle.height());
        top += fmTitle.height() + 2 * gap;
    }
    const double footLine = fmFoot.lineSpacing();
    for (std::size_t i = chart_.Foot.size(); i-- > 0;) {
        bottom -= footLine;
        l.FootBoxes.insert(l.FootBoxes.begin(),
                           QRectF(target.left() + margin, bottom, inner, fmFoot.height()));
    }
    if (!chart_.Foot.empty())
        bottom -= gap;
    if (!chart_.BottomAxisTitle.empty()) {
        bottom -= fmAxisTitle.height();
        l.BottomTitleBox = QRectF(0, bottom, 0, fmAxisTitle.height()); // x once the plot is known
        bottom -= gap;
    }

    // Left and right bands: axis titles, tick labels, the limit label.
    double left = target.left() + margin;
    double right = target.right() - margin;
    if (!chart_.LeftAxisTitle.empty()) {
        l.LeftTitleBox = QRectF(left, 0, fmAxisTitle.height(), 0);
        left += fmAxisTitle.height() + gap;
    }
    left += std::max(fmLabel.horizontalAdvance(TickText(l.AxisMax)),
                     fmLabel.horizontalAdvance(QStringLiteral("0"))) +
            gap + tick;
    if (chart_.RightAxisVisible) {
        if (!chart_.RightAxisTitle.empty()) {
            right -= fmAxisTitle.height();
            l.RightTitleBox = QRectF(right, 0, fmAxisTitle.height(), 0);
            right -= gap;
        }
        const double limit = chart_.Limit.value_or(l.AxisMax);
        right -= fmLabel.horizontalAdvance(TickText(limit)) + gap + tick;
    }
    if (chart_.BottomScale) // the last value label is centred on the plot's right edge
        right -= fmLabel.horizontalAdvance(TickText(chart_.BottomScale->Max)) / 2;
    if (chart_.RightScale) {
        if (!chart_.RightScaleTitle.empty()) {
            right -= fmAxisTitle.height();
            l.RightTitleBox = QRectF(right, 0, fmAxisTitle.height(), 0);
            right -= gap;
        }
        right -= fmLabel.horizontalAdvance(TickText(chart_.RightScale->Max)) + gap + tick;
    }

    // Depth of the 3D view from the room each bar has.
    const int slotCount = std::max(1, l.BarCount);
    const double available = std::max(1.0, right - left);
    if (appearance_.View3D) {
        const double depth = std::clamp(0.55 * available / slotCount, 5 * u, 16 * u);
        l.Depth = QPointF(depth, 0.75 * depth);
    } else {
        l.FloorHeight = FloorBand * u;
    }
    const double plotWidth = std::max(1.0, available - l.Depth.x());
    l.SlotWidth = plotWidth / slotCount;
    l.BarWidth = l.SlotWidth * BarShare;

    // Label rows from the width each bar has.
    std::vector<double> widths;
    for (const auto& text : chart_.Labels)
        widths.push_back(IsBlank(ToQString(text)) ? 0 : fmLabel.horizontalAdvance(ToQString(text)));
    l.BottomFit = FitLabelRow(widths, fmLabel.height(), l.SlotWidth, 0.22 * target.height());
    const bool valuesShown = appearance_.ValueLabels != ValueLabelMode::None &&
                             std::any_of(chart_.ValueLabels.begin(), chart_.ValueLabels.end(),
                                         [](const std::string& t) { return !IsBlank(ToQString(t)); });
    std::vector<double> valueWidths;
    if (valuesShown) {
        for (const auto& text : chart_.ValueLabels)
            valueWidths.push_back(IsBlank(ToQString(text)) ? 0 : fmValue.horizontalAdvance(ToQString(text)));
        l.ValueFit = FitLabelRow(valueWidths, fmValue.height(), l.SlotWidth, 0.15 * target.height());
    } else {
        l.ValueFit.Extent = 0;
    }

    const double plotTop = top + l.Depth.y() + (valuesShown ? l.ValueFit.Extent + gap : 0);
    const double plotBottom = std::max(plotTop + 1, bottom - l.BottomFit.Extent - gap - tick - l.FloorHeight);
    l.Plot = QRectF(left, plotTop, plotWidth, plotBottom - plotTop);
    l.LeftTicks = NiceTicks(l.AxisMax, static_cast<int>(l.Plot.height() / (3 * fmLabel.height())));

    if (!l.LeftTitleBox.isNull() || !chart_.LeftAxisTitle.empty())
        l.LeftTitleBox = QRectF(l.LeftTitleBox.left(), l.Plot.top() - l.Depth.y(), l.LeftTitleBox.width(),
                                l.Plot.height() + l.Depth.y());
    if ((!chart_.RightAxisTitle.empty() && chart_.RightAxisVisible) ||
        (chart_.RightScale && !chart_.RightScaleTitle.empty()))
        l.RightTitleBox = QRectF(l.RightTitleBox.left(), l.Plot.top() - l.Depth.y(), l.RightTitleBox.width(),
                                 l.Plot.height() + l.Depth.y());
    if (!chart_.BottomAxisTitle.empty())
        l.BottomTitleBox =
            QRectF(l.Plot.left(), l.BottomTitleBox.top(), l.Plot.width(), l.BottomTitleBox.height());

    // Bottom labels under the front edge of the floor.
    const double labelTop = l.Plot.bottom() + l.FloorHeight + tick + gap;
    for (int i = 0; i < static_cast<int>(chart_.Labels.size()); i += l.BottomFit.Step) {
        const QString text = ToQString(chart_.Labels[static_cast<std::size_t>(i)]);
        if (IsBlank(text))
            continue;
        const double x = l.Plot.left() + l.SlotWidth * (i + 0.5);
        l.BottomLabels.push_back({i, text,
                                  LabelBox(l.BottomFit, widths[static_cast<std::size_t>(i)], fmLabel.height(),
                                           x, labelTop, false)});
    }

    // The limit line on the front plane, at the height of the left axis tick of the same value; it
    // runs on past the bars to its own tick on the right, where its label stands.
    if (chart_.RightAxisVisible && chart_.Limit && *chart_.Limit >= 0 && *chart_.Limit <= l.AxisMax) {
        const double y = ValueY(l, *chart_.Limit);
        const double end = l.Plot.right() + l.Depth.x() + tick;
        l.LimitLine = QLineF(l.Plot.left(), y, end, y);
        const QString text = TickText(*chart_.Limit);
        l.LimitLabelBox =
            QRectF(end + gap, y - fmLabel.height() / 2, fmLabel.horizontalAdvance(text), fmLabel.height());
    }

    // Value labels: on the top axis at the chart's edge, or just above each bar.
    if (valuesShown) {
        for (int i = 0; i < static_cast<int>(chart_.ValueLabels.size()); i += l.ValueFit.Step) {
            const QString text = ToQString(chart_.ValueLabels[static_cast<std::size_t>(i)]);
            if (IsBlank(text) || i >= std::max(l.BarCount, 1))
                continue;
            double x = l.Plot.left() + l.SlotWidth * (i + 0.5);
            double y = 0;
            if (appearance_.ValueLabels == ValueLabelMode::Edge) {
                x += l.Depth.x();
                y = l.Plot.top() - l.Depth.y() - gap;
            } else {
                x += l.Depth.x() * (BarDepthFront + BarDepthBack) / 2;
                y = ValueY(l, BarTotal(i)) - l.Depth.y() * BarDepthBack - gap / 2;
            }
            l.ValueLabels.push_back({i, text,
                                     LabelBox(l.ValueFit, valueWidths[static_cast<std::size_t>(i)],
                                              fmValue.height(), x, y, true)});
        }
    }
    LayoutStatisticsParts(l, device);
    return l;
}

void ChartPainter::PaintPanelAndWalls(QPainter& p, const ChartLayout& l,
                                      const ChartPaintOptions& options) const {
    if (options.PanelFilled)
        p.fillRect(l.Target, PanelColour);
    const QRectF& f = l.Plot;
    const QPointF d = l.Depth;
    const QPen wallPen(WallColour, std::max(1.0, l.Unit));
    p.setPen(wallPen);
    if (appearance_.View3D) {
        p.setBrush(SideWallColour);
        p.drawPolygon(QPolygonF({f.topLeft(), f.bottomLeft(), f.bottomLeft() + QPointF(d.x(), -d.y()),
                                 f.topLeft() + QPointF(d.x(), -d.y())}));
        p.setBrush(BottomWallColour);
        p.drawPolygon(QPolygonF({f.bottomLeft(), f.bottomRight(), f.bottomRight() + QPointF(d.x(), -d.y()),
                                 f.bottomLeft() + QPointF(d.x(), -d.y())}));
    } else {
        p.setBrush(BottomWallColour);
        p.drawRect(QRectF(f.left(), f.bottom(), f.width(), l.FloorHeight));
    }
    p.setBrush(options.BackWallFilled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
    p.drawRect(f.translated(d.x(), -d.y()));
}

void ChartPainter::PaintGrid(QPainter& p, const ChartLayout& l) const {
    p.setPen(QPen(GridColour, std::max(1.0, l.Unit)));
    const QPointF d(l.Depth.x(), -l.Depth.y());
    for (double value : l.LeftTicks) {
        if (value <= 0 || value >= l.AxisMax)
            continue; // the floor and the wall's edge already mark these
        const double y = ValueY(l, value);
        const QPointF front(l.Plot.left(), y);
        if (appearance_.View3D)
            p.drawLine(front, front + d);
        p.drawLine(front + d, QPointF(l.Plot.right(), y) + d);
    }
}

// The speed limit as a red line over the bars, in 2D and 3D alike. A thin white edge on both sides
// keeps it readable on bars of any colour, red ones included.
void ChartPainter::PaintLimitLine(QPainter& p, const ChartLayout& l) const {
    if (l.LimitLine.isNull())
        return;
    QPen edge(LimitEdgeColour, (LimitLineWidth + 2 * LimitEdgeWidth) * l.Unit);
    edge.setCapStyle(Qt::FlatCap);
    p.setPen(edge);
    p.drawLine(l.LimitLine);
    QPen pen(LimitColour, LimitLineWidth * l.Unit);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(l.LimitLine);
}

void ChartPainter::PaintBox(QPainter& p, const ChartLayout& l, const QRectF& front,
                            const QColor& colour) const {
    const bool outlined = front.width() >= 4 * l.Unit;
    const QPen outline = outlined ? QPen(colour.darker(170), std::max(1.0, 0.8 * l.Unit)) : QPen(Qt::NoPen);
    p.setPen(outline);
    if (appearance_.View3D) {
        const QPointF d = QPointF(l.Depth.x(), -l.Depth.y()) * (BarDepthBack - BarDepthFront);
        p.setBrush(colour.darker(135));
        p.drawPolygon(QPolygonF(
            {front.topRight(), front.topRight() + d, front.bottomRight() + d, front.bottomRight()}));
        p.setBrush(Blend(colour, Qt::white, 0.35).darker(104));
        p.drawPolygon(
            QPolygonF({front.topLeft(), front.topRight(), front.topRight() + d, front.topLeft() + d}));
    }
    p.setBrush(colour);
    p.drawRect(front);
}

void ChartPainter::PaintBars(QPainter& p, const ChartLayout& l) const {
    for (int bar = 0; bar < l.BarCount; ++bar)
        for (int s = 0; s < static_cast<int>(chart_.Series.size()); ++s) {
            const QRectF front = BarFront(l, bar, s);
            if (!front.isEmpty())
                PaintBox(p, l, front, ToQColor(chart_.Series[static_cast<std::size_t>(s)].Colour));
        }
}

void ChartPainter::PaintAxes(QPainter& p, const ChartLayout& l) const {
    const QFontMetricsF fm = Metrics(l.AxisLabelFont, p.device());
    const double tick = TickLength * l.Unit;
    const double gap = Gap * l.Unit;
    p.setPen(QPen(AxisColour, std::max(1.0, l.Unit)));
    const double floorBottom = l.Plot.bottom() + l.FloorHeight;
    p.drawLine(QPointF(l.Plot.left(), l.Plot.top()), QPointF(l.Plot.left(), floorBottom));
    p.drawLine(QPointF(l.Plot.left(), floorBottom), QPointF(l.Plot.right(), floorBottom));
    p.setFont(l.AxisLabelFont);
    for (double value : l.LeftTicks) {
        const double y = ValueY(l, value);
        p.drawLine(QPointF(l.Plot.left() - tick, y), QPointF(l.Plot.left(), y));
        const QString text = TickText(value);
        const double width = fm.horizontalAdvance(text);
        Anchor(p, TextAnchor::Right);
        p.drawText(QPointF(l.Plot.left() - tick - gap - width, y - fm.height() / 2 + fm.ascent()), text);
    }
    for (const auto& label : l.BottomLabels) {
        const double x = l.Plot.left() + l.SlotWidth * (label.Bar + 0.5);
        p.drawLine(QPointF(x, floorBottom), QPointF(x, floorBottom + tick));
    }
    p.setPen(Qt::black);
    for (const auto& label : l.BottomLabels)
        DrawLabel(p, label, l.BottomFit.Upright, fm);

    if (!l.LimitLine.isNull()) {
        p.setPen(Qt::black);
        Anchor(p, TextAnchor::Left);
        p.drawText(QPointF(l.LimitLabelBox.left(), l.LimitLabelBox.top() + fm.ascent()),
                   TickText(*chart_.Limit));
    }
}

void ChartPainter::PaintTexts(QPainter& p, const ChartLayout& l) const {
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    if (!l.ValueLabels.empty()) {
        const QFontMetricsF fm = Metrics(l.ValueLabelFont, p.device());
        p.setFont(l.ValueLabelFont);
        for (const auto& label : l.ValueLabels)
            DrawLabel(p, label, l.ValueFit.Upright, fm);
    }
    if (!chart_.Title.empty()) {
        const QFontMetricsF fm = Metrics(l.TitleFont, p.device());
        p.setFont(l.TitleFont);
        const QString text = fm.elidedText(ToQString(chart_.Title), Qt::ElideRight, l.TitleBox.width());
        const double width = fm.horizontalAdvance(text);
        Anchor(p, TextAnchor::Centre);
        p.drawText(QPointF(l.TitleBox.center().x() - width / 2, l.TitleBox.top() + fm.ascent()), text);
    }
    {
        const QFontMetricsF fm = Metrics(l.FootFont, p.device());
        p.setFont(l.FootFont);
        Anchor(p, TextAnchor::Left);
        for (std::size_t i = 0; i < l.FootBoxes.size() && i < chart_.Foot.size(); ++i) {
            const QString text =
                fm.elidedText(ToQString(chart_.Foot[i]), Qt::ElideRight, l.FootBoxes[i].width());
            p.drawText(QPointF(l.FootBoxes[i].left(), l.FootBoxes[i].top() + fm.ascent()), text);
        }
    }
    const QFontMetricsF fm = Metrics(l.AxisTitleFont, p.device());
    p.setFont(l.AxisTitleFont);
    if (!chart_.LeftAxisTitle.empty())
        DrawTurnedText(p, l.LeftTitleBox, ToQString(chart_.LeftAxisTitle), fm, -90);
    if (chart_.RightAxisVisible && !chart_.RightAxisTitle.empty())
        DrawTurnedText(p, l.RightTitleBox, ToQString(chart_.RightAxisTitle), fm, 90);
    if (!chart_.BottomAxisTitle.empty()) {
        const QString text =
            fm.elidedText(ToQString(chart_.BottomAxisTitle), Qt::ElideRight, l.BottomTitleBox.width());
        const double width = fm.horizontalAdvance(text);
        Anchor(p, TextAnchor::Centre);
        p.drawText(QPointF(l.BottomTitleBox.center().x() - width / 2, l.BottomTitleBox.top() + fm.ascent()),
                   text);
    }
}

void ChartPainter::Paint(QPainter& painter, const QRectF& target, const ChartPaintOptions& options) const {
    if (target.width() < 1 || target.height() < 1)
        return;
    const ChartLayout l = Layout(painter.device(), target);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    PaintPanelAndWalls(painter, l, options);
    PaintGrid(painter, l);
    PaintBars(painter, l);
    PaintLimitLine(painter, l);
    PaintLines(painter, l);
    PaintAxes(painter, l);
    PaintRightScale(painter, l);
    PaintBottomScale(painter, l);
    PaintTexts(painter, l);
    PaintLegend(painter, l);
    painter.restore();
}

void PaintChart(QPainter& painter, const QRectF& target, const ChartDescription& chart,
                const ChartAppearance& appearance, const ChartPaintOptions& options) {
    ChartPainter(chart, appearance).Paint(painter, target, options);
}

// --- the statistics views' additions --------------------------------------------------------------

namespace {

constexpr double LineWidth = 2;
constexpr double MarkRadius = 3.5;
constexpr double SwatchWidth = 18;

double ScaleShare(const ChartScale& scale, double value) {
    const double span = scale.Max - scale.Min;
    return span > 0 ? std::clamp((Finite(value) - scale.Min) / span, 0.0, 1.0) : 0.0;
}

std::vector<double> ScaleTicks(const ChartScale& scale, int maxCount) {
    std::vector<double> ticks;
    const double span = scale.Max - scale.Min;
    if (!(span > 0) || !std::isfinite(span))
        return ticks;
    for (double t : NiceTicks(span, maxCount))
        ticks.push_back(scale.Min + t);
    return ticks;
}

bool OverlapsAny(const QRectF& box, const std::vector<QRectF>& taken) {
    return std::any_of(taken.begin(), taken.end(),
                       [&](const QRectF& other) { return box.intersects(other); });
}

// Moves a label box down (then up) in steps of its height until it overlaps nothing taken and
// stays inside the area; the first free place wins, the start when none is free.
QRectF FreePlace(QRectF box, const std::vector<QRectF>& taken, const QRectF& area) {
    box.moveTop(std::clamp(box.top(), area.top(), std::max(area.top(), area.bottom() - box.height())));
    box.moveLeft(std::clamp(box.left(), area.left(), std::max(area.left(), area.right() - box.width())));
    const QRectF start = box;
    for (int direction : {1, -1})
        for (int step = 0; step < 40; ++step) {
            QRectF candidate = start.translated(0, direction * step * box.height());
            if (candidate.top() < area.top() || candidate.bottom() > area.bottom())
                break;
            if (!OverlapsAny(candidate, taken))
                return candidate;
        }
    return start;
}

} // namespace

double ChartPainter::BottomX(const ChartLayout& l, double x) const {
    if (chart_.BottomScale)
        return l.Plot.left() + ScaleShare(*chart_.BottomScale, x) * l.Plot.width();
    return l.Plot.left() + l.SlotWidth * (Finite(x) + 0.5);
}

QPointF ChartPainter::LinePoint(const ChartLayout& l, const ChartPoint& point, bool onRightScale) const {
    const double y = onRightScale && chart_.RightScale
                         ? l.Plot.bottom() - ScaleShare(*chart_.RightScale, point.Y) * l.Plot.height()
                         : ValueY(l, Finite(point.Y));
    return QPointF(BottomX(l, point.X) + l.Depth.x(), y - l.Depth.y());
}

void ChartPainter::LayoutStatisticsParts(ChartLayout& l, const QPaintDevice* device) const {
    const QFontMetricsF fm = Metrics(l.AxisLabelFont, device);
    const double u = l.Unit;
    const double gap = Gap * u;
    if (chart_.RightScale)
        l.RightTicks = ScaleTicks(*chart_.RightScale, static_cast<int>(l.Plot.height() / (3 * fm.height())));
    if (chart_.BottomScale) {
        const double widest = fm.horizontalAdvance(TickText(chart_.BottomScale->Max));
        const int count = static_cast<int>(l.Plot.width() / std::max(1.0, 2.5 * widest));
        const double top = l.Plot.bottom() + l.FloorHeight + TickLength * u + gap;
        for (double value : ScaleTicks(*chart_.BottomScale, count)) {
            const QString text = TickText(value);
            const double x = BottomX(l, value);
            const double width = fm.horizontalAdvance(text);
            l.ScaleTickX.push_back(x);
            l.ScaleLabels.push_back({-1, text, QRectF(x - width / 2, top, width, fm.height())});
        }
    }

    const QRectF wall = l.Plot.translated(l.Depth.x(), -l.Depth.y());
    const QRectF inner = wall.adjusted(gap, gap, -gap, -gap);
    std::vector<QRectF> taken;

    // The legend in the top left corner, where night hours and slow speeds leave room.
    double legendWidth = 0;
    int entries = 0;
    for (const auto& series : chart_.Series)
        if (!series.Name.empty()) {
            legendWidth = std::max(legendWidth, fm.horizontalAdvance(ToQString(series.Name)));
            ++entries;
        }
    for (const auto& line : chart_.Lines)
        if (!line.Name.empty()) {
            legendWidth = std::max(legendWidth, fm.horizontalAdvance(ToQString(line.Name)));
            ++entries;
        }
    if (entries > 0) {
        const double width = std::min(inner.width(), SwatchWidth * u + 3 * gap + std::ceil(legendWidth) + u);
        l.LegendBox = QRectF(inner.left(), inner.top(), width, entries * fm.lineSpacing() + gap);
        taken.push_back(l.LegendBox);
    }

    if (chart_.VerticalLine) {
        const QString text = ToQString(chart_.VerticalLine->Label);
        const double x = BottomX(l, chart_.VerticalLine->X) + l.Depth.x();
        const double width = fm.horizontalAdvance(text);
        QRectF box(x + gap, inner.top(), width, fm.height());
        if (box.right() > inner.right())
            box.moveRight(x - gap);
        l.VerticalLabelBox = FreePlace(box, taken, inner);
        taken.push_back(l.VerticalLabelBox);
    }

    // Mark labels below and right of their point, where a rising curve leaves room.
    for (const auto& mark : chart_.Marks) {
        const QPointF at = LinePoint(l, mark.At, false);
        const QString text = ToQString(mark.Label);
        const QRectF box(at.x() + MarkRadius * u + gap / 2, at.y() + gap / 2, fm.horizontalAdvance(text),
                         fm.height());
        l.MarkLabelBoxes.push_back(FreePlace(box, taken, inner));
        taken.push_back(l.MarkLabelBoxes.back());
    }
}

void ChartPainter::PaintLines(QPainter& p, const ChartLayout& l) const {
    const double u = l.Unit;
    if (chart_.VerticalLine && chart_.BottomScale) {
        const double x = BottomX(l, chart_.VerticalLine->X) + l.Depth.x();
        QPen pen(ToQColor(chart_.VerticalLine->Colour), LimitLineWidth * u, Qt::DashLine);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.drawLine(QPointF(x, l.Plot.top() - l.Depth.y()), QPointF(x, l.Plot.bottom() - l.Depth.y()));
    }
    p.setBrush(Qt::NoBrush);
    for (const auto& line : chart_.Lines) {
        QPolygonF points;
        for (const auto& point : line.Points)
            points << LinePoint(l, point, line.OnRightScale);
        QPen pen(ToQColor(line.Colour), LineWidth * u);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        p.setPen(pen);
        if (points.size() == 1)
            p.drawPoint(points.front());
        else
            p.drawPolyline(points);
    }
    const QFontMetricsF fm = Metrics(l.AxisLabelFont, p.device());
    p.setFont(l.AxisLabelFont);
    for (std::size_t i = 0; i < chart_.Marks.size(); ++i) {
        const ChartMark& mark = chart_.Marks[i];
        const QPointF at = LinePoint(l, mark.At, false);
        p.setPen(QPen(Qt::black, std::max(1.0, 0.8 * u)));
        p.setBrush(ToQColor(mark.Colour));
        p.drawEllipse(at, MarkRadius * u, MarkRadius * u);
        if (i < l.MarkLabelBoxes.size()) {
            const QRectF& box = l.MarkLabelBoxes[i];
            p.fillRect(box, QColor(255, 255, 255, 210));
            p.setPen(ToQColor(mark.Colour).darker(140));
            Anchor(p, TextAnchor::Left);
            p.drawText(QPointF(box.left(), box.top() + fm.ascent()), ToQString(mark.Label));
        }
    }
    if (chart_.VerticalLine && !l.VerticalLabelBox.isNull()) {
        p.setPen(ToQColor(chart_.VerticalLine->Colour));
        Anchor(p, TextAnchor::Left);
        p.drawText(QPointF(l.VerticalLabelBox.left(), l.VerticalLabelBox.top() + fm.ascent()),
                   ToQString(chart_.VerticalLine->Label));
    }
}

void ChartPainter::PaintRightScale(QPainter& p, const ChartLayout& l) const {
    if (!chart_.RightScale)
        return;
    const QFontMetricsF fm = Metrics(l.AxisLabelFont, p.device());
    const double tick = TickLength * l.Unit;
    const double gap = Gap * l.Unit;
    const double x = l.Plot.right() + l.Depth.x();
    p.setPen(QPen(AxisColour, std::max(1.0, l.Unit)));
    p.drawLine(QPointF(x, l.Plot.top() - l.Depth.y()), QPointF(x, l.Plot.bottom() - l.Depth.y()));
    p.setFont(l.AxisLabelFont);
    for (double value : l.RightTicks) {
        const double y = LinePoint(l, {0, value}, true).y();
        p.drawLine(QPointF(x, y), QPointF(x + tick, y));
        Anchor(p, TextAnchor::Left);
        p.drawText(QPointF(x + tick + gap, y - fm.height() / 2 + fm.ascent()), TickText(value));
    }
    if (!chart_.RightScaleTitle.empty()) {
        const QFontMetricsF titleMetrics = Metrics(l.AxisTitleFont, p.device());
        p.setPen(Qt::black);
        p.setFont(l.AxisTitleFont);
        DrawTurnedText(p, l.RightTitleBox, ToQString(chart_.RightScaleTitle), titleMetrics, 90);
    }
}

void ChartPainter::PaintBottomScale(QPainter& p, const ChartLayout& l) const {
    if (l.ScaleLabels.empty())
        return;
    const QFontMetricsF fm = Metrics(l.AxisLabelFont, p.device());
    const double floorBottom = l.Plot.bottom() + l.FloorHeight;
    p.setPen(QPen(AxisColour, std::max(1.0, l.Unit)));
    for (double x : l.ScaleTickX)
        p.drawLine(QPointF(x, floorBottom), QPointF(x, floorBottom + TickLength * l.Unit));
    // Grid lines at the same values on the back wall, as the left axis has them.
    p.setPen(QPen(GridColour, std::max(1.0, l.Unit)));
    for (double x : l.ScaleTickX)
        if (x > l.Plot.left() + 0.5 && x < l.Plot.right() - 0.5)
            p.drawLine(QPointF(x + l.Depth.x(), l.Plot.top() - l.Depth.y()),
                       QPointF(x + l.Depth.x(), l.Plot.bottom() - l.Depth.y()));
    p.setPen(Qt::black);
    p.setFont(l.AxisLabelFont);
    for (const auto& label : l.ScaleLabels)
        DrawLabel(p, label, false, fm);
}

void ChartPainter::PaintLegend(QPainter& p, const ChartLayout& l) const {
    if (l.LegendBox.isNull())
        return;
    const QFontMetricsF fm = Metrics(l.AxisLabelFont, p.device());
    const double u = l.Unit;
    const double gap = Gap * u;
    p.setPen(QPen(WallColour, std::max(1.0, 0.8 * u)));
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRect(l.LegendBox);
    p.setFont(l.AxisLabelFont);
    double y = l.LegendBox.top() + gap / 2;
    const double textLeft = l.LegendBox.left() + SwatchWidth * u + 2 * gap;
    const double textWidth = std::max(0.0, l.LegendBox.right() - gap - textLeft);
    auto entry = [&](const std::string& name, auto drawSwatch) {
        if (name.empty())
            return;
        const QRectF swatch(l.LegendBox.left() + gap, y + fm.height() * 0.2, SwatchWidth * u,
                            fm.height() * 0.6);
        drawSwatch(swatch);
        p.setPen(Qt::black);
        Anchor(p, TextAnchor::Left);
        p.drawText(QPointF(textLeft, y + fm.ascent()),
                   fm.elidedText(ToQString(name), Qt::ElideRight, textWidth));
        y += fm.lineSpacing();
    };
    for (const auto& series : chart_.Series)
        entry(series.Name, [&](const QRectF& swatch) {
            p.setPen(Qt::NoPen);
            p.setBrush(ToQColor(series.Colour));
            p.drawRect(swatch);
        });
    for (const auto& line : chart_.Lines)
        entry(line.Name, [&](const QRectF& swatch) {
            p.setPen(QPen(ToQColor(line.Colour), LineWidth * u));
            p.drawLine(QPointF(swatch.left(), swatch.center().y()),
                       QPointF(swatch.right(), swatch.center().y()));
        });
}
