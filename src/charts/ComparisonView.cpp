#include "charts/ComparisonView.h"

#include "charts/ComparisonReport.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "charts/ChartPicture.h"
#include "charts/ChartWidget.h"
#include "charts/Printing.h"
#include "charts/ReportPrinter.h"
#include "data/DataFileLoader.h"
#include "data/DateTime.h"
#include "data/Sha256.h"
#include "data/TextFormat.h"
#include "ui/ErrorDisplay.h"
#include "ui/FileDialogs.h"
#include "ui/QtText.h"

#include <QAction>
#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr QSize PictureSize(1200, 800);

// A menu text without its "…", for a window title.
QString WithoutEllipsis(const std::string& text) {
    return ToQString(text).remove(QChar(0x2026)).trimmed();
}

QString JoinedLines(const std::vector<std::string>& lines) {
    QString text;
    for (const std::string& line : lines)
        text += ToQString(line) + QLatin1Char('\n');
    return text;
}

ChartWidget* NewChartWidget(const ChartDescription& chart, const char* name) {
    auto* widget = new ChartWidget;
    widget->setObjectName(QString::fromLatin1(name));
    widget->SetAppearance(ChartAppearance{false, ValueLabelMode::None});
    widget->SetChart(chart);
    return widget;
}

double TodayAsDayCount() {
    const QDate today = QDate::currentDate();
    return TryEncodeDate(today.year(), today.month(), today.day()).value_or(0);
}

std::string FileName(const std::filesystem::path& file) {
    return file.empty() ? std::string("-") : file.filename().string();
}

// The SHA-256 of the loaded measurement's file; "-" when it came from a card or is gone.
std::string Sha256OrDash(const std::filesystem::path& file) {
    if (file.empty())
        return "-";
    try {
        return FileSha256Hex(file.string());
    } catch (const std::exception&) {
        return "-";
    }
}

} // namespace

// --- the window ---------------------------------------------------------------------------------

ComparisonView::ComparisonView(ComparisonResult result, ComparisonReportRequest request,
                               LengthThresholds lengths, const LanguageTexts& texts, FileDialogs& dialogs,
                               QWidget* parent)
    : QWidget(parent, Qt::Window), result_(std::make_unique<ComparisonResult>(std::move(result))),
      request_(std::make_unique<ComparisonReportRequest>(std::move(request))), lengths_(lengths),
      texts_(texts), dialogs_(dialogs) {
    setObjectName(QStringLiteral("comparisonView"));
    setWindowTitle(QStringLiteral("Korvelan II – ") + WithoutEllipsis(texts_[ComparisonViewText::Command]));

    auto* toolBar = new QToolBar(this);
    printAction = toolBar->addAction(ToQString(texts_[ComparisonViewText::Print]));
    savePictureAction = toolBar->addAction(ToQString(texts_[ComparisonViewText::SavePicture]));
    reportAction = toolBar->addAction(ToQString(texts_[ComparisonViewText::Report]));
    printAction->setShortcut(QKeySequence::Print);
    connect(printAction, &QAction::triggered, this, [this] { AskAndPrint(); });
    connect(savePictureAction, &QAction::triggered, this, [this] { AskAndSavePicture(); });
    connect(reportAction, &QAction::triggered, this, [this] { PreviewReport(); });

    tableView = new QPlainTextEdit;
    tableView->setObjectName(QStringLiteral("comparisonTable"));
    tableView->setReadOnly(true);
    tableView->setLineWrapMode(QPlainTextEdit::NoWrap);
    tableView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tableView->setPlainText(JoinedLines(result_->Lines));
    cumulativeChart = NewChartWidget(result_->Cumulative, "cumulativeChart");
    hourlyChart = NewChartWidget(result_->HourlyV85, "hourlyChart");

    tabs = new QTabWidget;
    tabs->addTab(tableView, ToQString(texts_[ComparisonViewText::TableTab]));
    tabs->addTab(cumulativeChart, ToQString(result_->Cumulative.Title));
    tabs->addTab(hourlyChart, ToQString(result_->HourlyV85.Title));
    connect(tabs, &QTabWidget::currentChanged, this, [this] { UpdateActions(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolBar);
    layout->addWidget(tabs);
    resize(980, 680);
    UpdateActions();
}

ComparisonView::~ComparisonView() = default;

void ComparisonView::ShowPage(Page page) {
    tabs->setCurrentIndex(static_cast<int>(page));
}

ComparisonView::Page ComparisonView::CurrentPage() const {
    return static_cast<Page>(tabs->currentIndex());
}

const ChartWidget* ComparisonView::CurrentChart() const {
    switch (CurrentPage()) {
    case Page::Cumulative:
        return cumulativeChart;
    case Page::HourlyV85:
        return hourlyChart;
    case Page::Table:
        break;
    }
    return nullptr;
}

void ComparisonView::UpdateActions() {
    savePictureAction->setEnabled(CurrentChart() != nullptr);
}

ReportDocument ComparisonView::Report() const {
    return BuildComparisonReport(*result_, lengths_, *request_, texts_);
}

void ComparisonView::PrintCurrentPage(QPrinter& printer) const {
    if (const ChartWidget* chart = CurrentChart())
        PrintChart(printer, chart->Chart(), chart->Appearance());
    else
        PrintSummary(printer, result_->Lines);
}

void ComparisonView::SaveCurrentChart(const std::filesystem::path& file) const {
    if (const ChartWidget* chart = CurrentChart())
        SaveChartPicture(file.string(), chart->Chart(), chart->Appearance(), PictureSize);
}

void ComparisonView::ShowFailure(const std::exception& error) {
    ErrorDisplay display(this);
    display.UseDialogs(dialogs_);
    display.ShowError(error, texts_);
}

void ComparisonView::AskAndPrint() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    try {
        PrintCurrentPage(printer);
    } catch (const std::exception& error) {
        ShowFailure(error);
    }
}

void ComparisonView::AskAndSavePicture() {
    if (CurrentChart() == nullptr)
        return;
    const QString file = dialogs_.SaveFileName(
        this, WithoutEllipsis(texts_[ComparisonViewText::SavePicture]), QString(),
        TextOr(texts_[ComparisonViewText::PictureFilter], "Metafile (*.wmf)|*.wmf"), QStringLiteral("wmf"));
    if (file.isEmpty())
        return;
    try {
        SaveCurrentChart(file.toStdString());
    } catch (const std::exception& error) {
        ShowFailure(error);
    }
}

void ComparisonView::PreviewReport() {
    ReportDocument document;
    try {
        document = Report();
    } catch (const std::exception& error) {
        ShowFailure(error);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(ToQString(texts_[PrintPreviewText]));
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        // An exception must not cross the event loop: the job's failure is shown.
        try {
            PrintReport(*target, document);
        } catch (const std::exception& error) {
            ShowFailure(error);
        }
    });
    preview.exec();
}

