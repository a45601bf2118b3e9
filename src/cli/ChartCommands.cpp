// chart: one chart view as the chart mode of the desktop program draws it, as a picture file or
// as a JSON description.

#include "cli/ChartOptions.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "cli/DrawingPart.h"
#include "data/TextFormat.h"

#include <memory>

namespace {
struct PictureOptions {
    std::string Size = "1200x800";
    std::string Output;
    bool Json = false;
};

struct PictureSize {
    int Width;
    int Height;
};

PictureSize ParseSize(const std::string& text) {
    const auto x = text.find_first_of("xX");
    const auto width = x == std::string::npos ? std::nullopt : StrToIntStrict(text.substr(0, x));
    const auto height = x == std::string::npos ? std::nullopt : StrToIntStrict(text.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > 20000 || *height > 20000)
        UsageError("--size: expected WxH in pixels (1..20000), got \"" + text + "\"");
    return {*width, *height};
}
} // namespace

void RegisterChartCommands(CLI::App& app, CliContext& context) {
    auto file = std::make_shared<InputFile>();
    auto selection = std::make_shared<SelectionOptions>();
    auto chartOptions = std::make_shared<ChartOptions>();
    auto picture = std::make_shared<PictureOptions>();

    CLI::App* chart =
        app.add_subcommand("chart", "one chart view as a picture file or as a JSON description");
    AddInputFile(chart, *file);
    AddChartOptions(chart, *chartOptions, "--view")->required();
    chart->add_option("--size", picture->Size, "picture size WxH in pixels (default 1200x800)");
    auto* output = chart->add_option("-o", picture->Output, "picture file: .png, .bmp, .svg, .wmf or .pdf");
    auto* json = chart->add_flag("--json", picture->Json, "print a description of the chart instead");
    output->excludes(json);
    AddSelectionOptions(chart, *selection);

    chart->callback([&context, file, selection, chartOptions, picture] {
        if (picture->Output.empty() && !picture->Json)
            UsageError("chart: either -o OUT or --json is needed");
        const PictureSize size = ParseSize(picture->Size);

        auto run = std::make_unique<EvaluationContext>();
        StartRun(context, *run);
        // A JSON description is drawn by the core alone; a picture needs the drawing part.
        const DrawingPart* part = picture->Json ? nullptr : &LoadDrawingPart();
        run->Load(*file);
        ApplySelection(*run, *selection, true);
        const ChartDescription description = DrawRequestedChart(*chartOptions, *run, context.texts);

        if (picture->Json) {
            PrintLines({ChartDescriptionToJson(description)});
            return;
        }
        part->SaveChartPicture(picture->Output, description, AppearanceOf(*chartOptions), size.Width,
                               size.Height);
    });
}
