// report: the PDF report of a measurement, and with --bundle the open tables beside it; with
// --compare the comparison report of two measurements.

#include "app/Logo.h"
#include "charts/ComparisonReport.h"
#include "charts/ReportContent.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "cli/DrawingPart.h"
#include "data/DateTime.h"
#include "data/Sha256.h"
#include "data/TextFormat.h"
#include "evaluation/CsvExport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>

namespace {

struct ReportOptions {
    std::string Output;
    std::string Site;
    std::string Direction1;
    std::string Direction2;
    std::string Author;
    std::string Bundle;
    std::string Today;   // "dd.mm.yyyy"; empty: the system date
    std::string Compare; // the measurement after; empty: the report of one measurement
    bool SwapDirections = false;
    StatisticsOverrides Overrides;
};

double ReportDateOf(const std::string& today) {
    if (today.empty())
        return TodayDayCount();
    const auto part = [&](std::size_t at, std::size_t digits) {
        return StrToIntStrict(today.substr(at, digits)).value_or(0);
    };
    const bool shaped = today.size() == 10 && today[2] == '.' && today[5] == '.' &&
                        std::all_of(today.begin(), today.end(), [](char c) {
                            return c == '.' || std::isdigit(static_cast<unsigned char>(c));
                        });
    const auto date = shaped ? TryEncodeDate(part(6, 4), part(3, 2), part(0, 2)) : std::nullopt;
    if (!date)
        UsageError("--today: expected \"dd.mm.yyyy\", got \"" + today + "\"");
    return *date;
}

// Options of the report of one measurement that a comparison report cannot honour.
void RefuseForComparison(const InputFile& input, const SelectionOptions& selection,
                         const ReportOptions& options) {
    if (!selection.Range.empty())
        UsageError("--range: record numbers of one file mean nothing in the other; a comparison takes whole "
                   "measurements (use --mark with --drop-marked or --keep-marked to select vehicles)");
    if (input.Import)
        UsageError("--import: a comparison report compares two data files");
    if (!options.Bundle.empty())
        UsageError("--bundle: the open tables describe one measurement, not a comparison");
    if (!options.Direction1.empty() || !options.Direction2.empty())
        UsageError("--dir1, --dir2: a comparison report names the directions as the statistics do");
}

void LoadComparedSide(EvaluationContext& run, const std::string& path, const SelectionOptions& selection) {
    run.Load(InputFile{path, false});
    ApplySelection(run, selection, false);
}

// Both measurements with the settings of the one before (and the options), the record filter on
// both, compared and laid out as the comparison report.
ReportDocument ComparisonReportOf(CliContext& context, const InputFile& input,
                                  const SelectionOptions& selection, const ReportOptions& options) {
    RefuseForComparison(input, selection, options);
    auto before = std::make_unique<EvaluationContext>();
    StartRun(context, *before);
    ApplyStatisticsOverrides(before->settings, options.Overrides);
    auto after = std::make_unique<EvaluationContext>();
    after->settings = before->settings;
    after->view = before->view;
    LoadComparedSide(*before, input.Path, selection);
    LoadComparedSide(*after, options.Compare, selection);

    ComparisonSettings settings;
    settings.Statistics = before->Statistics();
    settings.SwapDirections = options.SwapDirections;
    const ComparedFile beforeFile{std::filesystem::path(input.Path).filename().string(),
                                  before->data.Comment};
    const ComparedFile afterFile{std::filesystem::path(options.Compare).filename().string(),
                                 after->data.Comment};
    const ComparisonResult result =
        CompareAndDraw(before->data, after->data, settings, beforeFile, afterFile, context.texts);

    ComparisonReportRequest request;
    request.Site = options.Site;
    request.Author = options.Author;
    request.BeforeSha256 = FileSha256Hex(input.Path);
    request.AfterSha256 = FileSha256Hex(options.Compare);
    request.ProgramVersion = ProgramVersion;
    request.ReportDate = ReportDateOf(options.Today);
    return BuildComparisonReport(result, settings.Statistics.Lengths, request, context.texts);
}

} // namespace

void RegisterReportCommand(CLI::App& app, CliContext& context) {
    auto input = std::make_shared<InputFile>();
    auto selection = std::make_shared<SelectionOptions>();
    auto options = std::make_shared<ReportOptions>();
    CLI::App* report = app.add_subcommand("report", "the PDF report of a measurement");
    AddInputFile(report, *input);
    report->add_option("-o", options->Output, "PDF file to write")->required();
    report->add_option("--site", options->Site, "the counting site (default: the file's comment)");
    report->add_option("--dir1", options->Direction1, "name of direction 1");
    report->add_option("--dir2", options->Direction2, "name of direction 2");
    report->add_option("--author", options->Author, "author of the report");
    report->add_option("--bundle", options->Bundle,
                       "also write the open tables into this (new or empty) folder");
    report->add_option("--today", options->Today, "report date dd.mm.yyyy instead of the system date");
    report->add_option("--compare", options->Compare,
                       "the measurement after: write the comparison report of FILE (before) and it");
    auto* swap = report->add_flag("--swap-directions", options->SwapDirections,
                                  "with --compare: swap the directions of the measurement after");
    AddStatisticsOverrides(report, options->Overrides);
    AddSelectionOptions(report, *selection);
    report->callback([&context, input, selection, options, swap] {
        if (!options->Compare.empty()) {
            const DrawingPart& part = LoadDrawingPart();
            const ReportDocument document = ComparisonReportOf(context, *input, *selection, *options);
            part.WriteReportPdf(options->Output, document);
            return;
        }
        if (swap->count() > 0)
            UsageError("--swap-directions: only with --compare");
        EvaluationContext run;
        StartRun(context, run);
        const DrawingPart& part = LoadDrawingPart();
        ApplyStatisticsOverrides(run.settings, options->Overrides);
        run.Load(*input);
        ApplySelection(run, *selection, true);
        const StatisticsSettings settings = run.Statistics();
        const std::string fileName = std::filesystem::path(input->Path).filename().string();
        const std::string sha256 = FileSha256Hex(input->Path);

        ReportRequest request;
        request.Site = options->Site;
        request.Direction1 = options->Direction1;
        request.Direction2 = options->Direction2;
        request.Author = options->Author;
        request.SourceFileName = fileName;
        request.SourceSha256 = sha256;
        request.SourceKind = input->Import ? ReportSourceKind::PeloFile : ReportSourceKind::DataFile;
        request.ProgramVersion = ProgramVersion;
        request.ReportDate = ReportDateOf(options->Today);
        const ReportDocument document = BuildReport(run.data, settings, request, context.texts);

        // The bundle first: a folder it refuses then leaves no report behind either.
        if (!options->Bundle.empty()) {
            CsvExportRequest bundle;
            bundle.Settings = settings;
            bundle.IntervalMinutes = 5 * run.view.IntervalFactor;
            bundle.Source = DataPackageSource{fileName, sha256};
            bundle.ProgramVersion = ProgramVersion;
            WriteCsvBundle(options->Bundle, run.data, bundle);
        }
        part.WriteReportPdf(options->Output, document);
    });
}
