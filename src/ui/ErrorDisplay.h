#pragma once
// How a window tells the user that something failed: a warning box with the window's title, shown
// through the file and message dialog seam so that tests read the message instead of a real box.

#include "ui/FileDialogs.h"

#include <exception>

class LanguageTexts;
class QWidget;

class ErrorDisplay {
public:
    // Shows its messages over owner, in real message boxes until UseDialogs.
    explicit ErrorDisplay(QWidget* owner);
    ErrorDisplay(const ErrorDisplay&) = delete;
    ErrorDisplay& operator=(const ErrorDisplay&) = delete;

    // The dialogs the program (or a test) shows its messages with; they must outlive this.
    void UseDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

    void ShowError(const QString& message) const;
    // A core error in the language of the texts, any other by its own text.
    void ShowError(const std::exception& error, const LanguageTexts& texts) const;
    void ShowInformation(const QString& message) const;

private:
    QWidget* owner_;
    QtFileDialogs desktopDialogs_;
    FileDialogs* dialogs_ = &desktopDialogs_;
};
