#include "charts/ReportContent.h"

#include "base/LanguageTexts.h"
#include "charts/ChartState.h"
#include "charts/StatisticsCharts.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/StatisticsText.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

using Cells = std::vector<std::string>;

// The short weekday names of the program's language, Sunday first; the locale's where the
// language file lacks them.
std::array<std::string, 7> WeekdayNamesOf(const LanguageTexts& texts, const LocaleFormat& locale) {
    const std::vector<std::string> names = SplitColumns(texts[ReportText::WeekdayNames]);
    if (names.size() != 7)
        return locale.ShortDayNames;
    std::array<std::string, 7> result;
    std::copy(names.begin(), names.end(), result.begin());
    return result;
}

struct ReportWriter {
    const MeasurementData& Data;
    const TrafficStatistics& Statistics;
    const ReportRequest& Request;
    const LanguageTexts& Texts;
    const LocaleFormat& Locale;
    std::string RangeText; // the time range in force; empty: the whole measurement
    LengthThresholds Lengths;

    std::string Number(std::optional<double> value, int decimals = 1) const {
        if (!value)
            return "-";
        return Format(decimals == 0 ? "%.0f" : decimals == 2 ? "%.2f" : "%.1f", {*value}, Locale);
    }
    std::string Percent(std::optional<double> share) const {
        return share ? Format("%.1f %%", {*share * 100}, Locale) : "-";
    }
    std::string Range(const std::optional<Interval95>& interval, bool asPercent = false) const {
        if (!interval)
            return "-";
        const double factor = asPercent ? 100 : 1;
        return Format("%.1f - %.1f", {interval->Lower * factor, interval->Upper * factor}, Locale);
    }
    std::string DateTime(double t) const { return FormatDateTime("dd/mm/yyyy hh:nn:ss", t, Locale); }
    std::string Date(double t) const { return FormatDateTime("dd/mm/yyyy", t, Locale); }
    std::string DirectionName(int group) const {
        const std::string& named = group == 0 ? Request.Direction1 : group == 1 ? Request.Direction2 : "";
        const std::string& generic = Texts[StatisticsText::DirectionLabels + group];
        return named.empty() ? generic : generic + " (" + named + ")";
    }
    bool SingleVehicles() const { return Statistics.SingleVehicles; }

    ReportBlock SingleVehicleNote() const { return TextBlock({Texts[ReportText::NeedsSingleVehicles]}); }

    std::pair<double, double> MeasurementSpan() const {
        if (Data.DataMode == DataMode::SingleVehicle && Data.WorkVehicleCount > 0)
            return {Data.WorkVehicles[1].Time, Data.WorkVehicles[Data.WorkVehicleCount].Time};
        if (Data.WorkIntervalCount > 0)
            return {Data.WorkIntervals[1].StartTime, Data.WorkIntervals[Data.WorkIntervalCount].StartTime};
        return {0, 0};
    }

    ReportPage TitlePage() const {
        ReportPage page{Texts[ReportText::TitlePageTitle], false, {}};
        const auto [first, last] = MeasurementSpan();
        const auto completeDays = std::count_if(Statistics.Days.begin(), Statistics.Days.end(),
                                                [](const DayFigures& day) { return day.Complete; });
        const bool vehicles = Data.DataMode == DataMode::SingleVehicle;
        const long long loaded = vehicles ? Data.LoadedCount : Data.IntervalCount;
        const long long working = vehicles ? Data.WorkVehicleCount : Data.WorkIntervalCount;
        const std::string range = RangeText.empty() ? Texts[ReportText::WholeMeasurement] : RangeText;
        std::vector<Cells> rows{
            {Texts[ReportText::Site], Request.Site.empty() ? Data.Comment : Request.Site},
            {Texts[ReportText::Period], working > 0 ? DateTime(first) + " - " + DateTime(last) : "-"},
            {Texts[ReportText::DaysLine],
             Format(Texts[ReportText::DaysValue].c_str(),
                    {static_cast<long long>(Statistics.Days.size()), static_cast<long long>(completeDays)},
                    Locale)},
            {Texts[ReportText::Limit], Format("%d km/h", {Statistics.Limit}, Locale)},
            {Texts[ReportText::Directions], DirectionName(0) + "; " + DirectionName(1)},
            {Texts[ReportText::LengthClasses], LengthClassesText()},
            {Texts[ReportText::FreeFlowGap], Format("%.1f s", {Statistics.FreeFlowGapSeconds}, Locale)},
            {Texts[ReportText::Selection],
             Format(Texts[vehicles ? ReportText::SelectionValue : ReportText::IntervalSelectionValue].c_str(),
                    {working, loaded}, Locale)},
            {Texts[ReportText::TimeRange], range},
            {Texts[ReportText::Author], Request.Author},
            {Texts[ReportText::ReportDate], Date(Request.ReportDate)},
        };
        page.Blocks.push_back(TableBlock({"", ""}, std::move(rows)));
        return page;
    }

