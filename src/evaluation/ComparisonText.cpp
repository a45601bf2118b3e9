#include "evaluation/ComparisonText.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"
#include "evaluation/StatisticsText.h"
#include "evaluation/TextColumns.h"

#include <cmath>

namespace {
using namespace ComparisonText;

// Row labels shared with the statistics texts.
using StatisticsText::AdtLabels;
using StatisticsText::ClassLabels;
using StatisticsText::DirectionLabels;
constexpr int LimitLabel = Text::SpeedLimitLabel;

// How the figures of one kind are written: speeds whole or to a tenth, shares in per cent.
struct FigureStyle {
    bool Share = false;
    int Decimals = 0;
};

struct Writer {
    const LanguageTexts& Texts;
    const LocaleFormat& Locale;

    std::string Value(double v, const FigureStyle& style, bool sign = false) const {
        const double shown = style.Share ? v * 100 : v;
        // A difference that rounds to zero is written without a sign.
        const double rounded =
            std::round(shown * std::pow(10, style.Decimals)) / std::pow(10, style.Decimals);
        const bool withSign = sign && rounded != 0;
        const std::string pattern =
            std::string(withSign ? "%+" : "%") + "." + std::to_string(style.Decimals) + "f";
        return Format(pattern, {rounded == 0 ? 0.0 : shown}, Locale) + (style.Share ? " %" : "");
    }

    std::string FigureLine(const std::string& label, const std::optional<ComparedFigure>& f,
                           const FigureStyle& style) const {
        std::string line = "    " + PadColumn(label, 24);
        if (!f)
            return line + RightColumn(MissingFigure, 9);
        line += RightColumn(Value(f->Before, style), 9) + RightColumn(Value(f->After, style), 10);
        line += RightColumn(Value(f->Difference, style, true), 11);
        line += "   [" + Value(f->Lower, style, true) + " ; " + Value(f->Upper, style, true) + "]";
        return line + "   " + Texts[f->Clear ? Clear : NotClear];
    }

    std::string GroupLabel(const GroupComparison& g) const {
        return PadColumn(Texts[DirectionLabels + g.DirectionGroup], 12) +
               PadColumn(Texts[ClassLabels + static_cast<int>(g.Class)], 7);
    }

