#pragma once
// The part of korvelan2-cli that draws and talks to serial ports. It needs Qt, whose libraries take
// far longer to load than most commands take to run, so it is a plugin of its own that only the
// commands that draw (chart pictures, print, report) or read a card reader (smcard) load. All
// evaluation stays in the program; the part only turns finished results into pictures, PDF pages
// or a serial port.

#include "base/LanguageTexts.h"
#include "base/View.h"
#include "cards/CardSerialPort.h"
#include "charts/ChartDescription.h"
#include "charts/Printing.h"
#include "charts/ReportContent.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// Raised whenever a member or one of the types it passes changes, so that a part left over from
// another build is refused instead of misread.
inline constexpr int DrawingPartInterfaceVersion = 1;

// The sizes of what passes between program and part: a part built against other headers differs.
constexpr std::size_t DrawingPartLayout() {
    return sizeof(MeasurementData) + sizeof(LanguageTexts) + sizeof(ChartDescription) +
           sizeof(ChartAppearance) + sizeof(PrintSource) + sizeof(ReportDocument);
}

struct DrawingPart {
    int InterfaceVersion;
    const char* ProgramVersion; // the part must come from the same version of the program
    std::size_t Layout;         // DrawingPartLayout() as the part was built
    // The chart as a picture file, its type by extension. Throws CoreError.
    void (*SaveChartPicture)(const std::string& file, const ChartDescription& chart,
                             const ChartAppearance& appearance, int width, int height);
    // A view printed as the print command prints it, into a PDF file. Throws CoreError.
    void (*PrintViewToPdf)(const std::string& file, View view, const PrintSource& source);
    // The report as an A4 PDF file. Throws CoreError.
    void (*WriteReportPdf)(const std::string& file, const ReportDocument& document);
    // A closed serial port of the card reader; it lives as long as the pointer.
    std::unique_ptr<CardSerialPort> (*NewCardSerialPort)();
};

// The name of the function the part exports; it returns the part's table.
inline constexpr const char* DrawingPartEntryName = "KorvelanDrawingPart";
extern "C" using DrawingPartEntry = const DrawingPart * ();

// The file name of the part, and the folders it is looked for in: beside the program (the build
// folder, a copied bin folder) and, for an installed program, ../lib/korvelan2 from it.
inline constexpr const char* DrawingPartFileName = "korvelan2-cli-drawing.so";
std::vector<std::string> DrawingPartCandidates(const std::string& programDirectory);

// Loads the part once per run. Throws CoreError naming the file looked for and what is missing
// or wrong when the part is not there, cannot be loaded or belongs to another build.
const DrawingPart& LoadDrawingPart();
