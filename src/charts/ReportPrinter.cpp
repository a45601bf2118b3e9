#include "charts/ReportPrinter.h"

#include "base/CoreError.h"
#include "charts/ChartPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <system_error>
#include <unistd.h>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

struct Fonts {
    QFont Title{QStringLiteral("Arial"), 14, QFont::Bold};
    QFont Body{QStringLiteral("Arial"), 9};
    QFont TableHead{QStringLiteral("Arial"), 8, QFont::Bold};
    QFont Table{QStringLiteral("Arial"), 8};
    QFont Small{QStringLiteral("Arial"), 7};
};

// One piece of a page: a block, or the rows [FirstRow, EndRow) of a table block.
struct Placed {
    const ReportBlock* Block = nullptr;
    int FirstRow = 0;
    int EndRow = 0;
    double Top = 0;
    double Height = 0;
};

struct PhysicalPage {
    const ReportPage* Page = nullptr;
    bool Continued = false;
    std::vector<Placed> Items;
};

class ReportLayout {
public:
    ReportLayout(QPrinter& printer) : printer_(printer) {}

    QPageLayout PageLayoutFor(bool landscape) const {
        QPageLayout layout(QPageSize(QPageSize::A4),
                           landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(18, 15, 15, 15), QPageLayout::Millimeter);
        return layout;
    }
    QRectF ContentRect(bool landscape) const {
        const QRect paint = PageLayoutFor(landscape).paintRectPixels(printer_.resolution());
        const QRectF area(0, 0, paint.width(), paint.height());
        return area.adjusted(0, HeaderHeight(), 0, -FooterHeight());
    }
    double LineHeight(const QFont& font) const { return QFontMetricsF(font, &printer_).lineSpacing(); }
    double HeaderHeight() const { return LineHeight(fonts_.Body) * 2; }
    double FooterHeight() const { return LineHeight(fonts_.Small) * 3.5; }
    double Gap() const { return LineHeight(fonts_.Body) * 0.8; }
    double TitleHeight() const { return LineHeight(fonts_.Title) * 1.6; }
    double RowHeight() const { return LineHeight(fonts_.Table) * 1.25; }

    double TextHeight(const ReportBlock& block, double width) const {
        const QFontMetricsF metrics(fonts_.Body, &printer_);
        double height = 0;
        for (const std::string& line : block.Lines)
            height += metrics.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, Q(line)).height();
        return height;
    }
    double ChartHeight(const QRectF& content, bool landscape) const {
        return landscape ? content.height() * 0.6 : content.width() * 0.55;
    }
    static bool HasHeader(const ReportTable& table) {
        return std::any_of(table.Header.begin(), table.Header.end(),
                           [](const std::string& cell) { return !cell.empty(); });
    }

    std::vector<PhysicalPage> Paginate(const ReportDocument& document) const {
        std::vector<PhysicalPage> pages;
        for (const ReportPage& page : document.Pages) {
            const QRectF content = ContentRect(page.Landscape);
            pages.push_back({&page, false, {}});
            double y = content.top() + TitleHeight();
            const auto startNewPage = [&] {
                pages.push_back({&page, true, {}});
                y = content.top() + TitleHeight();
            };
            for (const ReportBlock& block : page.Blocks) {
                if (block.Type == ReportBlock::Kind::Table) {
                    const int rows = static_cast<int>(block.Table.Rows.size());
                    const double head = HasHeader(block.Table) ? RowHeight() : 0;
                    int row = 0;
                    do {
                        int fit = static_cast<int>((content.bottom() - y - head) / RowHeight());
                        if (fit < 1 && !(rows == 0 && content.bottom() - y >= head)) {
                            startNewPage();
                            fit = static_cast<int>((content.bottom() - y - head) / RowHeight());
                        }
                        const int end = std::min(rows, row + std::max(fit, 1));
                        const double height = head + (end - row) * RowHeight();
                        pages.back().Items.push_back({&block, row, end, y, height});
                        y += height + Gap();
                        row = end;
                    } while (row < rows);
                    continue;
                }
                const double height = block.Type == ReportBlock::Kind::Chart
                                          ? ChartHeight(content, page.Landscape)
                                          : TextHeight(block, content.width());
                if (y + height > content.bottom() && !pages.back().Items.empty())
                    startNewPage();
                pages.back().Items.push_back({&block, 0, 0, y, height});
                y += height + Gap();
            }
        }
        return pages;
    }

    void Print(const ReportDocument& document) {
        const std::vector<PhysicalPage> pages = Paginate(document);
        printer_.setPageLayout(PageLayoutFor(!pages.empty() && pages.front().Page->Landscape));
        QPainter painter;
        if (!painter.begin(&printer_))
            throw CoreError(ProgramMessage::ReportFailed, printer_.outputFileName().toStdString());
        const int count = static_cast<int>(pages.size());
        for (int index = 0; index < count; ++index) {
            const PhysicalPage& page = pages[static_cast<std::size_t>(index)];
            if (index > 0) {
                printer_.setPageLayout(PageLayoutFor(page.Page->Landscape));
                if (!printer_.newPage())
                    throw CoreError(ProgramMessage::ReportFailed, printer_.outputFileName().toStdString());
            }
            PaintPage(painter, document, page, index + 1, count);
        }
        painter.end();
    }

