// The main window's frame as a user meets it: files dropped on the window, the recent files menu,
// the title and status line, the question before unsaved data are replaced and "Vergleich…". The
// file dialogs and questions are answered by the test.

#include "../cards/CardTestFiles.h"
#include "app/CommentDialog.h"
#include "app/MainWindow.h"
#include "charts/ComparisonView.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilterDialog.h"
#include "evaluation/TimeRangeDialog.h"
#include "settings/IniFile.h"
#include "settings/RecentFiles.h"
#include "support/FakeDialogs.h"
#include "support/WindowControls.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr int VehicleCount = 180; // one a minute from 07:00 for three hours

std::vector<VehicleRecord> Vehicles(int speedBase) {
    std::vector<VehicleRecord> vehicles;
    const double start = *TryEncodeDateTime(2026, 3, 9, 7, 0, 0);
    for (int n = 1; n <= VehicleCount; ++n) {
        VehicleRecord v{};
        v.Time = IncMinute(start, n - 1) + 20.0 / 86400.0;
        v.Speed = static_cast<std::uint8_t>(speedBase + (n * 7) % 35);
        v.Length = static_cast<std::uint8_t>(3 + n % 6);
        v.Direction = n % 3 == 0 ? '2' : '1';
        vehicles.push_back(v);
    }
    return vehicles;
}

int FastVehicles() {
    int fast = 0;
    for (const VehicleRecord& v : Vehicles(38))
        fast += v.Speed > 60 ? 1 : 0;
    return fast;
}

// Drags `paths` over the middle of the window and drops them there, as Qt delivers a drop from a
// file manager: to the control under the mouse, on to its parents while none takes it. The window
// acts once the drop is over.
void Drop(QWidget& window, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    mime.setUrls(urls);
    QWidget* target = window.childAt(window.rect().center());
    QVERIFY(target != nullptr);
    const QPoint at = target->mapFrom(&window, window.rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
}

// The entries of the recent files menu: the files it lists, as paths.
QStringList RecentEntries(QMenu* menu) {
    emit menu->aboutToShow(); // as when the user opens it
    QStringList paths;
    for (const QAction* action : menu->actions())
        if (!action->data().toString().isEmpty())
            paths << action->data().toString();
    return paths;
}

QAction* RecentEntry(QMenu* menu, const QString& path) {
    for (QAction* action : menu->actions())
        if (action->data().toString() == path)
            return action;
    return nullptr;
}

} // namespace

class WindowShellTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    FakeDialogs dialogs_;
    std::unique_ptr<MainWindow> main_;
    QString vehicleFile_;
    QString intervalFile_;
    QString peloFile_;

    fs::path Folder() const { return fs::path(folder_->path().toStdString()); }
    QString PathOf(const char* name) const { return folder_->filePath(QString::fromLatin1(name)); }
    fs::path SettingsFile() const { return Folder() / "korvelan2.ini"; }

    std::unique_ptr<MainWindow> NewMain() {
        MainWindowOptions options;
        options.ProgramDirectory = Folder();
        options.SettingsFile = SettingsFile();
        options.Dialogs = &dialogs_;
        auto main = std::make_unique<MainWindow>(options);
        main->resize(1000, 800);
        main->show();
        QCoreApplication::processEvents();
        return main;
    }

    void Open(const QString& file) {
        dialogs_.OpenAnswers << file;
        main_->LoadDataFile();
    }

    void Import() {
        dialogs_.OpenAnswers << peloFile_;
        main_->ImportPeloData();
        QCOMPARE(main_->Data().DataMode, DataMode::Imported);
    }

    QString Title() const { return main_->windowTitle(); }
    QString SourceLine() const { return Control<QLabel>(main_.get(), "sourceLabel")->text(); }
    QString RecordsLine() const { return Control<QLabel>(main_.get(), "recordsLabel")->text(); }
    QMenu* RecentMenu() const { return Control<QMenu>(main_.get(), "recentMenu"); }

    // Marks the vehicles faster than 60 km/h in the record filter and removes them.
    void RemoveFastVehicles() {
        Control<QToolButton>(main_.get(), "filterButton")->click();
        auto* filter = Control<RecordFilterDialog>(main_.get());
        filter->speedComparison->setCurrentIndex(filter->speedComparison->findText(QStringLiteral(">")));
        filter->speedValue->setText(QStringLiteral("60"));
        filter->MarkClick();
        filter->EraseMarkedClick();
        filter->hide();
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount - FastVehicles());
    }

    // The interval list cut to its records 3..10 (07:10 to 07:50) with the time range.
    void SetTimeRange() {
        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        Control<QToolButton>(main_.get(), "filterButton")->click();
        auto* list = Control<QPlainTextEdit>(main_.get(), "listView");
        auto* range = Control<TimeRangeDialog>(main_.get());
        list->setTextCursor(QTextCursor(list->document()->findBlockByNumber(4)));
        range->StartLabelClick();
        list->setTextCursor(QTextCursor(list->document()->findBlockByNumber(11)));
        range->StopLabelClick();
        range->ApplyRange();
        range->hide();
        QCOMPARE(main_->Data().WorkIntervalCount, 8);
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        for (const char* name : {"deutsch.cty", "english.cty", "francais.cty"})
            fs::copy_file(fs::path(KORVELAN_RESOURCES) / name, Folder() / name);
        std::ofstream(SettingsFile(), std::ios::binary) << "[Diagram]\r\nPelo=yes\r\n";
        dialogs_ = FakeDialogs();

        vehicleFile_ = PathOf("week.lng");
        WriteVehicleFile(vehicleFile_.toStdString(), "Hauptstraße", Vehicles(38));
        auto data = std::make_unique<MeasurementData>();
        LoadDataFile(vehicleFile_.toStdString(), *data);
        BuildFiveMinuteIntervals(*data, LengthThresholds{});
        QCOMPARE(data->IntervalCount, 36);
        intervalFile_ = PathOf("week.sht");
        WriteIntervalFile(intervalFile_.toStdString(), "Intervalle",
                          std::span<const IntervalRecord>(data->Intervals.data(), data->IntervalCount));
        peloFile_ = PathOf("zaehlung.pel");
        std::ofstream(peloFile_.toStdString(), std::ios::binary)
            << PeloHeader("QT", 1, 1) + " 10  20  30\r\n";

        main_ = NewMain();
        QVERIFY(main_->StartedOk());
    }

    void cleanup() {
        main_.reset();
        folder_.reset();
    }

    void droppedFilesOpenAsOeffnenOpensThem() {
        // Of several files the first is opened.
        Drop(*main_, {intervalFile_, vehicleFile_});
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        QCOMPARE(Title(), QStringLiteral("week.sht – Korvelan II"));

        // A file that is no data file gets the message "Öffnen" gives; the measurement stays.
        const QString notes = PathOf("notizen.txt");
        std::ofstream(notes.toStdString()) << "keine Messung\n";
        Open(notes);
        QCOMPARE(dialogs_.Messages.size(), 1);
        Drop(*main_, {notes});
        QCOMPARE(dialogs_.Messages.size(), 2);
        QCOMPARE(dialogs_.Messages.at(1), dialogs_.Messages.at(0));
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);
        QCOMPARE(Title(), QStringLiteral("week.sht – Korvelan II"));

        // Folders are never opened: alone they are named in a message, beside a file it opens.
        fs::create_directory(Folder() / "archiv");
        Drop(*main_, {PathOf("archiv")});
        QCOMPARE(dialogs_.Messages.size(), 3);
        QVERIFY(dialogs_.Messages.at(2).contains(QStringLiteral("archiv")));
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        Drop(*main_, {PathOf("archiv"), vehicleFile_});
        QCOMPARE(main_->CurrentView(), View::VehicleList);
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount);
        QCOMPARE(dialogs_.Messages.size(), 3);

        // A drop asks before it replaces unsaved data, as "Öffnen" does.
        Import();
        Drop(*main_, {vehicleFile_});
        QCOMPARE(dialogs_.SaveQuestions.size(), 1);
        QCOMPARE(main_->Data().DataMode, DataMode::Imported);
    }

    void recentFilesListOpenedFilesAndOpenThem() {
        const QMenu* fileMenu = Control<QMenu>(main_.get(), "fileMenu");
        const int open =
            static_cast<int>(fileMenu->actions().indexOf(Control<QAction>(main_.get(), "openAction")));
        QCOMPARE(fileMenu->actions().value(open + 1), RecentMenu()->menuAction());
        QVERIFY(RecentEntries(RecentMenu()).isEmpty());

        Open(vehicleFile_);
        Open(intervalFile_);
        QCOMPARE(RecentEntries(RecentMenu()), (QStringList{intervalFile_, vehicleFile_}));
        QVERIFY(RecentEntry(RecentMenu(), vehicleFile_)->text().startsWith(QStringLiteral("&2 week.lng")));
        // Kept in the settings file at once.
        QCOMPARE(ReadRecentFiles(IniFile(SettingsFile().string())).Paths(),
                 (std::vector<std::string>{intervalFile_.toStdString(), vehicleFile_.toStdString()}));

        // Choosing an entry opens it, and it moves to the top.
        RecentEntry(RecentMenu(), vehicleFile_)->trigger();
        QCOMPARE(main_->CurrentView(), View::VehicleList);
        QCOMPARE(Title(), QStringLiteral("week.lng – Korvelan II"));
        QCOMPARE(RecentEntries(RecentMenu()), (QStringList{vehicleFile_, intervalFile_}));

        // A file that went is greyed, and can be removed from the list.
        fs::rename(intervalFile_.toStdString(), (Folder() / "verschoben.sht").string());
        RecentEntries(RecentMenu());
        QVERIFY(!RecentEntry(RecentMenu(), intervalFile_)->isEnabled());
        QVERIFY(RecentEntry(RecentMenu(), vehicleFile_)->isEnabled());

        // The next start lists them again.
        main_.reset();
        main_ = NewMain();
        QCOMPARE(RecentEntries(RecentMenu()), (QStringList{vehicleFile_, intervalFile_}));
        Control<QAction>(main_.get(), "removeMissingRecentFiles")->trigger();
        QCOMPARE(RecentEntries(RecentMenu()), QStringList{vehicleFile_});

        // The menu speaks the language chosen.
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(RecentMenu()->title().remove(QLatin1Char('&')), QStringLiteral("Recent files"));
    }

    void titleAndStatusLineTellSourceCountsAndUnsavedData() {
        QCOMPARE(Title(), QStringLiteral("Korvelan II"));
        Open(vehicleFile_);
        QCOMPARE(Title(), QStringLiteral("week.lng – Korvelan II"));
        QCOMPARE(SourceLine(), vehicleFile_);
        QCOMPARE(RecordsLine(), QStringLiteral("180 Fahrzeuge"));

        // A time range: the vehicles in it, and nothing unsaved.
        SetTimeRange();
        QCOMPARE(RecordsLine(), QStringLiteral("40 von 180 Fahrzeugen"));
        QCOMPARE(Title(), QStringLiteral("week.lng – Korvelan II"));
        main_->ChooseIntervalLength(12); // joins the whole measurement again: no range
        QCOMPARE(RecordsLine(), QStringLiteral("180 Fahrzeuge"));

        // The filter removed vehicles: the working set, marked unsaved.
        Control<QToolButton>(main_.get(), "vehicleListButton")->click();
        RemoveFastVehicles();
        QCOMPARE(RecordsLine(), QString("%1 von 180 Fahrzeugen").arg(VehicleCount - FastVehicles()));
        QCOMPARE(Title(), QStringLiteral("*week.lng – Korvelan II"));
        QCOMPARE(SourceLine(), vehicleFile_ + QStringLiteral(" (nicht gespeichert)"));
        main_->LoadLanguageFile("english.cty"); // the status line speaks the language chosen
        QCOMPARE(RecordsLine(), QString("%1 of 180 vehicles").arg(VehicleCount - FastVehicles()));
        QCOMPARE(SourceLine(), vehicleFile_ + QStringLiteral(" (not saved)"));
        main_->LoadLanguageFile("deutsch.cty");

        // Imported data: the file they came from, unsaved, in 5-minute intervals.
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard;
        Import();
        QCOMPARE(Title(), QStringLiteral("*zaehlung.pel – Korvelan II"));
        QCOMPARE(SourceLine(),
                 QStringLiteral("importiert aus ") + peloFile_ + QStringLiteral(" (nicht gespeichert)"));
        QCOMPARE(RecordsLine(), QStringLiteral("3 Intervalle zu 5 Minuten"));

        // A comment that reads differently is unsaved; one that reads the same is not.
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard;
        Open(vehicleFile_);
        QCOMPARE(Title(), QStringLiteral("week.lng – Korvelan II"));
        const auto editComment = [this](const QString& text) {
            QTimer::singleShot(0, main_.get(), [this, text] {
                auto* dialog = Control<CommentDialog>(main_.get());
                dialog->commentEdit->setText(text);
                dialog->okButton->click();
            });
            main_->EditComment();
        };
        editComment(QStringLiteral("Hauptstraße"));
        QCOMPARE(Title(), QStringLiteral("week.lng – Korvelan II"));
        editComment(QStringLiteral("Hauptstraße, vor der Schule"));
        QCOMPARE(Title(), QStringLiteral("*week.lng – Korvelan II"));

        // Saved whole in a new file: that file is the measurement's, and nothing is unsaved.
        dialogs_.SaveAnswers << PathOf("schule.lng");
        main_->SaveAllData();
        QCOMPARE(Title(), QStringLiteral("schule.lng – Korvelan II"));
        QCOMPARE(SourceLine(), PathOf("schule.lng"));
        QCOMPARE(RecentEntries(RecentMenu()).value(0), PathOf("schule.lng"));
        // A part of it saved (the time range) leaves the file as it was.
        SetTimeRange();
        dialogs_.SaveAnswers << PathOf("teil.sht");
        main_->SaveFilteredData();
        QVERIFY(fs::exists(Folder() / "teil.sht"));
        QCOMPARE(Title(), QStringLiteral("schule.lng – Korvelan II"));
        QCOMPARE(RecentEntries(RecentMenu()).value(0), PathOf("schule.lng"));
    }

    void unsavedDataAreAskedAboutBeforeTheyAreReplaced() {
        // Cancel: the imported data stay, and no file dialog opened.
        Import();
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Cancel;
        Open(vehicleFile_);
        QCOMPARE(dialogs_.SaveQuestions.size(), 1);
        QCOMPARE(dialogs_.SaveQuestions.at(0).Text.left(30),
                 QStringLiteral("Die importierten Daten sind no"));
        QCOMPARE(main_->Data().DataMode, DataMode::Imported);
        QCOMPARE(dialogs_.OpenAnswers.size(), 1);
        dialogs_.OpenAnswers.clear();

        // Discard: the file is loaded.
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard;
        Open(vehicleFile_);
        QCOMPARE(main_->Data().DataMode, DataMode::SingleVehicle);

        // Save after an import: all the data as an interval file, proposed under the import's name;
        // it is then the measurement's file and a recent one.
        Import();
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Save;
        dialogs_.SaveAnswers << PathOf("gerettet.sht");
        Open(vehicleFile_);
        QCOMPARE(dialogs_.Starts.at(dialogs_.Starts.size() - 2).FileName, QStringLiteral("zaehlung.sht"));
        MeasurementData saved;
        LoadDataFile(PathOf("gerettet.sht").toStdString(), saved);
        QCOMPARE(saved.IntervalCount, 3);
        QCOMPARE(main_->Data().DataMode, DataMode::SingleVehicle);
        QVERIFY(RecentEntries(RecentMenu()).contains(PathOf("gerettet.sht")));

        // Save after the filter removed vehicles: the working data as a vehicle file.
        RemoveFastVehicles();
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Save;
        dialogs_.SaveAnswers << PathOf("gefiltert.lng");
        Open(intervalFile_);
        QVERIFY(dialogs_.SaveQuestions.last().Text.startsWith(QStringLiteral("Der Datenfilter hat")));
        LoadDataFile(PathOf("gefiltert.lng").toStdString(), saved);
        QCOMPARE(saved.LoadedCount, VehicleCount - FastVehicles());
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);

        // A save dialog that is cancelled keeps the data.
        Import();
        const auto asked = dialogs_.SaveQuestions.size();
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Save;
        Open(vehicleFile_);
        QCOMPARE(dialogs_.SaveQuestions.size(), asked + 1);
        QCOMPARE(main_->Data().DataMode, DataMode::Imported);
    }

    void aTimeRangeAloneNeverAsks() {
        Open(vehicleFile_);
        SetTimeRange();
        Open(intervalFile_);
        QVERIFY(dialogs_.SaveQuestions.isEmpty());
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);
        QVERIFY(main_->close());
        QVERIFY(dialogs_.SaveQuestions.isEmpty());
    }

    void closingAsksWhileDataAreUnsaved() {
        Import();
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Cancel;
        QVERIFY(!main_->close());
        QVERIFY(main_->isVisible());
        QCOMPARE(dialogs_.SaveQuestions.size(), 1);
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard;
        QVERIFY(main_->close());
        QCOMPARE(dialogs_.SaveQuestions.size(), 2);
    }

    void dialogsStartInTheFolderLastUsedForTheirKind() {
        const std::string dataFolder = Folder().string() + "/";
        fs::create_directories(Folder() / "messungen");
        fs::create_directories(Folder() / "exporte");
        const QString measured = PathOf("messungen/mai.lng");
        fs::copy_file(vehicleFile_.toStdString(), measured.toStdString());

        Open(measured);
        QCOMPARE(dialogs_.Starts.at(0).Folder.toStdString(), dataFolder);
        dialogs_.OpenAnswers << peloFile_;
        main_->ImportPeloData(); // a kind of its own: still the data folder
        QCOMPARE(dialogs_.Starts.at(1).Folder.toStdString(), dataFolder);
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard;
        Open(measured);
        QCOMPARE(dialogs_.Starts.at(2).Folder.toStdString(), dataFolder + "messungen/");

        // A save proposes the data file's name with its own extension.
        dialogs_.SaveAnswers << PathOf("exporte/mai.asc");
        main_->ExportAscii();
        QCOMPARE(dialogs_.Starts.at(3).Folder.toStdString(), dataFolder);
        QCOMPARE(dialogs_.Starts.at(3).FileName, QStringLiteral("mai.asc"));
        QVERIFY(fs::exists(Folder() / "exporte" / "mai.asc"));
        dialogs_.SaveAnswers << PathOf("exporte/mai.csv");
        main_->ExportCsv();
        QCOMPARE(dialogs_.Starts.at(4).Folder.toStdString(), dataFolder + "exporte/");
        QCOMPARE(dialogs_.Starts.at(4).FileName, QStringLiteral("mai.csv"));
        main_->SaveAllData(); // cancelled
        QCOMPARE(dialogs_.Starts.at(5).Folder.toStdString(), dataFolder + "messungen/");
        QCOMPARE(dialogs_.Starts.at(5).FileName, QStringLiteral("mai.lng"));

        // The folders are kept for the next start.
        main_.reset();
        main_ = NewMain();
        main_->LoadDataFile();
        QCOMPARE(dialogs_.Starts.last().Folder.toStdString(), dataFolder + "messungen/");
    }

    void aSettingsFileThatCannotBeWrittenIsToldOnce() {
        // The settings live in a folder that becomes a plain file after the start.
        main_.reset();
        fs::create_directories(Folder() / "conf");
        fs::copy_file(SettingsFile(), Folder() / "conf" / "korvelan2.ini");
        MainWindowOptions options;
        options.ProgramDirectory = Folder();
        options.SettingsFile = Folder() / "conf" / "korvelan2.ini";
        options.Dialogs = &dialogs_;
        main_ = std::make_unique<MainWindow>(options);
        fs::remove_all(Folder() / "conf");
        std::ofstream(Folder() / "conf") << "no folder";

        Open(vehicleFile_);
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount);
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages.at(0).contains(QStringLiteral("korvelan2.ini")));
        QCOMPARE(RecentEntries(RecentMenu()), QStringList{vehicleFile_}); // for this session
        Open(intervalFile_);
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);
        QCOMPARE(dialogs_.Messages.size(), 1);
    }

    void comparisonOpensFromTheFileMenu() {
        QAction* compare = Control<QAction>(main_.get(), "compareAction");
        QCOMPARE(compare->text().remove(QLatin1Char('&')), QStringLiteral("Vergleich…"));
        QVERIFY(!compare->isEnabled());
        Open(vehicleFile_);
        QVERIFY(compare->isEnabled());

        const QString after = PathOf("nachher.lng");
        WriteVehicleFile(after.toStdString(), "Hauptstraße nachher", Vehicles(30));
        dialogs_.OpenAnswers << after;
        QTimer::singleShot(0, main_.get(), [this] {
            auto* sides = Control<ComparisonSidesDialog>(main_.get());
            sides->loadedBeforeButton->setChecked(true);
            sides->accept();
        });
        compare->trigger();
        auto* view = Control<ComparisonView>(main_.get());
        QVERIFY(view->isVisible());
        const QString table = view->tableView->toPlainText();
        QVERIFY(table.contains(QStringLiteral("week.lng")) && table.contains(QStringLiteral("nachher.lng")));
        QVERIFY(table.indexOf(QStringLiteral("week.lng")) < table.indexOf(QStringLiteral("nachher.lng")));
        // The loaded measurement is as it was.
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount);
        QCOMPARE(Title(), QStringLiteral("week.lng – Korvelan II"));
        view->close();
    }
};

QTEST_MAIN(WindowShellTest)
#include "WindowShellTest.moc"
