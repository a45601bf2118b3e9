#include "app/FileDropHandler.h"

#include "session/FileDrop.h"
#include "ui/FileDialogs.h"
#include "ui/QtText.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {
QStringList LocalPaths(const QMimeData* mime) {
    QStringList paths;
    if (mime == nullptr || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}
} // namespace

FileDropHandler::FileDropHandler(QWidget* target, FileDialogs& dialogs, const LanguageTexts& texts)
    : QObject(target), target_(target), dialogs_(&dialogs), texts_(texts) {
    target_->setAcceptDrops(true);
    target_->installEventFilter(this);
}

bool FileDropHandler::eventFilter(QObject* watched, QEvent* event) {
    if (watched != target_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (LocalPaths(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = LocalPaths(drop->mimeData());
        if (paths.isEmpty())
            return false;
        drop->acceptProposedAction();
        // After the drop: opening may ask questions or show messages.
        QMetaObject::invokeMethod(
            this, [this, paths] { Drop(paths); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}

void FileDropHandler::Drop(const QStringList& localPaths) {
    std::vector<std::string> paths;
    for (const QString& path : localPaths)
        paths.push_back(path.toStdString());
    const DropDecision decision = DecideDrop(paths);
    if (decision.FileToOpen) {
        emit fileDropped(QString::fromStdString(*decision.FileToOpen));
        return;
    }
    if (const std::string message = DropMessage(decision, texts_); !message.empty())
        dialogs_->ShowMessage(target_, FileDialogs::MessageKind::Information,
                              target_->window()->windowTitle(), ToQString(message));
}
