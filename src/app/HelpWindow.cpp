#include "app/HelpWindow.h"

#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setModal(false);
    resize(760, 640);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    // Links to the web go to the desktop's browser; links inside the manual stay here.
    browser_->setOpenExternalLinks(true);
    browser_->document()->setDocumentMargin(12);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

void HelpWindow::ShowPage(const std::filesystem::path& page, const QString& title) {
    setWindowTitle(title);
    browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(page.string())));
    browser_->setAccessibleName(title);
    show();
    raise();
    activateWindow();
}
