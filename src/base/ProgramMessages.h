#pragma once
// The program's own messages: each has a language-text number, so that the user reads it in the
// chosen language, and a German text for when the language file has none. "%s" in either is
// replaced by the message's detail (a file name, a number, a line).
//
// Numbers 400..499: 400..419 data files, 420..429 language and settings, 430..449 evaluation,
// 450..479 cards and import, 480..499 charts, printing, program; 600.. open exports, 650..
// comparison. A few messages reuse a text of the program's windows (ReaderDoesNotAnswer).

#include <span>
#include <string_view>

namespace ProgramMessage {
inline constexpr int NotAKorvelanFile = 0;          // the same in every language
inline constexpr int CapacityExceeded = 400;        // %s: the most records possible
inline constexpr int CannotOpen = 401;              // %s: file name and reason
inline constexpr int FileTooShort = 402;            // %s: file name
inline constexpr int TooManyRecords = 403;          // %s: the most records possible
inline constexpr int BadHeaderNumber = 404;         // %s: byte offset and field
inline constexpr int BadHeaderDate = 405;           // %s: the date and time
inline constexpr int BadRecordTime = 406;           // %s: record number
inline constexpr int CannotWrite = 407;             // %s: file name and reason
inline constexpr int BadRecordCount = 408;          // %s: record number and value
inline constexpr int LanguageFileUnreadable = 420;  // %s: file name
inline constexpr int SettingsLengthNotWhole = 421;  // %s: the keys
inline constexpr int SettingsNotWritten = 422;      // %s: file name
inline constexpr int SettingsUnreadable = 423;      // %s: file name
inline constexpr int IntervalSpanTooLong = 430;     // %s: number of intervals
inline constexpr int IntervalFactorInvalid = 431;   // %s: the factor
inline constexpr int StatisticsSpanTooLong = 432;   // %s: number of days
inline constexpr int InvalidRange = 440;            // %s: the range asked for
inline constexpr int SpeedNotWhole = 441;           // %s: the value
inline constexpr int LengthNotWhole = 442;          // %s: the value
inline constexpr int UnknownCondition = 443;        // %s: the condition
inline constexpr int RepeatedCondition = 444;       // %s: the condition
inline constexpr int NoVehicleData = 445;           // no detail
inline constexpr int FileUnreadable = 450;          // %s: file name
inline constexpr int NotACardFile = 451;            // %s: file name
inline constexpr int CardFileEmpty = 452;           // %s: file name
inline constexpr int BadCardLine = 453;             // %s: line number
inline constexpr int StartRequired = 454;           // no detail
inline constexpr int NoSerialPort = 455;            // no detail
inline constexpr int EntriesSkipped = 456;          // %s: number of entries
inline constexpr int CardTooLarge = 457;            // %s: the most vehicles possible
inline constexpr int PeloBadParameter = 458;        // %s: line number
inline constexpr int PeloTooManyValues = 459;       // %s: line number
inline constexpr int PeloTooManyLcBlocks = 460;     // %s: line number
inline constexpr int PeloBadStart = 461;            // %s: line number
inline constexpr int TimeBeyondCalendar = 465;      // %s: line or block number
inline constexpr int ReaderGaveUp = 466;            // %s: attempts at one page
inline constexpr int UnknownPictureType = 490;      // %s: file name
inline constexpr int PictureNotWritten = 491;       // %s: file name
inline constexpr int PrintFailed = 492;             // %s: printer name
inline constexpr int HelpNotFound = 495;            // %s: file name
inline constexpr int DrawingPartMissing = 496;      // %s: the files looked for
inline constexpr int DrawingPartBroken = 497;       // %s: the file and what is wrong
inline constexpr int CsvNoVehicles = 600;           // no detail
inline constexpr int CsvBundleFolderNotEmpty = 601; // %s: folder
inline constexpr int ComparisonKindsDiffer = 650;   // no detail
inline constexpr int ReportFailed = 739;            // %s: the report file
inline constexpr int ReaderDoesNotAnswer = 242;     // no detail
} // namespace ProgramMessage

struct ProgramMessageText {
    int number;
    std::string_view german;
};

// Every message of the program, each number once.
std::span<const ProgramMessageText> ProgramMessages();

// The German text of a message; "Fehler: %s" for a number that is no message.
std::string_view GermanMessageText(int number);
