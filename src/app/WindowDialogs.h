#pragma once
// The main window's dialogs: created once, in the order the program has always created its forms,
// shown on the window's commands and only hidden when closed. The filter and time range work on
// the list through the list host; the card dialogs and the comment dialog write the measurement.

#include "base/View.h"

#include <QRect>
#include <QString>

#include <filesystem>
#include <string>

class AboutDialog;
class CardFileDialog;
class CommentDialog;
class EvaluationContext;
class FileDialogs;
class HelpWindow;
class ListHost;
class QWidget;
class RecordFilterDialog;
class SettingsDialog;
class SmartMediaDialog;
class TimeRangeDialog;
struct ListPlacement;

class WindowDialogs {
public:
    WindowDialogs(QWidget& window, EvaluationContext& context, ListHost& lists, FileDialogs& dialogs,
                  const std::filesystem::path& programDirectory);

    SettingsDialog& Settings() { return *settingsDialog_; }

    void ApplyTexts();
    // The calendar of the time range names months and days in the language of this file.
    void ApplyLanguage(const std::string& languageFile);
    // The filter beside the vehicle list, the time range beside the interval list.
    void ShowListTool(View view, const ListPlacement& list, const QRect& windowFrame);
    // The filter and the time range work on the measurement on screen: they go when it is replaced.
    void HideListTools();
    // A double click in the list marked or unmarked a vehicle.
    void MarksChanged();

    void EditComment();
    void ShowAbout();
    // The help page in the language of the file; an error when it is missing.
    void ShowHelp(const std::string& languageFile);
    // True when the card was read.
    bool ReadSmartMediaCard();
    // The port the card reader was read through.
    std::string SmartMediaPort() const;
    bool ReadCardFile(const QString& file);

private:
    QWidget& window_;
    EvaluationContext& context_;
    FileDialogs& dialogs_;
    std::filesystem::path programDirectory_;
    AboutDialog* aboutDialog_ = nullptr;
    RecordFilterDialog* filterDialog_ = nullptr;
    SettingsDialog* settingsDialog_ = nullptr;
    TimeRangeDialog* rangeDialog_ = nullptr;
    SmartMediaDialog* smartMediaDialog_ = nullptr;
    CommentDialog* commentDialog_ = nullptr;
    CardFileDialog* cardFileDialog_ = nullptr;
    HelpWindow* helpWindow_ = nullptr; // made on first use
};
