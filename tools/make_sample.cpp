// Writes the sample measurement shipped with the program: one week of single-vehicle records on
// a town road with a 50 km/h limit. The output is the same on every machine: the generator is
// our own, and only exactly rounded arithmetic (no library transcendental functions) is used.
//
// Usage: korvelan2-make-sample [OUT.lng]

#include "base/CoreError.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "evaluation/Resampling.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Uniform and roughly normal draws on the comparison's own generator (xoshiro256**).
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}
    double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; } // [0, 1)
    bool Chance(double p) { return Uniform() < p; }
    int Between(int low, int high) { return low + static_cast<int>(Uniform() * (high - low + 1)); }
    // Approximately normal: the sum of twelve uniforms has mean 6 and variance 1.
    double Normal(double mean, double sd) {
        double sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += Uniform();
        return mean + (sum - 6.0) * sd;
    }

private:
    Xoshiro256 engine_;
};

enum class DayType { Weekday, Saturday, Sunday };

// Vehicles per hour in both directions together, by hour of day.
constexpr std::array<double, 24> WeekdayProfile = {30,  18,  12,  10,  20,  60,  170, 330, 300, 200, 185, 195,
                                                   210, 200, 220, 270, 330, 340, 260, 175, 120, 90,  65,  45};
constexpr std::array<double, 24> SaturdayProfile = {55,  35,  22,  15,  15,  25,  55,  110,
                                                    170, 230, 270, 280, 260, 230, 210, 200,
                                                    200, 190, 170, 140, 110, 95,  80,  65};
constexpr std::array<double, 24> SundayProfile = {60,  40,  25,  15,  12,  15,  25,  45,  80,  130, 170, 190,
                                                  180, 160, 170, 185, 190, 180, 160, 130, 100, 75,  55,  35};

double HourlyVolume(DayType type, double hourOfDay) {
    const auto& profile = type == DayType::Weekday    ? WeekdayProfile
                          : type == DayType::Saturday ? SaturdayProfile
                                                      : SundayProfile;
    // Linear between the middles of the hours, so the rate has no steps at full hours.
    const double x = hourOfDay - 0.5;
    const int h0 = static_cast<int>(x < 0 ? x - 1 : x);
    const double f = x - h0;
    return profile[static_cast<std::size_t>((h0 + 24) % 24)] * (1 - f) +
           profile[static_cast<std::size_t>((h0 + 25) % 24)] * f;
}

// Share of direction 1: towards the town centre in the morning, out of it in the afternoon.
double DirectionOneShare(DayType type, int hour) {
    if (type != DayType::Weekday)
        return 0.5;
    if (hour >= 6 && hour <= 8)
        return 0.62;
    if (hour >= 15 && hour <= 18)
        return 0.4;
    return 0.5;
}

// Share of LKW and LZ among all vehicles.
struct HeavyShare {
    double Lkw;
    double Lz;
};
HeavyShare HeavyShareAt(DayType type, int hour) {
    const bool night = hour < 5 || hour >= 22;
    switch (type) {
    case DayType::Weekday:
        return night ? HeavyShare{0.03, 0.015} : HeavyShare{0.07, 0.025};
    case DayType::Saturday:
        return night ? HeavyShare{0.01, 0.005} : HeavyShare{0.035, 0.01};
    case DayType::Sunday:
        break;
    }
    return {0.01, 0.004};
}

bool IsPeak(DayType type, int hour, int direction) {
    return type == DayType::Weekday &&
           ((direction == 1 && (hour == 7 || hour == 8)) || (direction == 2 && (hour == 16 || hour == 17)));
}

struct Vehicle {
    std::uint8_t Speed;
    std::uint8_t Length;
};

