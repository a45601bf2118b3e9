#include "charts/WmfPaintDevice.h"

#include "base/Cp1252.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace {

// Logical units per device pixel: finer than pixels, so that anti-aliased positions survive,
// yet every coordinate of a large picture still fits 16 bits.
int UnitsPerPixel(QSize size) {
    return std::clamp(30000 / std::max({size.width(), size.height(), 1}), 1, 8);
}

Rgb OnPaper(const QColor& colour) {
    const double a = colour.alphaF();
    auto mix = [a](int c) { return static_cast<std::uint8_t>(std::lround(c * a + 255 * (1 - a))); };
    const QColor rgb = colour.toRgb();
    return Rgb{mix(rgb.red()), mix(rgb.green()), mix(rgb.blue())};
}

QColor BrushColour(const QBrush& brush) {
    if (const QGradient* gradient = brush.gradient(); gradient && !gradient->stops().isEmpty())
        return gradient->stops().constFirst().second;
    return brush.color();
}

struct PenKey {
    WmfPenStyle Style;
    int Width;
    Rgb Colour;
    bool operator==(const PenKey& o) const {
        return Style == o.Style && Width == o.Width && Colour == o.Colour;
    }
};

struct BrushKey {
    bool Hollow;
    Rgb Colour;
    bool operator==(const BrushKey& o) const { return Hollow == o.Hollow && (Hollow || Colour == o.Colour); }
};

struct FontKey {
    int Height;
    int Escapement;
    int Weight;
    bool Italic;
    std::string Face;
    bool operator==(const FontKey& o) const {
        return std::tie(Height, Escapement, Weight, Italic, Face) ==
               std::tie(o.Height, o.Escapement, o.Weight, o.Italic, o.Face);
    }
};

} // namespace

class WmfPaintEngine : public QPaintEngine {
public:
    WmfPaintEngine(QSize size, int dpi)
        : QPaintEngine(QPaintEngine::AllFeatures), scale_(UnitsPerPixel(size)), dpi_(dpi),
          writer_(size.width() * scale_, size.height() * scale_, dpi * scale_) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const auto dirty = state.state();
        if (dirty & DirtyPen)
            pen_ = state.pen();
        if (dirty & DirtyBrush)
            brush_ = state.brush();
        if (dirty & DirtyFont)
            font_ = state.font();
        if (dirty & DirtyTransform)
            transform_ = state.transform();
    }

    using QPaintEngine::drawLines;
    using QPaintEngine::drawPolygon;
    using QPaintEngine::drawRects;

    void drawRects(const QRectF* rects, int count) override {
        UseBrush(brush_);
        UsePen();
        for (int i = 0; i < count; ++i) {
            if (transform_.type() <= QTransform::TxScale) {
                const QRectF r = transform_.mapRect(rects[i].normalized());
                writer_.Rectangle(Unit(r.left()), Unit(r.top()), Unit(r.right()), Unit(r.bottom()));
            } else {
                writer_.Polygon(Map(QPolygonF(rects[i])));
            }
        }
    }

    void drawLines(const QLineF* lines, int count) override {
        UsePen();
        for (int i = 0; i < count; ++i)
            writer_.Polyline(Map(QPolygonF({lines[i].p1(), lines[i].p2()})));
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        const QPolygonF polygon(QList<QPointF>(points, points + count));
        UsePen();
        if (mode == PolylineMode) {
            writer_.Polyline(Map(polygon));
            return;
        }
        UseBrush(brush_);
        const WmfFillMode fill = mode == WindingMode ? WmfFillMode::Winding : WmfFillMode::Alternate;
        if (fill != fillMode_) {
            writer_.SetFillMode(fill);
            fillMode_ = fill;
        }
        writer_.Polygon(Map(polygon));
    }

    void drawPath(const QPainterPath& path) override {
        const bool filled = brush_.style() != Qt::NoBrush;
        for (const QPolygonF& polygon : path.toSubpathPolygons()) {
            if (filled)
                drawPolygon(polygon.constData(), static_cast<int>(polygon.size()),
                            path.fillRule() == Qt::WindingFill ? WindingMode : OddEvenMode);
            else
                drawPolygon(polygon.constData(), static_cast<int>(polygon.size()), PolylineMode);
        }
    }

    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QFont font = item.font();
        const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * dpi_ / 72.0;
        const double scale = std::hypot(transform_.m11(), transform_.m12());
        // Qt turns clockwise with y downwards; metafile escapement counts counter-clockwise.
        const double angle = std::atan2(transform_.m12(), transform_.m11()) * 180.0 / M_PI;
        UseFont(FontKey{-static_cast<int>(std::lround(pixels * scale * scale_)),
                        static_cast<int>(std::lround(-angle * 10)), font.weight(), font.italic(),
                        font.family().toStdString()});
        const Rgb colour = OnPaper(pen_.color());
        if (!textColour_ || !(*textColour_ == colour)) {
            writer_.SetTextColour(colour);
            textColour_ = colour;
        }
        // The reader measures the text with its own font: write the anchor, not the left end that
        // Qt measured, and let the metafile's alignment place the text around it.
        const double along = anchor_ == TextAnchor::Centre  ? item.width() / 2
                             : anchor_ == TextAnchor::Right ? item.width()
                                                            : 0.0;
        const QPointF at = transform_.map(p + QPointF(along, 0));
        const WmfTextAlign align = anchor_ == TextAnchor::Centre  ? WmfTextAlign::BaselineCentre
                                   : anchor_ == TextAnchor::Right ? WmfTextAlign::BaselineRight
                                                                  : WmfTextAlign::BaselineLeft;
        if (align != textAlign_) {
            writer_.SetTextAlign(align);
            textAlign_ = align;
        }
        writer_.TextOut(Unit(at.x()), Unit(at.y()), Utf8ToCp1252(item.text().toStdString()));
    }

    void SetTextAnchor(TextAnchor anchor) { anchor_ = anchor; }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

    std::vector<std::uint8_t> Bytes() const { return writer_.Finish(); }

