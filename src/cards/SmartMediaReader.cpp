#include "cards/SmartMediaReader.h"

#include "base/LanguageTexts.h"
#include "base/TextNames.h"
#include "cards/CardCommon.h"
#include "data/DateTime.h"

#include <cstring>
#include <initializer_list>
#include <string_view>

namespace {
int YearOf(double day) {
    return DecodeDateTime(day).Year;
}

// Text pieces are appended one by one (GCC 12 warns falsely about chains of operator+ at -O3).
std::string Joined(std::initializer_list<std::string_view> pieces) {
    std::string text;
    for (const std::string_view piece : pieces)
        text.append(piece);
    return text;
}

std::string Spaced(const std::string& before, long long value, const std::string& after) {
    const std::string number = std::to_string(value);
    return after.empty() ? Joined({before, " ", number}) : Joined({before, " ", number, " ", after});
}

SmartMediaProgress ProgressOf(int remaining, int failedPages, const LanguageTexts& texts) {
    SmartMediaProgress p;
    p.Remaining = remaining;
    p.FailedPages = failedPages;
    p.RemainingLine = Spaced(texts[Text::Remaining], remaining, texts[Text::Entries]);
    if (failedPages > 0)
        p.FailedLine = Spaced(texts[Text::FailedPages], failedPages, "");
    return p;
}

int AnnouncedEntries(const std::vector<std::uint8_t>& amount) {
    if (amount.size() < SmartMedia::AmountReplySize)
        return 0;
    const int bytes = amount[0] << 16 | amount[1] << 8 | amount[2];
    return bytes / static_cast<int>(SmartMedia::EntrySize);
}
} // namespace

CardEntry EntryAt(std::span<const std::uint8_t> page, std::size_t index) {
    CardEntry e;
    std::memcpy(e.Bytes.data(), page.data() + index * SmartMedia::EntrySize, SmartMedia::EntrySize);
    return e;
}

std::optional<double> MarkerDateThisYear(int month, int day, double today) {
    const double todayDate = DateOf(today);
    const int year = YearOf(todayDate);
    auto date = TryEncodeDate(year, month, day);
    if (date && *date > todayDate)
        date = TryEncodeDate(year - 1, month, day);
    return date;
}

MarkerCalendar::MarkerCalendar(double today) : today_(DateOf(today)) {
    year_ = YearOf(today_);
    date_ = *TryEncodeDate(year_, 1, 1);
}

bool MarkerCalendar::Apply(const CardEntry& marker) {
    const int month = marker.Month();
    const int day = marker.Day();
    const int hour = marker.Hour();
    if (hour < 0 || hour > 23)
        return false;
    std::optional<double> date;
    if (!haveMarker_) {
        date = MarkerDateThisYear(month, day, today_);
    } else {
        const int year = month < month_ ? year_ + 1 : year_;
        date = TryEncodeDate(year, month, day);
    }
    if (!date)
        return false;
    haveMarker_ = true;
    date_ = *date;
    year_ = YearOf(date_);
    month_ = month;
    hour_ = hour;
    return true;
}

std::optional<double> MarkerCalendar::VehicleTime(const CardEntry& vehicle) const {
    const auto time = TryEncodeTime(hour_, vehicle.Minute(), vehicle.Second());
    if (!time)
        return std::nullopt;
    return date_ + *time;
}

std::vector<std::uint8_t> Exchange(CardSerialPort& port, std::uint8_t command, std::chrono::microseconds wait,
                                   std::size_t replySize) {
    port.Purge();
    const std::uint8_t bytes[1] = {command};
    port.Write(bytes, SmartMedia::WriteTimeout(1));
    port.Pause(wait);
    std::vector<std::uint8_t> reply(replySize);
    reply.resize(port.Read(reply, SmartMedia::InterByteTimeout, SmartMedia::TotalTimeout(replySize)));
    return reply;
}

void RaiseControlLines(CardSerialPort& port) {
    port.SetDtr(true);
    port.SetRts(true);
}

void LowerControlLines(CardSerialPort& port) {
    port.SetDtr(false);
    port.SetRts(false);
}

