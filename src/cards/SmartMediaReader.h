#pragma once
// Reading a SmartMedia card through the card reader on a serial port: the reader's one-byte
// commands, the decoding of the card's 4-byte entries, the poll that shows whether a card with
// data is present, and the page-by-page read into vehicle records.

#include "cards/CardSerialPort.h"
#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class LanguageTexts;

namespace SmartMedia {
inline constexpr std::uint8_t StatusCommand = '?';
inline constexpr std::uint8_t AmountCommand = 'a';
inline constexpr std::uint8_t FirstPageCommand = 'L';
inline constexpr std::uint8_t NextPageCommand = 'N';
inline constexpr std::size_t StatusReplySize = 2;
inline constexpr std::size_t AmountReplySize = 3;
inline constexpr std::size_t PageSize = 528;
inline constexpr std::size_t PageDataSize = 512;
inline constexpr std::size_t EntrySize = 4;
inline constexpr std::size_t EntriesPerPage = PageDataSize / EntrySize;

// A page that arrives short is asked for again; after this many attempts at one page in a row
// the reader is taken to be gone (each attempt waits about 11 s for its reply).
inline constexpr int PageAttempts = 4;

inline constexpr std::chrono::microseconds ShortWait{100200}; // 0.00000116 day
inline constexpr std::chrono::microseconds PollPageWait{432000};
inline constexpr std::chrono::microseconds ReadPageWait{43200};
inline constexpr std::chrono::milliseconds InterByteTimeout{50};
inline constexpr std::chrono::milliseconds TotalTimeout(std::size_t bytes) {
    return std::chrono::milliseconds(500 + 20 * static_cast<long long>(bytes));
}
inline constexpr std::chrono::milliseconds WriteTimeout(std::size_t bytes) {
    return std::chrono::milliseconds(1000 + 100 * static_cast<long long>(bytes));
}
} // namespace SmartMedia

// Two decimal digits, high nibble tens, low nibble units; not checked (0x1A gives 20).
constexpr int DecodeBcd(std::uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}

// One 4-byte card entry: a time marker (month, day, hour, 0) or a vehicle (minute, second,
// speed, direction bit and length).
struct CardEntry {
    std::array<std::uint8_t, 4> Bytes{};

    bool IsTimeMarker() const { return Bytes[3] == 0; }
    int Month() const { return DecodeBcd(Bytes[0]); }
    int Day() const { return DecodeBcd(Bytes[1]); }
    int Hour() const { return DecodeBcd(Bytes[2]); }
    int Minute() const { return DecodeBcd(Bytes[0]); }
    int Second() const { return DecodeBcd(Bytes[1]); }
    std::uint8_t Speed() const { return Bytes[2]; }
    std::uint8_t Length() const { return Bytes[3] & 0x7F; }
    char Direction() const { return Bytes[3] < 0x80 ? '1' : '2'; }
};
CardEntry EntryAt(std::span<const std::uint8_t> page, std::size_t index);

// The date of a marker that carries no year, as the first marker of a card gets it: this year,
// or the year before when that date would lie after today. Nullopt when there is no such date.
std::optional<double> MarkerDateThisYear(int month, int day, double today);

// The date and hour the card's vehicles belong to. Markers carry no year: the first one is
// placed in the past year nearest to today, each further one in the year of its predecessor,
// or the next year when its month is smaller (the measurement ran over New Year), so that the
// markers' times ascend.
class MarkerCalendar {
public:
    explicit MarkerCalendar(double today);
    // False (and nothing changes) when the marker gives no valid date and hour.
    bool Apply(const CardEntry& marker);
    // The vehicle's time, or nullopt when its minute or second (or the marker's hour) is impossible.
    std::optional<double> VehicleTime(const CardEntry& vehicle) const;

private:
    double today_;
    double date_; // before the first marker: 1 January of today's year
    int hour_ = 0;
    int year_ = 0;
    int month_ = 1;
    bool haveMarker_ = false;
};

// Purge, send the command, wait, read up to replySize bytes; the bytes actually received.
std::vector<std::uint8_t> Exchange(CardSerialPort& port, std::uint8_t command, std::chrono::microseconds wait,
                                   std::size_t replySize);

// Raises DTR, then RTS, as the reader expects after a port is opened.
void RaiseControlLines(CardSerialPort& port);
void LowerControlLines(CardSerialPort& port);

struct SmartMediaPoll {
    enum class State { NoReply, ReaderError, NoData, NoTimeMarker, Ready };
    State Status = State::NoReply;
    int EntryCount = 0;
    double Start = 0;
    std::string StatusLine;
    std::string StartLine; // empty unless the card's data were found
};

// One poll: "?", "a", "L". today is a day count (its date is used).
SmartMediaPoll PollReader(CardSerialPort& port, double today, const LanguageTexts& texts,
                          const LocaleFormat& locale = SystemLocaleFormat());

struct SmartMediaProgress {
    int Remaining = 0;
    int FailedPages = 0;
    std::string RemainingLine; // "<249> n <250>"
    std::string FailedLine;    // "<251> n", empty while no page failed
};

struct SmartMediaReadResult {
    std::vector<VehicleRecord> Vehicles;
    int FailedPages = 0;
    int SkippedEntries = 0; // entries with an impossible date or time
    bool Aborted = false;
    bool CapacityReached = false;
    bool ReaderGaveUp = false; // one page arrived short PageAttempts times: the read ended there
};

// Reads all announced entries page by page. onPage runs before each further page is requested
// (the desktop program lets its user interface process events there); it returns true to abort.
// onFailedPage runs after a page that arrived short; a page that arrives short PageAttempts times
// in a row ends the read with what was read so far (ReaderGaveUp). A reader that does not tell the amount of
// data any more throws CoreError (text 242) before anything is read.
SmartMediaReadResult
ReadSmartMediaCard(CardSerialPort& port, double today, const LanguageTexts& texts,
                   const std::function<bool(const SmartMediaProgress&)>& onPage,
                   const std::function<void(const SmartMediaProgress&)>& onFailedPage = {});

// Vehicles and LoadedCount from the read, then the common ending of a card read.
void CommitSmartMediaRead(MeasurementData& data, const SmartMediaReadResult& result);

// The completion message: text 252, and what was skipped or left out.
std::string SmartMediaCompletionText(const SmartMediaReadResult& result, const LanguageTexts& texts);
