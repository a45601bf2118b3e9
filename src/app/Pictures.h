#pragma once
// The program's pictures, drawn in code so that they stay sharp at every size and screen scale:
// tool-button pictures (one per state the buttons show), the banner of the splash window and
// of the about box.

#include <QFont>
#include <QIcon>
#include <QPixmap>

class QPainter;
class QRectF;

enum class ToolPicture {
    Open,
    Save,
    ReadCard,
    Filter,
    VehicleList,
    IntervalList,
    Chart,
    Summary,
    Print,
    About,
    Language
};

// The font of the lists and the summary: "Courier New" where it exists, else a monospace font
// with the same metrics.
QFont ListFont();

QIcon ToolIcon(ToolPicture picture);
// The interval button: "5'", "15'", "30'" or "60'" for the factors 1, 3, 6, 12.
QIcon IntervalIcon(int intervalFactor);
// The speed-limit button: a round limit sign with 10 * limitIndex; red while the display is on,
// grey while it is off.
QIcon SpeedLimitIcon(int limitIndex, bool displayOn);

// Size of the banner in device-independent pixels.
inline constexpr int BannerWidth = 450;
inline constexpr int BannerHeight = 260;
// The banner (a road seen from the roadside, a count as bars) drawn into target; the splash
// window adds the program's name, the about box draws its labels over it.
void DrawBanner(QPainter& painter, const QRectF& target, bool withTitle);
QPixmap BannerPixmap(qreal devicePixelRatio, bool withTitle);