    std::string LengthClassesText() const {
        const LengthThresholds& lengths = Lengths;
        return Format("PKW %d-%d m, LKW %d-%d m, LZ >= %d m",
                      {lengths.PkwMinLength, lengths.LkwMinLength - 1, lengths.LkwMinLength,
                       lengths.LzMinLength - 1, lengths.LzMinLength},
                      Locale);
    }
    std::string CountText(const std::optional<long long>& count) const {
        if (!count)
            return "-";
        return IntToStr(*count) + (*count > 0 && *count < FewVehiclesBelow ? " *" : "");
    }

    ReportPage KeyFiguresPage() const {
        ReportPage page{Texts[ReportText::KeyFiguresTitle], true, {}};
        std::vector<Cells> rows;
        for (const SpeedGroupFigures& group : Statistics.Groups) {
            if (!group.Count || (*group.Count == 0 && group.Class != StatisticsClass::All))
                continue;
            const auto above = group.Above ? std::find_if(group.Above->begin(), group.Above->end(),
                                                          [this](const ThresholdShare& share) {
                                                              return share.Threshold == Statistics.Limit;
                                                          })
                                           : std::vector<ThresholdShare>::const_iterator{};
            const bool hasAbove = group.Above && above != group.Above->end();
            rows.push_back(
                {Texts[StatisticsText::DirectionLabels + group.DirectionGroup],
                 Texts[StatisticsText::ClassLabels + static_cast<int>(group.Class)], CountText(group.Count),
                 Number(group.V50), Range(group.V50Interval), Number(group.V85), Range(group.V85Interval),
                 Number(group.Mean), hasAbove ? Percent(above->Share) : "-",
                 hasAbove ? Range(above->Interval, true) : "-",
                 group.Pace ? Format("%d-%d", {group.Pace->From, group.Pace->From + 9}, Locale) : "-"});
        }
        page.Blocks.push_back(TableBlock(SplitColumns(Texts[ReportText::KeyFiguresHeader]), std::move(rows)));
        page.Blocks.push_back(TextBlock({Texts[StatisticsText::FewVehicles]}));
        if (!SingleVehicles())
            page.Blocks.push_back(TextBlock({Texts[StatisticsText::IntervalDataNote]}));

        page.Blocks.push_back(TextBlock({Texts[ReportText::AdtTitle]}));
        std::vector<Cells> adt;
        for (int kind = 0; kind < 3; ++kind) {
            Cells row{Texts[StatisticsText::AdtLabels + kind], IntToStr(Statistics.Adt[kind].Days)};
            for (int group = 0; group < DirectionGroups; ++group)
                row.push_back(Number(Statistics.Adt[kind].Mean[group], 0));
            adt.push_back(std::move(row));
        }
        page.Blocks.push_back(TableBlock(SplitColumns(Texts[ReportText::AdtHeader]), std::move(adt)));

        page.Blocks.push_back(TextBlock({Texts[ReportText::PeakTitle]}));
        std::vector<Cells> peaks;
        for (const PeakHour& peak : Statistics.PeakHours)
            peaks.push_back({Texts[StatisticsText::DirectionLabels + peak.DirectionGroup],
                             Texts[peak.Afternoon ? StatisticsText::Afternoon : StatisticsText::Morning],
                             DateTime(peak.Start), IntToStr(peak.Count), Number(peak.Factor, 2)});
        page.Blocks.push_back(TableBlock(SplitColumns(Texts[ReportText::PeakHeader]), std::move(peaks)));
        return page;
    }

