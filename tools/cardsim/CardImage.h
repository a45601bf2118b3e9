#pragma once
// Card images: the pages of a SmartMedia card as the measuring device writes them (528 bytes a
// page, 128 entries in the first 512, erased bytes 0xFF). The reader simulator serves them and
// tests build them entry by entry.

#include "cards/SmartMediaReader.h"

#include <cstdint>
#include <span>
#include <vector>

std::uint8_t EncodeBcd(int value); // 0..99
CardEntry TimeMarkerEntry(int month, int day, int hour);
// direction 1 or 2; length 0..127 m
CardEntry VehicleEntry(int minute, int second, int speed, int length, int direction);

class CardImage {
public:
    void Add(const CardEntry& entry) { entries_.push_back(entry); }
    void AddMarker(int month, int day, int hour) { Add(TimeMarkerEntry(month, day, hour)); }
    void AddVehicle(int minute, int second, int speed, int length, int direction) {
        Add(VehicleEntry(minute, second, speed, length, direction));
    }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    // The card's pages with the entries in order; at least one page.
    std::vector<std::uint8_t> Pages() const;

private:
    std::vector<CardEntry> entries_;
};

// The entries an image holds: those before the first erased entry (FF FF FF FF), which no
// device writes (its minute would be 165).
int RecordedEntries(std::span<const std::uint8_t> pages);
