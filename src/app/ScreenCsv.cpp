#include "app/ScreenCsv.h"

#include "app/Logo.h"
#include "charts/ChartCsv.h"
#include "data/Sha256.h"

namespace {
constexpr int DayProfileSummary = 3;
} // namespace

CsvTable CsvTableOfScreen(View view, const MeasurementData& data, const CsvExportRequest& request,
                          const ChartDescription& chart) {
    const auto table = [&](CsvView v) {
        return BuildCsvTable(v, data, request.Settings, request.IntervalMinutes, request.Style);
    };
    switch (view) {
    case View::VehicleList:
        return table(CsvView::Vehicles);
    case View::IntervalList:
        return table(CsvView::Intervals);
    case View::Summary:
        return table(data.SummaryKind == DayProfileSummary ? CsvView::Days : CsvView::Stats);
    case View::Chart:
        return ChartCsv(chart, request.Style);
    case View::None:
        break;
    }
    return table(CsvView::Stats);
}

CsvExportRequest CsvRequestOfScreen(const Settings& settings, const MeasurementData& data,
                                    const ViewSelections& view, const std::filesystem::path& source) {
    CsvExportRequest request;
    request.Style = CsvStyle::Plain;
    request.Settings = StatisticsSettingsOf(settings, data, view);
    request.IntervalMinutes = 5 * view.IntervalFactor;
    if (!source.empty())
        request.Source = DataPackageSource{source.filename().string(), FileSha256Hex(source.string())};
    request.ProgramVersion = ProgramVersion;
    return request;
}

void ExportScreenCsv(const std::filesystem::path& csvFile, View view, const MeasurementData& data,
                     const CsvExportRequest& request, const ChartDescription& chart) {
    ExportCsvTable(csvFile, CsvTableOfScreen(view, data, request, chart), data, request);
}
