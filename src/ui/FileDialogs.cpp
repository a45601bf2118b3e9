#include "ui/FileDialogs.h"

#include "lang/FileFilter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

QStringList DesktopFilters(const QString& pipeFilter) {
    const QString filter = QString::fromStdString(DesktopFileFilter(pipeFilter.toStdString()));
    return filter.isEmpty() ? QStringList() : filter.split(QStringLiteral(";;"));
}

// The extension of the filter entry shown as `nameFilter` in the dialog.
QString ExtensionOfNameFilter(const QString& pipeFilter, const QString& nameFilter) {
    const auto entries = ParseFileFilter(pipeFilter.toStdString());
    const QStringList shown = DesktopFilters(pipeFilter);
    for (int i = 0; i < shown.size() && i < static_cast<int>(entries.size()); ++i)
        if (shown[i] == nameFilter)
            return QString::fromStdString(FirstExtension(entries[static_cast<std::size_t>(i)]));
    return {};
}

} // namespace

QString QtFileDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& pipeFilter) {
    QFileDialog dialog(parent, caption, directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = DesktopFilters(pipeFilter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& pipeFilter, const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, directory);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = DesktopFilters(pipeFilter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    // A picture saved with the bitmap filter chosen and no extension typed becomes a bitmap.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& nameFilter) {
        const QString extension = ExtensionOfNameFilter(pipeFilter, nameFilter);
        dialog.setDefaultSuffix(extension.isEmpty() ? defaultSuffix : extension);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogs::ExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
    return QFileDialog::getExistingDirectory(parent, caption, directory);
}

void QtFileDialogs::ShowMessage(QWidget* parent, MessageKind kind, const QString& title,
                                const QString& text) {
    QMessageBox box(parent);
    box.setIcon(kind == MessageKind::Information ? QMessageBox::Information
                : kind == MessageKind::Warning   ? QMessageBox::Warning
                                                 : QMessageBox::Critical);
    box.setWindowTitle(title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}
