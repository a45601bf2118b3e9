#include "app/ScreenCsv.h"

#include "app/Logo.h"
#include "charts/ChartCsv.h"

namespace {
constexpr int DayProfileSummary = 3;
} // namespace

CsvTable CsvTableOfScreen(View view, const EvaluationContext& context, const CsvExportRequest& request,
                          const ChartDescription& chart) {
    const auto table = [&](CsvView v) {
        return BuildCsvTable(v, context.data, request.Settings, request.IntervalMinutes, request.Style);
    };
    switch (view) {
    case View::VehicleList:
        return table(CsvView::Vehicles);
    case View::IntervalList:
        return table(CsvView::Intervals);
    case View::Summary:
        return table(context.view.SummaryKind == DayProfileSummary ? CsvView::Days : CsvView::Stats);
    case View::Chart:
        return ChartCsv(chart, request.Style);
    case View::None:
        break;
    }
    return table(CsvView::Stats);
}

CsvExportRequest CsvRequestOfScreen(const EvaluationContext& context, const std::filesystem::path& source) {
    CsvExportRequest request = context.CsvRequest(CsvStyle::Plain, source);
    request.ProgramVersion = ProgramVersion;
    return request;
}

void ExportScreenCsv(const std::filesystem::path& csvFile, View view, const EvaluationContext& context,
                     const CsvExportRequest& request, const ChartDescription& chart) {
    ExportCsvTable(csvFile, CsvTableOfScreen(view, context, request, chart), context.data, request);
}