Vehicle NewVehicle(Random& random, DayType type, int hour, int direction) {
    const HeavyShare heavy = HeavyShareAt(type, hour);
    const double kind = random.Uniform();
    const bool night = hour < 5 || hour >= 22;
    const double slowdown = IsPeak(type, hour, direction) ? 6.0 : 0.0;
    int length;
    double speed;
    if (kind < heavy.Lz) {
        length = random.Chance(0.7) ? random.Between(16, 18) : random.Between(12, 15);
        speed = random.Normal(43.0 - slowdown, 4.5);
    } else if (kind < heavy.Lz + heavy.Lkw) {
        length = random.Between(8, 11);
        speed = random.Normal(44.0 - slowdown, 5.0);
    } else {
        const double size = random.Uniform();
        length = size < 0.02 ? 2 : size < 0.60 ? 4 : size < 0.90 ? 5 : size < 0.97 ? 6 : 7;
        speed = random.Normal((night ? 52.0 : 46.5) - slowdown, 6.5);
        if (random.Chance(night ? 0.05 : 0.015)) // the few who take the road for a race track
            speed = random.Normal(70.0, 8.0);
    }
    return {static_cast<std::uint8_t>(std::clamp(static_cast<int>(speed + 0.5), 12, 130)),
            static_cast<std::uint8_t>(length)};
}

DayType TypeOf(double date) {
    switch (DecodeDateTime(date).DayOfWeek) {
    case 0:
        return DayType::Sunday;
    case 6:
        return DayType::Saturday;
    default:
        return DayType::Weekday;
    }
}

// One direction's arrivals second by second. Traffic lights up the road send vehicles in
// platoons: after a vehicle, a follower comes 1 to 3 s later with about its speed.
struct Lane {
    int Direction;
    long long FollowerAt = -1;
    int LeaderSpeed = 0;
};

VehicleRecord Record(double time, Vehicle v, int direction) {
    VehicleRecord r{};
    r.Time = time;
    r.Speed = v.Speed;
    r.Length = v.Length;
    r.Direction = direction == 1 ? '1' : '2';
    return r;
}

std::vector<VehicleRecord> MakeWeek(double monday) {
    Random random(20260309);
    std::vector<VehicleRecord> records;
    std::array<Lane, 2> lanes{Lane{1}, Lane{2}};
    for (int day = 0; day < 7; ++day) {
        const double date = monday + day;
        const DayType type = TypeOf(date);
        for (int second = 0; second < 86400; ++second) {
            const int hour = second / 3600;
            const double volume = HourlyVolume(type, second / 3600.0);
            const long long now = day * 86400LL + second;
            for (Lane& lane : lanes) {
                const double share =
                    lane.Direction == 1 ? DirectionOneShare(type, hour) : 1.0 - DirectionOneShare(type, hour);
                const double perSecond = volume * share / 3600.0;
                // Denser traffic bunches more; a follower counts towards the hourly volume.
                const double followerChance = std::min(0.35, perSecond * 3600.0 / 600.0);
                Vehicle v{};
                if (lane.FollowerAt == now) {
                    v = NewVehicle(random, type, hour, lane.Direction);
                    const int close = lane.LeaderSpeed + static_cast<int>(random.Normal(0.0, 2.0));
                    v.Speed =
                        static_cast<std::uint8_t>(std::clamp(std::min(close, lane.LeaderSpeed + 2), 12, 130));
                } else if (random.Chance(perSecond * (1.0 - followerChance))) {
                    v = NewVehicle(random, type, hour, lane.Direction);
                } else {
                    continue;
                }
                records.push_back(
                    Record(date + *TryEncodeTime(hour, second / 60 % 60, second % 60), v, lane.Direction));
                lane.LeaderSpeed = v.Speed;
                lane.FollowerAt = random.Chance(followerChance) ? now + random.Between(1, 3) : -1;
            }
        }
    }
    return records;
}

} // namespace

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "sample.lng";
    const double monday = *TryEncodeDate(2026, 3, 9);
    if (DecodeDateTime(monday).DayOfWeek != 1) {
        std::fputs("the sample week must start on a Monday\n", stderr);
        return 1;
    }
    const auto records = MakeWeek(monday);
    try {
        WriteVehicleFile(out, "Beispielmessung Hauptstraße, Ortsdurchfahrt 50 km/h, beide Richtungen",
                         records);
    } catch (const CoreError& e) {
        std::fputs((std::string(e.what()) + "\n").c_str(), stderr);
        return 1;
    }
    std::puts((std::to_string(records.size()) + " vehicles written to " + out).c_str());
    return 0;
}
