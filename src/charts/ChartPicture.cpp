#include "charts/ChartPicture.h"

#include "base/CoreError.h"
#include "charts/ChartPainter.h"
#include "charts/ChartPictureFile.h"
#include "charts/WmfPaintDevice.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace {

constexpr int PictureDpi = 96;

[[noreturn]] void NotWritten(const std::string& fileName) {
    throw CoreError(ProgramMessage::PictureNotWritten, fileName);
}

void WriteBytes(const std::string& fileName, const std::vector<std::uint8_t>& bytes) {
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.flush())
        NotWritten(fileName);
}

void WriteSvg(const std::string& fileName, const ChartDescription& chart, const ChartAppearance& appearance,
              QSize size) {
    QSvgGenerator svg;
    svg.setFileName(QString::fromStdString(fileName));
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(PictureDpi);
    svg.setTitle(QString::fromStdString(chart.Title));
    QPainter painter;
    if (!painter.begin(&svg))
        NotWritten(fileName);
    PaintChart(painter, QRectF(QPointF(0, 0), size), chart, appearance);
    painter.end();
    if (!QFile::exists(QString::fromStdString(fileName)))
        NotWritten(fileName);
}

void WritePdf(const std::string& fileName, const ChartDescription& chart, const ChartAppearance& appearance,
              QSize size) {
    {
        // QPdfWriter reports no failure to open its file: check first that it can be written.
        QFile probe(QString::fromStdString(fileName));
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
            NotWritten(fileName);
    }
    QPdfWriter pdf(QString::fromStdString(fileName));
    pdf.setResolution(PictureDpi);
    pdf.setPageSize(
        QPageSize(QSizeF(size) * 72.0 / PictureDpi, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QString::fromStdString(chart.Title));
    QPainter painter;
    if (!painter.begin(&pdf))
        NotWritten(fileName);
    PaintChart(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())), chart, appearance);
    if (!painter.end())
        NotWritten(fileName);
}

} // namespace

QImage RenderChartImage(const ChartDescription& chart, const ChartAppearance& appearance, QSize size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(PictureDpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(PictureDpi / 0.0254 + 0.5));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintChart(painter, QRectF(QPointF(0, 0), image.size()), chart, appearance);
    return image;
}

std::vector<std::uint8_t> RenderChartMetafile(const ChartDescription& chart,
                                              const ChartAppearance& appearance, QSize size) {
    WmfPaintDevice device(size, PictureDpi);
    {
        QPainter painter(&device);
        PaintChart(painter, QRectF(QPointF(0, 0), size), chart, appearance);
    }
    return device.Bytes();
}

void SaveChartPicture(const std::string& fileName, const ChartDescription& chart,
                      const ChartAppearance& appearance, QSize size) {
    size = size.expandedTo(QSize(1, 1));
    switch (ChartPictureTypeOf(fileName)) {
    case ChartPictureType::Wmf:
        WriteBytes(fileName, RenderChartMetafile(chart, appearance, size));
        return;
    case ChartPictureType::Bmp:
        if (!RenderChartImage(chart, appearance, size).save(QString::fromStdString(fileName), "BMP"))
            NotWritten(fileName);
        return;
    case ChartPictureType::Png:
        if (!RenderChartImage(chart, appearance, size).save(QString::fromStdString(fileName), "PNG"))
            NotWritten(fileName);
        return;
    case ChartPictureType::Svg:
        WriteSvg(fileName, chart, appearance, size);
        return;
    case ChartPictureType::Pdf:
        WritePdf(fileName, chart, appearance, size);
        return;
    }
}
