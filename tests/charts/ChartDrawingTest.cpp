#include "base/CoreError.h"
#include "charts/ChartPainter.h"
#include "charts/ChartPicture.h"
#include "charts/ChartWidget.h"
#include "charts/WmfPaintDevice.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A speed distribution as the views fill it: 29 labelled bars, stacked LZ, LKW, PKW.
ChartDescription StackedSpeedChart() {
    ChartDescription chart;
    chart.Title = "Speed - all vehicles";
    chart.Foot = {"Main road", "Period: 02.03.2005  00:00  -  08.03.2005  23:55   Direction: <=>"};
    chart.LeftAxisTitle = "Count";
    chart.BottomAxisTitle = "km/h";
    chart.LeftAxisMax = 500;
    ChartSeries lz{{}, {128, 176, 255}}, lkw{{}, {240, 240, 128}}, pkw{{}, {255, 96, 96}};
    for (int i = 0; i < 29; ++i) {
        chart.Labels.push_back(i == 0 ? "<15" : i == 28 ? ">150" : std::to_string(5 * i + 15));
        lz.Values.push_back(i == 8 ? 20 : 0);
        lkw.Values.push_back(i == 8 ? 30 : 0);
        pkw.Values.push_back(10 * i);
        chart.ValueLabels.push_back(std::to_string(10 * i + (i == 8 ? 50 : 0)));
    }
    chart.Series = {lz, lkw, pkw};
    return chart;
}

// A speed time view with the limit line: 24 positions, 20 of them with data.
ChartDescription LimitChart() {
    ChartDescription chart;
    chart.AxisKind = 2;
    chart.Title = "V 85% speed";
    chart.LeftAxisTitle = "km/h";
    chart.RightAxisTitle = "Limit";
    chart.LeftAxisMax = 80;
    chart.RightAxisVisible = true;
    chart.Limit = 50;
    ChartSeries below{{}, {255, 255, 255}}, above{{}, {224, 80, 80}};
    for (int r = 0; r < 24; ++r) {
        const double v = r < 20 ? 30 + r * 2 : 0;
        below.Values.push_back(std::min(v, 50.0));
        above.Values.push_back(std::max(0.0, v - 50));
        chart.Labels.push_back(r < 20 ? "08:" + std::to_string(10 + r) : " ");
        chart.ValueLabels.push_back(r < 20 ? std::to_string(static_cast<int>(v)) + ",0" : " ");
    }
    chart.Series = {below, above};
    return chart;
}

bool Overlap(const std::vector<PlacedLabel>& labels) {
    for (std::size_t i = 1; i < labels.size(); ++i)
        if (labels[i - 1].Box.intersects(labels[i].Box))
            return true;
    return false;
}

