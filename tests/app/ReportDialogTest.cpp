// The report dialog remembers its fields in the settings file; the report's pages are laid out
// with long tables continued on further pages.

#include "app/ReportDialog.h"
#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "charts/ReportPrinter.h"
#include "settings/IniFile.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

class ReportDialogTest : public QObject {
    Q_OBJECT

private slots:
    void FieldsAreRememberedInTheSettingsFile() {
        QTemporaryDir folder;
        const std::string path = folder.filePath(QStringLiteral("korvelan2.ini")).toStdString();
        IniFile ini(path);
        LanguageTexts texts;
        ReportDialog dialog(ReadReportFields(ini), texts);
        QVERIFY(dialog.siteEdit->text().isEmpty());
        dialog.siteEdit->setText(QStringLiteral("Lindenallee 4"));
        dialog.direction1Edit->setText(QStringLiteral("stadteinwärts"));
        dialog.authorEdit->setText(QStringLiteral("A. Planer"));
        WriteReportFields(ini, dialog.Fields());

        const ReportFields again = ReadReportFields(IniFile(path));
        QCOMPARE(again.Site, std::string("Lindenallee 4"));
        QCOMPARE(again.Direction1, std::string("stadteinwärts"));
        QCOMPARE(again.Direction2, std::string());
        QCOMPARE(again.Author, std::string("A. Planer"));
        ReportDialog reopened(again, texts);
        QCOMPARE(reopened.direction1Edit->text(), QStringLiteral("stadteinwärts"));
    }

    void LongTablesContinueOnFurtherPages() {
        ReportDocument document;
        document.PageOfPattern = "Seite %d von %d";
        ReportPage shortPage{"kurz", false, {}};
        ReportBlock lines;
        lines.Lines = {"eine Zeile"};
        shortPage.Blocks.push_back(lines);
        ReportPage longPage{"lang", true, {}};
        ReportBlock table;
        table.Type = ReportBlock::Kind::Table;
        table.Table.Header = {"Tag", "Fahrzeuge"};
        for (int row = 0; row < 300; ++row)
            table.Table.Rows.push_back({std::to_string(row), "12"});
        longPage.Blocks.push_back(table);
        document.Pages = {shortPage, longPage};

        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("bericht.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const int pages = ReportPageCount(printer, document);
        QVERIFY(pages >= 4); // one short page, the 300 rows in landscape on several
        document.Pages.pop_back();
        QCOMPARE(ReportPageCount(printer, document), 1);

        WriteReportPdf(file.toStdString(), document);
        QVERIFY(QFileInfo(file).size() > 0);
        QVERIFY_THROWS_EXCEPTION(
            CoreError,
            WriteReportPdf(folder.filePath(QStringLiteral("nicht/da.pdf")).toStdString(), document));
    }
};

QTEST_MAIN(ReportDialogTest)
#include "ReportDialogTest.moc"
