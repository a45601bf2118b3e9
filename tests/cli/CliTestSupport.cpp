#include "CliTestSupport.h"

#include "data/DataFileWriter.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace {
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
} // namespace

CliResult RunCli(const std::vector<std::string>& arguments) {
    return RunProgram(std::string(KORVELAN_BIN_DIR) + "/korvelan2-cli", arguments);
}

CliResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& environment) {
    const std::filesystem::path errFile =
        std::filesystem::temp_directory_path() / ("korvelan-cli-err-" + std::to_string(::getpid()));
    std::string command = (environment.empty() ? "" : environment + " ") + Quoted(program);
    for (const std::string& argument : arguments)
        command += " " + Quoted(argument);
    command += " 2>" + Quoted(errFile.string());
    CliResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.Out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Err = ReadWhole(errFile);
    std::filesystem::remove(errFile);
    return result;
}

std::filesystem::path TestFolder(const std::string& name) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("korvelan-cli-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

VehicleRecord Vehicle(int year, int month, int day, int hour, int minute, int second, int speed, int length,
                      char direction) {
    VehicleRecord v{};
    v.Time = *TryEncodeDateTime(year, month, day, hour, minute, second);
    v.Speed = static_cast<std::uint8_t>(speed);
    v.Length = static_cast<std::uint8_t>(length);
    v.Direction = direction;
    return v;
}

std::filesystem::path WriteVehicles(const std::filesystem::path& file,
                                    const std::vector<VehicleRecord>& vehicles, const std::string& comment) {
    WriteVehicleFile(file, comment, vehicles);
    return file;
}

std::string Expected(const std::string& name, const std::string& actual) {
    const std::filesystem::path file = std::filesystem::path(KORVELAN_EXPECTED_DIR) / name;
    const char* update = std::getenv("KORVELAN_UPDATE_EXPECTED");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(file, std::ios::binary) << actual;
        return actual;
    }
    return ReadWhole(file);
}

std::string Command(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

int Pages(const std::filesystem::path& pdf) {
    std::smatch match;
    const std::string info = Command("pdfinfo '" + pdf.string() + "'");
    return std::regex_search(info, match, std::regex(R"(Pages:\s+(\d+))")) ? std::stoi(match[1]) : -1;
}