private:
    QPrinter& printer_;
    Fonts fonts_;

    void PaintPage(QPainter& painter, const ReportDocument& document, const PhysicalPage& page, int number,
                   int count) const {
        const QRectF content = ContentRect(page.Page->Landscape);
        const QRectF full(content.left(), 0, content.width(), content.bottom() + FooterHeight());
        const double pen = printer_.resolution() / 150.0;
        painter.setPen(QPen(Qt::black, pen));

        // Header: the site, ruled off.
        painter.setFont(fonts_.Body);
        painter.drawText(QRectF(full.left(), 0, full.width(), LineHeight(fonts_.Body)),
                         Qt::AlignLeft | Qt::AlignVCenter, Q(document.Header));
        painter.drawLine(QPointF(full.left(), HeaderHeight() * 0.7),
                         QPointF(full.right(), HeaderHeight() * 0.7));

        // Footer: source and version, the page number on the right.
        const double footerTop = content.bottom() + FooterHeight() * 0.3;
        painter.drawLine(QPointF(full.left(), footerTop), QPointF(full.right(), footerTop));
        painter.setFont(fonts_.Small);
        double y = footerTop + LineHeight(fonts_.Small) * 0.3;
        for (const std::string& line : document.Footer) {
            painter.drawText(QRectF(full.left(), y, full.width(), LineHeight(fonts_.Small)),
                             Qt::AlignLeft | Qt::AlignVCenter, Q(line));
            y += LineHeight(fonts_.Small);
        }
        painter.drawText(QRectF(full.left(), footerTop + LineHeight(fonts_.Small) * 0.3, full.width(),
                                LineHeight(fonts_.Small)),
                         Qt::AlignRight | Qt::AlignVCenter, Q(PageNumberText(document, number, count)));

        painter.setFont(fonts_.Title);
        painter.drawText(QRectF(content.left(), content.top(), content.width(), LineHeight(fonts_.Title)),
                         Qt::AlignLeft | Qt::AlignVCenter, Q(page.Page->Title));

        for (const Placed& item : page.Items) {
            const QRectF area(content.left(), item.Top, content.width(), item.Height);
            switch (item.Block->Type) {
            case ReportBlock::Kind::Text:
                PaintText(painter, *item.Block, area);
                break;
            case ReportBlock::Kind::Table:
                PaintTable(painter, item, area);
                break;
            case ReportBlock::Kind::Chart:
                PaintChart(painter, area, item.Block->Chart, ChartAppearance{false, ValueLabelMode::None},
                           ChartPaintOptions{false, false});
                painter.setPen(QPen(Qt::black, pen));
                break;
            }
        }
    }

    void PaintText(QPainter& painter, const ReportBlock& block, const QRectF& area) const {
        painter.setFont(fonts_.Body);
        const QFontMetricsF metrics(fonts_.Body, &printer_);
        double y = area.top();
        for (const std::string& line : block.Lines) {
            const QRectF box =
                metrics.boundingRect(QRectF(0, 0, area.width(), 1e9), Qt::TextWordWrap, Q(line));
            painter.drawText(QRectF(area.left(), y, area.width(), box.height()), Qt::TextWordWrap, Q(line));
            y += box.height();
        }
    }

    static bool IsNumeric(const std::string& cell) {
        // A signed difference ("+5", "-0,4 %") is a number too.
        const std::size_t first = cell.size() > 1 && (cell.front() == '+' || cell.front() == '-') ? 1 : 0;
        return !cell.empty() && (std::isdigit(static_cast<unsigned char>(cell[first])) || cell == "-");
    }

    // Column widths from the widest cell of each column, shrunk to the area where they exceed it.
    std::vector<double> ColumnWidths(const ReportTable& table, double available) const {
        const QFontMetricsF head(fonts_.TableHead, &printer_);
        const QFontMetricsF body(fonts_.Table, &printer_);
        const double padding = body.averageCharWidth() * 2;
        std::vector<double> widths(table.Header.size(), 0);
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = head.horizontalAdvance(Q(table.Header[c])) + padding;
        for (const auto& row : table.Rows)
            for (std::size_t c = 0; c < std::min(row.size(), widths.size()); ++c)
                widths[c] = std::max(widths[c], body.horizontalAdvance(Q(row[c])) + padding);
        double total = 0;
        for (const double width : widths)
            total += width;
        if (total > available)
            for (double& width : widths)
                width *= available / total;
        return widths;
    }

    void PaintTable(QPainter& painter, const Placed& item, const QRectF& area) const {
        const ReportTable& table = item.Block->Table;
        const std::vector<double> widths = ColumnWidths(table, area.width());
        const double inset = QFontMetricsF(fonts_.Table, &printer_).averageCharWidth();
        double y = area.top();
        const auto paintRow = [&](const std::vector<std::string>& cells, bool header) {
            double x = area.left();
            for (std::size_t c = 0; c < widths.size() && c < cells.size(); ++c) {
                const bool right = !header && c > 0 && HasHeader(table) && IsNumeric(cells[c]);
                painter.drawText(QRectF(x + inset, y, widths[c] - 2 * inset, RowHeight()),
                                 (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, Q(cells[c]));
                x += widths[c];
            }
            y += RowHeight();
        };
        if (HasHeader(table)) {
            painter.setFont(fonts_.TableHead);
            paintRow(table.Header, true);
            painter.drawLine(QPointF(area.left(), y), QPointF(area.left() + TotalWidth(widths), y));
        }
        painter.setFont(fonts_.Table);
        for (int row = item.FirstRow; row < item.EndRow; ++row)
            paintRow(table.Rows[static_cast<std::size_t>(row)], false);
    }

    static double TotalWidth(const std::vector<double>& widths) {
        double total = 0;
        for (const double width : widths)
            total += width;
        return total;
    }
};

} // namespace

