// report: the PDF report of a measurement, and with --bundle the open tables beside it.

#include "app/Logo.h"
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
    std::string Today; // "dd.mm.yyyy"; empty: the system date
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
    AddSelectionOptions(report, *selection);
    report->callback([&context, input, selection, options] {
        EvaluationContext run;
        StartRun(context, run);
        const DrawingPart& part = LoadDrawingPart();
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