// --- the question of the sides --------------------------------------------------------------------

ComparisonSidesDialog::ComparisonSidesDialog(const std::string& loadedName, const LanguageTexts& texts,
                                             QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("comparisonSidesDialog"));
    setWindowTitle(WithoutEllipsis(texts[ComparisonViewText::Command]));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ToQString(Format(texts[ComparisonViewText::LoadedIs], {loadedName}))));
    loadedBeforeButton = new QRadioButton(ToQString(texts[ComparisonViewText::LoadedIsBefore]));
    loadedBeforeButton->setObjectName(QStringLiteral("loadedBeforeButton"));
    loadedAfterButton = new QRadioButton(ToQString(texts[ComparisonViewText::LoadedIsAfter]));
    loadedAfterButton->setObjectName(QStringLiteral("loadedAfterButton"));
    loadedBeforeButton->setChecked(true);
    swapBox = new QCheckBox(ToQString(texts[ComparisonViewText::SwapDirections]));
    swapBox->setObjectName(QStringLiteral("swapBox"));
    layout->addWidget(loadedBeforeButton);
    layout->addWidget(loadedAfterButton);
    layout->addWidget(swapBox);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool ComparisonSidesDialog::LoadedIsBefore() const {
    return loadedBeforeButton->isChecked();
}

bool ComparisonSidesDialog::SwapDirections() const {
    return swapBox->isChecked();
}

// --- the flow -------------------------------------------------------------------------------------

ComparisonView* StartComparison(QWidget* parent, FileDialogs& dialogs, const LoadedMeasurement& loaded,
                                const LanguageTexts& texts) {
    const QString filter = TextOr(texts[Text::DataFileFilter], "Korvelan - File (*.lng;*.sht)|*.lng;*.sht");
    const QString chosen = dialogs.OpenFileName(parent, ToQString(texts[ComparisonViewText::OpenCaption]),
                                                ToQString(loaded.Folder.string()), filter);
    if (chosen.isEmpty())
        return nullptr;
    const std::filesystem::path otherFile = chosen.toStdString();

    const std::string loadedName = FileName(loaded.File);
    ComparisonSidesDialog sides(loadedName, texts, parent);
    if (sides.exec() != QDialog::Accepted)
        return nullptr;

    const auto showError = [&](const std::exception& error) {
        dialogs.ShowMessage(parent, FileDialogs::MessageKind::Warning,
                            WithoutEllipsis(texts[ComparisonViewText::Command]),
                            ToQString(MessageOf(error, texts)));
    };
    // The other measurement goes into its own data: the loaded one stays as it is, whatever happens.
    auto other = std::make_unique<MeasurementData>();
    try {
        LoadDataFile(otherFile, *other);
    } catch (const std::exception& error) {
        showError(error);
        return nullptr;
    }

    const bool loadedBefore = sides.LoadedIsBefore();
    const MeasurementData& before = loadedBefore ? loaded.Data : *other;
    const MeasurementData& after = loadedBefore ? *other : loaded.Data;
    const ComparedFile loadedFile{loadedName, loaded.Data.Comment};
    const ComparedFile otherName{otherFile.filename().string(), other->Comment};
    ComparisonSettings settings;
    settings.Statistics = loaded.Statistics;
    settings.SwapDirections = sides.SwapDirections();

    ComparisonReportRequest request;
    const std::string loadedSha = Sha256OrDash(loaded.File);
    std::string otherSha;
    ComparisonResult result;
    try {
        otherSha = FileSha256Hex(otherFile.string());
        result = CompareAndDraw(before, after, settings, loadedBefore ? loadedFile : otherName,
                                loadedBefore ? otherName : loadedFile, texts);
    } catch (const std::exception& error) {
        showError(error);
        return nullptr;
    }
    request.BeforeSha256 = loadedBefore ? loadedSha : otherSha;
    request.AfterSha256 = loadedBefore ? otherSha : loadedSha;
    request.ProgramVersion = loaded.ProgramVersion;
    request.ReportDate = TodayAsDayCount();

    auto* view =
        new ComparisonView(std::move(result), request, settings.Statistics.Lengths, texts, dialogs, parent);
    view->setAttribute(Qt::WA_DeleteOnClose);
    view->show();
    return view;
}
