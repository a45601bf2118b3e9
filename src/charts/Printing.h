#pragma once
// Printing what the main window shows: the two lists in portrait (monospaced text pages built from
// the working data), the chart in landscape and the summary in landscape. Each print operation is
// one print job on the given printer; the print dialog and the preview are offered around them.

#include "base/View.h"
#include "charts/ChartDescription.h"
#include "charts/PrintSource.h"
#include "data/LocaleFormat.h"
#include "data/MeasurementData.h"

#include <string>
#include <vector>

class LanguageTexts;
class QPrinter;
class QWidget;

// Caption of the print preview window.
inline constexpr int PrintPreviewText = 493;

// The print operations. They set the orientation, print and throw CoreError (492) when the job
// cannot be started or a page cannot be added.
void PrintVehicleList(QPrinter& printer, const MeasurementData& data, const LanguageTexts& texts,
                      const LocaleFormat& locale = SystemLocaleFormat());
void PrintIntervalList(QPrinter& printer, const MeasurementData& data, const LanguageTexts& texts,
                       const LocaleFormat& locale = SystemLocaleFormat());
void PrintChart(QPrinter& printer, const ChartDescription& chart, const ChartAppearance& appearance);
void PrintSummary(QPrinter& printer, const std::vector<std::string>& lines);

// Prints the view on the printer without asking.
void PrintViewDirectly(QPrinter& printer, View view, const PrintSource& source);

// `PrintCurrentView`: the print dialog, then the view; false when the user cancelled.
bool PrintCurrentView(QWidget* parent, QPrinter& printer, View view, const PrintSource& source);
// The print preview of the view; the user can print from it.
void PreviewCurrentView(QWidget* parent, QPrinter& printer, View view, const PrintSource& source);
