#include "cards/CardCommon.h"

#include <fstream>

namespace {
std::string FallbackText(int textNumber) {
    switch (textNumber) {
    case CardText::FileUnreadable:
        return "Die Datei %s kann nicht gelesen werden.";
    case CardText::NotACardFile:
        return "Die Datei %s ist keine Kartendatei (.txt oder .bin).";
    case CardText::CardFileEmpty:
        return "Die Kartendatei %s enthält keine Fahrzeuge.";
    case CardText::BadCardLine:
        return "Zeile %s der Kartendatei enthält kein gültiges Datum oder keine gültige Zeit.";
    case CardText::StartRequired:
        return "Für eine Binärdatei muss der Startzeitpunkt angegeben werden.";
    case CardText::NoSerialPort:
        return "Keine serielle Schnittstelle vorhanden.";
    case CardText::EntriesSkipped:
        return "%s Einträge mit ungültiger Zeit wurden übersprungen.";
    case CardText::CardTooLarge:
        return "Die Karte enthält mehr Fahrzeuge als möglich; nur die ersten %s wurden gelesen.";
    case CardText::PeloBadParameter:
        return "Pelo-Datei, Zeile %s: Der Parameter ist keine zweistellige Hexadezimalzahl.";
    case CardText::PeloTooManyValues:
        return "Pelo-Datei, Zeile %s: Der Block hat mehr Werte als Intervalle möglich sind (60000).";
    case CardText::PeloTooManyLcBlocks:
        return "Pelo-Datei, Zeile %s: Mehr als 20 LC-Blöcke sind nicht möglich.";
    case CardText::PeloBadStart:
        return "Pelo-Datei, Zeile %s: Kein gültiges Startdatum.";
    case CardText::TimeBeyondCalendar:
        return "Die Zeiten der Kartendatei reichen mit diesem Startzeitpunkt über den 31.12.9999 hinaus "
               "(Zeile oder Block %s).";
    case CardText::ReaderGaveUp:
        return "Der Kartenleser hat eine Seite %s-mal nicht vollständig gesendet; das Lesen wurde beendet. "
               "Bitte Verbindung und Kartenleser prüfen.";
    default:
        return DefaultErrorText(textNumber);
    }
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

CoreError CardError(int textNumber, std::string detail) {
    return CoreError(textNumber, FallbackText(textNumber), std::move(detail));
}

int DecimalField(std::string_view line, int firstColumn, int lastColumn) {
    if (firstColumn < 1 || lastColumn < firstColumn || static_cast<std::size_t>(firstColumn) > line.size())
        return 0;
    const auto first = static_cast<std::size_t>(firstColumn - 1);
    const std::string_view field = line.substr(first, static_cast<std::size_t>(lastColumn - firstColumn + 1));
    std::size_t i = 0;
    while (i < field.size() && IsBlank(field[i]))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10 + (field[i] - '0');
    // Fields are at most a few columns wide, so the value always fits.
    return static_cast<int>(negative ? -value : value);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw CardError(CardText::FileUnreadable, path);
    const std::streamoff size = in.tellg();
    if (size < 0)
        throw CardError(CardText::FileUnreadable, path);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        throw CardError(CardText::FileUnreadable, path);
    return bytes;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = last ? end : end + 1;
    }
    return lines;
}

bool IsBlankLine(std::string_view line) {
    for (const char c : line)
        if (!IsBlank(c))
            return false;
    return true;
}

void CompleteCardRead(MeasurementData& data) {
    data.IntervalRebuildPending = 1;
    data.IntervalCount = 0;
    data.WorkIntervalCount = 0;
    CopyVehiclesToWork(data); // also counts the marks that appended-to vehicles may carry
    data.VehicleListTop = 1;
    data.DataMode = DataMode::SingleVehicle;
}
