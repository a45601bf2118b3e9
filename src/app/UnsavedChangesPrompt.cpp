#include "app/UnsavedChangesPrompt.h"

#include "session/ShellTexts.h"
#include "ui/QtText.h"

UnsavedChangesPrompt::UnsavedChangesPrompt(FileDialogs& dialogs, const LanguageTexts& texts)
    : dialogs_(&dialogs), texts_(texts) {}

FileDialogs::SaveAnswer UnsavedChangesPrompt::Ask(QWidget* parent, const UnsavedData& unsaved) const {
    if (unsaved.Save == PendingSave::None)
        return FileDialogs::SaveAnswer::Discard;
    const auto text = [this](int number) { return ToQString(ShellTextOf(texts_, number)); };
    const SaveQuestion question{
        text(ShellText::UnsavedTitle), ToQString(UnsavedQuestion(unsaved.Reason, texts_)),
        text(ShellText::SaveButton), text(ShellText::DiscardButton), text(ShellText::CancelButton)};
    return dialogs_->AskToSave(parent, question);
}

bool UnsavedChangesPrompt::MayReplaceData(QWidget* parent, UnsavedChanges& changes,
                                          const MeasurementData& data, const SaveRunner& save) const {
    // At most one question for all data and one for the working data.
    for (int asked = 0; changes.Any() && asked < 2; ++asked) {
        const UnsavedData unsaved = changes.Pending();
        switch (Ask(parent, unsaved)) {
        case FileDialogs::SaveAnswer::Cancel:
            return false;
        case FileDialogs::SaveAnswer::Discard:
            return true;
        case FileDialogs::SaveAnswer::Save:
            if (!save(SaveThatFits(data, unsaved.Save)))
                return false;
            changes.Saved(unsaved.Save == PendingSave::AllData ? SavedContent::AllRecords
                                                               : SavedContent::WorkingRecords);
            break;
        }
    }
    return true;
}