void PrintReport(QPrinter& printer, const ReportDocument& document) {
    ReportLayout(printer).Print(document);
}

int ReportPageCount(QPrinter& printer, const ReportDocument& document) {
    return static_cast<int>(ReportLayout(printer).Paginate(document).size());
}

void WriteReportPdf(const std::filesystem::path& file, const ReportDocument& document) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    const std::filesystem::path temporary =
        folder / ("." + file.filename().string() + "." + std::to_string(::getpid()) + ".tmp");
    std::error_code ignored;
    if (!std::filesystem::is_directory(folder, ignored))
        throw CoreError(ProgramMessage::ReportFailed, file.string());
    try {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(temporary.string()));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setCreator(QStringLiteral("Korvelan II"));
        PrintReport(printer, document);
    } catch (const CoreError&) {
        std::filesystem::remove(temporary, ignored);
        throw CoreError(ProgramMessage::ReportFailed, file.string());
    }
    std::error_code renamed;
    if (!std::filesystem::exists(temporary, ignored))
        throw CoreError(ProgramMessage::ReportFailed, file.string());
    std::filesystem::rename(temporary, file, renamed);
    if (renamed) {
        std::filesystem::remove(temporary, ignored);
        throw CoreError(ProgramMessage::ReportFailed, file.string());
    }
}
