#pragma once
// Tool-button pictures drawn in code: a drawing in a 24 x 24 box, rendered at the exact device
// size asked for, so pictures stay sharp at every size and pixel ratio. Disabled pictures are
// grey and paler, as a style would make them from a bitmap.

#include <QIcon>
#include <QPainter>

#include <functional>

using DrawFunction = std::function<void(QPainter&)>;

inline constexpr qreal DrawnIconBox = 24.0;

QImage RenderDrawnPicture(const DrawFunction& draw, QSize deviceSize, QIcon::Mode mode);
QIcon MakeIcon(const QString& key, DrawFunction draw);
