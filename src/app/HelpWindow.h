#pragma once
// The help window: the manual shipped with the program (one HTML page per language, with its
// screenshots beside it) shown in a browser that follows the page's own links.

#include <QDialog>

#include <filesystem>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page at `page` (an HTML file) under `title`, and brings the window to the front.
    void ShowPage(const std::filesystem::path& page, const QString& title);

    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};
