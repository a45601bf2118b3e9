#include "app/FileCommands.h"

#include "app/CommandGuard.h"
#include "app/FileDialogPlaces.h"
#include "app/Logo.h"
#include "app/ReportDialog.h"
#include "app/ScreenCsv.h"
#include "app/UnsavedChangesPrompt.h"
#include "base/TextNames.h"
#include "charts/ChartDescription.h"
#include "charts/ComparisonView.h"
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
                           EvaluationContext& context, IniFile& ini)
    : window_(window), dialogs_(dialogs), guard_(guard), context_(context), ini_(ini),
      places_(std::make_unique<FileDialogPlaces>(dialogs, ini, context.settings)),
      prompt_(std::make_unique<UnsavedChangesPrompt>(dialogs, context.texts)) {}

FileCommands::~FileCommands() = default;

void FileCommands::Written(const QString& file) const {
    if (ShowStatus)
        ShowStatus(file);
}

void FileCommands::TellDocumentChanged() const {
    if (DocumentChanged)
        DocumentChanged();
}

void FileCommands::NewSource(const DataSource& source) {
    source_ = source;
    if (source.Origin == DataOrigin::DataFile && DataFileNamed)
        DataFileNamed(Q(source.Path));
    TellDocumentChanged();
}

bool FileCommands::MayReplaceData() {
    return prompt_->MayReplaceData(&window_, unsaved_, context_.data,
                                   [this](const FittingSave& fitting) { return SaveFitting(fitting); });
}

bool FileCommands::AskAndOpenDataFile(const QString& caption) {
    if (!MayReplaceData())
        return false;
    const QString filter =
        FilterOf(context_.texts[Text::DataFileFilter], "Korvelan - File (*.lng;*.sht)|*.lng;*.sht");
    const QString file = AskOpenFile(FileKind::DataFile, filter, caption);
    return !file.isEmpty() && OpenDataFile(file.toStdString());
}

bool FileCommands::AskThenOpenDataFile(const std::filesystem::path& file) {
    return MayReplaceData() && OpenDataFile(file);
}

bool FileCommands::OpenDataFile(const std::filesystem::path& file) {
    if (!guard_.Run([&] { context_.Load(InputFile{file.string(), false}); }))
        return false;
    unsaved_.LoadedFromFile();
    NewSource({DataOrigin::DataFile, file.string()});
    return true;
}

bool FileCommands::AskAndImportPelo(const QString& caption) {
    if (!MayReplaceData())
        return false;
    const QString file =
        AskOpenFile(FileKind::ImportFile, QStringLiteral("Pelo-Dateien (*.pel)|*.pel"), caption);
    if (file.isEmpty() || !guard_.Run([&] { context_.Load(InputFile{file.toStdString(), true}); }))
        return false;
    unsaved_.Imported();
    NewSource({DataOrigin::Import, file.toStdString()});
    return true;
}

bool FileCommands::AskAndReadCardFile(const QString& caption,
                                      const std::function<bool(const QString&)>& readCard) {
    if (!MayReplaceData())
        return false;
    const QString filter =
        FilterOf(context_.texts[Text::CardFileFilter], "MM / SD - Card (*.txt;*.bin)|*.txt;*.bin");
    const QString file = AskOpenFile(FileKind::CardFile, filter, caption);
    return !file.isEmpty() && readCard(file);
}

void FileCommands::CardRead(const std::filesystem::path& cardFile, const std::string& port) {
    unsaved_.ReadFromCard();
    cardReaderPort_ = port;
    NewSource(cardFile.empty() ? DataSource{DataOrigin::SmartMediaCard, {}}
                               : DataSource{DataOrigin::CardFile, cardFile.string()});
}

void FileCommands::CommentEdited(const std::string& before) {
    unsaved_.CommentEdited(before, context_.data.Comment);
    TellDocumentChanged();
}

void FileCommands::WorkingSetShown() {
    if (context_.HasVehicles())
        unsaved_.WorkingSetIs(context_.data.WorkVehicleCount, context_.data.LoadedCount);
    TellDocumentChanged();
}

QString FileCommands::AskOpenFile(FileKind kind, const QString& pipeFilter, const QString& caption) {
    const QString file = places_->OpenFile(&window_, kind, caption, pipeFilter);
    TellRememberError();
    return file;
}

