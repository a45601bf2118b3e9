#include "session/ShellTexts.h"

#include "base/LanguageTexts.h"

#include <algorithm>
#include <array>

namespace {
using namespace ShellText;

constexpr std::array Defaults{
    ShellTextDefault{RecentFilesMenu, "Zuletzt geöffnet"},
    ShellTextDefault{RemoveMissingFiles, "Nicht vorhandene entfernen"},
    ShellTextDefault{ClearRecentFiles, "Liste leeren"},
    ShellTextDefault{NoRecentFiles, "(keine)"},
    ShellTextDefault{FileMissing, "%s ist nicht mehr vorhanden."},
    ShellTextDefault{CardData, "Kartendaten"},
    ShellTextDefault{CardDataFrom, "Kartendaten aus %s"},
    ShellTextDefault{ImportedFrom, "importiert aus %s"},
    ShellTextDefault{NotSaved, "nicht gespeichert"},
    ShellTextDefault{VehicleCount, "%d Fahrzeuge"},
    ShellTextDefault{VehiclesInForce, "%d von %d Fahrzeugen"},
    ShellTextDefault{IntervalCount, "%d Intervalle zu 5 Minuten"},
    ShellTextDefault{IntervalsInForce, "%d von %d Intervallen zu 5 Minuten"},
    ShellTextDefault{SaveButton, "Speichern"},
    ShellTextDefault{DiscardButton, "Verwerfen"},
    ShellTextDefault{CancelButton, "Abbrechen"},
    ShellTextDefault{CardDataUnsaved,
                     "Die von der Karte gelesenen Daten sind noch nicht gespeichert. Sollen sie jetzt "
                     "gespeichert werden?"},
    ShellTextDefault{ImportUnsaved, "Die importierten Daten sind noch nicht als Korvelan-Datei gespeichert. "
                                    "Sollen sie jetzt gespeichert werden?"},
    ShellTextDefault{CommentUnsaved,
                     "Der geänderte Kommentar ist noch nicht gespeichert. Sollen die Daten jetzt "
                     "gespeichert werden?"},
    ShellTextDefault{FilteredUnsaved,
                     "Der Datenfilter hat Fahrzeuge entfernt, und die gefilterten Daten sind "
                     "noch nicht gespeichert. Sollen sie jetzt gespeichert werden?"},
    ShellTextDefault{FoldersNotOpened, "Ordner werden nicht geöffnet: %s"},
    ShellTextDefault{UnsavedTitle, "Nicht gespeicherte Daten"},
};
} // namespace

std::span<const ShellTextDefault> ShellTextDefaults() {
    return Defaults;
}

std::string ShellTextOf(const LanguageTexts& texts, int number) {
    if (const std::string& text = texts[number]; !text.empty())
        return text;
    const auto found = std::find_if(Defaults.begin(), Defaults.end(),
                                    [number](const auto& d) { return d.number == number; });
    return found != Defaults.end() ? std::string(found->german) : std::string();
}