    ReportPage AverageDayPage(ChartScaleState& scale) const {
        ReportPage page{Texts[ReportText::AverageDayTitle], false, {}};
        // The statistics views draw no speed limit line and no window, so no choice of a view applies.
        const ViewSelections noChoices{};
        const ChartViewContext context{Data, noChoices, Texts, Locale, scale};
        page.Blocks.push_back(ChartBlock(AverageDayView(context, Statistics, ProfileDays::Workdays, 3)));
        page.Blocks.push_back(ChartBlock(AverageDayView(context, Statistics, ProfileDays::Weekend, 3)));
        std::vector<Cells> rows;
        const auto& workdays = Statistics.Profile[static_cast<int>(DayGroup::Workdays)];
        const auto& weekend = Statistics.Profile[static_cast<int>(DayGroup::Weekend)];
        for (int hour = 0; hour < 24; ++hour)
            rows.push_back({Format("%.2d-%.2d", {hour, hour + 1}, Locale), Number(workdays[hour].Mean[0]),
                            Number(workdays[hour].Mean[1]), Percent(workdays[hour].HeavyShare),
                            Number(weekend[hour].Mean[0]), Number(weekend[hour].Mean[1]),
                            Percent(weekend[hour].HeavyShare)});
        page.Blocks.push_back(TableBlock(SplitColumns(Texts[ReportText::AverageDayHeader]), std::move(rows)));
        return page;
    }

    // Vehicles per whole km/h of both directions, from 0 to just above the fastest vehicle.
    ChartDescription Histogram() const {
        const auto& counts = Statistics.SpeedCounts[2];
        int top = 0;
        for (int speed = 0; speed < 256; ++speed)
            if (counts[static_cast<std::size_t>(speed)] > 0)
                top = speed;
        const int bars = std::max(top + 1, Statistics.Limit + 10);
        ChartDescription chart;
        chart.Title = Texts[ReportText::HistogramTitle];
        chart.LeftAxisTitle = Texts[ReportText::Vehicles];
        chart.BottomAxisTitle = Texts[StatisticsChartText::SpeedKmh];
        ChartSeries series{{}, DirectionColour(1), ""};
        long long largest = 1;
        for (int speed = 0; speed < bars; ++speed) {
            const long long count = counts[static_cast<std::size_t>(std::min(speed, 255))];
            series.Values.push_back(static_cast<double>(count));
            largest = std::max(largest, count);
            chart.Labels.push_back(speed % 10 == 0 ? IntToStr(speed) : "");
        }
        chart.Series.push_back(std::move(series));
        chart.LeftAxisMax = NiceMaximum(static_cast<double>(largest));
        const auto& both = std::find_if(
            Statistics.Groups.begin(), Statistics.Groups.end(), [](const SpeedGroupFigures& group) {
                return group.DirectionGroup == 2 && group.Class == StatisticsClass::All;
            });
        chart.Lines.push_back(
            {Texts[StatisticsChartText::LimitLabel],
             Rgb{200, 0, 0},
             false,
             {{double(Statistics.Limit), 0}, {double(Statistics.Limit), chart.LeftAxisMax}}});
        if (both != Statistics.Groups.end() && both->V85)
            chart.Lines.push_back({Format("V85 = %.0f km/h", {*both->V85}, Locale),
                                   Rgb{0, 0, 0},
                                   false,
                                   {{*both->V85, 0}, {*both->V85, chart.LeftAxisMax}}});
        return chart;
    }

