#include "evaluation/Summary.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/StatisticsText.h"

#include <algorithm>
#include <functional>

namespace {
constexpr int DirectionGroupBoth = 2;
constexpr int ClassGroupAll = 0;

// Maximum speeds per direction (0, 1) and vehicle class (PKW, LKW, LZ).
struct MaxSpeedTable {
    std::int32_t Speed[2][3] = {};
};

// Everything the summaries read from all intervals, gathered in one pass.
struct IntervalTotals {
    CountTable Counts;
    SpeedClassTable Speeds;
    MaxSpeedTable MaxSpeeds;
};

void AddBothDirections(CountTable& t) {
    for (int g = 0; g < ClassGroupCount; ++g)
        t.Count[g][DirectionGroupBoth] = t.Count[g][0] + t.Count[g][1];
}

IntervalTotals SumAll(const MeasurementData& data) {
    IntervalTotals result;
    long long counts[ClassGroupCount][2] = {};
    long long speeds[3][2][SpeedClassCount + 1] = {};
    for (int n = 1; n <= data.WorkIntervalCount; ++n) {
        const IntervalRecord& r = data.WorkIntervals[n];
        for (int d = 0; d < 2; ++d) {
            counts[0][d] += r.Total()[d + 1];
            for (int c = 0; c < 3; ++c) {
                const auto vc = static_cast<VehicleClass>(c);
                counts[c + 1][d] += r.ClassCount(vc)[d + 1];
                std::int32_t& maxSpeed = result.MaxSpeeds.Speed[d][c];
                maxSpeed = std::max(maxSpeed, r.MaxSpeed(vc)[d + 1]);
            }
        }
        for (int c = 0; c < 3; ++c) {
            const DirectionPair* block = &r.Slots[Slot::ClassBlock(static_cast<VehicleClass>(c))];
            for (int k = 1; k <= SpeedClassCount; ++k) {
                speeds[c][0][k] += block[k].Dir1;
                speeds[c][1][k] += block[k].Dir2;
            }
        }
    }
    for (int g = 0; g < ClassGroupCount; ++g)
        for (int d = 0; d < 2; ++d)
            result.Counts.Count[g][d] = counts[g][d];
    AddBothDirections(result.Counts);
    for (int k = 1; k <= SpeedClassCount; ++k) {
        for (int d = 0; d < 2; ++d) {
            long long all = 0;
            for (int c = 0; c < 3; ++c) {
                result.Speeds.Count[c + 1][d][k] = speeds[c][d][k];
                all += result.Speeds.Count[c + 1][d][k];
            }
            result.Speeds.Count[ClassGroupAll][d][k] = all;
        }
        for (int g = 0; g < ClassGroupCount; ++g)
            result.Speeds.Count[g][DirectionGroupBoth][k] =
                result.Speeds.Count[g][0][k] + result.Speeds.Count[g][1][k];
    }
    return result;
}

// A value rounded to one decimal the way all one-decimal values of the summary are: divided by
// the double 0.1 in extended precision, rounded ties-to-even, multiplied by 0.1, kept as single.
float RoundToTenth(long double value) {
    const long double tenth = 0.1;
    return static_cast<float>(static_cast<long double>(RoundHalfEven(value / tenth)) * tenth);
}

using CellText = std::function<std::string(int g, int d)>;

// A label followed, for direction 1, direction 2 and both, by three blanks and four cells.
std::string Row(const std::string& label, const CellText& cell) {
    std::string row = label;
    for (int d = 0; d < DirectionGroupCount; ++d) {
        row += "   ";
        for (int g = 0; g < ClassGroupCount; ++g)
            row += cell(g, d);
    }
    return row;
}

std::string CountRow(const std::string& label, const CountTable& t, const LocaleFormat& locale) {
    return Row(label, [&](int g, int d) { return Format("%6d  ", {t.Count[g][d]}, locale); });
}

int FirstRecordAtHour(const MeasurementData& data, int hour) {
    for (int n = 1; n <= data.WorkIntervalCount; ++n) {
        const DateTimeParts p = DecodeDateTime(data.WorkIntervals[n].StartTime);
        if (p.Minute == 0 && (hour < 0 || p.Hour == hour))
            return n;
    }
    return data.WorkIntervalCount + 1;
}

std::string WindowRow(const MeasurementData& data, const std::string& label, int hour, int records,
                      long double weight, const LocaleFormat& locale) {
    const long long first = FirstRecordAtHour(data, hour);
    const long long last = first + records - 1;
    if (records <= 0 || last > data.WorkIntervalCount)
        return label + "      ---     ---     ---     ---  " + "      ---     ---     ---     ---  " +
               "      ---     ---     ---     ---  ";
    const CountTable t = SumCounts(data, static_cast<int>(first), static_cast<int>(last));
    return Row(label, [&](int g, int d) {
        return Format("%6d  ", {RoundHalfEven(t.Count[g][d] * weight)}, locale);
    });
}

std::vector<std::string> PeakHourLines(const MeasurementData& data, int factor, const LanguageTexts& texts,
                                       const LocaleFormat& locale) {
    const int perHour = std::max(1, 12 / factor);
    long long best[ClassGroupCount][DirectionGroupCount] = {};
    int bestRecord[ClassGroupCount][DirectionGroupCount] = {};
    for (long long start = FirstRecordAtHour(data, -1); start + perHour - 1 <= data.WorkIntervalCount;
         start += perHour) {
        const CountTable t = SumCounts(data, static_cast<int>(start), static_cast<int>(start + perHour - 1));
        for (int g = 0; g < ClassGroupCount; ++g)
            for (int d = 0; d < DirectionGroupCount; ++d)
                if (t.Count[g][d] > best[g][d]) {
                    best[g][d] = t.Count[g][d];
                    bestRecord[g][d] = static_cast<int>(start);
                }
    }
    const auto cells = [&](const std::function<std::string(int g, int d)>& kept) {
        return [&, kept](int g, int d) { return best[g][d] > 0 ? kept(g, d) : std::string("   ---  "); };
    };
    const auto startOf = [&](int g, int d) { return data.WorkIntervals[bestRecord[g][d]].StartTime; };
    return {
        Row(texts[Text::PeakHourRow],
            cells([&](int g, int d) { return Format("%6d  ", {best[g][d]}, locale); })),
        Row(texts[Text::DateRow],
            cells([&](int g, int d) { return FormatDateTime(" dd.mm. ", startOf(g, d), locale); })),
        Row(texts[Text::TimeRow],
            cells([&](int g, int d) { return FormatDateTime(" hh:mm  ", startOf(g, d), locale); })),
    };
}

long long SumOfClasses(const long long (&classes)[SpeedClassCount + 1], int from, int to) {
    long long sum = 0;
    for (int c = std::max(from, 1); c <= std::min(to, SpeedClassCount); ++c)
        sum += classes[c];
    return sum;
}

std::vector<std::string> AboveLimitLines(const IntervalTotals& totals, int limitIndex,
                                         const LanguageTexts& texts, const LocaleFormat& locale) {
    CountTable above;
    for (int g = 0; g < ClassGroupCount; ++g)
        for (int d = 0; d < DirectionGroupCount; ++d)
            above.Count[g][d] = SumOfClasses(totals.Speeds.Count[g][d], 2 * limitIndex - 1, SpeedClassCount);
    return {
        CountRow(texts[Text::AboveLimitRow], above, locale),
        Row(texts[Text::AboveLimitShareRow],
            [&](int g, int d) {
                const long long n = totals.Counts.Count[g][d];
                const long long percent =
                    n <= 0 ? 0 : RoundHalfEven(100.0L * above.Count[g][d] / static_cast<long double>(n));
                return Format("%6d  ", {percent}, locale);
            }),
    };
}

std::string RangeText(const MeasurementData& data, const LocaleFormat& locale) {
    if (data.WorkIntervalCount < 1)
        return "---";
    return FormatDateTime("dd.mm.yyyy hh:mm  -  ", data.WorkIntervals[1].StartTime, locale) +
           FormatDateTime("dd.mm.yyyy hh:mm", data.WorkIntervals[data.WorkIntervalCount].StartTime, locale);
}

// Title, comment, time range and limit lines that both tables begin with.
void AppendHead(std::vector<std::string>& lines, const MeasurementData& data, const ViewSelections& view,
                int titleText, const LanguageTexts& texts, const LocaleFormat& locale) {
    lines.push_back(texts[titleText]);
    lines.emplace_back();
    lines.push_back(texts[Text::CommentLabel] + data.Comment);
    lines.push_back(texts[Text::PeriodLabel] + RangeText(data, locale));
    if (view.LimitDisplayOn)
        lines.push_back(texts[Text::SpeedLimitLabel] + IntToStr(10LL * view.SpeedLimitIndex) + "km/h");
    else
        lines.emplace_back();
}

std::vector<std::string> OverviewLines(const MeasurementData& data, const ViewSelections& view,
                                       const LanguageTexts& texts, const LocaleFormat& locale) {
    const int factor = std::max(1, view.IntervalFactor);
    const IntervalTotals totals = SumAll(data);
    const CountTable& counts = totals.Counts;
    std::vector<std::string> lines;
    lines.reserve(34);
    AppendHead(lines, data, view, Text::SummaryTitle, texts, locale);
    lines.emplace_back();
    lines.push_back(texts[Text::SummaryHeader]);
    lines.push_back(std::string(120, '-'));
    lines.emplace_back();
    lines.push_back(CountRow(texts[Text::CountRow], counts, locale));
    lines.push_back(Row(texts[Text::ShareRow], [&](int g, int d) {
        const long long all = counts.Count[ClassGroupAll][d];
        const float share =
            all <= 0 ? 0.0f : RoundToTenth(static_cast<long double>(counts.Count[g][d]) / all * 100);
        return Format("%6.1f  ", {share}, locale);
    }));
    lines.emplace_back();
    for (const int p : {view.LowerPercentile, 50, view.UpperPercentile})
        lines.push_back(PercentileRow(totals.Speeds, p, locale));
    lines.push_back(Row("Vmax           ", [&](int g, int d) {
        const auto& m = totals.MaxSpeeds.Speed;
        const auto maxOfDirection = [&](int dir) {
            return g == ClassGroupAll ? std::max({m[dir][0], m[dir][1], m[dir][2]}) : m[dir][g - 1];
        };
        const std::int32_t value =
            d == DirectionGroupBoth ? std::max(maxOfDirection(0), maxOfDirection(1)) : maxOfDirection(d);
        return Format("  %6.1f", {static_cast<double>(value)}, locale);
    }));
    lines.emplace_back();
    lines.emplace_back();
    lines.push_back(WindowRow(data, texts[Text::WholeDayRow], 0, 288 / factor, 1, locale));
    lines.push_back(WindowRow(data, texts[Text::EveningPeakRow], 15, 48 / factor, 3.5L, locale));
    lines.emplace_back();
    lines.push_back(WindowRow(data, texts[Text::DayRow], 6, 192 / factor, 1, locale));
    lines.push_back(WindowRow(data, texts[Text::NightRow], 22, 96 / factor, 1, locale));
    lines.emplace_back();
    lines.emplace_back();
    const long double hours = static_cast<long double>(data.WorkIntervalCount) * factor / 12;
    lines.push_back(Row(texts[Text::MeanPerHourRow], [&](int g, int d) {
        const long long perHour = hours > 0 ? RoundHalfEven(counts.Count[g][d] / hours) : 0;
        return Format("%6d  ", {perHour}, locale);
    }));
    for (std::string& line : PeakHourLines(data, factor, texts, locale))
        lines.push_back(std::move(line));
    if (view.LimitDisplayOn) {
        lines.emplace_back();
        lines.emplace_back();
        for (std::string& line : AboveLimitLines(totals, view.SpeedLimitIndex, texts, locale))
            lines.push_back(std::move(line));
    }
    return lines;
}

// Six cells of a speed-table row: PKW, LKW, LZ of direction 1, then of direction 2.
std::string SpeedCells(const SpeedClassTable& t, int from, int to, const char* const (&patterns)[6],
                       const LocaleFormat& locale) {
    std::string cells;
    int pattern = 0;
    for (int d = 0; d < 2; ++d)
        for (int g = 1; g < ClassGroupCount; ++g)
            cells += Format(patterns[pattern++], {SumOfClasses(t.Count[g][d], from, to)}, locale);
    return cells;
}

std::vector<std::string> SpeedTableLines(const MeasurementData& data, const ViewSelections& view,
                                         const LanguageTexts& texts, const LocaleFormat& locale) {
    static constexpr const char* ClassCells[6] = {"%6d   ", "%6d   ", "%6d        ",
                                                  "%6d   ", "%6d   ", "%6d   "};
    static constexpr const char* LimitCells[6] = {"%6d   ",      "%6d   ", "%6d   ",
                                                  "     %6d   ", "%6d   ", "%6d   "};
    const SpeedClassTable speeds = SumAll(data).Speeds;
    std::vector<std::string> lines;
    lines.reserve(48);
    AppendHead(lines, data, view, Text::SpeedTableTitle, texts, locale);
    lines.emplace_back();
    lines.emplace_back();
    lines.push_back(texts[Text::SpeedTableHeader]);
    lines.push_back(std::string(75, '-'));
    lines.emplace_back();
    for (int c = 1; c <= SpeedClassCount; ++c) {
        std::string label = c == 1                 ? std::string("  < 16   ")
                            : c == SpeedClassCount ? std::string("  > 150  ")
                                                   : Format("%3d - %3d", {5 * c + 6, 5 * c + 10}, locale);
        lines.push_back(label + std::string(10, ' ') + SpeedCells(speeds, c, c, ClassCells, locale));
    }
    if (view.LimitDisplayOn) {
        const int l = view.SpeedLimitIndex;
        lines.emplace_back();
        lines.emplace_back();
        lines.push_back(Format(" =< %3d", {10 * l}, locale) + std::string(12, ' ') +
                        SpeedCells(speeds, 1, 2 * l - 2, LimitCells, locale));
        lines.push_back(Format("%3d - %3d", {10 * l + 1, 10 * l + 20}, locale) + std::string(10, ' ') +
                        SpeedCells(speeds, 2 * l - 1, 2 * l + 2, LimitCells, locale));
        lines.push_back(Format("  > %3d", {10 * l + 20}, locale) + std::string(12, ' ') +
                        SpeedCells(speeds, 2 * l + 3, SpeedClassCount, LimitCells, locale));
    }
    return lines;
}
} // namespace

