#include "ui/FileDialogs.h"

#include "lang/FileFilter.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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

// Opens in the folder with the name selected.
void StartIn(QFileDialog& dialog, const FileDialogStart& start) {
    if (!start.Folder.isEmpty())
        dialog.setDirectory(start.Folder);
    if (!start.FileName.isEmpty())
        dialog.selectFile(start.FileName);
}

QString RunOpenDialog(QFileDialog& dialog, const QString& pipeFilter) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = DesktopFilters(pipeFilter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString RunSaveDialog(QFileDialog& dialog, const QString& pipeFilter, const QString& defaultSuffix) {
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

} // namespace

QString FileDialogStart::Path() const {
    if (Folder.isEmpty() || FileName.isEmpty())
        return Folder + FileName;
    return Folder.endsWith(QLatin1Char('/')) ? Folder + FileName : Folder + QLatin1Char('/') + FileName;
}

QString QtFileDialogs::OpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& pipeFilter) {
    QFileDialog dialog(parent, caption, directory);
    return RunOpenDialog(dialog, pipeFilter);
}

QString QtFileDialogs::OpenFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                                      const QString& pipeFilter) {
    QFileDialog dialog(parent, caption);
    StartIn(dialog, start);
    return RunOpenDialog(dialog, pipeFilter);
}

QString QtFileDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                    const QString& pipeFilter, const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption, directory);
    return RunSaveDialog(dialog, pipeFilter, defaultSuffix);
}

QString QtFileDialogs::SaveFileNameAt(QWidget* parent, const QString& caption, const FileDialogStart& start,
                                      const QString& pipeFilter, const QString& defaultSuffix) {
    QFileDialog dialog(parent, caption);
    StartIn(dialog, start);
    return RunSaveDialog(dialog, pipeFilter, defaultSuffix);
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

FileDialogs::SaveAnswer QtFileDialogs::AskToSave(QWidget* parent, const SaveQuestion& question) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(question.Title);
    box.setText(question.Text);
    QPushButton* save = box.addButton(question.Save, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(question.Discard, QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(question.Cancel, QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveAnswer::Save;
    if (box.clickedButton() == discard)
        return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}
