#include "app/WindowDialogs.h"

#include "app/AboutDialog.h"
#include "app/CommentDialog.h"
#include "app/HelpWindow.h"
#include "app/ListPanel.h"
#include "base/CoreError.h"
#include "base/ProgramMessages.h"
#include "cards/CardCommon.h"
#include "cards/CardFileDialog.h"
#include "cards/SmartMediaDialog.h"
#include "evaluation/RecordFilterDialog.h"
#include "evaluation/TimeRangeDialog.h"
#include "lang/LanguageLocale.h"
#include "lang/ShippedFiles.h"
#include "session/EvaluationContext.h"
#include "settings/SettingsDialog.h"
#include "ui/FileDialogs.h"
#include "ui/QtText.h"

#include <QComboBox>
#include <QLocale>

WindowDialogs::WindowDialogs(QWidget& window, EvaluationContext& context, ListHost& lists,
                             FileDialogs& dialogs, const std::filesystem::path& programDirectory)
    : window_(window), context_(context), dialogs_(dialogs), programDirectory_(programDirectory) {
    MeasurementData& data = context.data;
    const LanguageTexts& texts = context.texts;
    aboutDialog_ = new AboutDialog(programDirectory, &window);
    filterDialog_ = new RecordFilterDialog(data, texts, lists, &window);
    filterDialog_->UseDialogs(dialogs);
    settingsDialog_ = new SettingsDialog(context.settings, data, texts, dialogs, &window);
    rangeDialog_ = new TimeRangeDialog(data, texts, lists, &window);
    rangeDialog_->UseDialogs(dialogs);
    smartMediaDialog_ = new SmartMediaDialog(data, context.settings, texts, &window);
    commentDialog_ = new CommentDialog(data, texts, &window);
    cardFileDialog_ = new CardFileDialog(data, context.settings, texts, &window);
    // The card dialogs tell their failures the way the main window does.
    smartMediaDialog_->UseDialogs(dialogs);
    cardFileDialog_->UseDialogs(dialogs);
}

void WindowDialogs::ApplyTexts() {
    filterDialog_->ApplyTexts();
    rangeDialog_->ApplyTexts();
}

void WindowDialogs::ApplyLanguage(const std::string& languageFile) {
    rangeDialog_->SetCalendarLocale(QLocale(ToQString(LocaleNameOfLanguageFile(languageFile))));
}

void WindowDialogs::ShowListTool(View view, const ListPlacement& list, const QRect& windowFrame) {
    ListToolDialog* const tool = view == View::VehicleList    ? static_cast<ListToolDialog*>(filterDialog_)
                                 : view == View::IntervalList ? static_cast<ListToolDialog*>(rangeDialog_)
                                                              : nullptr;
    if (tool == nullptr)
        return;
    tool->PlaceBesideList(list.List, list.TextLeft, list.TextRight, windowFrame);
    tool->show();
    tool->raise();
    tool->activateWindow();
}

void WindowDialogs::HideListTools() {
    filterDialog_->hide();
    rangeDialog_->hide();
}

void WindowDialogs::MarksChanged() {
    if (filterDialog_->isVisible())
        filterDialog_->MarkedCountChanged();
}

void WindowDialogs::EditComment() {
    commentDialog_->exec();
}

void WindowDialogs::ShowAbout() {
    aboutDialog_->exec();
}

void WindowDialogs::ShowHelp(const std::string& languageFile) {
    const std::filesystem::path page = FindShippedFile(programDirectory_, HelpPageOf(languageFile));
    if (!std::filesystem::exists(page)) {
        const CoreError missing(ProgramMessage::HelpNotFound, page.string());
        dialogs_.ShowMessage(&window_, FileDialogs::MessageKind::Error, QStringLiteral("Fehler!"),
                             QStringLiteral("Fehler!\n\n") + ToQString(missing.Message(context_.texts)));
        return;
    }
    if (helpWindow_ == nullptr)
        helpWindow_ = new HelpWindow(&window_);
    helpWindow_->ShowPage(page, QStringLiteral("Korvelan II – ") + ToQString(context_.texts[31]));
}

bool WindowDialogs::ReadSmartMediaCard() {
    smartMediaDialog_->SmartMediaReadDone = false;
    smartMediaDialog_->exec();
    return smartMediaDialog_->SmartMediaReadDone;
}

std::string WindowDialogs::SmartMediaPort() const {
    return smartMediaDialog_->portChoice->currentText().toStdString();
}

bool WindowDialogs::ReadCardFile(const QString& file) {
    if (cardFileDialog_->Execute(file) != QDialog::Accepted)
        return false;
    CompleteCardRead(context_.data);
    return true;
}