SmartMediaPoll PollReader(CardSerialPort& port, double today, const LanguageTexts& texts,
                          const LocaleFormat& locale) {
    SmartMediaPoll poll;
    const auto status =
        Exchange(port, SmartMedia::StatusCommand, SmartMedia::ShortWait, SmartMedia::StatusReplySize);
    if (status.size() < SmartMedia::StatusReplySize) {
        poll.Status = SmartMediaPoll::State::NoReply;
        poll.StatusLine = texts[Text::ReaderDoesNotAnswer];
        return poll;
    }
    if (status[0] == 0xFF && status[1] == 0xFF) {
        poll.Status = SmartMediaPoll::State::ReaderError;
        poll.StatusLine = texts[Text::ReaderReportsError];
        return poll;
    }
    const auto amount =
        Exchange(port, SmartMedia::AmountCommand, SmartMedia::ShortWait, SmartMedia::AmountReplySize);
    poll.EntryCount = AnnouncedEntries(amount);
    // A short reply says as little as "nothing recorded".
    if (amount.size() < SmartMedia::AmountReplySize || (amount[0] == 0 && amount[1] == 0 && amount[2] == 0)) {
        poll.Status = SmartMediaPoll::State::NoData;
        poll.StatusLine = texts[Text::NoDataOnCard];
        return poll;
    }
    poll.StatusLine = Spaced(texts[Text::CardHolds], poll.EntryCount, texts[Text::EntriesSuffix]);

    const auto page =
        Exchange(port, SmartMedia::FirstPageCommand, SmartMedia::PollPageWait, SmartMedia::PageSize);
    const auto start = page.size() >= SmartMedia::EntrySize ? std::optional(EntryAt(page, 0)) : std::nullopt;
    const auto date = start && start->IsTimeMarker() && start->Hour() <= 23
                          ? MarkerDateThisYear(start->Month(), start->Day(), today)
                          : std::nullopt;
    if (!date) {
        poll.Status = SmartMediaPoll::State::NoTimeMarker;
        poll.StartLine = texts[Text::CardWithoutStartTime];
        return poll;
    }
    poll.Status = SmartMediaPoll::State::Ready;
    poll.Start = *date + *TryEncodeTime(start->Hour(), 0, 0);
    poll.StartLine = Joined({"Start: ", FormatDateTime("dd.mm.yyyy  hh:nn", poll.Start, locale)});
    return poll;
}

SmartMediaReadResult ReadSmartMediaCard(CardSerialPort& port, double today, const LanguageTexts& texts,
                                        const std::function<bool(const SmartMediaProgress&)>& onPage,
                                        const std::function<void(const SmartMediaProgress&)>& onFailedPage) {
    SmartMediaReadResult result;
    const auto amount =
        Exchange(port, SmartMedia::AmountCommand, SmartMedia::ShortWait, SmartMedia::AmountReplySize);
    if (amount.size() < SmartMedia::AmountReplySize)
        throw CoreError(ProgramMessage::ReaderDoesNotAnswer, ""); // gone since the last poll
    int remaining = AnnouncedEntries(amount);
    MarkerCalendar calendar(today);

    const auto takeEntries = [&](const std::vector<std::uint8_t>& page) {
        for (std::size_t index = 0; index < SmartMedia::EntriesPerPage && remaining > 0; ++index) {
            --remaining;
            const CardEntry entry = EntryAt(page, index);
            if (entry.IsTimeMarker()) {
                if (!calendar.Apply(entry))
                    ++result.SkippedEntries;
                continue;
            }
            const auto time = calendar.VehicleTime(entry);
            if (!time) {
                ++result.SkippedEntries;
                continue;
            }
            if (static_cast<int>(result.Vehicles.size()) >= MaxVehicles) {
                result.CapacityReached = true;
                remaining = 0;
                return;
            }
            VehicleRecord v{};
            v.Time = *time;
            v.Speed = entry.Speed();
            v.Length = entry.Length();
            v.Direction = entry.Direction();
            v.Marked = 0;
            result.Vehicles.push_back(v);
        }
    };

    // The first page comes with "L", every further one with "N"; a page that arrives short is
    // counted and asked for again with the same command, a bounded number of times.
    std::uint8_t command = SmartMedia::FirstPageCommand;
    bool first = true;
    int attempts = 0;
    while (remaining > 0 || first) {
        if (!first && onPage && onPage(ProgressOf(remaining, result.FailedPages, texts))) {
            result.Aborted = true;
            break;
        }
        const auto page = Exchange(port, command, SmartMedia::ReadPageWait, SmartMedia::PageSize);
        first = false;
        if (page.size() < SmartMedia::PageDataSize) {
            ++result.FailedPages;
            if (onFailedPage)
                onFailedPage(ProgressOf(remaining, result.FailedPages, texts));
            if (++attempts >= SmartMedia::PageAttempts) {
                result.ReaderGaveUp = true;
                break;
            }
            continue;
        }
        attempts = 0;
        takeEntries(page);
        command = SmartMedia::NextPageCommand;
    }
    return result;
}

void CommitSmartMediaRead(MeasurementData& data, const SmartMediaReadResult& result) {
    const int count = static_cast<int>(result.Vehicles.size());
    data.Vehicles.EnsureSize(count);
    if (count > 0)
        std::memcpy(static_cast<void*>(data.Vehicles.data()), result.Vehicles.data(),
                    result.Vehicles.size() * sizeof(VehicleRecord));
    data.LoadedCount = count;
    CompleteCardRead(data);
}

std::string SmartMediaCompletionText(const SmartMediaReadResult& result, const LanguageTexts& texts) {
    std::string text = texts[Text::CardRead];
    if (result.SkippedEntries > 0)
        text = Joined({text, "\n",
                       CoreError(ProgramMessage::EntriesSkipped, std::to_string(result.SkippedEntries))
                           .Message(texts)});
    if (result.ReaderGaveUp)
        text = Joined({text, "\n",
                       CoreError(ProgramMessage::ReaderGaveUp, std::to_string(SmartMedia::PageAttempts))
                           .Message(texts)});
    if (result.CapacityReached)
        text = Joined({text, "\n",
                       CoreError(ProgramMessage::CardTooLarge, std::to_string(MaxVehicles)).Message(texts)});
    return text;
}
