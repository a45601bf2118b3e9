#include "evaluation/StatisticsText.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/TextColumns.h"

namespace {
using namespace StatisticsText;

struct Cells {
    bool Whole;
    const LocaleFormat& Locale;

    std::string Speed(const std::optional<double>& v, int width = 6) const {
        if (!v)
            return RightColumn(MissingFigure, static_cast<std::size_t>(width));
        return Whole ? RightColumn(IntToStr(static_cast<long long>(*v)), static_cast<std::size_t>(width))
                     : RightColumn(Format("%.1f", {*v}, Locale), static_cast<std::size_t>(width));
    }
    std::string Decimal(const std::optional<double>& v, int width, int decimals = 1) const {
        if (!v)
            return RightColumn(MissingFigure, static_cast<std::size_t>(width));
        return RightColumn(Format(decimals == 2 ? "%.2f" : "%.1f", {*v}, Locale),
                           static_cast<std::size_t>(width));
    }
    std::string Percent(const std::optional<double>& share, int width) const {
        return Decimal(share ? std::optional<double>(*share * 100) : std::nullopt, width);
    }
    std::string Count(long long n, int width) const {
        return RightColumn(IntToStr(n), static_cast<std::size_t>(width));
    }
    std::string SpeedRange(const std::optional<Interval95>& ci) const {
        if (!ci)
            return " (" + RightColumn(MissingFigure, 13) + ")";
        return " (" + Speed(ci->Lower, 5) + " -" + Speed(ci->Upper, 5) + ")";
    }
};

std::string GroupLabel(const SpeedGroupFigures& g, const LanguageTexts& texts) {
    return PadColumn(texts[DirectionLabels + g.DirectionGroup], 12) +
           PadColumn(texts[ClassLabels + static_cast<int>(g.Class)], 7);
}

std::string FewMark(const std::optional<long long>& n) {
    return n && *n > 0 && *n < FewVehiclesBelow ? " *" : "";
}

std::string DateTimeText(double t, const LocaleFormat& locale) {
    return FormatDateTime("dd/mm/yyyy hh:nn", t, locale);
}

void AddHead(std::vector<std::string>& lines, int title, const TrafficStatistics& s,
             const MeasurementData& data, const LanguageTexts& texts, const LocaleFormat& locale) {
    lines.push_back(texts[title]);
    lines.push_back("");
    lines.push_back(texts[Text::CommentLabel] + data.Comment);
    if (!s.Days.empty())
        lines.push_back(texts[Text::PeriodLabel] +
                        FormatDateTime("dd/mm/yyyy  -  ", s.Days.front().Date, locale) +
                        FormatDateTime("dd/mm/yyyy", s.Days.back().Date, locale));
    lines.push_back(texts[Text::SpeedLimitLabel] + IntToStr(s.Limit) + "km/h");
    lines.push_back("");
}

void AddSpeedTable(std::vector<std::string>& lines, const TrafficStatistics& s, const LanguageTexts& texts,
                   const Cells& cell, const LocaleFormat& locale) {
    lines.push_back(texts[SpeedTitle]);
    lines.push_back(texts[SpeedHeader] +
                    Format("   V%.2d   V%.2d", {s.LowerPercentile, s.UpperPercentile}, locale));
    for (const SpeedGroupFigures& g : s.Groups) {
        std::string line = GroupLabel(g, texts);
        line += g.Count ? cell.Count(*g.Count, 7) : RightColumn(MissingFigure, 7);
        line += cell.Decimal(g.Mean, 8) + cell.Decimal(g.StandardDeviation, 7);
        line += cell.Speed(g.V15) + cell.Speed(g.V50) + cell.SpeedRange(g.V50Interval);
        line += cell.Speed(g.V85) + cell.SpeedRange(g.V85Interval) + cell.Speed(g.V95);
        line += cell.Speed(g.VLower) + cell.Speed(g.VUpper) + FewMark(g.Count);
        lines.push_back(line);
    }
    lines.push_back(texts[FewVehicles]);
    lines.push_back("");
}

void AddSingleVehicleTables(std::vector<std::string>& lines, const TrafficStatistics& s,
                            const LanguageTexts& texts, const Cells& cell, const LocaleFormat& locale) {
    lines.push_back(texts[PaceTitle]);
    lines.push_back(texts[PaceHeader]);
    for (const SpeedGroupFigures& g : s.Groups) {
        std::string line = GroupLabel(g, texts);
        if (g.Pace)
            line += Format("%4d - %3d", {g.Pace->From, g.Pace->From + 9}, locale) +
                    cell.Count(g.Pace->Count, 9) + cell.Percent(g.Pace->Share, 9) + FewMark(g.Count);
        else
            line += RightColumn(MissingFigure, 10);
        lines.push_back(line);
    }
    lines.push_back("");

    lines.push_back(texts[ThresholdTitle]);
    lines.push_back(texts[ThresholdHeader]);
    for (const SpeedGroupFigures& g : s.Groups) {
        for (const ThresholdShare& a : *g.Above) {
            std::string line = GroupLabel(g, texts) + Format("  > %3d", {a.Threshold}, locale) +
                               cell.Count(a.Count, 9) + cell.Percent(a.Share, 11);
            if (a.Interval)
                line +=
                    "   " + cell.Percent(a.Interval->Lower, 6) + " -" + cell.Percent(a.Interval->Upper, 6);
            lines.push_back(line + FewMark(g.Count));
        }
    }
    lines.push_back("");

    lines.push_back(Format(texts[FreeFlowTitle], {FloatToStr(s.FreeFlowGapSeconds, locale)}, locale));
    lines.push_back(texts[FreeFlowHeader]);
    for (const SpeedGroupFigures& g : s.Groups) {
        const FreeFlowFigures& f = *g.FreeFlow;
        lines.push_back(GroupLabel(g, texts) + cell.Count(f.Count, 7) + cell.Speed(f.V85) +
                        cell.SpeedRange(f.V85Interval) + cell.Percent(f.ShareAboveLimit, 12) +
                        FewMark(f.Count));
    }
    lines.push_back("");
}

void AddHourly(std::vector<std::string>& lines, const TrafficStatistics& s, const LanguageTexts& texts,
               const Cells& cell, const LocaleFormat& locale) {
    lines.push_back(texts[HourlyTitle]);
    lines.push_back(texts[HourlyHeader]);
    for (int h = 0; h < 24; ++h) {
        const HourFigures& f = s.Hourly[static_cast<std::size_t>(h)];
        lines.push_back(Format("%.2d-%.2d   ", {h, h + 1}, locale) + cell.Count(f.Count, 9) +
                        cell.Speed(f.V85) + cell.Percent(f.ShareAboveLimit, 12) + FewMark(f.Count));
    }
    lines.push_back("");
}

void AddQuality(std::vector<std::string>& lines, const TrafficStatistics& s, const LanguageTexts& texts,
                const LocaleFormat& locale) {
    lines.push_back(texts[QualityTitle]);
    lines.push_back(
        Format(texts[GapsLine], {IntToStr(static_cast<long long>(s.Quality.Gaps.size()))}, locale));
    for (const DataGap& g : s.Quality.Gaps)
        lines.push_back("  " + DateTimeText(g.From, locale) + "  -  " + DateTimeText(g.To, locale) +
                        Format("%9.0f min", {g.Minutes}, locale));
    if (!s.SingleVehicles) {
        lines.push_back(texts[IntervalGapsNote]);
        return;
    }
    lines.push_back(Format(texts[ImplausibleLine],
                           {IntToStr(*s.Quality.Implausible) + " (" +
                            Format("%.1f", {s.Quality.ImplausibleShare.value_or(0) * 100}, locale) + " %)"},
                           locale));
    lines.push_back(Format(texts[ShortHeadwaysLine], {IntToStr(*s.Quality.ShortHeadways)}, locale));
    lines.push_back(Format(texts[OutOfOrderLine], {IntToStr(*s.Quality.OutOfOrder)}, locale));
}

std::string WeekdayName(int mondayFirst, const LocaleFormat& locale) {
    return locale.ShortDayNames[static_cast<std::size_t>(mondayFirst % 7)];
}

void AddDays(std::vector<std::string>& lines, const TrafficStatistics& s, const LanguageTexts& texts,
             const Cells& cell, const LocaleFormat& locale) {
    lines.push_back(texts[DaysTitle]);
    lines.push_back(texts[DaysHeader]);
    for (const DayFigures& d : s.Days) {
        std::string line = FormatDateTime("dd/mm/yyyy", d.Date, locale) + "  " +
                           PadColumn(WeekdayName(d.Weekday, locale), 3);
        line += cell.Count(d.Count[0], 8) + cell.Count(d.Count[1], 8) + cell.Count(d.Count[2], 8) +
                cell.Count(d.Heavy, 8) + cell.Speed(d.V85) + cell.Percent(d.ShareAboveLimit, 12);
        if (!d.Complete)
            line += "  " + texts[PartialDay];
        lines.push_back(line);
    }
    lines.push_back("");

    lines.push_back(texts[AdtTitle]);
    if (s.Adt[0].Days == 0) {
        lines.push_back(texts[NoCompleteDay]);
    } else {
        lines.push_back(texts[AdtHeader]);
        for (int a = 0; a < 3; ++a) {
            const AdtFigures& adt = s.Adt[a];
            lines.push_back(PadColumn(texts[AdtLabels + a], 22) + cell.Count(adt.Days, 6) +
                            cell.Decimal(adt.Mean[0], 9) + cell.Decimal(adt.Mean[1], 9) +
                            cell.Decimal(adt.Mean[2], 9));
        }
    }
    lines.push_back("");
}

void AddProfile(std::vector<std::string>& lines, const TrafficStatistics& s, DayGroup group, int labelText,
                const LanguageTexts& texts, const Cells& cell, const LocaleFormat& locale) {
    const auto& hours = s.Profile[static_cast<std::size_t>(group)];
    lines.push_back(Format(texts[ProfileTitle], {texts[labelText]}, locale));
    if (!hours[0].Mean[2]) {
        lines.push_back(texts[NoCompleteDayInGroup]);
        lines.push_back("");
        return;
    }
    lines.push_back(texts[ProfileHeader]);
    for (int h = 0; h < 24; ++h) {
        const ProfileHour& p = hours[static_cast<std::size_t>(h)];
        lines.push_back(Format("%.2d-%.2d ", {h, h + 1}, locale) + cell.Decimal(p.Mean[0], 9) +
                        cell.Decimal(p.Mean[1], 9) + cell.Decimal(p.Mean[2], 9) +
                        cell.Percent(p.HeavyShare, 12));
    }
    lines.push_back("");
}

void AddPeakHours(std::vector<std::string>& lines, const TrafficStatistics& s, const LanguageTexts& texts,
                  const Cells& cell, const LocaleFormat& locale) {
    lines.push_back(texts[PeakTitle]);
    if (s.PeakHours.empty()) {
        lines.push_back(texts[NoPeakHour]);
        return;
    }
    lines.push_back(texts[PeakHeader]);
    for (const PeakHour& p : s.PeakHours)
        lines.push_back(PadColumn(texts[DirectionLabels + p.DirectionGroup], 12) +
                        PadColumn(texts[p.Afternoon ? Afternoon : Morning], 14) +
                        DateTimeText(p.Start, locale) + cell.Count(p.Count, 8) +
                        cell.Decimal(p.Factor, 8, 2) + FewMark(p.Count));
}
} // namespace