// The pixel that contains p.
QColor PixelAt(const QImage& image, QPointF p) {
    return image.pixelColor(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

// The texts of a metafile with the text alignment in force and the point each is written at.
struct MetafileText {
    std::string Text;
    int Align = 24;
    int X = 0;
    int Y = 0;
};

std::vector<MetafileText> MetafileTexts(const std::vector<std::uint8_t>& file) {
    std::vector<MetafileText> texts;
    int align = 24;
    std::size_t at = 22 + 18; // after the placeable and the metafile header
    while (at + 6 <= file.size()) {
        const std::uint32_t words = WmfDword(file, at);
        const std::uint16_t function = WmfWord(file, at + 4);
        if (function == 0 || words < 3)
            break;
        if (function == 0x012E) // SetTextAlign
            align = WmfWord(file, at + 6);
        if (function == 0x0A32) { // ExtTextOut: y, x, length, options, text
            const auto word = [&](std::size_t i) {
                return static_cast<std::int16_t>(WmfWord(file, at + 6 + 2 * i));
            };
            const auto length = static_cast<std::size_t>(WmfWord(file, at + 10));
            texts.push_back({std::string(file.begin() + static_cast<long>(at + 14),
                                         file.begin() + static_cast<long>(at + 14 + length)),
                             align, word(1), word(0)});
        }
        at += words * 2;
    }
    return texts;
}

} // namespace

class ChartDrawingTest : public QObject {
    Q_OBJECT
private slots:
    void LabelsNeverOverlapAtAnySize();
    void StackedBarsStandOnEachOtherAndKeepInsideTheAxis();
    void AxisTicksFollowTheScaleSteps();
    void PixelsShowColoursWallsAndTheLimitLine();
    void PicturesOfEveryTypeAreWritten();
    void MetafileReadsBackWithWmf2svg();
    void MetafileTextIsPlacedByItsOwnAlignment();
    void WidgetReportsClicksAndKeepsItsAppearance();
};

void ChartDrawingTest::LabelsNeverOverlapAtAnySize() {
    const ChartDescription speed = StackedSpeedChart();
    const ChartDescription limit = LimitChart();
    for (bool view3D : {false, true})
        for (ValueLabelMode mode : {ValueLabelMode::Edge, ValueLabelMode::Bars})
            for (int width : {1600, 1000, 600, 360, 200}) {
                const ChartAppearance appearance{view3D, mode};
                for (const ChartDescription* chart : {&speed, &limit}) {
                    const ChartLayout l =
                        ChartPainter(*chart, appearance).Layout(nullptr, QRectF(0, 0, width, 500));
                    QVERIFY2(!Overlap(l.BottomLabels), qPrintable(QString("bottom labels at %1").arg(width)));
                    if (mode == ValueLabelMode::Edge)
                        QVERIFY2(!Overlap(l.ValueLabels),
                                 qPrintable(QString("value labels at %1").arg(width)));
                    QVERIFY(!l.BottomLabels.empty());
                    for (const auto& label : l.BottomLabels) {
                        QVERIFY(l.Target.contains(label.Box));
                        QVERIFY(label.Box.top() >= l.Plot.bottom());
                    }
                    for (const auto& label : l.ValueLabels)
                        QVERIFY(l.Target.contains(label.Box));
                    QVERIFY(l.Target.contains(l.Plot));
                }
            }

    // Wide charts show every label side by side; narrow ones turn them or thin them out.
    const ChartAppearance flat{false, ValueLabelMode::None};
    const ChartLayout wide = ChartPainter(speed, flat).Layout(nullptr, QRectF(0, 0, 1600, 600));
    QCOMPARE(static_cast<int>(wide.BottomLabels.size()), 29);
    QVERIFY(!wide.BottomFit.Upright);
    QCOMPARE(wide.BottomLabels.front().Text, QString("<15"));
    const ChartLayout narrow = ChartPainter(speed, flat).Layout(nullptr, QRectF(0, 0, 300, 600));
    QVERIFY(narrow.BottomFit.Upright || narrow.BottomFit.Step > 1);
    // Blank labels of positions beyond the data take no box.
    const ChartLayout times = ChartPainter(limit, flat).Layout(nullptr, QRectF(0, 0, 1600, 600));
    QCOMPARE(static_cast<int>(times.BottomLabels.size()), 20);
    QVERIFY(ChartPainter(limit, flat).Layout(nullptr, QRectF(0, 0, 1600, 600)).ValueLabels.empty());
}

void ChartDrawingTest::StackedBarsStandOnEachOtherAndKeepInsideTheAxis() {
    ChartDescription chart = StackedSpeedChart();
    chart.Series[2].Values[20] = 900; // above the axis maximum
    chart.Series[2].Values[21] = -5;  // negative values draw nothing
    for (bool view3D : {false, true}) {
        const ChartPainter painter(chart, ChartAppearance{view3D, ValueLabelMode::Bars});
        const ChartLayout l = painter.Layout(nullptr, QRectF(0, 0, 1200, 800));
        QCOMPARE(painter.BarCount(), 29);
        const QRectF lz = painter.BarFront(l, 8, 0), lkw = painter.BarFront(l, 8, 1),
                     pkw = painter.BarFront(l, 8, 2);
        QVERIFY(!lz.isEmpty() && !lkw.isEmpty() && !pkw.isEmpty());
        QVERIFY(qAbs(lz.top() - lkw.bottom()) < 1e-6);
        QVERIFY(qAbs(lkw.top() - pkw.bottom()) < 1e-6);
        QVERIFY(qAbs(lkw.height() / lz.height() - 1.5) < 1e-6);
        QVERIFY(qAbs(pkw.height() / lz.height() - 4.0) < 1e-6);
        QCOMPARE(lz.left(), pkw.left());
        QVERIFY(painter.BarFront(l, 0, 2).isEmpty()); // 0 vehicles
        QVERIFY(painter.BarFront(l, 21, 2).isEmpty());
        const QRectF tall = painter.BarFront(l, 20, 2);
        QVERIFY(qAbs(tall.top() - (l.Plot.top() - l.Depth.y() * 0.15)) < 1e-6);
        QVERIFY(painter.BarFront(l, 9, 2).left() > lz.right()); // bars do not touch
        // The value label of a bar sits just above it.
        const auto label = std::find_if(l.ValueLabels.begin(), l.ValueLabels.end(),
                                        [](const PlacedLabel& p) { return p.Bar == 8; });
        QVERIFY(label != l.ValueLabels.end());
        QVERIFY(label->Box.bottom() <= pkw.top());
        QVERIFY(label->Box.bottom() > pkw.top() - l.Depth.y() - 12 * l.Unit);
        QVERIFY(label->Box.center().x() > pkw.left() && label->Box.center().x() < pkw.right() + l.Depth.x());
    }
}

void ChartDrawingTest::AxisTicksFollowTheScaleSteps() {
    ChartDescription chart = StackedSpeedChart();
    const ChartAppearance flat{false, ValueLabelMode::None};
    auto ticks = [&](double max) {
        chart.LeftAxisMax = max;
        return ChartPainter(chart, flat).Layout(nullptr, QRectF(0, 0, 1200, 800)).LeftTicks;
    };
    QCOMPARE(ticks(5), (std::vector<double>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(ticks(250), (std::vector<double>{0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250}));
    QCOMPARE(ticks(150).back(), 150.0);
    QCOMPARE(ticks(100000).back(), 100000.0);
    const auto odd = ticks(172); // the control's initial maximum: the top is labelled too
    QCOMPARE(odd.back(), 172.0);
    QVERIFY(odd.size() >= 5 && odd.size() <= 12);
    // A small chart takes fewer grid lines.
    chart.LeftAxisMax = 250;
    const auto few = ChartPainter(chart, flat).Layout(nullptr, QRectF(0, 0, 400, 250)).LeftTicks;
    QVERIFY(few.size() < 7);
    QCOMPARE(few.back(), 250.0);
}

void ChartDrawingTest::PixelsShowColoursWallsAndTheLimitLine() {
    const ChartDescription chart = LimitChart();
    const QSize size(1000, 700);
    for (bool view3D : {false, true}) {
        const ChartAppearance appearance{view3D, ValueLabelMode::None};
        const QImage image = RenderChartImage(chart, appearance, size);
        const ChartPainter painter(chart, appearance);
        const ChartLayout l = painter.Layout(&image, QRectF(QPointF(0, 0), size));
        QCOMPARE(PixelAt(image, QPointF(3, 3)), QColor(212, 212, 212)); // the grey panel
        // A bar above the limit: white below, the darker colour above; the red line marks 50 km/h.
        const QRectF below = painter.BarFront(l, 15, 0), above = painter.BarFront(l, 15, 1);
        QCOMPARE(PixelAt(image, below.center() + QPointF(0, below.height() / 4)), QColor(255, 255, 255));
        QCOMPARE(PixelAt(image, above.center()), QColor(224, 80, 80));
        // The limit line: one straight line on the front plane at the height of the left tick of
        // 50, from the left axis past the bars to its label, which stands level with it.
        const double limitY = painter.ValueY(l, 50);
        QCOMPARE(l.LimitLine.y1(), limitY);
        QCOMPARE(l.LimitLine.y2(), limitY);
        QCOMPARE(l.LimitLine.x1(), l.Plot.left());
        QVERIFY(l.LimitLine.x2() > l.Plot.right() + l.Depth.x());
        QVERIFY(std::abs(l.LimitLabelBox.center().y() - limitY) < 0.5);
        QVERIFY(l.LimitLabelBox.left() > l.LimitLine.x2());
        for (const double x : {l.Plot.left() + l.SlotWidth * 22.5, below.center().x(), l.Plot.left() + 3}) {
            const QColor line = PixelAt(image, QPointF(x, limitY));
            QVERIFY2(line.red() > 230 && line.green() < 100 && line.blue() < 100, qPrintable(line.name()));
        }
        // Its white edge sets it off from the red part of a bar above the limit.
        for (const double dy : {-1.8 * l.Unit, 1.8 * l.Unit}) {
            const QColor edge = PixelAt(image, QPointF(below.center().x(), limitY + dy));
            QVERIFY2(edge.lightness() > 200 && edge.green() > 180, qPrintable(edge.name()));
        }
        // Where no bar stands the back wall is white and the floor light yellow.
        const QPointF empty(l.Plot.left() + l.SlotWidth * 22.5 + l.Depth.x(), l.Plot.center().y());
        QCOMPARE(PixelAt(image, empty + QPointF(0, 7)), QColor(255, 255, 255));
        const QPointF floor =
            view3D ? QPointF(l.Plot.left() + l.SlotWidth * 22.5, l.Plot.bottom() - l.Depth.y() / 2)
                   : QPointF(l.Plot.left() + l.SlotWidth * 22.5, l.Plot.bottom() + l.FloorHeight / 2);
        QCOMPARE(PixelAt(image, floor), QColor(255, 255, 128));
        if (view3D) // the side of a bar is shaded
            QVERIFY(PixelAt(image, QPointF(below.right() + 2, below.center().y())).lightness() < 240);
    }
    // The printout leaves the back wall unfilled.
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    {
        QPainter p(&image);
        ChartPaintOptions print;
        print.BackWallFilled = false;
        print.PanelFilled = false;
        PaintChart(p, QRectF(QPointF(0, 0), size), chart, ChartAppearance{false, ValueLabelMode::None},
                   print);
    }
    const ChartLayout l =
        ChartPainter(chart, {false, ValueLabelMode::None}).Layout(&image, QRectF(QPointF(0, 0), size));
    QCOMPARE(PixelAt(image, QPointF(l.Plot.left() + l.SlotWidth * 22.5, l.Plot.center().y() + 7)),
             QColor(1, 2, 3));
}

void ChartDrawingTest::PicturesOfEveryTypeAreWritten() {
    QTemporaryDir dir;
    const ChartDescription chart = StackedSpeedChart();
    const ChartAppearance appearance;
    auto path = [&](const char* name) { return dir.filePath(name).toStdString(); };
    auto bytes = [&](const char* name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    SaveChartPicture(path("a.BMP"), chart, appearance, QSize(640, 480));
    const QByteArray bmp = bytes("a.BMP");
    QVERIFY(bmp.startsWith("BM"));
    QCOMPARE(static_cast<int>(static_cast<unsigned char>(bmp[28])), 24); // 24 bits a pixel
    QCOMPARE(QImage(dir.filePath("a.BMP")).size(), QSize(640, 480));

    SaveChartPicture(path("a.png"), chart, appearance, QSize(300, 200));
    QCOMPARE(QImage(dir.filePath("a.png")).size(), QSize(300, 200));

    SaveChartPicture(path("a.svg"), chart, appearance, QSize(800, 600));
    const QByteArray svg = bytes("a.svg");
    QVERIFY(svg.contains("<svg"));
    QVERIFY(svg.contains("Speed - all vehicles"));

    SaveChartPicture(path("a.pdf"), chart, appearance, QSize(800, 600));
    QVERIFY(bytes("a.pdf").startsWith("%PDF"));
    QProcess text;
    text.start("pdftotext", {dir.filePath("a.pdf"), "-"});
    QVERIFY(text.waitForFinished());
    const QString pdfText = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(pdfText.contains("Speed - all vehicles"));
    QVERIFY(pdfText.contains(">150"));

    SaveChartPicture(path("b.wmfx"), chart, appearance, QSize(800, 600));
    QVERIFY(bytes("b.wmfx").startsWith(QByteArray::fromHex("d7cdc69a")));

    // Any other extension writes nothing and says why.
    for (const char* name : {"c.jpg", "c"}) {
        try {
            SaveChartPicture(path(name), chart, appearance, QSize(100, 100));
            QFAIL("an unknown picture type was accepted");
        } catch (const CoreError& error) {
            QCOMPARE(error.textNumber(), 490);
        }
        QVERIFY(!QFile::exists(dir.filePath(name)));
    }
    try {
        SaveChartPicture(dir.filePath("missing/d.png").toStdString(), chart, appearance, QSize(100, 100));
        QFAIL("writing into a missing folder succeeded");
    } catch (const CoreError& error) {
        QCOMPARE(error.textNumber(), 491);
    }
}

void ChartDrawingTest::MetafileReadsBackWithWmf2svg() {
    QTemporaryDir dir;
    for (bool view3D : {false, true}) {
        const QString wmf = dir.filePath(view3D ? "c3.wmf" : "c2.wmf");
        const QString svg = dir.filePath("out.svg");
        SaveChartPicture(wmf.toStdString(), LimitChart(), ChartAppearance{view3D, ValueLabelMode::Edge},
                         QSize(1200, 800));
        QProcess convert;
        convert.start("wmf2svg", {"-o", svg, wmf});
        QVERIFY(convert.waitForFinished());
        QCOMPARE(convert.exitCode(), 0);
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString out = QString::fromLatin1(file.readAll());
        // wmf2svg scales the picture to its own size; the structure tells what was drawn.
        QVERIFY(out.contains("<svg"));
        QVERIFY(out.contains("V 85% speed"));
        QVERIFY(out.contains(">08:10<") || out.contains("08:10"));
        QVERIFY(out.count("<text") >= 24 + 20 + 5);
        QVERIFY(out.count("<rect") + out.count("<polygon") >= 20 * (view3D ? 3 : 1));
        QVERIFY(out.contains("stroke:red") || out.contains("#ff0000") || out.contains("rgb(255,0,0)"));
    }
}

void ChartDrawingTest::MetafileTextIsPlacedByItsOwnAlignment() {
    // Value labels and bottom labels are written centre-aligned at the middle of their bar, the
    // tick labels right-aligned at the axis, the foot left-aligned: a reader whose font differs
    // from ours still centres every label on its bar.
    const ChartDescription chart = StackedSpeedChart();
    for (bool view3D : {false, true}) {
        const ChartAppearance appearance{view3D, ValueLabelMode::Edge};
        const QSize size(1200, 800);
        WmfPaintDevice device(size);
        {
            QPainter p(&device);
            PaintChart(p, QRectF(QPointF(0, 0), size), chart, appearance);
        }
        const ChartLayout l = ChartPainter(chart, appearance).Layout(&device, QRectF(QPointF(0, 0), size));
        const int units = 8; // metafile units per pixel at this size
        const auto texts = MetafileTexts(device.Bytes());
        QVERIFY(!texts.empty());
        auto find = [&](const std::string& text) {
            for (const auto& t : texts)
                if (t.Text == text)
                    return t;
            return MetafileText{};
        };
        QCOMPARE(l.ValueLabels.size(), std::size_t{29});
        for (const PlacedLabel& label : l.ValueLabels) {
            // The same text may stand elsewhere too: take the nearest one in the label's own row.
            double nearest = 1e9;
            int align = 0;
            for (const MetafileText& m : texts)
                if (m.Text == label.Text.toStdString() && m.Y > label.Box.top() * units &&
                    m.Y <= label.Box.bottom() * units &&
                    std::abs(m.X - label.Box.center().x() * units) < nearest) {
                    nearest = std::abs(m.X - label.Box.center().x() * units);
                    align = m.Align;
                }
            QVERIFY2(nearest <= 1, qPrintable(label.Text));
            QCOMPARE(align, 24 | 6);
        }
        const MetafileText seventy = find("70"); // bottom label of bar 11
        QCOMPARE(seventy.Align, 24 | 6);
        QVERIFY(std::abs(seventy.X - (l.Plot.left() + l.SlotWidth * 11.5) * units) <= 1);
        const MetafileText title = find("Speed - all vehicles");
        QCOMPARE(title.Align, 24 | 6);
        QVERIFY(std::abs(title.X - l.TitleBox.center().x() * units) <= 1);
        const MetafileText tick = find("500");
        QCOMPARE(tick.Align, 24 | 2);
        QVERIFY(std::abs(tick.X - (l.Plot.left() - 4 * l.Unit - 4 * l.Unit) * units) <= 1);
        QCOMPARE(find("Main road").Align, 24);
        QVERIFY(std::abs(find("Main road").X - l.FootBoxes[0].left() * units) <= 1);
    }
}

void ChartDrawingTest::WidgetReportsClicksAndKeepsItsAppearance() {
    ChartWidget widget;
    widget.resize(600, 400);
    QCOMPARE(widget.objectName(), QString("chartWidget"));
    widget.SetAppearance(ChartAppearance{false, ValueLabelMode::Edge});
    widget.SetChart(LimitChart());
    QCOMPARE(widget.accessibleName(), QString("V 85% speed"));
    QVERIFY(!widget.Appearance().View3D);
    QCOMPARE(widget.Appearance().ValueLabels, ValueLabelMode::Edge);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QSignalSpy clicks(&widget, &ChartWidget::ChartClick);
    QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(300, 200));
    QCOMPARE(clicks.count(), 1);
    QTest::mouseClick(&widget, Qt::RightButton, {}, QPoint(300, 200));
    QCOMPARE(clicks.count(), 1);
    widget.setFocus();
    QTest::keyClick(&widget, Qt::Key_Space);
    QCOMPARE(clicks.count(), 2);
    const QImage shot = widget.grab().toImage();
    QCOMPARE(shot.pixelColor(5, 5), QColor(212, 212, 212));
}

QTEST_MAIN(ChartDrawingTest)
#include "ChartDrawingTest.moc"
