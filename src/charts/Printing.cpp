#include "charts/Printing.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "charts/ChartPainter.h"
#include "charts/PrintLines.h"
#include "ui/QtText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <functional>

namespace {

std::string PrinterName(const QPrinter& printer) {
    const QString name =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
    return name.toStdString();
}

[[noreturn]] void PrintFailed(const QPrinter& printer) {
    throw CoreError(ProgramMessage::PrintFailed, PrinterName(printer));
}

// A print job: begins on construction and ends on destruction; an error thrown inside aborts the
// job, so that a half-printed job does not reach the printer as if it were complete.
class PrintJob {
public:
    explicit PrintJob(QPrinter& printer) : printer_(printer) {
        if (!painter_.begin(&printer_))
            PrintFailed(printer_);
        painter_.setBrush(Qt::NoBrush); // text without background
    }
    ~PrintJob() {
        if (painter_.isActive()) {
            if (!finished_)
                printer_.abort();
            painter_.end();
        }
    }
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    QPainter& Painter() { return painter_; }
    // Device pixels per pixel of the 600 dpi printer the positions are given for.
    double Scale() const { return printer_.resolution() / PrintReferenceDpi; }
    void NewPage() {
        if (!printer_.newPage())
            PrintFailed(printer_);
    }
    void Finish() {
        finished_ = true;
        if (!painter_.end())
            PrintFailed(printer_);
    }

private:
    QPrinter& printer_;
    QPainter painter_;
    bool finished_ = false;
};

QFont CourierNew(int points, bool bold) {
    QFont font(QStringLiteral("Courier New"), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

// Writes text with the top of its line at (x, y) in reference pixels.
void TextOut(QPainter& p, double scale, double x, double y, const QString& text) {
    const QFontMetricsF fm(p.font(), p.device());
    p.drawText(QPointF(x * scale, y * scale + fm.ascent()), text);
}

// One list printout: header, 64 lines a page, the comment as footer on every page.
void PrintList(QPrinter& printer, const std::string& heading, int recordCount, const std::string& comment,
               const std::function<std::string(int)>& lineOf) {
    printer.setPageOrientation(QPageLayout::Portrait);
    PrintJob job(printer);
    QPainter& p = job.Painter();
    p.setFont(CourierNew(10, false));
    const double scale = job.Scale();
    const QFontMetricsF fm(p.font(), p.device());
    const double h = fm.height() / scale;
    const QString header = ToQString(PrintHeader(heading));
    const auto pages = ListPageRanges(recordCount);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            job.NewPage();
        TextOut(p, scale, ListLeft, ListHeaderTop, header);
        int j = 1;
        for (int i = pages[page].First; i <= pages[page].Last; ++i, ++j)
            TextOut(p, scale, ListLeft, ListLineTop(j, h), ToQString(lineOf(i)));
        TextOut(p, scale, ListLeft, ListFooterTop(h), ToQString(comment));
    }
    job.Finish();
}

} // namespace

void PrintVehicleList(QPrinter& printer, const MeasurementData& data, const LanguageTexts& texts,
                      const LocaleFormat& locale) {
    PrintList(printer, texts[Text::VehicleListHeader], data.WorkVehicleCount, data.Comment,
              [&](int i) { return VehiclePrintLine(data.WorkVehicles[i], locale); });
}

void PrintIntervalList(QPrinter& printer, const MeasurementData& data, const LanguageTexts& texts,
                       const LocaleFormat& locale) {
    PrintList(printer, texts[Text::IntervalListHeader], data.WorkIntervalCount, data.Comment,
              [&](int i) { return IntervalPrintLine(data.WorkIntervals[i], locale); });
}

void PrintChart(QPrinter& printer, const ChartDescription& chart, const ChartAppearance& appearance) {
    printer.setPageOrientation(QPageLayout::Landscape);
    PrintJob job(printer);
    const double top = 500 * job.Scale();
    const QRectF target(0, top, printer.width(), std::max(1.0, printer.height() - top));
    // On paper the walls stand on white: neither the back wall nor the panel is filled.
    ChartPaintOptions options;
    options.BackWallFilled = false;
    options.PanelFilled = false;
    PaintChart(job.Painter(), target, chart, appearance, options);
    job.Finish();
}

void PrintSummary(QPrinter& printer, const std::vector<std::string>& lines) {
    printer.setPageOrientation(QPageLayout::Landscape);
    PrintJob job(printer);
    QPainter& p = job.Painter();
    const double scale = job.Scale();
    const QFont title = CourierNew(14, true);
    const QFont body = CourierNew(10, false);
    const double h = QFontMetricsF(body, p.device()).height() / scale;
    // A summary longer than the page goes on over further pages, each headed by the title line.
    const auto pages = SummaryPageRanges(static_cast<int>(lines.size()), h, printer.height() / scale);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            job.NewPage();
        p.setFont(title);
        if (!lines.empty())
            TextOut(p, scale, SummaryLeft, SummaryTitleTop, ToQString(lines.front()));
        p.setFont(body);
        for (int k = pages[page].First; k <= pages[page].Last; ++k)
            TextOut(p, scale, SummaryLeft, SummaryLineTop(k - pages[page].First + 1, h),
                    ToQString(lines[static_cast<std::size_t>(k)]));
    }
    job.Finish();
}

void PrintViewDirectly(QPrinter& printer, View view, const PrintSource& source) {
    switch (view) {
    case View::VehicleList:
        PrintVehicleList(printer, source.Data, source.Texts);
        return;
    case View::IntervalList:
        PrintIntervalList(printer, source.Data, source.Texts);
        return;
    case View::Chart:
        PrintChart(printer, source.Chart, source.Appearance);
        return;
    case View::Summary:
        PrintSummary(printer, source.SummaryLines);
        return;
    case View::None:
        return;
    }
}

bool PrintCurrentView(QWidget* parent, QPrinter& printer, View view, const PrintSource& source) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    PrintViewDirectly(printer, view, source);
    return true;
}

void PreviewCurrentView(QWidget* parent, QPrinter& printer, View view, const PrintSource& source) {
    QPrintPreviewDialog preview(&printer, parent);
    const std::string& caption = source.Texts[493];
    preview.setWindowTitle(caption.empty() ? QStringLiteral("Druckvorschau") : ToQString(caption));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&](QPrinter* target) { PrintViewDirectly(*target, view, source); });
    preview.exec();
}
