#pragma once
// The question before a load, a card read, an import or the end of the program replaces data that
// exist nowhere else: "Speichern", "Verwerfen" or "Abbrechen", asked through the dialog seam so that
// tests answer it.

#include "session/UnsavedChanges.h"
#include "ui/FileDialogs.h"

#include <functional>

class LanguageTexts;
class QWidget;

class UnsavedChangesPrompt {
public:
    // Runs the save that keeps the data (it asks for the file itself); true when it wrote the file.
    using SaveRunner = std::function<bool(const FittingSave&)>;

    // The dialogs and texts must outlive the prompt.
    UnsavedChangesPrompt(FileDialogs& dialogs, const LanguageTexts& texts);

    void UseDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

    // The question for data that would be lost; Discard without asking when nothing would be.
    FileDialogs::SaveAnswer Ask(QWidget* parent, const UnsavedData& unsaved) const;

    // Whether the caller may replace the data. While something would be lost the user is asked:
    // "Speichern" runs `save` with the save that fits and asks again for what is still unsaved
    // (vehicles the filter removed after all data are saved); "Verwerfen" goes on; "Abbrechen",
    // or a save that did not write, stops.
    bool MayReplaceData(QWidget* parent, UnsavedChanges& changes, const MeasurementData& data,
                        const SaveRunner& save) const;

private:
    FileDialogs* dialogs_;
    const LanguageTexts& texts_;
};
