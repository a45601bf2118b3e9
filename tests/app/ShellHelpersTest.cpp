// The window frame's helpers as a user meets them: the recent-files menu, files dropped on the
// window, the question before unsaved data are replaced, dialogs that start where the user last was.

#include "app/FileDialogPlaces.h"
#include "app/FileDropHandler.h"
#include "app/RecentFilesMenu.h"
#include "app/UnsavedChangesPrompt.h"

#include "base/LanguageTexts.h"
#include "lang/LanguageFile.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/SettingsTestFolder.h"
#include "support/FakeDialogs.h"

#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QUrl>
#include <QWidget>
#include <QtTest>

#include <filesystem>
#include <memory>

namespace {

LanguageTexts TextsOf(const char* file) {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/" + file, texts);
    return texts;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* action : menu.actions())
        captions << (action->isSeparator() ? QStringLiteral("--") : action->text());
    return captions;
}

QAction* Entry(const QMenu& menu, int index) {
    return menu.actions().at(index);
}

// A drag over the target as Qt delivers it: the drop goes to the widget that accepted the enter.
bool Drag(QWidget& target, const QList<QUrl>& urls, QEvent::Type type) {
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (type == QEvent::DragEnter || !enter.isAccepted())
        return enter.isAccepted();
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

} // namespace

class ShellHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void recentFilesAreNumberedGreyedWhenGoneAndKept();
    void recentFilesFollowTheLanguage();
    void droppedFilesOpenTheFirstAndFoldersAreRefused();
    void unsavedDataAreSavedDiscardedOrKeptOnRequest();
    void dialogsStartInTheLastFolderOfTheirKindWithAProposedName();
};

void ShellHelpersTest::recentFilesAreNumberedGreyedWhenGoneAndKept() {
    SettingsTestFolder folder("recent-menu");
    folder.Write("a.lng", "x");
    folder.Write("b & c.sht", "x");
    const LanguageTexts texts = TextsOf("deutsch.cty");
    IniFile ini(folder.File("korvelan2.ini"));
    QMenu menu;
    RecentFilesMenu recent(&menu, ini, texts);
    QCOMPARE(menu.title(), QStringLiteral("Zuletzt geöffnet"));
    QCOMPARE(Captions(menu), QStringList({"(keine)", "--", "Nicht vorhandene entfernen", "Liste leeren"}));
    QVERIFY(!Entry(menu, 0)->isEnabled());
    QVERIFY(!Entry(menu, 2)->isEnabled());
    QVERIFY(!Entry(menu, 3)->isEnabled());

    recent.Add(Q(folder.File("gone.lng")));
    recent.Add(Q(folder.File("a.lng")));
    recent.Add(Q(folder.File("b & c.sht")));
    const QString where = QStringLiteral("  (") + Q(folder.File("")).chopped(1) + QStringLiteral(")");
    QCOMPARE(Captions(menu), QStringList({"&1 b && c.sht" + where, "&2 a.lng" + where, "&3 gone.lng" + where,
                                          "--", "Nicht vorhandene entfernen", "Liste leeren"}));
    QVERIFY(Entry(menu, 0)->isEnabled());
    QVERIFY2(!Entry(menu, 2)->isEnabled(), "a file that is gone is greyed");
    QCOMPARE(Entry(menu, 2)->toolTip(), Q(folder.File("gone.lng")) + " ist nicht mehr vorhanden.");
    QVERIFY(Entry(menu, 4)->isEnabled());

    QSignalSpy chosen(&recent, &RecentFilesMenu::fileChosen);
    Entry(menu, 1)->trigger();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).toString(), Q(folder.File("a.lng")));

    // Kept in the settings file at once: a new menu over the file shows the same list.
    {
        IniFile again(folder.File("korvelan2.ini"));
        QMenu other;
        RecentFilesMenu reread(&other, again, texts);
        QCOMPARE(reread.Files().Paths().size(), std::size_t{3});
        QCOMPARE(Captions(other), Captions(menu));
    }

    // A file deleted while the program runs is greyed when the menu opens next.
    std::filesystem::remove(folder.File("a.lng"));
    emit menu.aboutToShow();
    QVERIFY(!Entry(menu, 1)->isEnabled());

    Entry(menu, 4)->trigger(); // "Nicht vorhandene entfernen"
    QVERIFY(recent.Files().Paths() == std::vector<std::string>{folder.File("b & c.sht")});
    QCOMPARE(Captions(menu).size(), 4);
    QVERIFY2(!Entry(menu, 2)->isEnabled(), "nothing left to remove");
    QVERIFY(folder.Read("korvelan2.ini").find("File1=" + folder.File("b & c.sht")) != std::string::npos);

    Entry(menu, 3)->trigger(); // "Liste leeren"
    QVERIFY(recent.Files().Empty());
    QCOMPARE(Captions(menu).at(0), QStringLiteral("(keine)"));
    QVERIFY(folder.Read("korvelan2.ini").find("RecentFiles") == std::string::npos);
}