    static double NiceMaximum(double value) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(std::max(value, 1.0))));
        for (const double step : {1.0, 2.0, 2.5, 5.0, 10.0})
            if (value <= step * magnitude)
                return step * magnitude;
        return 10 * magnitude;
    }

    ReportPage SpeedPage(ChartScaleState& scale) const {
        ReportPage page{Texts[ReportText::SpeedTitle], false, {}};
        if (!SingleVehicles()) {
            page.Blocks.push_back(SingleVehicleNote());
            return page;
        }
        // The statistics views draw no speed limit line and no window, so no choice of a view applies.
        const ViewSelections noChoices{};
        const ChartViewContext context{Data, noChoices, Texts, Locale, scale};
        page.Blocks.push_back(ChartBlock(Histogram()));
        page.Blocks.push_back(ChartBlock(CumulativeSpeedView(context, Statistics, 3)));
        return page;
    }

    ReportPage HourlyPage() const {
        ReportPage page{Texts[ReportText::HourlyTitle], false, {}};
        if (!SingleVehicles()) {
            page.Blocks.push_back(SingleVehicleNote());
            return page;
        }
        ChartDescription chart;
        chart.AxisKind = 2;
        chart.Title = Texts[ReportText::HourlyChartTitle];
        chart.LeftAxisTitle = "V85 km/h";
        chart.BottomAxisTitle = Texts[StatisticsChartText::Hour];
        chart.RightScale = ChartScale{0, 100};
        chart.RightScaleTitle = Format(Texts[ReportText::ShareAbove].c_str(), {Statistics.Limit}, Locale);
        ChartSeries v85{{}, DirectionColour(1), "V85"};
        ChartLine share{chart.RightScaleTitle, HeavyShareColour(), true, {}};
        double fastest = 0;
        std::vector<Cells> rows;
        for (int hour = 0; hour < 24; ++hour) {
            const HourFigures& figures = Statistics.Hourly[static_cast<std::size_t>(hour)];
            v85.Values.push_back(figures.V85.value_or(0));
            fastest = std::max(fastest, figures.V85.value_or(0));
            chart.Labels.push_back(IntToStr(hour));
            if (figures.ShareAboveLimit)
                share.Points.push_back({double(hour), *figures.ShareAboveLimit * 100});
            rows.push_back({Format("%.2d-%.2d", {hour, hour + 1}, Locale), IntToStr(figures.Count),
                            Number(figures.V85), Percent(figures.ShareAboveLimit)});
        }
        chart.LeftAxisMax = NiceMaximum(std::max(fastest, double(Statistics.Limit)) * 1.1);
        chart.Series.push_back(std::move(v85));
        chart.Lines.push_back(std::move(share));
        page.Blocks.push_back(ChartBlock(std::move(chart)));
        Cells header{Texts[StatisticsChartText::Hour], Texts[ReportText::Vehicles], "V85",
                     chart.RightScaleTitle};
        page.Blocks.push_back(TableBlock(std::move(header), std::move(rows)));
        return page;
    }

    ReportPage DayTablePage() const {
        ReportPage page{Texts[ReportText::DayTableTitle], false, {}};
        std::vector<Cells> rows;
        const std::array<std::string, 7> weekdays = WeekdayNamesOf(Texts, Locale);
        for (const DayFigures& day : Statistics.Days)
            rows.push_back({weekdays[static_cast<std::size_t>(day.Weekday % 7)], Date(day.Date),
                            Texts[day.Complete ? ReportText::Complete : ReportText::Incomplete],
                            IntToStr(day.Count[0]), IntToStr(day.Count[1]), IntToStr(day.Count[2]),
                            IntToStr(day.Heavy), Number(day.V85), Percent(day.ShareAboveLimit)});
        page.Blocks.push_back(TableBlock(SplitColumns(Texts[ReportText::DayTableHeader]), std::move(rows)));
        if (!SingleVehicles())
            page.Blocks.push_back(TextBlock({Texts[StatisticsText::IntervalDataNote]}));
        return page;
    }

    ReportPage QualityPage() const {
        ReportPage page{Texts[ReportText::QualityTitle], false, {}};
        const DataQuality& quality = Statistics.Quality;
        std::vector<std::string> lines;
        lines.push_back(Format(Texts[StatisticsText::GapsLine].c_str(),
                               {IntToStr(static_cast<long long>(quality.Gaps.size()))}, Locale));
        if (quality.Implausible)
            lines.push_back(Format(
                Texts[StatisticsText::ImplausibleLine].c_str(),
                {IntToStr(*quality.Implausible) + " (" + Percent(quality.ImplausibleShare) + ")"}, Locale));
        if (quality.ShortHeadways)
            lines.push_back(Format(Texts[StatisticsText::ShortHeadwaysLine].c_str(),
                                   {IntToStr(*quality.ShortHeadways)}, Locale));
        if (quality.OutOfOrder)
            lines.push_back(Format(Texts[StatisticsText::OutOfOrderLine].c_str(),
                                   {IntToStr(*quality.OutOfOrder)}, Locale));
        if (!SingleVehicles())
            lines.push_back(Texts[ReportText::NeedsSingleVehicles]);
        page.Blocks.push_back(TextBlock(std::move(lines)));
        std::vector<Cells> gaps;
        for (const DataGap& gap : quality.Gaps)
            gaps.push_back({DateTime(gap.From), DateTime(gap.To), Number(gap.Minutes, 0)});
        if (gaps.empty())
            page.Blocks.push_back(TextBlock({Texts[ReportText::NoGaps]}));
        else
            page.Blocks.push_back(TableBlock(SplitColumns(Texts[ReportText::GapsHeader]), std::move(gaps)));
        return page;
    }
};

