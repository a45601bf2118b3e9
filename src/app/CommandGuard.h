#pragma once
// Runs the main window's commands so that an error they raise is shown in a message box, in the
// words of the language texts, instead of ending the program.

#include <QString>

#include <exception>
#include <functional>

class FileDialogs;
class LanguageTexts;
class QWidget;

class CommandGuard {
public:
    CommandGuard(QWidget& window, FileDialogs& dialogs, const LanguageTexts& texts)
        : window_(window), dialogs_(dialogs), texts_(texts) {}

    // False when the command raised an error (and it was shown).
    bool Run(const std::function<void()>& command) const;
    void ShowError(const std::exception& error) const;
    void ShowWarning(const QString& text) const;

private:
    QWidget& window_;
    FileDialogs& dialogs_;
    const LanguageTexts& texts_;
};
