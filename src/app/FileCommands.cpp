#include "app/FileCommands.h"

#include "app/CommandGuard.h"
#include "app/Logo.h"
#include "app/ReportDialog.h"
#include "app/ScreenCsv.h"
#include "base/TextNames.h"
#include "charts/ChartDescription.h"
#include "charts/Printing.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "session/EvaluationContext.h"
#include "settings/IniFile.h"
#include "ui/FileDialogs.h"
#include "ui/QtText.h"

#include <QDate>
#include <QDialog>
#include <QPrinter>

namespace {

constexpr auto Q = &ToQString;

// The language's filter, or the built-in one where the texts have none.
QString FilterOf(const std::string& text, const char* builtIn) {
    return text.empty() ? QString::fromUtf8(builtIn) : Q(text);
}

double TodayAsDayCount() {
    const QDate today = QDate::currentDate();
    return TryEncodeDate(today.year(), today.month(), today.day()).value_or(0);
}

} // namespace

FileCommands::FileCommands(QWidget& window, FileDialogs& dialogs, const CommandGuard& guard,
                           EvaluationContext& context)
    : window_(window), dialogs_(dialogs), guard_(guard), context_(context) {}

FileCommands::~FileCommands() = default;

void FileCommands::Written(const QString& file) const {
    if (ShowStatus)
        ShowStatus(file);
}

bool FileCommands::AskAndOpenDataFile(const QString& caption) {
    const QString filter =
        FilterOf(context_.texts[Text::DataFileFilter], "Korvelan - File (*.lng;*.sht)|*.lng;*.sht");
    const QString file = dialogs_.OpenFileName(&window_, caption, Q(context_.settings.DataPath), filter);
    return !file.isEmpty() && OpenDataFile(file.toStdString());
}

bool FileCommands::OpenDataFile(const std::filesystem::path& file) {
    if (!guard_.Run([&] { context_.Load(InputFile{file.string(), false}); }))
        return false;
    source_ = {DataOrigin::DataFile, file.string()};
    Written(Q(file.string()));
    return true;
}

bool FileCommands::AskAndImportPelo(const QString& caption) {
    // The data file dialog's folder: the import shares it with "Öffnen".
    const QString file = dialogs_.OpenFileName(&window_, caption, Q(context_.settings.DataPath),
                                               QStringLiteral("Pelo-Dateien (*.pel)|*.pel"));
    if (file.isEmpty() || !guard_.Run([&] { context_.Load(InputFile{file.toStdString(), true}); }))
        return false;
    source_ = {DataOrigin::Import, file.toStdString()};
    Written(file);
    return true;
}

bool FileCommands::AskAndReadCardFile(const QString& caption,
                                      const std::function<bool(const QString&)>& readCard) {
    const QString filter =
        FilterOf(context_.texts[Text::CardFileFilter], "MM / SD - Card (*.txt;*.bin)|*.txt;*.bin");
    const QString file = dialogs_.OpenFileName(&window_, caption, Q(context_.settings.CardPath), filter);
    if (file.isEmpty() || !readCard(file))
        return false;
    Written(file);
    return true;
}

QString FileCommands::AskSaveFile(const QString& pipeFilter, const QString& defaultSuffix,
                                  const QString& caption) {
    return dialogs_.SaveFileName(&window_, caption, Q(context_.settings.DataPath), pipeFilter, defaultSuffix);
}

