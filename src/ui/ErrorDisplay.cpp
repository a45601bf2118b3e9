#include "ui/ErrorDisplay.h"

#include "base/CoreError.h"
#include "ui/QtText.h"

#include <QWidget>

ErrorDisplay::ErrorDisplay(QWidget* owner) : owner_(owner) {}

void ErrorDisplay::ShowError(const QString& message) const {
    dialogs_->ShowMessage(owner_, FileDialogs::MessageKind::Warning, owner_->windowTitle(), message);
}

void ErrorDisplay::ShowError(const std::exception& error, const LanguageTexts& texts) const {
    ShowError(ToQString(MessageOf(error, texts)));
}

void ErrorDisplay::ShowInformation(const QString& message) const {
    dialogs_->ShowMessage(owner_, FileDialogs::MessageKind::Information, owner_->windowTitle(), message);
}
