#pragma once
// Pictures and printouts are drawn with Qt, whose fonts need a GUI application. A batch run has no
// screen: it draws offscreen unless QT_QPA_PLATFORM says otherwise. The session lasts as long as
// this object; when an application exists already it is used.

#include <QGuiApplication>

#include <filesystem>
#include <memory>

class GuiSession {
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

private:
    int argc_ = 1;
    char name_[14] = "korvelan2-cli";
    char* argv_[2] = {name_, nullptr};
    std::filesystem::path privateRuntimeFolder_; // made for this run, removed with the session
    std::unique_ptr<QGuiApplication> application_;
};
