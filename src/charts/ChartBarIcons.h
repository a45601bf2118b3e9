#pragma once
// The pictures of the chart tool bar, drawn in code so that they stay sharp at every size and
// screen scale.

#include <QIcon>
#include <QString>

enum class ChartBarPicture {
    AllVehicles, // three stacked classes
    SumOfAll,    // one bar, the sum
    Pkw,
    Lkw,
    Lz,
    LkwAndLz,
    Speed,         // speed distribution
    Gap,           // time gaps
    Count,         // vehicles per interval
    Length,        // length categories
    DirectionBoth, // the direction button's three states
    Direction1,
    Direction2,
    Back24, // paging
    Back6,
    Back1,
    Forward1,
    Forward6,
    Forward24
};

QIcon ChartBarIcon(ChartBarPicture picture);
// A short text such as "V15", "V50", "Vmax" on a speed-sign plate.
QIcon ChartBarTextIcon(const QString& text);
