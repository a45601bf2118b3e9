#include "CardImage.h"

#include <algorithm>

std::uint8_t EncodeBcd(int value) {
    return static_cast<std::uint8_t>((value / 10) << 4 | (value % 10));
}

CardEntry TimeMarkerEntry(int month, int day, int hour) {
    return CardEntry{{EncodeBcd(month), EncodeBcd(day), EncodeBcd(hour), 0}};
}

CardEntry VehicleEntry(int minute, int second, int speed, int length, int direction) {
    const auto last = static_cast<std::uint8_t>((direction == 2 ? 0x80 : 0) | (length & 0x7F));
    return CardEntry{{EncodeBcd(minute), EncodeBcd(second), static_cast<std::uint8_t>(speed), last}};
}

std::vector<std::uint8_t> CardImage::Pages() const {
    const std::size_t perPage = SmartMedia::EntriesPerPage;
    const std::size_t pages = std::max<std::size_t>(1, (entries_.size() + perPage - 1) / perPage);
    std::vector<std::uint8_t> bytes(pages * SmartMedia::PageSize, 0xFF);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const std::size_t at = (i / perPage) * SmartMedia::PageSize + (i % perPage) * SmartMedia::EntrySize;
        std::copy(entries_[i].Bytes.begin(), entries_[i].Bytes.end(), bytes.begin() + static_cast<long>(at));
    }
    return bytes;
}

int RecordedEntries(std::span<const std::uint8_t> pages) {
    int entries = 0;
    for (std::size_t page = 0; page + SmartMedia::PageDataSize <= pages.size();
         page += SmartMedia::PageSize) {
        for (std::size_t i = 0; i < SmartMedia::EntriesPerPage; ++i) {
            const CardEntry e = EntryAt(pages.subspan(page), i);
            if (e.Bytes == std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF})
                return entries;
            ++entries;
        }
    }
    return entries;
}