CountTable SumCounts(const MeasurementData& data, int first, int last) {
    long long sums[ClassGroupCount][2] = {};
    for (int n = std::max(first, 1); n <= std::min(last, data.WorkIntervalCount); ++n) {
        const IntervalRecord& r = data.WorkIntervals[n];
        for (int d = 0; d < 2; ++d) {
            sums[0][d] += r.Total()[d + 1];
            sums[1][d] += r.PkwCount()[d + 1];
            sums[2][d] += r.LkwCount()[d + 1];
            sums[3][d] += r.LzCount()[d + 1];
        }
    }
    CountTable t;
    for (int g = 0; g < ClassGroupCount; ++g)
        for (int d = 0; d < 2; ++d)
            t.Count[g][d] = sums[g][d];
    AddBothDirections(t);
    return t;
}

SpeedClassTable SumSpeedClasses(const MeasurementData& data) {
    return SumAll(data).Speeds;
}

std::int64_t ClassifiedCount(const long long (&classes)[SpeedClassCount + 1]) {
    std::int64_t sum = 0;
    for (int c = 1; c <= SpeedClassCount; ++c)
        sum += classes[c];
    return sum;
}

float PercentileSpeed(const long long (&classes)[SpeedClassCount + 1], int p) {
    // Device interval files may count vehicles they did not classify, so the percentile is taken
    // over the vehicles in the speed classes, not over the total.
    const std::int64_t count = ClassifiedCount(classes);
    const float fraction = static_cast<float>(static_cast<long double>(p) / 100);
    const long double target = static_cast<long double>(count) * static_cast<long double>(fraction);
    float sum = 0;
    int c = 0;
    while (target > sum && c < SpeedClassCount) {
        ++c;
        sum = static_cast<float>(static_cast<long double>(sum) + classes[c]);
    }
    const float excess = static_cast<float>(sum - target);
    float v = static_cast<float>(5 * c + 8);
    if (excess > 0 && c >= 1 && classes[c] > 0)
        v = static_cast<float>(5.0L * c + 8 - 5.0L * excess / classes[c]);
    v = RoundToTenth(v);
    return v == 8.0f ? 0.0f : v;
}

std::string PercentileRow(const SpeedClassTable& speeds, int p, const LocaleFormat& locale) {
    return Row(Format("V%.2d            ", {p}, locale), [&](int g, int d) {
        return Format("  %6.1f", {PercentileSpeed(speeds.Count[g][d], p)}, locale);
    });
}

std::vector<std::string> SummaryLines(const MeasurementData& data, const ViewSelections& view,
                                      const LanguageTexts& texts, const StatisticsSettings& statistics,
                                      const LocaleFormat& locale) {
    switch (view.SummaryKind) {
    case 1:
        return OverviewLines(data, view, texts, locale);
    case 2:
        return SpeedTableLines(data, view, texts, locale);
    case 3:
        return DayProfileLines(ComputeTrafficStatistics(data, statistics), data, texts, locale);
    case 4:
        return KeyFigureLines(ComputeTrafficStatistics(data, statistics), data, texts, locale);
    default:
        return {};
    }
}

std::vector<std::string> SummaryLines(const MeasurementData& data, const ViewSelections& view,
                                      const LanguageTexts& texts, const LocaleFormat& locale) {
    return SummaryLines(data, view, texts, StatisticsSettingsOf(Settings{}, data, view), locale);
}