// The footer's line naming the data: the file with its SHA-256, or the card reader's port.
std::string SourceLine(const ReportRequest& request, const LanguageTexts& texts, const LocaleFormat& locale) {
    if (request.SourceKind == ReportSourceKind::CardReader)
        return Format(texts[ReportText::CardReaderSource].c_str(), {request.SourceDevice}, locale);
    const int text = request.SourceKind == ReportSourceKind::CardFile   ? ReportText::CardFileSource
                     : request.SourceKind == ReportSourceKind::PeloFile ? ReportText::PeloFileSource
                                                                        : ReportText::DataFile;
    return Format(texts[text].c_str(), {request.SourceFileName, request.SourceSha256}, locale);
}

} // namespace

ReportDocument BuildReport(const MeasurementData& data, const StatisticsSettings& settings,
                           const ReportRequest& request, const LanguageTexts& texts,
                           const LocaleFormat& locale) {
    const TrafficStatistics statistics = ComputeTrafficStatistics(data, settings);
    std::string range;
    if (settings.From && settings.To)
        range = FormatDateTime("dd/mm/yyyy hh:nn:ss", *settings.From, locale) + " - " +
                FormatDateTime("dd/mm/yyyy hh:nn:ss", *settings.To, locale);
    const ReportWriter writer{data, statistics, request, texts, locale, range, settings.Lengths};

    ReportDocument document;
    document.Header = request.Site.empty() ? data.Comment : request.Site;
    document.Footer = {SourceLine(request, texts, locale),
                       Format(texts[ReportText::Version].c_str(), {request.ProgramVersion}, locale)};
    document.PageOfPattern = texts[ReportText::PageOf];
    ChartScaleState scale;
    document.Pages = {writer.TitlePage(),      writer.KeyFiguresPage(), writer.AverageDayPage(scale),
                      writer.SpeedPage(scale), writer.HourlyPage(),     writer.DayTablePage(),
                      writer.QualityPage()};
    return document;
}

ReportBlock TextBlock(std::vector<std::string> lines) {
    ReportBlock block;
    block.Lines = std::move(lines);
    return block;
}

ReportBlock TableBlock(std::vector<std::string> header, std::vector<std::vector<std::string>> rows) {
    ReportBlock block;
    block.Type = ReportBlock::Kind::Table;
    block.Table = {std::move(header), std::move(rows)};
    return block;
}

ReportBlock ChartBlock(ChartDescription chart) {
    ReportBlock block;
    block.Type = ReportBlock::Kind::Chart;
    block.Chart = std::move(chart);
    return block;
}

std::vector<std::string> SplitColumns(const std::string& text) {
    std::vector<std::string> columns;
    std::stringstream stream(text);
    for (std::string column; std::getline(stream, column, '|');)
        columns.push_back(column);
    return columns;
}

ReportFields ReadReportFields(const IniFile& ini) {
    return {ini.ReadString("Bericht", "Messstelle", ""), ini.ReadString("Bericht", "Richtung1", ""),
            ini.ReadString("Bericht", "Richtung2", ""), ini.ReadString("Bericht", "Verfasser", "")};
}

void WriteReportFields(IniFile& ini, const ReportFields& fields) {
    ini.WriteString("Bericht", "Messstelle", fields.Site);
    ini.WriteString("Bericht", "Richtung1", fields.Direction1);
    ini.WriteString("Bericht", "Richtung2", fields.Direction2);
    ini.WriteString("Bericht", "Verfasser", fields.Author);
}

std::string PageNumberText(const ReportDocument& document, int page, int pageCount,
                           const LocaleFormat& locale) {
    return Format(document.PageOfPattern, {page, pageCount}, locale);
}
