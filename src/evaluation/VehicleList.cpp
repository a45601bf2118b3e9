#include "evaluation/VehicleList.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>

namespace {
constexpr const char* ListTimePattern = "dd-mm-yyyy\"  \"hh:mm:ss";
}

std::string VehicleLine(const VehicleRecord& record, int n, const LocaleFormat& locale) {
    std::string line = Format(" %.6d     ", {n}, locale);
    line += FormatDateTime(ListTimePattern, record.Time, locale);
    line += Format("        %3d       %2d      ", {unsigned{record.Speed}, unsigned{record.Length}}, locale);
    line += record.Direction == '2' ? "<=" : "=>";
    if (record.Marked == 1)
        line += "   X";
    return line;
}

std::vector<std::string> RenderListPage(const std::string& header, int first, int linesPerPage, int count,
                                        const std::function<std::string(int)>& lineOf) {
    std::vector<std::string> lines;
    const long long last = std::min<long long>(static_cast<long long>(first) + linesPerPage, count);
    lines.reserve(static_cast<std::size_t>(std::max<long long>(0, last - first + 1)) + 2);
    lines.push_back(header);
    lines.emplace_back();
    for (long long n = std::max(first, 1); n <= last; ++n)
        lines.push_back(lineOf(static_cast<int>(n)));
    return lines;
}

std::vector<std::string> RenderVehiclePage(const MeasurementData& data, int first, int linesPerPage,
                                           const LanguageTexts& texts, const LocaleFormat& locale) {
    return RenderListPage(texts[Text::VehicleListHeader], first, linesPerPage, data.WorkVehicleCount,
                          [&](int n) { return VehicleLine(data.WorkVehicles[n], n, locale); });
}

std::optional<int> RecordOfListLine(const MeasurementData& data, int memoLine) {
    if (memoLine < 2)
        return std::nullopt;
    const long long record = static_cast<long long>(data.VehicleListTop) + (memoLine - 2);
    if (record < 1 || record > data.WorkVehicleCount)
        return std::nullopt;
    return static_cast<int>(record);
}

bool ToggleMark(MeasurementData& data, int record) {
    if (record < 1 || record > data.WorkVehicleCount)
        return false;
    VehicleRecord& r = data.WorkVehicles[record];
    if (r.Marked == 1) {
        r.Marked = 0;
        --data.MarkedCount;
    } else {
        r.Marked = 1;
        ++data.MarkedCount;
    }
    return true;
}

std::string RecordNumberText(const MeasurementData& data, int position, bool intervalList,
                             const LocaleFormat& locale) {
    std::string text = Format(" %.6d     ", {position}, locale);
    if (intervalList) {
        if (position >= 1 && position <= data.WorkIntervalCount)
            text += FormatDateTime(ListTimePattern, data.WorkIntervals[position].StartTime, locale);
    } else if (position >= 1 && position <= data.WorkVehicleCount) {
        text += FormatDateTime(ListTimePattern, data.WorkVehicles[position].Time, locale);
    }
    return text;
}
