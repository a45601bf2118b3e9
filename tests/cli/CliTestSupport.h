#pragma once
// Running the built korvelan2-cli from tests, on measurements the tests write, and comparing its
// output with expected text kept under tests/cli/expected.

#include "data/DateTime.h"
#include "data/MeasurementData.h"

#include <filesystem>
#include <string>
#include <vector>

struct CliResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

// Runs korvelan2-cli with the arguments (each quoted for the shell).
CliResult RunCli(const std::vector<std::string>& arguments);
// Runs a program given by its path, with `environment` ("NAME=value ...", unquoted) put before it.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& environment = {});

// A fresh folder for one test's files.
std::filesystem::path TestFolder(const std::string& name);

// A vehicle at the given local time.
VehicleRecord Vehicle(int year, int month, int day, int hour, int minute, int second, int speed, int length,
                      char direction);

// Writes an own LNG file with the vehicles.
std::filesystem::path WriteVehicles(const std::filesystem::path& file,
                                    const std::vector<VehicleRecord>& vehicles,
                                    const std::string& comment = "Testmessung");

// The expected text of tests/cli/expected/NAME; with KORVELAN_UPDATE_EXPECTED=1 in the environment the
// file is written from `actual` instead (then read the new file before committing it).
std::string Expected(const std::string& name, const std::string& actual);

// What a shell command prints on standard output (pdfinfo, pdftotext, ...).
std::string Command(const std::string& command);
// The page count pdfinfo reports, -1 when it reports none.
int Pages(const std::filesystem::path& pdf);