private:
    int scale_;
    int dpi_;
    WmfWriter writer_;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    QTransform transform_;
    std::optional<PenKey> penKey_;
    std::optional<BrushKey> brushKey_;
    std::optional<FontKey> fontKey_;
    int penSlot_ = -1;
    int brushSlot_ = -1;
    int fontSlot_ = -1;
    std::optional<Rgb> textColour_;
    TextAnchor anchor_ = TextAnchor::Left;
    WmfTextAlign textAlign_ = WmfTextAlign::BaselineLeft;
    WmfFillMode fillMode_ = WmfFillMode::Alternate;

    int Unit(double pixels) const { return static_cast<int>(std::lround(pixels * scale_)); }

    std::vector<WmfPoint> Map(const QPolygonF& polygon) const {
        std::vector<WmfPoint> points;
        points.reserve(static_cast<std::size_t>(polygon.size()));
        for (const QPointF& p : polygon) {
            const QPointF q = transform_.map(p);
            points.push_back({Unit(q.x()), Unit(q.y())});
        }
        return points;
    }

    // Replaces the selected object of one kind: the new one is selected before the old one goes.
    void Replace(int& slot, int created) {
        writer_.SelectObject(created);
        if (slot >= 0)
            writer_.DeleteObject(slot);
        slot = created;
    }

    void UsePen() {
        PenKey key{WmfPenStyle::Null, 0, Rgb{}};
        if (pen_.style() != Qt::NoPen && pen_.color().alpha() > 0) {
            const double scale = pen_.isCosmetic() ? 1.0 : std::hypot(transform_.m11(), transform_.m12());
            const double width = std::max(1.0, pen_.widthF() * scale);
            key.Style = pen_.style() == Qt::DashLine  ? WmfPenStyle::Dash
                        : pen_.style() == Qt::DotLine ? WmfPenStyle::Dot
                                                      : WmfPenStyle::Solid;
            key.Width = Unit(width);
            key.Colour = OnPaper(pen_.color());
        }
        if (penKey_ && *penKey_ == key)
            return;
        Replace(penSlot_, writer_.CreatePen(key.Style, key.Width, key.Colour));
        penKey_ = key;
    }

    void UseBrush(const QBrush& brush) {
        const bool hollow = brush.style() == Qt::NoBrush || BrushColour(brush).alpha() == 0;
        const BrushKey key{hollow, hollow ? Rgb{} : OnPaper(BrushColour(brush))};
        if (brushKey_ && *brushKey_ == key)
            return;
        Replace(brushSlot_, hollow ? writer_.CreateHollowBrush() : writer_.CreateSolidBrush(key.Colour));
        brushKey_ = key;
    }

    void UseFont(const FontKey& key) {
        if (fontKey_ && *fontKey_ == key)
            return;
        Replace(fontSlot_, writer_.CreateFont(key.Height, key.Escapement, key.Weight, key.Italic, key.Face));
        fontKey_ = key;
    }
};

WmfPaintDevice::WmfPaintDevice(QSize size, int dpi)
    : size_(size.expandedTo(QSize(1, 1))), dpi_(dpi), engine_(std::make_unique<WmfPaintEngine>(size_, dpi)) {}

WmfPaintDevice::~WmfPaintDevice() = default;

QPaintEngine* WmfPaintDevice::paintEngine() const {
    return engine_.get();
}

std::vector<std::uint8_t> WmfPaintDevice::Bytes() const {
    return engine_->Bytes();
}

void WmfPaintDevice::SetTextAnchor(TextAnchor anchor) {
    engine_->SetTextAnchor(anchor);
}

int WmfPaintDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return static_cast<int>(std::lround(size_.width() * 25.4 / dpi_));
    case PdmHeightMM:
        return static_cast<int>(std::lround(size_.height() * 25.4 / dpi_));
    case PdmNumColors:
        return 0x7FFFFFFF;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return dpi_;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return 0;
    }
}
