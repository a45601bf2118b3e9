#include "charts/Printing.h"
#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "data/DateTime.h"

#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int PageCount(const QString& pdf) {
    const QString info = Run("pdfinfo", {pdf});
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of a page; the list printouts' Courier 10 pt has a pitch of 6 points, which keeps their
// columns exact.
QString PageText(const QString& pdf, int page, bool monospaced = true) {
    QStringList arguments{"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"};
    if (monospaced)
        arguments << "-fixed"
                  << "6";
    return Run("pdftotext", arguments);
}

// "Page size: 841.89 x 595.276 pts (A4)": true when wider than high.
bool Landscape(const QString& pdf) {
    const auto match = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+))").match(Run("pdfinfo", {pdf}));
    return match.hasMatch() && match.captured(1).toDouble() > match.captured(2).toDouble();
}

std::unique_ptr<QPrinter> PdfPrinter(const QString& file) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

std::unique_ptr<MeasurementData> Vehicles(int count) {
    auto data = std::make_unique<MeasurementData>();
    data->Comment = "Hauptstrasse 12";
    data->WorkVehicles.EnsureSize(count);
    const double start = *TryEncodeDateTime(2005, 3, 2, 14, 3, 9);
    for (int i = 1; i <= count; ++i) {
        VehicleRecord& v = data->WorkVehicles[i];
        v = VehicleRecord{};
        v.Time = IncMinute(start, i - 1);
        v.Speed = static_cast<std::uint8_t>(i == 1 ? 7 : 40 + i % 50);
        v.Length = static_cast<std::uint8_t>(i == 1 ? 12 : 4);
        v.Direction = i == 1 ? '2' : '1';
    }
    data->WorkVehicleCount = count;
    return data;
}

LanguageTexts Headings() {
    LanguageTexts texts;
    texts.Set(81, " Nr.        Datum       Uhrzeit        km/h    Länge    Richtung");
    texts.Set(82, " Nr.        Beginn               ==>  Alle    PKW   LKW    LZ");
    return texts;
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT
private slots:
    void VehicleListPages();
    void IntervalListAndEmptyList();
    void ChartAndSummaryInLandscape();
    void FailureToStartIsReported();
};

void PrintingTest::VehicleListPages() {
    QTemporaryDir dir;
    const LanguageTexts texts = Headings();
    struct Case {
        int Records;
        int Pages;
        int LinesOnLastPage;
    };
    for (const Case c : {Case{64, 2, 0}, Case{65, 2, 1}, Case{3, 1, 3}}) {
        const QString pdf = dir.filePath(QString("list%1.pdf").arg(c.Records));
        auto printer = PdfPrinter(pdf);
        const auto data = Vehicles(c.Records);
        PrintVehicleList(*printer, *data, texts, GermanLocaleFormat());
        QCOMPARE(PageCount(pdf), c.Pages);
        QVERIFY(!Landscape(pdf));
        for (int page = 1; page <= c.Pages; ++page) {
            const QString text = PageText(pdf, page);
            // Every page: the header without the number column, and the comment as footer.
            QVERIFY(text.contains("Datum       Uhrzeit        km/h    Länge    Richtung"));
            QVERIFY(!text.contains("Nr."));
            QVERIFY(text.contains("Hauptstrasse 12"));
            const int lines =
                static_cast<int>(text.count(QRegularExpression(R"(\d\d\.03\.2005  \d\d:\d\d:09)")));
            QCOMPARE(lines, page < c.Pages ? 64 : c.LinesOnLastPage);
        }
        const QString first = PageText(pdf, 1);
        QVERIFY(first.contains("02.03.2005  14:03:09          7       12       <="));
        // The comment stands below the last line.
        QVERIFY(first.indexOf("Hauptstrasse 12") > first.lastIndexOf(":09"));
    }
}