void FileCommands::SaveView(View view, bool filteredOnly, const QString& caption,
                            const std::vector<std::string>& summaryLines) {
    // The chart and the summary have nothing filtered to save.
    if (filteredOnly && (view == View::Chart || view == View::Summary))
        return;
    const SaveScope scope = filteredOnly ? SaveScope::Filtered : SaveScope::All;
    QString file;
    switch (view) {
    case View::VehicleList:
    case View::IntervalList: {
        const bool vehicles = view == View::VehicleList;
        file = vehicles ? AskSaveFile(QStringLiteral("Korvelan - File (*.lng)|*.lng"), QStringLiteral("lng"),
                                      caption)
                        : AskSaveFile(QStringLiteral("Korvelan - File (*.sht)|*.sht"), QStringLiteral("sht"),
                                      caption);
        if (!file.isEmpty() && guard_.Run([&] { context_.Save(file.toStdString(), view, scope); }))
            Written(file);
        break;
    }
    case View::Chart:
        file =
            AskSaveFile(QStringLiteral("Diagramm - Metafile (*.wmf)|*.wmf|Diagramm - Bitmap (*.bmp)|*.bmp"),
                        QStringLiteral("wmf"), caption);
        if (!file.isEmpty() && SaveChartPicture)
            SaveChartPicture(file);
        break;
    case View::Summary:
        file = AskSaveFile(QStringLiteral("Korvelan - File (*.txt)|*.txt"), QStringLiteral("txt"), caption);
        if (!file.isEmpty() && guard_.Run([&] { SaveSummaryText(file.toStdString(), summaryLines); }))
            Written(file);
        break;
    case View::None:
        break;
    }
}

void FileCommands::ExportAscii(View view, const QString& caption) {
    if (view == View::None)
        return;
    const QString file =
        AskSaveFile(QStringLiteral("ASCII - Export - File (*.asc)|*.asc"), QStringLiteral("asc"), caption);
    if (!file.isEmpty() && guard_.Run([&] { context_.ExportAscii(file.toStdString(), view); }))
        Written(file);
}

void FileCommands::ExportCsv(View view, const QString& caption, const ChartDescription& chart) {
    if (view == View::None)
        return;
    const QString file = AskSaveFile(Q(context_.texts[603]), QStringLiteral("csv"), caption);
    if (file.isEmpty())
        return;
    const CsvExportRequest request = CsvRequestOfScreen(context_, source_.Path);
    if (guard_.Run([&] { ExportScreenCsv(file.toStdString(), view, context_, request, chart); }))
        Written(file);
}

void FileCommands::ShowReport(View view, const std::filesystem::path& settingsFile) {
    if (view == View::None)
        return;
    IniFile ini(settingsFile.string());
    ReportDialog dialog(ReadReportFields(ini), context_.texts, &window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ReportFields fields = dialog.Fields();
    const ReportRequest request = ReportRequestOf(fields);
    ReportDocument document;
    if (!guard_.Run([&] {
            WriteReportFields(ini, fields);
            document = BuildReport(context_.data, context_.Statistics(), request, context_.texts);
        }))
        return;
    PreviewReport(&window_, document, context_.texts);
}

namespace {

ReportSourceKind ReportSourceKindOf(DataOrigin origin) {
    switch (origin) {
    case DataOrigin::CardFile:
        return ReportSourceKind::CardFile;
    case DataOrigin::SmartMediaCard:
        return ReportSourceKind::CardReader;
    case DataOrigin::Import:
        return ReportSourceKind::PeloFile;
    case DataOrigin::None:
    case DataOrigin::DataFile:
        break;
    }
    return ReportSourceKind::DataFile;
}

} // namespace

ReportRequest FileCommands::ReportRequestOf(const ReportFields& fields) const {
    const CsvExportRequest source = CsvRequestOfScreen(context_, source_.Path);
    return {fields.Site,    fields.Direction1,      fields.Direction2,
            fields.Author,  source.Source.FileName, source.Source.Sha256,
            ProgramVersion, TodayAsDayCount(),      ReportSourceKindOf(source_.Origin),
            cardReaderPort_};
}

void FileCommands::CardRead(const std::filesystem::path& cardFile, const std::string& port) {
    source_ = cardFile.empty() ? DataSource{DataOrigin::SmartMediaCard, {}}
                               : DataSource{DataOrigin::CardFile, cardFile.string()};
    cardReaderPort_ = port;
}

QPrinter& FileCommands::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void FileCommands::Print(View view, const ShownChart& chart) {
    if (view == View::None)
        return;
    const PrintSource source = context_.PrintSourceOf(view, chart.Chart, chart.Appearance);
    guard_.Run([&] { PrintCurrentView(&window_, Printer(), view, source); });
}

void FileCommands::Preview(View view, const ShownChart& chart) {
    if (view == View::None)
        return;
    const PrintSource source = context_.PrintSourceOf(view, chart.Chart, chart.Appearance);
    guard_.Run([&] { PreviewCurrentView(&window_, Printer(), view, source); });
}
