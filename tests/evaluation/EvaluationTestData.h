#pragma once
// Small measurements for the evaluation tests, written record by record.

#include "base/LanguageTexts.h"
#include "data/DateTime.h"
#include "data/MeasurementData.h"

#include <string>

// 2026-03-<day> hh:mm:ss as a day count.
inline double At(int day, int hour, int minute, int second = 0) {
    return *TryEncodeDateTime(2026, 3, day, hour, minute, second);
}

inline void AddVehicle(MeasurementData& data, double time, int speed, int length, char direction = '1') {
    const int n = ++data.WorkVehicleCount;
    data.WorkVehicles.EnsureSize(n);
    VehicleRecord r{};
    r.Time = time;
    r.Speed = static_cast<std::uint8_t>(speed);
    r.Length = static_cast<std::uint8_t>(length);
    r.Direction = direction;
    data.WorkVehicles[n] = r;
}

// Appends a zeroed 5-minute base interval and returns it.
inline IntervalRecord& AddBaseInterval(MeasurementData& data, double start) {
    const int n = ++data.IntervalCount;
    data.Intervals.EnsureSize(n);
    data.Intervals[n] = IntervalRecord{};
    data.Intervals[n].StartTime = start;
    return data.Intervals[n];
}

// Appends a zeroed displayed interval and returns it.
inline IntervalRecord& AddWorkInterval(MeasurementData& data, double start) {
    const int n = ++data.WorkIntervalCount;
    data.WorkIntervals.EnsureSize(n);
    data.WorkIntervals[n] = IntervalRecord{};
    data.WorkIntervals[n].StartTime = start;
    return data.WorkIntervals[n];
}

// Counts `count` vehicles of one class and speed class into an interval, as the build would.
inline void CountInto(IntervalRecord& r, int direction, VehicleClass c, int speedClass, int count,
                      int maxSpeed = 0) {
    r.Total()[direction] += count;
    r.ClassCount(c)[direction] += count;
    r.SpeedClasses(c, speedClass)[direction] += count;
    if (c != VehicleClass::Pkw)
        r.HeavyTotal()[direction] += count;
    if (maxSpeed > r.MaxSpeed(c)[direction])
        r.MaxSpeed(c)[direction] = maxSpeed;
}

// Texts whose labels make the table layout visible: every row label is 15 characters wide.
inline LanguageTexts EvalTexts() {
    LanguageTexts t;
    t.Set(81, "Nr. Zeit Geschw. Laenge Richtung");
    t.Set(82, "Nr. Beginn Summe PKW LKW LZ");
    t.Set(200, "Uebersicht");
    t.Set(201, "Kopf");
    t.Set(202, "Summe          ");
    t.Set(203, "Anteil %       ");
    t.Set(204, "0-24 Uhr       ");
    t.Set(205, "15-19 Uhr x3,5 ");
    t.Set(206, "6-22 Uhr       ");
    t.Set(207, "22-6 Uhr       ");
    t.Set(208, "Mittel je Std. ");
    t.Set(209, "Spitzenstunde  ");
    t.Set(210, "Datum          ");
    t.Set(211, "Uhrzeit        ");
    t.Set(212, "ueber Grenze   ");
    t.Set(213, "Grenze: ");
    t.Set(214, "ueber Grenze % ");
    t.Set(218, "Kommentar: ");
    t.Set(219, "Zeitraum: ");
    t.Set(220, "Geschwindigkeiten");
    t.Set(221, "Kopf V");
    return t;
}
