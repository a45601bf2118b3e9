#include "cli/GuiSession.h"

#include <clocale>

GuiSession::GuiSession() {
    if (QCoreApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QGuiApplication>(argc_, argv_);
    // Qt takes the C library's number format from the environment; keep it on the point.
    std::setlocale(LC_NUMERIC, "C");
}

GuiSession::~GuiSession() = default;
