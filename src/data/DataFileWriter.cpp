#include "data/DataFileWriter.h"

#include "base/CoreError.h"
#include "base/Cp1252.h"
#include "base/FileSystem.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <system_error>

namespace {
constexpr std::size_t WriteBufferSize = 1 << 16;

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    const auto parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}
} // namespace

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    // The temporary file lies in the target's folder so that the final rename stays on one
    // file system and replaces the target in one step.
    const auto folder = FolderOf(target_);
    const std::string base =
        "." + target_.filename().string() + "." + std::to_string(FileSystem::ProcessId()) + ".";
    std::error_code error;
    for (int attempt = 0; attempt < 100 && !file_.IsOpen(); ++attempt) {
        temporary_ = folder / (base + std::to_string(attempt) + ".tmp");
        if (!file_.Create(temporary_, error) && error != std::errc::file_exists)
            break;
    }
    if (!file_.IsOpen()) {
        temporary_.clear();
        Fail(error);
    }
    file_.CopyPermissionsOf(target_); // a replaced file keeps its permissions
    buffer_.reserve(WriteBufferSize);
}

AtomicFileWriter::~AtomicFileWriter() {
    file_.Close();
    RemoveTemporary();
}

void AtomicFileWriter::Write(std::string_view bytes) {
    Write(bytes.data(), bytes.size());
}

void AtomicFileWriter::Write(const void* bytes, std::size_t size) {
    if (size == 0)
        return;
    const char* p = static_cast<const char*>(bytes);
    if (buffer_.size() + size <= WriteBufferSize) {
        buffer_.append(p, size);
        return;
    }
    Flush();
    if (size >= WriteBufferSize)
        WriteAll(p, size);
    else
        buffer_.append(p, size);
}

void AtomicFileWriter::Flush() {
    WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void AtomicFileWriter::WriteAll(const char* bytes, std::size_t size) {
    std::error_code error;
    if (!file_.WriteAll(bytes, size, error))
        Fail(error);
}

void AtomicFileWriter::Commit() {
    std::error_code error;
    if (!file_.IsOpen())
        Fail(std::make_error_code(std::errc::bad_file_descriptor));
    Flush();
    if (!file_.SyncAndClose(error) || !FileSystem::ReplaceFile(temporary_, target_, error))
        Fail(error);
    temporary_.clear();
}

void AtomicFileWriter::RemoveTemporary() {
    if (temporary_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    temporary_.clear();
}

void AtomicFileWriter::Fail(std::error_code error) {
    file_.Close();
    RemoveTemporary();
    throw CoreError(ProgramMessage::CannotWrite, target_.string() + " (" + error.message() + ")");
}

std::string OwnFileHeader(std::string_view kind, std::int32_t count, std::string_view comment) {
    std::string header = "KORVELAN2";
    header += std::string(kind).substr(0, 3);
    header.resize(12, ' ');
    header += Format("%.6d", {count});
    std::string text = Utf8ToCp1252(comment).substr(0, OwnCommentFieldSize);
    text.resize(OwnCommentFieldSize, ' ');
    return header + text;
}

namespace {
template <typename Record>
void WriteOwnFile(const std::filesystem::path& file, std::string_view kind, std::string_view comment,
                  std::span<const Record> records) {
    AtomicFileWriter out(file);
    out.Write(OwnFileHeader(kind, static_cast<std::int32_t>(records.size()), comment));
    out.Write(records.data(), records.size_bytes());
    out.Commit();
}

// Records 1..count of an array as a block; never past what the array holds.
template <typename Array> auto FirstRecords(const Array& array, int count) {
    const int n = std::clamp(count, 0, array.allocated());
    return std::span(array.data(), static_cast<std::size_t>(n));
}
} // namespace

void WriteVehicleFile(const std::filesystem::path& file, std::string_view comment,
                      std::span<const VehicleRecord> records) {
    WriteOwnFile(file, "LNG", comment, records);
}

void WriteIntervalFile(const std::filesystem::path& file, std::string_view comment,
                       std::span<const IntervalRecord> records) {
    WriteOwnFile(file, "SHT", comment, records);
}

std::span<const VehicleRecord> VehicleRecordsToSave(const MeasurementData& data, SaveScope scope) {
    if (scope == SaveScope::Filtered)
        return FirstRecords(data.WorkVehicles, data.WorkVehicleCount);
    // LoadedCount counts intervals when interval data are loaded; Vehicles then hold nothing.
    if (data.DataMode != DataMode::SingleVehicle)
        return {};
    return FirstRecords(data.Vehicles, data.LoadedCount);
}

std::span<const IntervalRecord> IntervalRecordsToSave(const MeasurementData& data, SaveScope scope,
                                                      int intervalFactor) {
    const auto all = FirstRecords(data.Intervals, data.IntervalCount);
    if (scope == SaveScope::All)
        return all;
    if (data.WorkIntervalCount <= 0 || data.WorkIntervals.allocated() < 1)
        return {};
    const long long start = ToMilliseconds(data.WorkIntervals[1].StartTime);
    const auto first = std::find_if(all.begin(), all.end(), [start](const IntervalRecord& r) {
        return ToMilliseconds(r.StartTime) >= start;
    });
    // An incomplete last joined interval holds fewer than intervalFactor records: only the
    // records that exist are written, and the header counts exactly those.
    const long long wanted = static_cast<long long>(data.WorkIntervalCount) * std::max(intervalFactor, 1);
    const auto available = static_cast<long long>(all.end() - first);
    return all.subspan(static_cast<std::size_t>(first - all.begin()),
                       static_cast<std::size_t>(std::min(wanted, available)));
}

void SaveVehicleList(const std::filesystem::path& file, const MeasurementData& data, SaveScope scope) {
    WriteVehicleFile(file, data.Comment, VehicleRecordsToSave(data, scope));
}

void SaveIntervalList(const std::filesystem::path& file, const MeasurementData& data, SaveScope scope,
                      int intervalFactor) {
    WriteIntervalFile(file, data.Comment, IntervalRecordsToSave(data, scope, intervalFactor));
}

void SaveSummaryText(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    AtomicFileWriter out(file);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out.Write("\r\n");
        out.Write(Utf8ToCp1252(lines[i]));
    }
    out.Commit();
}
