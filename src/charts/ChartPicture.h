#pragma once
// The chart as a picture file: Windows metafile, bitmap, PNG, SVG or PDF, chosen by the file
// name's extension. Every type is drawn by the one chart renderer.

#include "charts/ChartDescription.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <string>
#include <vector>

// The chart drawn into an opaque image of size pixels.
QImage RenderChartImage(const ChartDescription& chart, const ChartAppearance& appearance, QSize size);
// The chart as the bytes of a placeable Windows metafile of size pixels at 96 dpi.
std::vector<std::uint8_t> RenderChartMetafile(const ChartDescription& chart,
                                              const ChartAppearance& appearance, QSize size);

// Writes the picture. Throws CoreError: 490 for an extension that is no picture type (nothing is
// written), 491 when the file cannot be written.
void SaveChartPicture(const std::string& fileName, const ChartDescription& chart,
                      const ChartAppearance& appearance, QSize size);