    std::string Count(const std::optional<long long>& n) const { return n ? IntToStr(*n) : MissingFigure; }
};

std::string Period(const std::optional<std::pair<double, double>>& period, const LocaleFormat& locale) {
    if (!period)
        return MissingFigure;
    return FormatDateTime("dd/mm/yyyy", period->first, locale) + " - " +
           FormatDateTime("dd/mm/yyyy", period->second, locale);
}

void AddHead(std::vector<std::string>& lines, const Comparison& c, const ComparedFile& before,
             const ComparedFile& after, const Writer& w) {
    lines.push_back(w.Texts[Title]);
    lines.push_back("");
    const auto side = [&](int label, const ComparedFile& file,
                          const std::optional<std::pair<double, double>>& period, long long vehicles) {
        lines.push_back(PadColumn(w.Texts[label], 10) + file.Name + "  " + Period(period, w.Locale) + "  " +
                        IntToStr(vehicles) + " " + w.Texts[VehiclesLabel]);
        // Comments are stored padded with blanks.
        const std::string comment = file.Comment.substr(0, file.Comment.find_last_not_of(' ') + 1);
        if (!comment.empty())
            lines.push_back(std::string(10, ' ') + comment);
    };
    side(BeforeLabel, before, c.PeriodBefore, c.VehiclesBefore);
    side(AfterLabel, after, c.PeriodAfter, c.VehiclesAfter);
    lines.push_back(w.Texts[LimitLabel] + IntToStr(c.Limit) + "km/h");
    if (c.ClassBased)
        lines.push_back(w.Texts[ClassBasedNote]);
    if (c.SwappedDirections)
        lines.push_back(w.Texts[SwappedNote]);
    lines.push_back("");
}

void AddAdt(std::vector<std::string>& lines, const Comparison& c, const Writer& w) {
    lines.push_back(w.Texts[AdtTitle]);
    lines.push_back(w.Texts[AdtHeader]);
    const FigureStyle count{false, 1};
    const FigureStyle change{true, 1};
    bool missing = false;
    for (int k = 0; k < 3; ++k) {
        for (int d = 0; d < DirectionGroups; ++d) {
            const AdtComparison& a = c.Adt[static_cast<std::size_t>(k)][static_cast<std::size_t>(d)];
            std::string line = PadColumn(d == 0 ? w.Texts[AdtLabels + k] : "", 22) +
                               PadColumn(w.Texts[DirectionLabels + d], 18);
            line += RightColumn(a.Before ? w.Value(*a.Before, count) : MissingFigure, 9);
            line += RightColumn(a.After ? w.Value(*a.After, count) : MissingFigure, 10);
            line += RightColumn(a.Change ? w.Value(*a.Change, change, true) : MissingFigure, 11);
            missing = missing || !a.Before || !a.After;
            lines.push_back(line);
        }
    }
    if (missing)
        lines.push_back(w.Texts[NoAdtNote]);
    lines.push_back("");
}

std::string HourList(const std::vector<int>& hours, const LocaleFormat& locale) {
    std::string list;
    for (int h : hours)
        list += (list.empty() ? "" : ", ") + Format("%.2d-%.2d", {h, h + 1}, locale);
    return list;
}

void AddGroups(std::vector<std::string>& lines, const Comparison& c, const Writer& w, bool matched) {
    lines.push_back(w.Texts[matched ? MatchedTitle : RawTitle]);
    lines.push_back(Format(w.Texts[matched ? MatchedNote : MethodNote], {IntToStr(c.Resamples)}, w.Locale));
    lines.push_back(w.Texts[FigureHeader]);
    const FigureStyle speed{false, c.ClassBased ? 1 : 0};
    const FigureStyle share{true, 1};
    const std::string shareLabel = Format(w.Texts[ShareAbove], {IntToStr(c.Limit)}, w.Locale);
    for (const GroupComparison& g : c.Groups) {
        lines.push_back(w.GroupLabel(g) + w.Texts[VehiclesLabel] + " " + w.Count(g.CountBefore) + " / " +
                        w.Count(g.CountAfter));
        const bool empty = !g.CountBefore || !g.CountAfter || *g.CountBefore == 0 || *g.CountAfter == 0;
        if (empty) {
            lines.push_back("    " + w.Texts[NoVehiclesOnASide]);
            continue;
        }
        if (matched) {
            if (!g.MatchedV50) {
                lines.push_back("    " + w.Texts[NoCommonHour]);
                continue;
            }
            lines.push_back(w.FigureLine("V50", g.MatchedV50, speed));
            lines.push_back(w.FigureLine("V85", g.MatchedV85, speed));
            lines.push_back(w.FigureLine(shareLabel, g.MatchedShareAboveLimit, share));
            if (!g.DroppedHours.empty())
                lines.push_back(
                    Format(w.Texts[DroppedHours], {HourList(g.DroppedHours, w.Locale)}, w.Locale));
            continue;
        }
        lines.push_back(w.FigureLine("V50", g.V50, speed));
        lines.push_back(w.FigureLine("V85", g.V85, speed));
        if (!c.ClassBased)
            lines.push_back(w.FigureLine(w.Texts[FreeFlowV85], g.FreeFlowV85, speed));
        for (const ComparedThreshold& t : g.Above)
            if (t.Figure)
                lines.push_back(w.FigureLine(Format(w.Texts[ShareAbove], {IntToStr(t.Threshold)}, w.Locale),
                                             t.Figure, share));
    }
    lines.push_back("");
}
} // namespace

std::vector<std::string> ComparisonLines(const Comparison& comparison, const ComparedFile& before,
                                         const ComparedFile& after, const LanguageTexts& texts,
                                         const LocaleFormat& locale) {
    const Writer w{texts, locale};
    std::vector<std::string> lines;
    AddHead(lines, comparison, before, after, w);
    AddAdt(lines, comparison, w);
    AddGroups(lines, comparison, w, false);
    AddGroups(lines, comparison, w, true);
    return lines;
}
