#pragma once
// The report on paper: pages laid out from the report's contents, with the site as the header and
// the data file, its SHA-256, the program version and the page number as the footer. Charts go
// through the chart renderer, so they stay vectors and their texts stay text.

#include "charts/ReportContent.h"

#include <filesystem>

class QPrinter;

// Prints the report on the printer (a PDF printer or a real one). Throws CoreError
// (ReportText::ReportFailed) when the job cannot be started.
void PrintReport(QPrinter& printer, const ReportDocument& document);

// Writes the report as an A4 PDF file: to a temporary file beside the target, renamed over it
// only when complete, so that a failure leaves no partial file. Throws CoreError naming the file.
void WriteReportPdf(const std::filesystem::path& file, const ReportDocument& document);

// Pages the report takes on the printer (a long table continues on further pages).
int ReportPageCount(QPrinter& printer, const ReportDocument& document);
