#pragma once
// What the window's title and status line say: which measurement is open, whether it is saved, how
// many records it holds and how many of them the time range and the record filter leave.

#include "data/MeasurementData.h"

#include <string>

class LanguageTexts;

// Where the measurement in memory came from.
enum class DataOrigin { None, DataFile, CardFile, SmartMediaCard, Import };

struct DataSource {
    DataOrigin Origin = DataOrigin::None;
    std::string Path; // the data file, card file or imported file; empty for a SmartMedia card
};

// Whether the displayed intervals cover less time than the whole 5-minute base: a time range is
// set. False while the intervals wait to be rebuilt (a rebuild shows everything again).
bool RangeInForce(const MeasurementData& data, int intervalFactor);

// Records of the measurement and the number the range and filter leave: vehicles for single-vehicle
// data, 5-minute intervals for interval data.
struct RecordCounts {
    bool Vehicles = true;
    long long InForce = 0;
    long long Total = 0;
    friend bool operator==(const RecordCounts&, const RecordCounts&) = default;
};
RecordCounts CountRecordsInForce(const MeasurementData& data, int intervalFactor);

// "sample.lng – Korvelan II", "*sample.lng – Korvelan II" with unsaved changes, "Korvelan II"
// with nothing open.
std::string WindowTitle(const DataSource& source, bool unsaved, const LanguageTexts& texts);

struct StatusLine {
    std::string Source;  // "/daten/sample.lng", "Kartendaten aus /media/sd/K.TXT (nicht gespeichert)"
    std::string Records; // "24343 Fahrzeuge", "18141 von 24343 Fahrzeugen"
    // Both in one line.
    std::string Text() const;
};
StatusLine StatusLineFor(const DataSource& source, bool unsaved, const RecordCounts& counts,
                         const LanguageTexts& texts);
