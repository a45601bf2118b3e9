#include "charts/ChartCsv.h"

#include <algorithm>

namespace {
// "Title; left axis: …; bottom axis: …" from the parts the chart has.
std::string TitleOf(const ChartDescription& chart) {
    std::string title = chart.Title;
    const auto add = [&title](const char* name, const std::string& text) {
        if (text.empty())
            return;
        if (!title.empty())
            title += "; ";
        title += name;
        title += text;
    };
    add("left axis: ", chart.LeftAxisTitle);
    add("bottom axis: ", chart.BottomAxisTitle);
    return title;
}
} // namespace

CsvTable ChartCsv(const ChartDescription& chart, CsvStyle style) {
    const std::vector<CsvColumn> columns = CsvColumnsOf(CsvView::Chart);
    CsvWriter out(style);
    for (const CsvColumn& c : columns)
        out.Text(c.Name);
    out.EndRow();
    std::size_t bars = chart.Labels.size();
    for (const ChartSeries& series : chart.Series)
        bars = std::max(bars, series.Values.size());
    constexpr std::size_t SeriesColumns = 3;
    for (std::size_t bar = 0; bar < bars; ++bar) {
        out.Text(bar < chart.Labels.size() ? chart.Labels[bar] : std::string());
        for (std::size_t s = 0; s < SeriesColumns; ++s) {
            if (s < chart.Series.size() && bar < chart.Series[s].Values.size())
                out.Number(chart.Series[s].Values[bar]);
            else
                out.Empty();
        }
        out.Text(bar < chart.ValueLabels.size() ? chart.ValueLabels[bar] : std::string());
        out.EndRow();
    }
    CsvTable table;
    table.View = CsvView::Chart;
    table.Columns = columns;
    table.Title = TitleOf(chart);
    table.Bytes = out.TakeBytes();
    return table;
}