std::vector<std::string> KeyFigureLines(const TrafficStatistics& s, const MeasurementData& data,
                                        const LanguageTexts& texts, const LocaleFormat& locale) {
    std::vector<std::string> lines;
    AddHead(lines, KeyFiguresTitle, s, data, texts, locale);
    if (s.Vehicles == 0) {
        lines.push_back(texts[NoVehicles]);
        return lines;
    }
    const Cells cell{s.SingleVehicles, locale};
    AddSpeedTable(lines, s, texts, cell, locale);
    if (s.SingleVehicles) {
        AddSingleVehicleTables(lines, s, texts, cell, locale);
    } else {
        lines.push_back(texts[IntervalDataNote]);
        lines.push_back("");
    }
    AddHourly(lines, s, texts, cell, locale);
    AddQuality(lines, s, texts, locale);
    return lines;
}

std::vector<std::string> DayProfileLines(const TrafficStatistics& s, const MeasurementData& data,
                                         const LanguageTexts& texts, const LocaleFormat& locale) {
    std::vector<std::string> lines;
    AddHead(lines, DayProfileTitle, s, data, texts, locale);
    if (s.Vehicles == 0) {
        lines.push_back(texts[NoVehicles]);
        return lines;
    }
    const Cells cell{s.SingleVehicles, locale};
    AddDays(lines, s, texts, cell, locale);
    AddProfile(lines, s, DayGroup::Workdays, AdtLabels + 1, texts, cell, locale);
    AddProfile(lines, s, DayGroup::Weekend, AdtLabels + 2, texts, cell, locale);
    AddPeakHours(lines, s, texts, cell, locale);
    return lines;
}