void ShellHelpersTest::recentFilesFollowTheLanguage() {
    SettingsTestFolder folder("recent-language");
    folder.Write("korvelan2.ini", "[RecentFiles]\nFile1=/nirgends/x.lng\n");
    LanguageTexts texts = TextsOf("deutsch.cty");
    IniFile ini(folder.File("korvelan2.ini"));
    QMenu menu;
    RecentFilesMenu recent(&menu, ini, texts);
    QCOMPARE(Entry(menu, 2)->text(), QStringLiteral("Nicht vorhandene entfernen"));

    // The window fills its texts anew in place, then has the menu take them.
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/english.cty", texts);
    recent.Rebuild();
    QCOMPARE(menu.title(), QStringLiteral("Recent files"));
    QCOMPARE(Captions(menu),
             QStringList({"&1 x.lng  (/nirgends)", "--", "Remove missing files", "Clear list"}));

    // A settings file that cannot be written is reported; the menu keeps the list in memory.
    std::filesystem::remove(folder.File("korvelan2.ini"));
    std::filesystem::create_directories(folder.File("korvelan2.ini"));
    QSignalSpy notWritten(&recent, &RecentFilesMenu::notWritten);
    recent.Add(QStringLiteral("/nirgends/y.lng"));
    QCOMPARE(notWritten.size(), 1);
    QVERIFY(notWritten.at(0).at(0).toString().contains(Q(folder.File("korvelan2.ini"))));
    QCOMPARE(recent.Files().Paths().front(), std::string("/nirgends/y.lng"));
}

void ShellHelpersTest::droppedFilesOpenTheFirstAndFoldersAreRefused() {
    SettingsTestFolder folder("drop");
    folder.Write("first.lng", "x");
    folder.Write("second.lng", "x");
    std::filesystem::create_directories(folder.File("ordner"));
    const LanguageTexts texts = TextsOf("deutsch.cty");
    FakeDialogs dialogs;
    QWidget window;
    auto* handler = new FileDropHandler(&window, dialogs, texts);
    QVERIFY(window.acceptDrops());
    QSignalSpy dropped(handler, &FileDropHandler::fileDropped);

    const QUrl first = QUrl::fromLocalFile(Q(folder.File("first.lng")));
    const QUrl second = QUrl::fromLocalFile(Q(folder.File("second.lng")));
    const QUrl subfolder = QUrl::fromLocalFile(Q(folder.File("ordner")));
    const QUrl web(QStringLiteral("https://example.org/messung.lng"));

    QVERIFY(Drag(window, {first}, QEvent::DragEnter));
    QVERIFY2(!Drag(window, {web}, QEvent::DragEnter), "only local files can be opened");
    QVERIFY(!Drag(window, {web}, QEvent::Drop));

    // Of several files the first is opened, after the drop has finished.
    QVERIFY(Drag(window, {web, subfolder, first, second}, QEvent::Drop));
    QCOMPARE(dropped.size(), 0);
    QTRY_COMPARE(dropped.size(), 1);
    QCOMPARE(dropped.at(0).at(0).toString(), Q(folder.File("first.lng")));

    // Dropped on the read-only list inside the window, the window takes the file.
    auto* list = new QPlainTextEdit(&window);
    list->setReadOnly(true);
    QVERIFY(Drag(*list, {second}, QEvent::Drop));
    QTRY_COMPARE(dropped.size(), 2);
    QCOMPARE(dropped.at(1).at(0).toString(), Q(folder.File("second.lng")));

    // Folders alone are refused with a message.
    QVERIFY(Drag(window, {subfolder}, QEvent::Drop));
    QTRY_COMPARE(dialogs.Messages.size(), 1);
    QCOMPARE(dialogs.Messages.at(0), "Ordner werden nicht geöffnet: " + Q(folder.File("ordner")));
    QCOMPARE(dropped.size(), 2);
}

