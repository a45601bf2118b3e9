#pragma once
// Writing the program's own data files and the summary text. Every file is written to a
// temporary file beside the target and then renamed over it, so a save that fails half-way
// never destroys the file that was there before.

#include "base/FileSystem.h"
#include "data/MeasurementData.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t OwnCommentFieldSize = 1022;

// A file that appears under its name only when Commit() succeeds. Writes are buffered; errors
// throw CoreError (ProgramMessage::CannotWrite) naming the target. Without Commit() the temporary
// file is removed and the target is left untouched.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    void Write(std::string_view bytes);
    void Write(const void* bytes, std::size_t size);
    void Commit();

private:
    void Flush();
    void WriteAll(const char* bytes, std::size_t size);
    void RemoveTemporary();
    [[noreturn]] void Fail(std::error_code error);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    FileSystem::NewFile file_;
    std::string buffer_;
};

// The 1040-byte header: "KORVELAN2", the kind, the count as "%.6d" and the comment (UTF-8 in,
// Windows-1252 out) padded with spaces to 1022 bytes.
std::string OwnFileHeader(std::string_view kind, std::int32_t count, std::string_view comment);

void WriteVehicleFile(const std::filesystem::path& file, std::string_view comment,
                      std::span<const VehicleRecord> records);
void WriteIntervalFile(const std::filesystem::path& file, std::string_view comment,
                       std::span<const IntervalRecord> records);

// "gefiltert speichern" writes the working data, "alles speichern" everything loaded.
enum class SaveScope { Filtered, All };

// Vehicle-list view: WorkVehicles[1..WorkVehicleCount] or Vehicles[1..LoadedCount].
std::span<const VehicleRecord> VehicleRecordsToSave(const MeasurementData& data, SaveScope scope);

// Interval-list view: all of Intervals[1..IntervalCount], or the 5-minute intervals that make up
// the working intervals: from the first one that starts at or after WorkIntervals[1], as many as
// WorkIntervalCount joined intervals of intervalFactor records hold, but never past IntervalCount.
std::span<const IntervalRecord> IntervalRecordsToSave(const MeasurementData& data, SaveScope scope,
                                                      int intervalFactor);

void SaveVehicleList(const std::filesystem::path& file, const MeasurementData& data, SaveScope scope);
void SaveIntervalList(const std::filesystem::path& file, const MeasurementData& data, SaveScope scope,
                      int intervalFactor);

// The summary text: the lines (UTF-8) joined by CR LF, Windows-1252, no line end after the last.
void SaveSummaryText(const std::filesystem::path& file, const std::vector<std::string>& lines);
