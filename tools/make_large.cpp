// Writes a large device raw file for timing the whole program: by default the most vehicles a
// measurement holds (500000), evenly spread over 42 days from 1 March 2026, with town-road speeds
// and a mix of lengths and directions from a fixed pseudo-random sequence (the same file on every
// machine).
//
// Usage: korvelan2-make-large OUT [VEHICLES] [DAYS]

#include "base/CoreError.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "data/MeasurementData.h"
#include "data/TextFormat.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

namespace {
void WriteLargeRawFile(const std::string& file, int vehicles, int days) {
    std::string header(RawHeaderSize, ' ');
    const std::string fields =
        std::string(RawMagic) + "   LNG" + Format("%.6d", {vehicles}) + "  01.03.2026  00:00";
    header.replace(0, fields.size(), fields);
    const std::string comment = "Timing file";
    header[71] = static_cast<char>(comment.size());
    header.replace(72, comment.size(), comment);

    AtomicFileWriter out(file);
    out.Write(header);
    const double start = *TryEncodeDateTime(2026, 3, 1, 0, 0, 0);
    const double spacingSeconds = days * 86400.0 / vehicles;
    std::uint32_t state = 12345;
    const auto next = [&state] {
        state = state * 1664525U + 1013904223U;
        return state >> 8;
    };
    for (int n = 0; n < vehicles; ++n) {
        const DateTimeParts p = DecodeDateTime(start + static_cast<int>(n * spacingSeconds) / 86400.0);
        // The sum of four uniform values is roughly bell-shaped around 50 km/h.
        const int speed =
            18 + static_cast<int>((next() % 17) + (next() % 17) + (next() % 17) + (next() % 17));
        const std::uint32_t bits = next();
        const int length = 3 + static_cast<int>(bits % 100 < 88 ? bits % 4 : 8 + bits % 12);
        const char record[8] = {static_cast<char>(p.Day),    static_cast<char>(p.Month),
                                static_cast<char>(p.Hour),   static_cast<char>(p.Minute),
                                static_cast<char>(p.Second), static_cast<char>(std::clamp(speed, 10, 140)),
                                static_cast<char>(length),   (bits >> 12) % 2 == 0 ? '1' : '2'};
        out.Write(record, sizeof record);
    }
    out.Commit();
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: korvelan2-make-large OUT [VEHICLES] [DAYS]\n");
        return 2;
    }
    const int vehicles = argc > 2 ? StrToIntStrict(argv[2]).value_or(0) : MaxVehicles;
    const int days = argc > 3 ? StrToIntStrict(argv[3]).value_or(0) : 42;
    if (vehicles < 1 || vehicles > MaxVehicles || days < 1 || days > 200) {
        std::fprintf(stderr, "korvelan2-make-large: VEHICLES must be 1..%d and DAYS 1..200\n", MaxVehicles);
        return 2;
    }
    try {
        WriteLargeRawFile(argv[1], vehicles, days);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvelan2-make-large: %s\n", error.what());
        return 1;
    }
    return 0;
}
