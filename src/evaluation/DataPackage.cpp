#include "evaluation/DataPackage.h"

#include "data/DataFileWriter.h"
#include "evaluation/StatisticsJson.h"

#include <nlohmann/json.hpp>

namespace {
using Json = nlohmann::ordered_json;

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

// The format of a datetime or date column in the given style.
std::string TimeFormat(const std::string& type, CsvStyle style, bool milliseconds) {
    if (style == CsvStyle::Plain)
        return "default"; // ISO 8601 local times, milliseconds after a "."
    if (type == "date")
        return "%d.%m.%Y";
    return milliseconds ? "%d.%m.%Y %H:%M:%S,%f" : "%d.%m.%Y %H:%M:%S";
}

Json FieldJson(const CsvColumn& column, CsvStyle style, bool milliseconds) {
    Json field;
    field["name"] = column.Name;
    field["type"] = column.Type;
    if (column.Type == "datetime" || column.Type == "date")
        field["format"] = TimeFormat(column.Type, style, milliseconds);
    if (column.Type == "number" && style == CsvStyle::Spreadsheet)
        field["decimalChar"] = ",";
    if (column.Type == "boolean") {
        field["trueValues"] = Json::array({"true"});
        field["falseValues"] = Json::array({"false"});
    }
    field["description"] = column.Description;
    if (!column.Unit.empty())
        field["unit"] = column.Unit;
    return field;
}

Json ResourceJson(const DataPackageResource& resource, CsvStyle style) {
    const CsvTable& table = *resource.Table;
    Json fields = Json::array();
    for (const CsvColumn& column : table.Columns)
        fields.push_back(FieldJson(column, style, table.Milliseconds));
    Json r;
    r["name"] = std::string(CsvViewName(table.View));
    r["path"] = resource.Path;
    if (!table.Title.empty())
        r["title"] = table.Title;
    r["profile"] = "tabular-data-resource";
    r["format"] = "csv";
    r["mediatype"] = "text/csv";
    r["encoding"] = "utf-8";
    r["bytes"] = table.Bytes.size();
    r["dialect"] = {{"delimiter", style == CsvStyle::Spreadsheet ? ";" : ","},
                    {"lineTerminator", "\r\n"},
                    {"quoteChar", "\""},
                    {"doubleQuote", true},
                    {"header", true}};
    r["schema"] = {{"fields", fields}, {"missingValues", Json::array({""})}};
    return r;
}

Json OptionalTime(const std::optional<double>& t) {
    return t ? Json(IsoDateTime(*t)) : Json(nullptr);
}
} // namespace

std::string DataPackageName(std::string_view text) {
    std::string name;
    for (const char raw : text) {
        const char c = raw >= 'A' && raw <= 'Z' ? static_cast<char>(raw - 'A' + 'a') : raw;
        const char kept = IsNameCharacter(c) ? c : '-';
        if (kept == '-' && !name.empty() && name.back() == '-')
            continue;
        name += kept;
    }
    return name.empty() ? "measurement" : name;
}

std::string DataPackageJson(const std::vector<DataPackageResource>& resources, CsvStyle style,
                            const DataPackageSource& source, const StatisticsSettings& settings,
                            const DataPackageSelection& selection, std::string_view programVersion) {
    Json j;
    j["profile"] = "tabular-data-package";
    j["name"] = DataPackageName(source.FileName);
    j["title"] = source.FileName.empty() ? std::string("Traffic count") : "Traffic count " + source.FileName;
    j["description"] =
        "Tables of one traffic count. Times are local times of the measuring site without a time zone. " +
        std::string(
            style == CsvStyle::Spreadsheet
                ? "Spreadsheet style: fields separated by \";\", decimal comma, a UTF-8 byte-order mark."
                : "Fields separated by \",\", decimal point.");
    j["sources"] =
        Json::array({{{"title", source.FileName}, {"path", source.FileName}, {"sha256", source.Sha256}}});
    j["programVersion"] = std::string(programVersion);
    j["measurement"] = {
        {"lengthClasses",
         {{"pkwMinLength", settings.Lengths.PkwMinLength},
          {"lkwMinLength", settings.Lengths.LkwMinLength},
          {"lzMinLength", settings.Lengths.LzMinLength},
          {"unit", "m"},
          {"description", "pkw from pkwMinLength, lkw from lkwMinLength, lz from lzMinLength; shorter "
                          "vehicles are not counted"}}},
        {"speedLimit", settings.Limit},
        {"thresholds", EffectiveThresholds(settings)},
        {"freeFlowGap", settings.FreeFlowGapSeconds},
        {"lowerPercentile", settings.LowerPercentile},
        {"upperPercentile", settings.UpperPercentile},
        {"selection",
         {{"dataKind", selection.DataKind},
          {"loadedRecords", selection.LoadedRecords},
          {"workingRecords", selection.WorkingRecords},
          {"intervalMinutes", selection.IntervalMinutes},
          {"from", OptionalTime(selection.From)},
          {"to", OptionalTime(selection.To)}}}};
    j["resources"] = Json::array();
    for (const DataPackageResource& resource : resources)
        j["resources"].push_back(ResourceJson(resource, style));
    return j.dump(2) + "\n";
}

void WriteDataPackage(const std::filesystem::path& file, const std::string& json) {
    AtomicFileWriter writer(file);
    writer.Write(json);
    writer.Commit();
}