QString FileCommands::AskSaveFile(FileKind kind, const QString& pipeFilter, const QString& defaultSuffix,
                                  const QString& caption) {
    const QString file = places_->SaveFile(&window_, kind, caption, pipeFilter, defaultSuffix, source_.Path);
    TellRememberError();
    return file;
}

void FileCommands::TellRememberError() {
    // The chosen file counts all the same; only the next dialog will not start there.
    if (const auto error = places_->TakeRememberError())
        TellSettingsNotWritten(Q(error->Message(context_.texts)));
}

void FileCommands::TellSettingsNotWritten(const QString& message) {
    if (settingsWarningsTold_.contains(message))
        return;
    settingsWarningsTold_ << message;
    dialogs_.ShowMessage(&window_, FileDialogs::MessageKind::Warning, window_.windowTitle(), message);
}

namespace {
QString OwnFileFilter(const QString& extension) {
    return QStringLiteral("Korvelan - File (*.%1)|*.%1").arg(extension);
}
} // namespace

bool FileCommands::SaveFitting(const FittingSave& fitting) {
    const QString extension =
        QString::fromLatin1(fitting.Extension.data(), static_cast<qsizetype>(fitting.Extension.size()));
    const QString file =
        AskSaveFile(FileKind::DataFile, OwnFileFilter(extension), extension, Q(context_.texts[Text::Save]));
    if (file.isEmpty() ||
        !guard_.Run([&] { context_.Save(file.toStdString(), fitting.ListView, fitting.Scope); }))
        return false;
    // The question marks the data saved itself.
    if (fitting.Scope == SaveScope::All)
        NewSource({DataOrigin::DataFile, file.toStdString()});
    Written(file);
    return true;
}

void FileCommands::SavedList(const QString& file, View view, SaveScope scope) {
    const SavedContent content =
        ContentOfSave(context_.data, view, scope, RangeInForce(context_.data, context_.view.IntervalFactor));
    unsaved_.Saved(content);
    if (content == SavedContent::AllRecords)
        NewSource({DataOrigin::DataFile, file.toStdString()});
    else
        TellDocumentChanged();
    Written(file);
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
        const QString extension = view == View::VehicleList ? QStringLiteral("lng") : QStringLiteral("sht");
        file = AskSaveFile(FileKind::DataFile, OwnFileFilter(extension), extension, caption);
        if (!file.isEmpty() && guard_.Run([&] { context_.Save(file.toStdString(), view, scope); }))
            SavedList(file, view, scope);
        break;
    }
    case View::Chart:
        file =
            AskSaveFile(FileKind::Picture,
                        QStringLiteral("Diagramm - Metafile (*.wmf)|*.wmf|Diagramm - Bitmap (*.bmp)|*.bmp"),
                        QStringLiteral("wmf"), caption);
        if (!file.isEmpty() && SaveChartPicture)
            SaveChartPicture(file);
        break;
    case View::Summary:
        file = AskSaveFile(FileKind::SummaryText, QStringLiteral("Korvelan - File (*.txt)|*.txt"),
                           QStringLiteral("txt"), caption);
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
    const QString file = AskSaveFile(FileKind::Export, QStringLiteral("ASCII - Export - File (*.asc)|*.asc"),
                                     QStringLiteral("asc"), caption);
    if (!file.isEmpty() && guard_.Run([&] { context_.ExportAscii(file.toStdString(), view); }))
        Written(file);
}

void FileCommands::ExportCsv(View view, const QString& caption, const ChartDescription& chart) {
    if (view == View::None)
        return;
    const QString file =
        AskSaveFile(FileKind::Export, Q(context_.texts[603]), QStringLiteral("csv"), caption);
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

void FileCommands::ShowComparison(View view) {
    if (view == View::None)
        return;
    // The other file's dialog starts where data files were last opened.
    const LoadedMeasurement loaded{context_.data, context_.Statistics(), source_.Path,
                                   StartFolder(ini_, context_.settings, FileKind::DataFile), ProgramVersion};
    StartComparison(&window_, dialogs_, loaded, context_.texts); // the window deletes itself on close
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