void ShellHelpersTest::unsavedDataAreSavedDiscardedOrKeptOnRequest() {
    const LanguageTexts texts = TextsOf("deutsch.cty");
    FakeDialogs dialogs;
    const UnsavedChangesPrompt prompt(dialogs, texts);
    auto data = std::make_unique<MeasurementData>();
    data->DataMode = DataMode::SingleVehicle;
    QList<FittingSave> saves;
    bool saveWrites = true;
    const auto save = [&](const FittingSave& fitting) {
        saves << fitting;
        return saveWrites;
    };

    // Nothing to lose: no question.
    UnsavedChanges changes;
    QVERIFY(prompt.MayReplaceData(nullptr, changes, *data, save));
    QVERIFY(dialogs.SaveQuestions.isEmpty());

    // Card data and vehicles removed by the filter; "Abbrechen" (or closing the box) keeps them.
    changes.ReadFromCard();
    changes.WorkingSetIs(5, 10);
    QVERIFY(!prompt.MayReplaceData(nullptr, changes, *data, save));
    QCOMPARE(dialogs.SaveQuestions.size(), 1);
    const SaveQuestion& asked = dialogs.SaveQuestions.at(0);
    QCOMPARE(asked.Title, QStringLiteral("Nicht gespeicherte Daten"));
    QVERIFY(asked.Text.startsWith(QStringLiteral("Die von der Karte gelesenen Daten")));
    QCOMPARE(QStringList({asked.Save, asked.Discard, asked.Cancel}),
             QStringList({"Speichern", "Verwerfen", "Abbrechen"}));

    // "Speichern" whose save dialog was cancelled: nothing is replaced, nothing counts as saved.
    dialogs.SaveQuestionAnswers = {FileDialogs::SaveAnswer::Save};
    saveWrites = false;
    QVERIFY(!prompt.MayReplaceData(nullptr, changes, *data, save));
    QVERIFY(changes.Pending().Save == PendingSave::AllData);

    // "Speichern" twice: all data first, then the filtered working set.
    dialogs.SaveQuestions.clear();
    saves.clear();
    saveWrites = true;
    dialogs.SaveQuestionAnswers = {FileDialogs::SaveAnswer::Save, FileDialogs::SaveAnswer::Save};
    QVERIFY(prompt.MayReplaceData(nullptr, changes, *data, save));
    QVERIFY(saves == (QList<FittingSave>{{View::VehicleList, SaveScope::All, "lng"},
                                         {View::VehicleList, SaveScope::Filtered, "lng"}}));
    QCOMPARE(dialogs.SaveQuestions.size(), 2);
    QVERIFY(dialogs.SaveQuestions.at(1).Text.startsWith(
        QStringLiteral("Der Datenfilter hat Fahrzeuge entfernt")));
    QVERIFY(!changes.Any());

    // "Verwerfen": go on without saving.
    changes.Imported();
    saves.clear();
    dialogs.SaveQuestionAnswers = {FileDialogs::SaveAnswer::Discard};
    QVERIFY(prompt.MayReplaceData(nullptr, changes, *data, save));
    QVERIFY(saves.isEmpty());
}

void ShellHelpersTest::dialogsStartInTheLastFolderOfTheirKindWithAProposedName() {
    SettingsTestFolder folder("places");
    std::filesystem::create_directories(folder.File("exporte"));
    Settings settings;
    settings.DataPath = folder.Folder();
    settings.CardPath = "/karte/";
    IniFile ini(folder.File("korvelan2.ini"));
    FakeDialogs dialogs;
    FileDialogPlaces places(dialogs, ini, settings);

    dialogs.SaveAnswers = {Q(folder.File("exporte/messung.asc"))};
    QCOMPARE(
        places.SaveFile(nullptr, FileKind::Export, "Export", "ASCII (*.asc)|*.asc", "asc", "/m/messung.lng"),
        Q(folder.File("exporte/messung.asc")));
    QCOMPARE(dialogs.Starts.at(0).Folder, Q(folder.Folder()));
    QCOMPARE(dialogs.Starts.at(0).FileName, QStringLiteral("messung.asc"));

    // The next export starts where the last one went; other kinds are not moved by it.
    places.SaveFile(nullptr, FileKind::Export, "Export", "CSV (*.csv)|*.csv", "csv", "/m/messung.lng");
    QCOMPARE(dialogs.Starts.at(1).Folder, Q(folder.File("exporte/")));
    QCOMPARE(dialogs.Starts.at(1).FileName, QStringLiteral("messung.csv"));
    places.OpenFile(nullptr, FileKind::CardFile, "Karte", "Karten (*.txt)|*.txt");
    QCOMPARE(dialogs.Starts.at(2).Folder, QStringLiteral("/karte/"));
    QVERIFY(dialogs.Starts.at(2).FileName.isEmpty());
    QVERIFY(!places.TakeRememberError());

    // A cancelled dialog remembers nothing.
    places.SaveFile(nullptr, FileKind::Pdf, "PDF", "PDF (*.pdf)|*.pdf", "pdf", "");
    QVERIFY(folder.Read("korvelan2.ini").find("Pdf=") == std::string::npos);
    QVERIFY2(dialogs.Starts.at(3).FileName.isEmpty(), "no data file, no name to propose");
}

QTEST_MAIN(ShellHelpersTest)
#include "ShellHelpersTest.moc"
