#pragma once
// Pieces that the card readers and the foreign-file import share: the messages they raise, the
// tolerant decimal fields of device and foreign text files, whole-file reading and the common
// ending of a card read.

#include "base/CoreError.h"
#include "data/MeasurementData.h"

#include <string>
#include <string_view>
#include <vector>

// Language-text numbers of the card and import messages (German fallbacks in CardCommon.cpp).
namespace CardText {
inline constexpr int FileUnreadable = 450;      // %s: file name
inline constexpr int NotACardFile = 451;        // %s: file name
inline constexpr int CardFileEmpty = 452;       // %s: file name
inline constexpr int BadCardLine = 453;         // %s: line number
inline constexpr int StartRequired = 454;       // no detail
inline constexpr int NoSerialPort = 455;        // no detail
inline constexpr int EntriesSkipped = 456;      // %s: number of entries
inline constexpr int CardTooLarge = 457;        // %s: MaxVehicles
inline constexpr int PeloBadParameter = 458;    // %s: line number
inline constexpr int PeloTooManyValues = 459;   // %s: line number
inline constexpr int PeloTooManyLcBlocks = 460; // %s: line number
inline constexpr int PeloBadStart = 461;        // %s: line number
inline constexpr int TimeBeyondCalendar = 465;  // %s: line or block number
inline constexpr int ReaderGaveUp = 466;        // %s: attempts at one page
} // namespace CardText

// A card or import error with its German fallback text.
CoreError CardError(int textNumber, std::string detail = {});

// A decimal field as the device's files are read: leading blanks skipped, an optional sign, then
// the digits up to the first other character; nothing numeric gives 0. Columns are 1-based and
// inclusive; columns beyond the end of the line are empty.
int DecimalField(std::string_view line, int firstColumn, int lastColumn);

// The whole file, or CoreError FileUnreadable.
std::string ReadFileBytes(const std::string& path);

// The lines of a text, without their CR LF (or LF) ends; a last line without an end counts.
std::vector<std::string_view> SplitLines(std::string_view text);

// True when the line holds nothing but blanks (or nothing).
bool IsBlankLine(std::string_view line);

// The common ending of a card read once Vehicles[1..LoadedCount] hold the new vehicles: the
// working set becomes a copy of them, intervals are rebuilt from them when next shown, and the
// measurement is single-vehicle data. Intervals of the previous measurement
// are no longer valid and are not counted.
void CompleteCardRead(MeasurementData& data);
