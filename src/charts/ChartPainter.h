#pragma once
// The chart renderer. It draws a chart description into any rectangle of any paint device, so the
// screen, the printer and every picture format show the same chart. All sizes follow from the
// target rectangle and the device's resolution, never from a widget.

#include "charts/ChartDescription.h"

#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;
class QPaintDevice;

struct ChartPaintOptions {
    bool BackWallFilled = true; // the printout leaves the back wall unfilled
    bool PanelFilled = true;    // the grey panel around the walls
};

// One label of a per-bar label row as it is drawn.
struct PlacedLabel {
    int Bar = 0;
    QString Text;
    QRectF Box; // the area the text covers (turned labels: the turned area)
};

// How a row of per-bar labels fits its bars: side by side, turned upright, and/or thinned out.
struct LabelRowFit {
    bool Upright = false; // turned by 90 degrees to read upwards
    int Step = 1;         // every Step-th label is drawn
    double Extent = 0;    // height the row needs
};

struct ChartLayout {
    double Unit = 1; // device pixels per screen pixel at this chart size
    QRectF Target;
    QRectF Plot;            // front plane: bars stand on Plot.bottom(), Plot.top() is the axis maximum
    QPointF Depth;          // offset of the back wall from the front plane; (0, 0) in 2D
    double FloorHeight = 0; // the bottom wall's band below the plot in 2D
    int BarCount = 0;
    double SlotWidth = 0;
    double BarWidth = 0;
    double AxisMax = 1;
    std::vector<double> LeftTicks; // values with a grid line and a label
    LabelRowFit BottomFit;
    LabelRowFit ValueFit;
    std::vector<PlacedLabel> BottomLabels;
    std::vector<PlacedLabel> ValueLabels; // on the top axis ("Rand") or above the bars ("Balken")
    QFont TitleFont, FootFont, AxisTitleFont, AxisLabelFont, ValueLabelFont;
    QRectF TitleBox;
    std::vector<QRectF> FootBoxes;
    QRectF LeftTitleBox, RightTitleBox, BottomTitleBox; // boxes of the turned titles are the turned areas
    // The speed-limit line: one straight line at the limit's height on the front plane, from the
    // left axis across the bars to the right-axis tick; its label is level with it. Null when no
    // line is drawn.
    QLineF LimitLine;
    QRectF LimitLabelBox;

    // The statistics views' additions; lines, marks and the vertical line lie on the back wall,
    // where the grid is, and are drawn over the bars.
    std::vector<double> RightTicks;       // values of the right-hand scale
    std::vector<PlacedLabel> ScaleLabels; // labels of a bottom value axis (Bar: unused)
    std::vector<double> ScaleTickX;       // their x on the front plane
    QRectF VerticalLabelBox;
    std::vector<QRectF> MarkLabelBoxes; // one per mark, placed so that none overlaps another
    QRectF LegendBox;
};

class ChartPainter {
public:
    // The painter refers to chart, which must outlive it.
    ChartPainter(const ChartDescription& chart, const ChartAppearance& appearance);

    // The layout for a target rectangle on a device (nullptr: the screen).
    ChartLayout Layout(const QPaintDevice* device, const QRectF& target) const;
    void Paint(QPainter& painter, const QRectF& target, const ChartPaintOptions& options = {}) const;

    int BarCount() const;
    // Stacked parts of a bar: value of series s at bar i (negative values count as 0).
    double SeriesValue(int series, int bar) const;
    double BarTotal(int bar) const;
    // Height on the device of a value on the left axis, clamped to the axis range.
    double ValueY(const ChartLayout& layout, double value) const;
    // The front face of bar i's part of series s (empty when that part is 0).
    QRectF BarFront(const ChartLayout& layout, int bar, int series) const;
    // Where a line's point lies on the back wall: x a bar index or a bottom-axis value.
    QPointF LinePoint(const ChartLayout& layout, const ChartPoint& point, bool onRightScale) const;

private:
    const ChartDescription& chart_;
    ChartAppearance appearance_; // small: held by value, so a temporary may be passed

    void PaintPanelAndWalls(QPainter& p, const ChartLayout& l, const ChartPaintOptions& options) const;
    void PaintGrid(QPainter& p, const ChartLayout& l) const;
    void PaintLimitLine(QPainter& p, const ChartLayout& l) const;
    void PaintBars(QPainter& p, const ChartLayout& l) const;
    void PaintBox(QPainter& p, const ChartLayout& l, const QRectF& front, const QColor& colour) const;
    void PaintAxes(QPainter& p, const ChartLayout& l) const;
    void PaintTexts(QPainter& p, const ChartLayout& l) const;
    void LayoutStatisticsParts(ChartLayout& l, const QPaintDevice* device) const;
    void PaintLines(QPainter& p, const ChartLayout& l) const;
    void PaintRightScale(QPainter& p, const ChartLayout& l) const;
    void PaintBottomScale(QPainter& p, const ChartLayout& l) const;
    void PaintLegend(QPainter& p, const ChartLayout& l) const;
    double BottomX(const ChartLayout& l, double x) const;
};

// The device-independent entry: draws chart into target.
void PaintChart(QPainter& painter, const QRectF& target, const ChartDescription& chart,
                const ChartAppearance& appearance, const ChartPaintOptions& options = {});
