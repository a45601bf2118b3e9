#include "app/CommandGuard.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "ui/FileDialogs.h"

#include <QWidget>

bool CommandGuard::Run(const std::function<void()>& command) const {
    try {
        command();
        return true;
    } catch (const CoreError& error) {
        // Errors without a text number are notices, not failures.
        if (error.textNumber() == 0)
            ShowWarning(QString::fromStdString(error.Message(texts_)));
        else
            ShowError(error);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    return false;
}

void CommandGuard::ShowError(const std::exception& error) const {
    const auto* core = dynamic_cast<const CoreError*>(&error);
    const QString text = core != nullptr ? QString::fromStdString(core->Message(texts_))
                                         : QString::fromLocal8Bit(error.what());
    dialogs_.ShowMessage(&window_, FileDialogs::MessageKind::Error, window_.windowTitle(), text);
}

void CommandGuard::ShowWarning(const QString& text) const {
    dialogs_.ShowMessage(&window_, FileDialogs::MessageKind::Warning, window_.windowTitle(), text);
}
