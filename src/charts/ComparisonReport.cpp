#include "charts/ComparisonReport.h"

#include "base/LanguageTexts.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/StatisticsText.h"

#include <cmath>

namespace {

using Cells = std::vector<std::string>;

std::string Trimmed(const std::string& text) {
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// Without the blanks that indent a text in the fixed-width comparison text.
std::string Stripped(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : Trimmed(text.substr(first));
}

struct ComparisonReportWriter {
    const ComparisonResult& Result;
    const ComparisonReportRequest& Request;
    const LanguageTexts& Texts;
    const LocaleFormat& Locale;

    const Comparison& Figures() const { return Result.Figures; }

    std::string Side(bool after) const {
        return Texts[after ? ComparisonChartText::After : ComparisonChartText::Before];
    }

    // Speeds whole (class-based to a tenth), shares in per cent; a difference that rounds to zero
    // has no sign.
    std::string Value(double v, bool share, bool sign = false) const {
        const int decimals = share || Figures().ClassBased ? 1 : 0;
        const double shown = share ? v * 100 : v;
        const double scale = std::pow(10, decimals);
        const double rounded = std::round(shown * scale) / scale;
        const bool withSign = sign && rounded != 0;
        const std::string pattern = std::string(withSign ? "%+" : "%") + "." + std::to_string(decimals) + "f";
        return Format(pattern, {rounded == 0 ? 0.0 : shown}, Locale) + (share ? " %" : "");
    }

    std::string Period(const std::optional<std::pair<double, double>>& period) const {
        if (!period)
            return "-";
        return FormatDateTime("dd/mm/yyyy", period->first, Locale) + " - " +
               FormatDateTime("dd/mm/yyyy", period->second, Locale);
    }

    void AddSideRows(std::vector<Cells>& rows, bool after) const {
        const ComparedFile& file = after ? Result.AfterFile : Result.BeforeFile;
        rows.push_back(
            {Texts[after ? ComparisonReportText::AfterMeasurement : ComparisonReportText::BeforeMeasurement],
             file.Name});
        if (const std::string comment = Trimmed(file.Comment); !comment.empty())
            rows.push_back({Texts[ComparisonReportText::Comment], comment});
        rows.push_back(
            {Texts[ReportText::Period], Period(after ? Figures().PeriodAfter : Figures().PeriodBefore)});
        rows.push_back({Texts[ReportText::Vehicles],
                        IntToStr(after ? Figures().VehiclesAfter : Figures().VehiclesBefore)});
        rows.push_back({"SHA-256", after ? Request.AfterSha256 : Request.BeforeSha256});
    }

    std::string ThresholdList() const {
        std::string list;
        for (int threshold : Figures().Thresholds)
            list += (list.empty() ? "" : ", ") + IntToStr(threshold);
        return list.empty() ? "-" : list + " km/h";
    }

    ReportPage TitlePage(const LengthThresholds& lengths) const {
        ReportPage page{Texts[ComparisonReportText::TitlePageTitle], false, {}};
        std::vector<Cells> rows;
        rows.push_back({Texts[ReportText::Site], Site()});
        AddSideRows(rows, false);
        AddSideRows(rows, true);
        rows.push_back({Texts[ReportText::Limit], Format("%d km/h", {Figures().Limit}, Locale)});
        rows.push_back({Texts[ComparisonReportText::Thresholds], ThresholdList()});
        rows.push_back({Texts[ReportText::LengthClasses],
                        Format("PKW %d-%d m, LKW %d-%d m, LZ >= %d m",
                               {lengths.PkwMinLength, lengths.LkwMinLength - 1, lengths.LkwMinLength,
                                lengths.LzMinLength - 1, lengths.LzMinLength},
                               Locale)});
        rows.push_back(
            {Texts[ReportText::FreeFlowGap], Format("%.1f s", {Figures().FreeFlowGapSeconds}, Locale)});
        rows.push_back({Texts[ReportText::Author], Request.Author});
        rows.push_back(
            {Texts[ReportText::ReportDate], FormatDateTime("dd/mm/yyyy", Request.ReportDate, Locale)});
        page.Blocks.push_back(TableBlock({"", ""}, std::move(rows)));
        std::vector<std::string> notes;
        if (Figures().ClassBased)
            notes.push_back(Texts[ComparisonText::ClassBasedNote]);
        if (Figures().SwappedDirections)
            notes.push_back(Texts[ComparisonText::SwappedNote]);
        notes.push_back(Format(Texts[ComparisonText::MethodNote], {IntToStr(Figures().Resamples)}, Locale));
        page.Blocks.push_back(TextBlock(std::move(notes)));
        return page;
    }

    std::string Site() const {
        return Request.Site.empty() ? Trimmed(Result.BeforeFile.Comment) : Request.Site;
    }

    ReportPage AdtPage() const {
        ReportPage page{Texts[ComparisonReportText::AdtPageTitle], false, {}};
        std::vector<Cells> rows;
        bool missing = false;
        for (int kind = 0; kind < 3; ++kind)
            for (int group = 0; group < DirectionGroups; ++group) {
                const AdtComparison& adt =
                    Figures().Adt[static_cast<std::size_t>(kind)][static_cast<std::size_t>(group)];
                missing = missing || !adt.Before || !adt.After;
                rows.push_back({group == 0 ? Texts[StatisticsText::AdtLabels + kind] : "",
                                Texts[StatisticsText::DirectionLabels + group],
                                adt.Before ? Format("%.1f", {*adt.Before}, Locale) : "-",
                                adt.After ? Format("%.1f", {*adt.After}, Locale) : "-",
                                adt.Change ? Value(*adt.Change, true, true) : "-"});
            }
        page.Blocks.push_back(
            TableBlock(SplitColumns(Texts[ComparisonReportText::AdtHeader]), std::move(rows)));
        if (missing)
            page.Blocks.push_back(TextBlock({Texts[ComparisonText::NoAdtNote]}));
        return page;
    }

    Cells FigureRow(const std::string& label, const std::optional<ComparedFigure>& figure, bool share) const {
        if (!figure)
            return {"", "", label, "-", "-", "-", "-", ""};
        return {"",
                "",
                label,
                Value(figure->Before, share),
                Value(figure->After, share),
                Value(figure->Difference, share, true),
                "[" + Value(figure->Lower, share, true) + " ; " + Value(figure->Upper, share, true) + "]",
                Texts[figure->Clear ? ComparisonText::Clear : ComparisonText::NotClear]};
    }

    static std::string Count(const std::optional<long long>& count) { return count ? IntToStr(*count) : "-"; }

    std::string HourList(const std::vector<int>& hours) const {
        std::string list;
        for (int h : hours)
            list += (list.empty() ? "" : ", ") + Format("%.2d-%.2d", {h, h + 1}, Locale);
        return list;
    }

    ReportPage FiguresPage(bool matched) const {
        ReportPage page{
            Texts[matched ? ComparisonReportText::MatchedPageTitle : ComparisonReportText::RawPageTitle],
            true,
            {}};
        page.Blocks.push_back(
            TextBlock({Texts[matched ? ComparisonText::MatchedTitle : ComparisonText::RawTitle],
                       Format(Texts[matched ? ComparisonText::MatchedNote : ComparisonText::MethodNote],
                              {IntToStr(Figures().Resamples)}, Locale)}));
        const std::string limitShare =
            Format(Texts[ComparisonText::ShareAbove], {IntToStr(Figures().Limit)}, Locale);
        std::vector<Cells> rows;
        std::vector<std::string> dropped;
        for (const GroupComparison& group : Figures().Groups) {
            const std::string direction = Texts[StatisticsText::DirectionLabels + group.DirectionGroup];
            const std::string vehicleClass =
                Texts[StatisticsText::ClassLabels + static_cast<int>(group.Class)];
            rows.push_back({direction, vehicleClass, Texts[ReportText::Vehicles], Count(group.CountBefore),
                            Count(group.CountAfter), "", "", ""});
            const bool empty =
                !group.CountBefore || !group.CountAfter || *group.CountBefore == 0 || *group.CountAfter == 0;
            if (empty) {
                rows.back().back() = Texts[ComparisonText::NoVehiclesOnASide];
                continue;
            }
            if (matched) {
                if (!group.MatchedV50) {
                    rows.back().back() = Texts[ComparisonText::NoCommonHour];
                    continue;
                }
                rows.push_back(FigureRow("V50", group.MatchedV50, false));
                rows.push_back(FigureRow("V85", group.MatchedV85, false));
                rows.push_back(FigureRow(limitShare, group.MatchedShareAboveLimit, true));
                if (!group.DroppedHours.empty())
                    dropped.push_back(direction + ", " + vehicleClass + ": " +
                                      Format(Stripped(Texts[ComparisonText::DroppedHours]),
                                             {HourList(group.DroppedHours)}, Locale));
                continue;
            }
            rows.push_back(FigureRow("V50", group.V50, false));
            rows.push_back(FigureRow("V85", group.V85, false));
            if (!Figures().ClassBased)
                rows.push_back(FigureRow(Texts[ComparisonText::FreeFlowV85], group.FreeFlowV85, false));
            for (const ComparedThreshold& threshold : group.Above)
                if (threshold.Figure)
                    rows.push_back(FigureRow(
                        Format(Texts[ComparisonText::ShareAbove], {IntToStr(threshold.Threshold)}, Locale),
                        threshold.Figure, true));
        }
        page.Blocks.push_back(
            TableBlock(SplitColumns(Texts[ComparisonReportText::FigureHeader]), std::move(rows)));
        if (!dropped.empty())
            page.Blocks.push_back(TextBlock(std::move(dropped)));
        return page;
    }

    ReportPage ChartsPage() const {
        ReportPage page{Texts[ComparisonReportText::ChartsPageTitle], false, {}};
        page.Blocks.push_back(ChartBlock(Result.Cumulative));
        page.Blocks.push_back(ChartBlock(Result.HourlyV85));
        return page;
    }

    std::string FooterLine(bool after) const {
        const ComparedFile& file = after ? Result.AfterFile : Result.BeforeFile;
        return Format(Texts[ComparisonReportText::FileSide],
                      {Side(after), file.Name, after ? Request.AfterSha256 : Request.BeforeSha256}, Locale);
    }
};

} // namespace

ReportDocument BuildComparisonReport(const ComparisonResult& comparison, const LengthThresholds& lengths,
                                     const ComparisonReportRequest& request, const LanguageTexts& texts,
                                     const LocaleFormat& locale) {
    const ComparisonReportWriter writer{comparison, request, texts, locale};
    ReportDocument document;
    document.Header = writer.Site();
    // Two footer lines hold both files; the program version follows the second.
    document.Footer = {writer.FooterLine(false),
                       writer.FooterLine(true) + "   " +
                           Format(texts[ReportText::Version], {request.ProgramVersion}, locale)};
    document.PageOfPattern = texts[ReportText::PageOf];
    document.Pages = {writer.TitlePage(lengths), writer.AdtPage(), writer.FiguresPage(false),
                      writer.FiguresPage(true), writer.ChartsPage()};
    return document;
}