void PrintingTest::IntervalListAndEmptyList() {
    QTemporaryDir dir;
    const LanguageTexts texts = Headings();
    auto data = std::make_unique<MeasurementData>();
    data->Comment = "Kreuzung Nord";
    data->WorkIntervals.EnsureSize(2);
    for (int i = 1; i <= 2; ++i) {
        IntervalRecord& r = data->WorkIntervals[i];
        r.StartTime = *TryEncodeDateTime(2005, 3, 2, 8, 5 * (i - 1), 0);
        r.Total() = {15, 1234};
        r.PkwCount() = {12, 1000};
        r.LkwCount() = {2, 200};
        r.LzCount() = {1, 34};
    }
    data->WorkIntervalCount = 2;
    const QString pdf = dir.filePath("intervals.pdf");
    PrintIntervalList(*PdfPrinter(pdf), *data, texts, GermanLocaleFormat());
    QCOMPARE(PageCount(pdf), 1);
    const QString text = PageText(pdf, 1);
    QVERIFY(text.contains("Beginn               ==>  Alle"));
    QVERIFY(text.contains("02.03.2005  08:05:00        15     12     2     1      1234   1000   200    34"));
    QVERIFY(text.contains("Kreuzung Nord"));

    // No working vehicles: one page with the header and the comment.
    const QString empty = dir.filePath("empty.pdf");
    PrintVehicleList(*PdfPrinter(empty), *Vehicles(0), texts, GermanLocaleFormat());
    QCOMPARE(PageCount(empty), 1);
    QVERIFY(PageText(empty, 1).contains("Uhrzeit"));
    QVERIFY(PageText(empty, 1).contains("Hauptstrasse 12"));
}

void PrintingTest::ChartAndSummaryInLandscape() {
    QTemporaryDir dir;
    ChartDescription chart;
    chart.Title = "Anzahl - Summe aller Fahrzeuge";
    chart.Foot = {"Hauptstrasse 12", "Beginn: Mi  02.03.2005  08:00   Richtung: <=>"};
    chart.LeftAxisMax = 20;
    chart.Labels = {"08:00", "08:05", "08:10"};
    chart.Series = {ChartSeries{{4, 17, 9}, {255, 255, 255}}};
    const QString chartPdf = dir.filePath("chart.pdf");
    PrintChart(*PdfPrinter(chartPdf), chart, ChartAppearance{});
    QCOMPARE(PageCount(chartPdf), 1);
    QVERIFY(Landscape(chartPdf));
    const QString chartText = PageText(chartPdf, 1, false);
    QVERIFY(chartText.contains("Anzahl - Summe aller Fahrzeuge"));
    QVERIFY(chartText.contains("08:10"));
    QVERIFY(chartText.contains("Richtung: <=>"));

    // 80 lines do not fit one landscape page: the rest goes on a second page under the title.
    std::vector<std::string> summary{"Zusammenfassung Hauptstrasse"};
    for (int k = 1; k < 80; ++k)
        summary.push_back("Zeile " + std::to_string(k));
    const QString summaryPdf = dir.filePath("summary.pdf");
    PrintSummary(*PdfPrinter(summaryPdf), summary);
    QCOMPARE(PageCount(summaryPdf), 2);
    QVERIFY(Landscape(summaryPdf));
    const QString page1 = PageText(summaryPdf, 1, false), page2 = PageText(summaryPdf, 2, false);
    QVERIFY(page1.contains("Zusammenfassung Hauptstrasse") && page2.contains("Zusammenfassung Hauptstrasse"));
    QVERIFY(page1.contains("Zeile 1\n") || page1.contains("Zeile 1 "));
    QVERIFY(page2.contains("Zeile 79"));
    for (int k = 1; k < 80; ++k) // every line exactly once
        QCOMPARE(static_cast<int>((page1 + page2).count(QRegularExpression(QString("Zeile %1\\b").arg(k)))),
                 1);

    const QString shortPdf = dir.filePath("short.pdf");
    PrintSummary(*PdfPrinter(shortPdf), {"Titel", "Zeile 1", "Zeile 2"});
    QCOMPARE(PageCount(shortPdf), 1);
}

void PrintingTest::FailureToStartIsReported() {
    QTemporaryDir dir;
    auto printer = PdfPrinter(dir.filePath("missing/folder/out.pdf"));
    try {
        PrintSummary(*printer, {"Titel"});
        QFAIL("printing into a missing folder succeeded");
    } catch (const CoreError& error) {
        QCOMPARE(error.textNumber(), 492);
        QVERIFY(QString::fromStdString(error.what()).contains("out.pdf"));
    }
}

QTEST_MAIN(PrintingTest)
#include "PrintingTest.moc"
