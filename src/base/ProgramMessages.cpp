#include "base/ProgramMessages.h"

#include <algorithm>
#include <array>

namespace {
using namespace ProgramMessage;

constexpr std::array Messages{
    ProgramMessageText{NotAKorvelanFile, "Keine Korvelan - Datei"},
    ProgramMessageText{CapacityExceeded, "Zu viele Datensätze: höchstens %s sind möglich."},
    ProgramMessageText{CannotOpen, "Die Datei %s kann nicht geöffnet werden."},
    ProgramMessageText{FileTooShort, "Die Datei %s enthält weniger Datensätze, als ihr Kopf angibt."},
    ProgramMessageText{TooManyRecords,
                       "Die Datei enthält zu viele Datensätze; höchstens %s können geladen werden."},
    ProgramMessageText{BadHeaderNumber, "Der Dateikopf enthält an Byte %s keine gültige Zahl."},
    ProgramMessageText{BadHeaderDate,
                       "Der Dateikopf enthält ein Datum oder eine Uhrzeit, die es nicht gibt: %s."},
    ProgramMessageText{BadRecordTime, "Datensatz %s enthält ein Datum oder eine Uhrzeit, die es nicht gibt."},
    ProgramMessageText{CannotWrite, "Die Datei %s kann nicht geschrieben werden."},
    ProgramMessageText{BadRecordCount, "Datensatz %s enthält eine Anzahl, die es nicht geben kann."},
    ProgramMessageText{LanguageFileUnreadable, "Fehler! Die Sprachdatei %s kann nicht gelesen werden."},
    ProgramMessageText{
        SettingsLengthNotWhole,
        "Eine Fahrzeuglänge in der Einstellungsdatei ist keine ganze Zahl; es gilt der Standardwert: %s"},
    ProgramMessageText{SettingsNotWritten, "Die Einstellungsdatei %s kann nicht geschrieben werden."},
    ProgramMessageText{SettingsUnreadable,
                       "Die Einstellungsdatei %s kann nicht gelesen werden; es gelten die Standardwerte."},
    ProgramMessageText{IntervalSpanTooLong,
                       "Die Messung umfasst %s Intervalle; höchstens 60000 Intervalle (etwa "
                       "208 Tage zu 5 Minuten) können ausgewertet werden."},
    ProgramMessageText{IntervalFactorInvalid, "Unzulässige Intervalllänge: %s (erlaubt sind 1, 3, 6, 12)."},
    ProgramMessageText{StatisticsSpanTooLong,
                       "Die Messung umfasst %s Tage; Kennwerte lassen sich über höchstens 3660 Tage bilden."},
    ProgramMessageText{InvalidRange,
                       "Ungültiger Bereich %s: Start und Stop müssen Satznummern der angezeigten "
                       "Intervalle sein, Start nicht nach Stop."},
    ProgramMessageText{SpeedNotWhole,
                       "Der Wert für die Geschwindigkeit „%s“ ist keine ganze Zahl. Bitte eine "
                       "Zahl in km/h eingeben."},
    ProgramMessageText{
        LengthNotWhole,
        "Der Wert für die Länge „%s“ ist keine ganze Zahl. Bitte eine Zahl in Metern eingeben."},
    ProgramMessageText{UnknownCondition, "Unbekannte Bedingung „%s“. Möglich sind speed>N, speed=N, speed<N, "
                                         "length>N, length=N, length<N, dir=1 und dir=2."},
    ProgramMessageText{
        RepeatedCondition,
        "Die Bedingung „%s“ betrifft eine Größe, für die schon eine Bedingung gilt. Je Richtung, "
        "Länge und Geschwindigkeit ist nur eine Bedingung möglich."},
    ProgramMessageText{NoVehicleData,
                       "Der Datenfilter wirkt nur auf Einzelfahrzeugdaten; bitte eine Messung mit "
                       "Einzelfahrzeugen laden."},
    ProgramMessageText{FileUnreadable, "Die Datei %s kann nicht gelesen werden."},
    ProgramMessageText{NotACardFile, "Die Datei %s ist keine Kartendatei (.txt oder .bin)."},
    ProgramMessageText{CardFileEmpty, "Die Kartendatei %s enthält keine Fahrzeuge."},
    ProgramMessageText{BadCardLine,
                       "Zeile %s der Kartendatei enthält kein gültiges Datum oder keine gültige Zeit."},
    ProgramMessageText{StartRequired, "Für eine Binärdatei muss der Startzeitpunkt angegeben werden."},
    ProgramMessageText{NoSerialPort, "Keine serielle Schnittstelle vorhanden."},
    ProgramMessageText{EntriesSkipped, "%s Einträge mit ungültiger Zeit wurden übersprungen."},
    ProgramMessageText{CardTooLarge,
                       "Die Karte enthält mehr Fahrzeuge als möglich; nur die ersten %s wurden gelesen."},
    ProgramMessageText{PeloBadParameter,
                       "Pelo-Datei, Zeile %s: Der Parameter ist keine zweistellige Hexadezimalzahl."},
    ProgramMessageText{PeloTooManyValues,
                       "Pelo-Datei, Zeile %s: Der Block hat mehr Werte als Intervalle möglich sind (60000)."},
    ProgramMessageText{PeloTooManyLcBlocks,
                       "Pelo-Datei, Zeile %s: Mehr als 20 LC-Blöcke sind nicht möglich."},
    ProgramMessageText{PeloBadStart, "Pelo-Datei, Zeile %s: Kein gültiges Startdatum."},
    ProgramMessageText{TimeBeyondCalendar,
                       "Die Zeiten der Kartendatei reichen mit diesem Startzeitpunkt über den "
                       "31.12.9999 hinaus (Zeile oder Block %s)."},
    ProgramMessageText{ReaderGaveUp,
                       "Der Kartenleser hat eine Seite %s-mal nicht vollständig gesendet; das Lesen "
                       "wurde beendet. Bitte Verbindung und Kartenleser prüfen."},
    ProgramMessageText{
        UnknownPictureType,
        "Diagramme lassen sich nur als .wmf, .bmp, .png, .svg oder .pdf speichern, nicht als „%s“."},
    ProgramMessageText{PictureNotWritten, "Das Diagramm konnte nicht in „%s“ geschrieben werden."},
    ProgramMessageText{PrintFailed, "Der Druck auf „%s“ ist fehlgeschlagen."},
    ProgramMessageText{HelpNotFound, "Die Hilfe %s wurde nicht gefunden."},
    ProgramMessageText{DrawingPartMissing,
                       "Der Zeichenteil des Programms (Diagramme, Druck, Kartenleser) fehlt; gesucht: %s"},
    ProgramMessageText{
        DrawingPartBroken,
        "Der Zeichenteil des Programms (Diagramme, Druck, Kartenleser) lässt sich nicht laden: %s"},
    ProgramMessageText{CsvNoVehicles, "Die Daten enthalten keine Einzelfahrzeuge."},
    ProgramMessageText{CsvBundleFolderNotEmpty,
                       "Der Ordner %s ist nicht leer; bitte einen leeren oder neuen Ordner wählen."},
    ProgramMessageText{ComparisonKindsDiffer,
                       "Die beiden Messungen sind nicht von derselben Art (Einzelfahrzeuge "
                       "oder Intervalle); es wird nichts verglichen."},
    ProgramMessageText{ReportFailed, "Der Bericht %s konnte nicht geschrieben werden."},
    ProgramMessageText{ReaderDoesNotAnswer, "Der Kartenleser antwortet nicht."},
};
} // namespace

std::span<const ProgramMessageText> ProgramMessages() {
    return Messages;
}

std::string_view GermanMessageText(int number) {
    const auto found = std::find_if(Messages.begin(), Messages.end(),
                                    [number](const auto& m) { return m.number == number; });
    return found != Messages.end() ? found->german : "Fehler: %s";
}
