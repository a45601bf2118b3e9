// The drawing and serial-port part of korvelan2-cli (see DrawingPart.h), built as a plugin.

#include "app/Logo.h"
#include "cards/QtCardSerialPort.h"
#include "charts/ChartPicture.h"
#include "charts/ReportPrinter.h"
#include "cli/DrawingPart.h"
#include "cli/GuiSession.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPrinter>

namespace {
void SaveChartPictureFile(const std::string& file, const ChartDescription& chart,
                          const ChartAppearance& appearance, int width, int height) {
    const GuiSession gui;
    SaveChartPicture(file, chart, appearance, QSize(width, height));
}

void PrintViewToPdfFile(const std::string& file, View view, const PrintSource& source) {
    const GuiSession gui;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setCreator(QStringLiteral("Korvelan II"));
    PrintViewDirectly(printer, view, source);
}

void WriteReportPdfFile(const std::string& file, const ReportDocument& document) {
    const GuiSession gui;
    WriteReportPdf(file, document);
}

// QSerialPort wants an application object for its notifiers. The batch front has none of its own,
// so the port brings one: made before the port and destroyed after it (bases in this order).
struct ApplicationHolder {
    ApplicationHolder() {
        if (QCoreApplication::instance() == nullptr)
            application = std::make_unique<QCoreApplication>(argc, argv);
    }
    int argc = 1;
    char name[14] = "korvelan2-cli";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QCoreApplication> application;
};

class ApplicationCardSerialPort : private ApplicationHolder, public QtCardSerialPort {};

std::unique_ptr<CardSerialPort> NewApplicationCardSerialPort() {
    return std::make_unique<ApplicationCardSerialPort>();
}

const DrawingPart part{DrawingPartInterfaceVersion,  ProgramVersion,      DrawingPartLayout(),
                       &SaveChartPictureFile,        &PrintViewToPdfFile, &WriteReportPdfFile,
                       &NewApplicationCardSerialPort};
} // namespace

extern "C" __attribute__((visibility("default"))) const DrawingPart* KorvelanDrawingPart() {
    return &part;
}
