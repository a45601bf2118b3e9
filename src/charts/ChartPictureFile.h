#pragma once
// Which picture a chart file name asks for: the three characters after the file name's last "."
// in lower case, so "Chart.BMP" is a bitmap and "chart.wmfx" a metafile.

#include <string_view>

enum class ChartPictureType { Wmf, Bmp, Png, Svg, Pdf };

// Throws CoreError (text 490) for a name without an extension or with one no picture has.
ChartPictureType ChartPictureTypeOf(std::string_view fileName);
