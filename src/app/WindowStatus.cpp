#include "app/WindowStatus.h"

#include "app/FileCommands.h"
#include "app/FileDropHandler.h"
#include "app/RecentFilesMenu.h"
#include "session/EvaluationContext.h"
#include "session/WindowTexts.h"
#include "ui/QtText.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

WindowStatus::WindowStatus(QMainWindow& window, QMenu* recentMenu, IniFile& ini, FileDialogs& dialogs,
                           const EvaluationContext& context, FileCommands& files)
    : QObject(&window), window_(window), context_(context), files_(files) {
    recent_ = new RecentFilesMenu(recentMenu, ini, context.texts, this);
    auto* drop = new FileDropHandler(&window, dialogs, context.texts);
    connect(recent_, &RecentFilesMenu::fileChosen, this, &WindowStatus::openRequested);
    connect(drop, &FileDropHandler::fileDropped, this, &WindowStatus::openRequested);
    connect(recent_, &RecentFilesMenu::notWritten, this,
            [this](const QString& message) { files_.TellSettingsNotWritten(message); });

    // The source may be long and gives way; the record counts always show.
    sourceLabel_ = new QLabel(&window);
    sourceLabel_->setObjectName(QStringLiteral("sourceLabel"));
    sourceLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    sourceLabel_->setMinimumWidth(1);
    recordsLabel_ = new QLabel(&window);
    recordsLabel_->setObjectName(QStringLiteral("recordsLabel"));
    window.statusBar()->addWidget(sourceLabel_, 1);
    window.statusBar()->addPermanentWidget(recordsLabel_);

    files.DataFileNamed = [this](const QString& file) { recent_->Add(file); };
    files.DocumentChanged = [this] { Show(); };
}

void WindowStatus::Show() {
    const DataSource& source = files_.Source();
    const bool unsaved = files_.Changes().Any();
    window_.setWindowTitle(ToQString(WindowTitle(source, unsaved, context_.texts)));
    const StatusLine line =
        source.Origin == DataOrigin::None
            ? StatusLine{}
            : StatusLineFor(source, unsaved, CountRecordsInForce(context_.data, context_.view.IntervalFactor),
                            context_.texts);
    sourceLabel_->setText(ToQString(line.Source));
    sourceLabel_->setToolTip(ToQString(line.Source));
    recordsLabel_->setText(ToQString(line.Records));
}

void WindowStatus::ApplyTexts() {
    recent_->Rebuild();
    Show();
}
