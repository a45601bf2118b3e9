// The main window driven as a user drives it: files are opened and saved through a fake dialog
// seam, views are switched with their buttons, the list is paged and marked, the filter, time
// range and settings dialogs act on the window's data.

#include "app/MainWindow.h"
#include "../evaluation/CsvReadBack.h"
#include "app/AboutDialog.h"
#include "app/CommentDialog.h"
#include "app/Pictures.h"
#include "base/Cp1252.h"
#include "charts/ChartPanel.h"
#include "charts/ChartWidget.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "data/Sha256.h"
#include "evaluation/IntervalList.h"
#include "evaluation/RecordFilterDialog.h"
#include "evaluation/Summary.h"
#include "evaluation/TimeRangeDialog.h"
#include "lang/LanguageFile.h"
#include "settings/SettingsDialog.h"
#include "support/FakeDialogs.h"
#include "ui/FileDialogs.h"

#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>

namespace fs = std::filesystem;

namespace {

constexpr int VehicleCount = 180; // one vehicle a minute from 07:00 for three hours

int SpeedOf(int n) {
    return 38 + (n * 7) % 35;
}
int LengthOf(int n) {
    return n % 15 == 0 ? 13 : n % 10 == 0 ? 9 : 3 + n % 6;
}

std::vector<VehicleRecord> TestVehicles() {
    std::vector<VehicleRecord> vehicles;
    const double start = *TryEncodeDateTime(2026, 3, 9, 7, 0, 0);
    for (int n = 1; n <= VehicleCount; ++n) {
        VehicleRecord v{};
        v.Time = IncMinute(start, n - 1) + 20.0 / 86400.0;
        v.Speed = static_cast<std::uint8_t>(SpeedOf(n));
        v.Length = static_cast<std::uint8_t>(LengthOf(n));
        v.Direction = n % 3 == 0 ? '2' : '1';
        vehicles.push_back(v);
    }
    return vehicles;
}

QString LineOf(QPlainTextEdit* memo, int line) {
    return memo->document()->findBlockByNumber(line).text();
}

QImage IconImage(const QIcon& icon) {
    return icon.pixmap(QSize(24, 24), 1.0).toImage();
}

std::string FileBytes(const QString& file) {
    std::ifstream in(file.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    FakeDialogs dialogs_;
    std::unique_ptr<MainWindow> main_;
    QString vehicleFile_;
    QString intervalFile_;

    fs::path Folder() const { return fs::path(folder_->path().toStdString()); }
    QString PathOf(const char* name) const { return folder_->filePath(QString::fromLatin1(name)); }
    fs::path SettingsFile() const { return Folder() / "korvelan2.ini"; }

    void WriteSettings(const std::string& text) { std::ofstream(SettingsFile(), std::ios::binary) << text; }

    std::unique_ptr<MainWindow> NewMain() {
        MainWindowOptions options;
        options.ProgramDirectory = Folder();
        options.SettingsFile = SettingsFile();
        options.Dialogs = &dialogs_;
        auto main = std::make_unique<MainWindow>(options);
        if (main->StartedOk()) {
            main->resize(1000, 800);
            main->show();
            QCoreApplication::processEvents();
        }
        return main;
    }

    void Open(const QString& file) {
        dialogs_.OpenAnswers << file;
        main_->LoadDataFile();
    }

    LanguageTexts Texts(const char* file) const {
        LanguageTexts texts;
        LoadLanguageFile((Folder() / file).string(), texts);
        return texts;
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        for (const char* name : {"deutsch.cty", "english.cty", "francais.cty"})
            fs::copy_file(fs::path(KORVELAN_RESOURCES) / name, Folder() / name);
        std::ofstream(Folder() / "logo.txt", std::ios::binary)
            << "Muster Verkehrstechnik\r\nAm Ring 4\r\n12345 Stadt\r\n";
        dialogs_ = FakeDialogs();

        const auto vehicles = TestVehicles();
        vehicleFile_ = PathOf("week.lng");
        WriteVehicleFile(vehicleFile_.toStdString(), "Messung Hauptstraße", vehicles);
        auto data = std::make_unique<MeasurementData>();
        data->WorkVehicles.EnsureSize(VehicleCount);
        std::copy(vehicles.begin(), vehicles.end(), data->WorkVehicles.data());
        data->WorkVehicleCount = VehicleCount;
        data->DataMode = DataMode::SingleVehicle;
        BuildFiveMinuteIntervals(*data, LengthThresholds{});
        intervalFile_ = PathOf("week.sht");
        WriteIntervalFile(intervalFile_.toStdString(), "Intervalle",
                          std::span<const IntervalRecord>(data->Intervals.data(), data->IntervalCount));

        main_ = NewMain();
        QVERIFY(main_->StartedOk());
    }

    void cleanup() {
        main_.reset();
        folder_.reset();
    }

    void startsWithSettingsAndTexts() {
        const LanguageTexts german = Texts("deutsch.cty");
        QCOMPARE(main_->windowTitle(), QStringLiteral("Korvelan II"));
        QCOMPARE(main_->openAction->iconText(), QString::fromStdString(german[10]));
        QVERIFY(main_->vehicleListButton->toolTip().startsWith(QString::fromStdString(german[41])));
        QCOMPARE(main_->vehicleListButton->accessibleName(), QString::fromStdString(german[41]));
        QCOMPARE(main_->interval60Action->text(), QStringLiteral("1 ") + QString::fromStdString(german[80]));

        // Before any data only opening, reading, settings, about and quitting work.
        QVERIFY(main_->openAction->isEnabled() && main_->openButton->isEnabled() &&
                main_->readCardButton->isEnabled());
        QVERIFY(main_->aboutButton->isEnabled() && main_->settingsAction->isEnabled());
        for (QToolButton* button : {main_->saveButton, main_->filterButton, main_->vehicleListButton,
                                    main_->intervalListButton, main_->chartButton, main_->summaryButton,
                                    main_->speedLimitButton, main_->printButton, main_->intervalLengthButton})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!main_->saveMenu->menuAction()->isEnabled());
        QVERIFY(!main_->commentAction->isEnabled() && !main_->exportAction->isEnabled());
        QVERIFY(!main_->importAction->isVisible());
        QVERIFY(!main_->languageButton->isVisible());
        QCOMPARE(main_->viewStack->currentIndex(), 0);
        QCOMPARE(main_->Selections().LowerPercentile, 15);
        QCOMPARE(main_->Selections().UpperPercentile, 85);
        QCOMPARE(main_->Data().SpeedLimitIndex, 5);
        QCOMPARE(main_->Config().DataPath, Folder().string() + "/");

        // The switches of a hand-kept settings file.
        main_.reset();
        WriteSettings("[Language]\r\nchange=yes\r\n[Diagram]\r\nPelo=yes\r\nAboveLimit=Area\r\n"
                      "[Calculation]\r\nVLow=V05\r\nVHigh=v75\r\n");
        main_ = NewMain();
        QVERIFY(main_->languageButton->isVisible());
        QVERIFY(main_->importAction->isVisible());
        QCOMPARE(main_->Selections().LowerPercentile, 5);
        QCOMPARE(main_->Selections().UpperPercentile, 95);
        QCOMPARE(main_->Data().LimitColourShift, 5);

        // A language file that cannot be read ends the start.
        main_.reset();
        WriteSettings("[Language]\r\nLFile=fehlt.cty\r\n");
        main_ = NewMain();
        QVERIFY(!main_->StartedOk());
        QVERIFY(main_->StartError().contains(QStringLiteral("fehlt.cty")));
    }

    void viewsFollowTheirButtons() {
        const LanguageTexts german = Texts("deutsch.cty");
        QSignalSpy chartEntered(main_.get(), &MainWindow::chartViewEntered);
        Open(vehicleFile_);
        QCOMPARE(dialogs_.Filters.value(0), QString::fromStdString(german[24]));
        QCOMPARE(dialogs_.Directories.value(0).toStdString(), main_->Config().DataPath);
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount);
        QCOMPARE(main_->CurrentView(), View::VehicleList);
        QVERIFY(main_->vehicleListButton->isChecked());
        QCOMPARE(LineOf(main_->listView, 0), QString::fromStdString(german[81]));
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000001     09-03-2026  07:00:20")));
        QCOMPARE(main_->listScrollBar->maximum(), VehicleCount);
        for (QToolButton* button :
             {main_->saveButton, main_->filterButton, main_->vehicleListButton, main_->intervalListButton,
              main_->chartButton, main_->summaryButton, main_->speedLimitButton, main_->printButton})
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!main_->intervalLengthButton->isEnabled());
        QVERIFY(main_->saveFilteredAction->isEnabled() && main_->commentAction->isEnabled() &&
                main_->exportAction->isEnabled());

        main_->intervalListButton->click();
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        QCOMPARE(main_->Data().IntervalRebuildPending, 0);
        QCOMPARE(main_->Data().WorkIntervalCount, 36);
        QCOMPARE(LineOf(main_->listView, 0), QString::fromStdString(german[82]));
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000001     09-03-2026  07:00:00")));
        QVERIFY(main_->intervalLengthButton->isEnabled() && main_->filterButton->isEnabled() &&
                main_->saveFilteredAction->isEnabled());

        main_->chartButton->click();
        QCOMPARE(main_->CurrentView(), View::Chart);
        QCOMPARE(main_->viewStack->currentWidget(), main_->chartPage);
        QCOMPARE(chartEntered.count(), 1);
        QVERIFY(!main_->filterButton->isEnabled() && !main_->saveFilteredAction->isEnabled());
        QVERIFY(main_->intervalLengthButton->isEnabled() && main_->saveAllAction->isEnabled() &&
                main_->saveButton->isEnabled());

        main_->summaryButton->click();
        QCOMPARE(main_->CurrentView(), View::Summary);
        QVERIFY(main_->summaryView->isVisible() && !main_->listView->isVisible());
        const auto lines = SummaryLines(main_->Data(), main_->Selections(), main_->Texts());
        QCOMPARE(main_->summaryView->toPlainText().split(QLatin1Char('\n')).size(),
                 static_cast<int>(lines.size()));
        QCOMPARE(LineOf(main_->summaryView, 0), QString::fromStdString(german[200]));
        QVERIFY(!main_->filterButton->isEnabled() && !main_->intervalLengthButton->isEnabled() &&
                !main_->saveFilteredAction->isEnabled());

        // The speed table chosen from the button's menu shows at once.
        main_->ChooseSummaryKind(2);
        QCOMPARE(LineOf(main_->summaryView, 0), QString::fromStdString(german[220]));

        // A cancelled dialog and a foreign file leave the measurement and the view as they were.
        main_->LoadDataFile();
        std::ofstream(PathOf("fremd.lng").toStdString(), std::ios::binary) << "QVR1.0 nothing of ours";
        Open(PathOf("fremd.lng"));
        QCOMPARE(dialogs_.Messages.value(0), QStringLiteral("Keine Korvelan - Datei"));
        QCOMPARE(main_->Data().LoadedCount, VehicleCount);
        QCOMPARE(main_->CurrentView(), View::Summary);
    }

    void summaryMenuOffersDayProfileAndKeyFigures() {
        Open(vehicleFile_);
        main_->summaryButton->click();
        const LanguageTexts german = Texts("deutsch.cty");
        QVERIFY(main_->dailyCourseAction->isVisible() && main_->keyFiguresAction->isVisible());
        QCOMPARE(main_->dailyCourseAction->text(), QString::fromStdString(german[502]));
        QCOMPARE(main_->keyFiguresAction->text(), QString::fromStdString(german[501]));

        // Each kind redraws the view at once and is the one checked in the menu.
        main_->dailyCourseAction->trigger();
        QCOMPARE(main_->Data().SummaryKind, 3);
        QCOMPARE(LineOf(main_->summaryView, 0), QString::fromStdString(german[502]));
        main_->keyFiguresAction->trigger();
        QCOMPARE(main_->Data().SummaryKind, 4);
        QVERIFY(main_->keyFiguresAction->isChecked() && !main_->dailyCourseAction->isChecked());
        QCOMPARE(LineOf(main_->summaryView, 0), QString::fromStdString(german[501]));
        const QString keyFigures = main_->summaryView->toPlainText();
        QVERIFY(keyFigures.split(QLatin1Char('\n')).size() > 20);

        // Saving and exporting take the key figures as they are shown.
        dialogs_.SaveAnswers << PathOf("kennwerte.txt") << PathOf("kennwerte.asc");
        main_->SaveAllData();
        main_->ExportAscii();
        const std::string title = Utf8ToCp1252(german[501]);
        QCOMPARE(FileBytes(PathOf("kennwerte.txt")).substr(0, title.size()), title);
        QVERIFY(FileBytes(PathOf("kennwerte.asc")).find(title) != std::string::npos);

        // A new free-flow gap from the settings dialog shows in the figures when it closes.
        QTimer::singleShot(0, main_.get(), [this] {
            SettingsDialog* dialog = main_->settingsDialog;
            dialog->freeFlowGapEdit->setText(QStringLiteral("2"));
            emit dialog->freeFlowGapEdit->textEdited(dialog->freeFlowGapEdit->text());
            dialog->close();
        });
        main_->ShowSettings();
        QCOMPARE(main_->Config().FreeFlowGapSeconds, 2.0);
        QVERIFY(main_->summaryView->toPlainText() != keyFigures);
        QVERIFY(FileBytes(QString::fromStdString(SettingsFile().string())).find("FreeFlowGap=2\r\n") !=
                std::string::npos);

        // The menu and the shown figures follow the language.
        const LanguageTexts english = Texts("english.cty");
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(main_->keyFiguresAction->text(), QString::fromStdString(english[501]));
        QCOMPARE(main_->dailyCourseAction->text(), QString::fromStdString(english[502]));
        QCOMPARE(LineOf(main_->summaryView, 0), QString::fromStdString(english[501]));
    }

    void intervalDataAndTimeRange() {
        Open(intervalFile_);
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        QVERIFY(!main_->vehicleListButton->isEnabled());
        QVERIFY(main_->intervalLengthButton->isEnabled());

        main_->ChooseIntervalLength(3);
        QCOMPARE(main_->Data().WorkIntervalCount, 12);
        QCOMPARE(IconImage(main_->intervalLengthButton->icon()), IconImage(IntervalIcon(3)));
        QVERIFY(LineOf(main_->listView, 3).contains(QStringLiteral("07:15:00")));
        main_->ChooseIntervalLength(1);
        QCOMPARE(main_->Data().WorkIntervalCount, 36);

        // The filter/range button opens the time range for interval data, and empties the tool bar.
        main_->filterButton->click();
        QVERIFY(main_->rangeDialog->isVisible());
        QVERIFY(!main_->filterDialog->isVisible());
        QVERIFY(!main_->filterButton->isVisible());
        QTextCursor cursor(main_->listView->document()->findBlockByNumber(4)); // record 3
        main_->listView->setTextCursor(cursor);
        main_->rangeDialog->StartLabelClick();
        cursor = QTextCursor(main_->listView->document()->findBlockByNumber(11)); // record 10
        main_->listView->setTextCursor(cursor);
        main_->rangeDialog->StopLabelClick();
        main_->rangeDialog->ApplyRange();
        QCOMPARE(main_->Data().WorkIntervalCount, 8);
        QCOMPARE(main_->Data().WorkIntervals[1].StartTime, main_->Data().Intervals[3].StartTime);
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000001     09-03-2026  07:10:00")));
        main_->rangeDialog->ResetRange();
        QCOMPARE(main_->Data().WorkIntervalCount, 36);
        main_->rangeDialog->hide();
        QVERIFY(main_->filterButton->isVisible());
    }

    void pagingAndMarking() {
        Open(vehicleFile_);
        const int page = main_->PageLines();
        QVERIFY(page > 10);
        QCOMPARE(main_->listView->document()->blockCount(), page + 3);

        main_->listScrollBar->setValue(20);
        QCOMPARE(main_->Data().VehicleListTop, 20);
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000020")));
        QVERIFY(!main_->recordNumberLabel->isVisible());

        // While the thumb is dragged only the label follows; the page is drawn at the end.
        main_->listScrollBar->setSliderDown(true);
        main_->listScrollBar->setValue(50);
        QVERIFY(main_->recordNumberLabel->isVisible());
        QVERIFY(
            main_->recordNumberLabel->text().startsWith(QStringLiteral(" 000050     09-03-2026  07:49:20")));
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000020")));
        main_->listScrollBar->setSliderDown(false);
        QVERIFY(!main_->recordNumberLabel->isVisible());
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000050")));

        // Page Down and the wheel page the list too.
        QTest::keyClick(main_->listView, Qt::Key_PageDown);
        QCOMPARE(main_->Data().VehicleListTop, 50 + page + 1);
        QWheelEvent wheel(QPointF(20, 20), main_->listView->mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(main_->listView->viewport(), &wheel);
        QCOMPARE(main_->Data().VehicleListTop, 50 + page + 4);
        QTest::keyClick(main_->listView, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(main_->Data().VehicleListTop, 1);

        // A double click on a line marks the record of that line, a second one unmarks it.
        auto doubleClickLine = [this](int line) {
            const QRect at = main_->listView->cursorRect(
                QTextCursor(main_->listView->document()->findBlockByNumber(line)));
            QTest::mouseDClick(main_->listView->viewport(), Qt::LeftButton, {}, at.center() + QPoint(20, 0));
        };
        main_->listScrollBar->setValue(10);
        doubleClickLine(4);
        QCOMPARE(main_->Data().WorkVehicles[12].Marked, 1);
        QCOMPARE(main_->Data().MarkedCount, 1);
        QVERIFY(LineOf(main_->listView, 4).endsWith(QStringLiteral("   X")));
        QCOMPARE(LineOf(main_->listView, 4).size(), 64);
        QCOMPARE(main_->ListCursorLine(), 4);
        doubleClickLine(5);
        QCOMPARE(main_->Data().WorkVehicles[13].Marked, 1);
        doubleClickLine(4);
        QCOMPARE(main_->Data().WorkVehicles[12].Marked, 0);
        QCOMPARE(main_->Data().MarkedCount, 1);
        doubleClickLine(0); // the heading marks nothing
        QCOMPARE(main_->Data().MarkedCount, 1);

        // Nothing is marked from the interval list.
        main_->intervalListButton->click();
        doubleClickLine(3);
        QCOMPARE(main_->Data().MarkedCount, 1);
        // The vehicle list starts at record 1 again.
        main_->vehicleListButton->click();
        QCOMPARE(main_->Data().VehicleListTop, 1);
        QVERIFY(LineOf(main_->listView, 2).startsWith(QStringLiteral(" 000001")));
    }

    void filterRemovesMarkedVehicles() {
        Open(vehicleFile_);
        main_->filterButton->click();
        QVERIFY(main_->filterDialog->isVisible());
        QVERIFY(!main_->filterButton->isVisible());
        main_->filterDialog->speedComparison->setCurrentIndex(
            main_->filterDialog->speedComparison->findText(QStringLiteral(">")));
        main_->filterDialog->speedValue->setText(QStringLiteral("60"));
        main_->filterDialog->MarkClick();
        int fast = 0;
        for (int n = 1; n <= VehicleCount; ++n)
            fast += SpeedOf(n) > 60 ? 1 : 0;
        QVERIFY(fast > 0);
        QCOMPARE(main_->Data().MarkedCount, fast);
        QVERIFY(LineOf(main_->listView, 2 + 3).endsWith(QStringLiteral("   X"))); // record 4: 66 km/h

        main_->ChooseIntervalLength(12); // the choice the removal resets
        main_->filterDialog->EraseMarkedClick();
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount - fast);
        QCOMPARE(main_->Data().MarkedCount, 0);
        QCOMPARE(main_->Data().IntervalRebuildPending, 1);
        QCOMPARE(main_->IntervalFactor(), 1);
        main_->filterDialog->hide();
        QVERIFY(main_->filterButton->isVisible());

        main_->intervalListButton->click();
        int total = 0;
        for (int i = 1; i <= main_->Data().WorkIntervalCount; ++i)
            total +=
                main_->Data().WorkIntervals[i].Total().Dir1 + main_->Data().WorkIntervals[i].Total().Dir2;
        QCOMPARE(total, VehicleCount - fast);
    }

    void settingsDialogChangesLengths() {
        Open(vehicleFile_);
        main_->intervalListButton->click();
        QTimer::singleShot(0, main_.get(), [this] {
            SettingsDialog* dialog = main_->settingsDialog;
            QCOMPARE(dialog->pkwLengthEdit->text(), QStringLiteral("1"));
            for (int i = 0; i < 7; ++i)
                dialog->pkwLengthUpButton->click();
            QCOMPARE(dialog->pkwLengthEdit->text(), QStringLiteral("8"));
            QCOMPARE(dialog->lkwLengthEdit->text(), QStringLiteral("9"));
            QCOMPARE(dialog->lzLengthEdit->text(), QStringLiteral("12"));
            dialog->lowerPercentileButtons->button(3)->click(); // V20 takes effect at once
            QCOMPARE(main_->Selections().LowerPercentile, 20);
            dialog->dataPathEdit->setText(QStringLiteral("/daten/zaehlungen/"));
            dialog->close();
        });
        main_->ShowSettings();

        const std::string ini = FileBytes(QString::fromStdString(SettingsFile().string()));
        for (const char* line :
             {"[Length]\r\nPKW=8\r\nLKW=9\r\nLZ=12\r\n", "VLow=V20", "DataPath=/daten/zaehlungen/"})
            QVERIFY2(ini.find(line) != std::string::npos, line);
        QCOMPARE(main_->Config().DataPath, std::string("/daten/zaehlungen/"));
        QCOMPARE(main_->Data().IntervalRebuildPending, 1);

        // The next interval view counts with the new classes: 8 m is a car now, shorter ones
        // are not counted at all.
        main_->intervalListButton->click();
        int pkw = 0;
        int lkw = 0;
        int lz = 0;
        for (int i = 1; i <= main_->Data().WorkIntervalCount; ++i) {
            const IntervalRecord& r = main_->Data().WorkIntervals[i];
            pkw += r.PkwCount().Dir1 + r.PkwCount().Dir2;
            lkw += r.LkwCount().Dir1 + r.LkwCount().Dir2;
            lz += r.LzCount().Dir1 + r.LzCount().Dir2;
        }
        int expectedPkw = 0;
        int expectedLkw = 0;
        int expectedLz = 0;
        for (int n = 1; n <= VehicleCount; ++n) {
            expectedPkw += LengthOf(n) == 8 ? 1 : 0;
            expectedLkw += LengthOf(n) >= 9 && LengthOf(n) < 12 ? 1 : 0;
            expectedLz += LengthOf(n) >= 12 ? 1 : 0;
        }
        QVERIFY(expectedPkw > 0);
        QCOMPARE(pkw, expectedPkw);
        QCOMPARE(lkw, expectedLkw);
        QCOMPARE(lz, expectedLz);
    }

    void languageMenuSwitchesTexts() {
        QSignalSpy percentiles(main_.get(), &MainWindow::percentilesChanged);
        const LanguageTexts english = Texts("english.cty");
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(main_->openAction->iconText(), QString::fromStdString(english[10]));
        QCOMPARE(main_->fileMenu->menuAction()->iconText(), QString::fromStdString(english[1]));
        QCOMPARE(main_->openButton->toolTip(), QString::fromStdString(english[10]));
        QCOMPARE(main_->speedLimitButton->toolTip(), QString::fromStdString(english[46]));
        QCOMPARE(main_->interval5Action->text(), QStringLiteral("5 ") + QString::fromStdString(english[79]));
        QCOMPARE(main_->saveFilteredAction->iconText(), QString::fromStdString(english[25]));
        QCOMPARE(percentiles.count(), 1);
        QCOMPARE(percentiles.at(0).at(2).toString(), QString::fromStdString(english[62])); // V 15
        main_->ChooseLowerPercentile(0);
        QCOMPARE(main_->Selections().LowerPercentile, 5);
        QCOMPARE(percentiles.last().at(2).toString(), QString::fromStdString(english[60]));

        // A missing file keeps the texts in use and the measurement.
        main_->LoadLanguageFile("fehlt.cty");
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages.at(0).startsWith(QStringLiteral("Fehler!")));
        QCOMPARE(main_->openAction->iconText(), QString::fromStdString(english[10]));

        // Dialogs take the new language the next time they open.
        Open(vehicleFile_);
        QTimer::singleShot(0, main_.get(), [this, &english] {
            QCOMPARE(main_->commentDialog->windowTitle(), QString::fromStdString(english[37]));
            main_->commentDialog->close();
        });
        main_->EditComment();
    }

    void speedLimitButtonShowsTheLimit() {
        Open(vehicleFile_);
        main_->ChooseSpeedLimit(7);
        QCOMPARE(main_->Data().SpeedLimitIndex, 7);
        QCOMPARE(main_->Data().LimitDisplayOn, 0);
        QCOMPARE(IconImage(main_->speedLimitButton->icon()), IconImage(SpeedLimitIcon(7, false)));
        QVERIFY(IconImage(SpeedLimitIcon(7, false)) != IconImage(SpeedLimitIcon(5, false)));

        main_->chartButton->click();
        QSignalSpy redraw(main_.get(), &MainWindow::chartRedrawRequested);
        main_->speedLimitButton->click();
        QCOMPARE(main_->Data().LimitDisplayOn, 1);
        QVERIFY(main_->speedLimitButton->isChecked());
        QCOMPARE(IconImage(main_->speedLimitButton->icon()), IconImage(SpeedLimitIcon(7, true)));
        QCOMPARE(redraw.count(), 1);
        main_->ChooseIntervalLength(6); // joined and redrawn while the chart is shown
        QCOMPARE(redraw.count(), 2);
        QCOMPARE(main_->Data().WorkIntervalCount, 6);
        main_->speedLimitButton->click();
        QCOMPARE(main_->Data().LimitDisplayOn, 0);
        QVERIFY(!main_->speedLimitButton->isChecked());
    }

    void savingAndExportFollowTheView() {
        Open(vehicleFile_);
        dialogs_.SaveAnswers << PathOf("alle.lng");
        main_->SaveAllData();
        QCOMPARE(dialogs_.Filters.last(), QStringLiteral("Korvelan - File (*.lng)|*.lng"));
        std::string bytes = FileBytes(PathOf("alle.lng"));
        QCOMPARE(bytes.size(), std::size_t{1040 + 16 * VehicleCount});
        QCOMPARE(bytes.substr(9, 9), std::string("LNG000180"));

        main_->Data().WorkVehicleCount = 100; // as after a filter
        dialogs_.SaveAnswers << PathOf("gefiltert.lng");
        main_->SaveFilteredData();
        QCOMPARE(FileBytes(PathOf("gefiltert.lng")).size(), std::size_t{1040 + 16 * 100});

        dialogs_.SaveAnswers << PathOf("fahrzeuge.asc");
        main_->ExportAscii();
        const QString exported = QString::fromStdString(FileBytes(PathOf("fahrzeuge.asc")));
        QCOMPARE(exported.count(QStringLiteral("\r\n")), 100);

        main_->intervalListButton->click();
        main_->ChooseIntervalLength(12);
        dialogs_.SaveAnswers << PathOf("stunden.sht");
        main_->SaveFilteredData();
        QCOMPARE(dialogs_.Filters.last(), QStringLiteral("Korvelan - File (*.sht)|*.sht"));
        bytes = FileBytes(PathOf("stunden.sht"));
        // 100 vehicles fill 20 five-minute intervals: two hours are joined, but only the 20
        // records that exist are written.
        QCOMPARE(main_->Data().WorkIntervalCount, 2);
        QCOMPARE(bytes.substr(9, 9), std::string("SHT000020"));
        QCOMPARE(bytes.size(), std::size_t{1040 + 1040 * 20});

        main_->summaryButton->click();
        dialogs_.SaveAnswers << PathOf("tabelle.txt");
        main_->SaveAllData();
        std::string expected;
        for (const auto& line : main_->SummaryText())
            expected += (expected.empty() ? "" : "\r\n") + Utf8ToCp1252(line);
        QCOMPARE(FileBytes(PathOf("tabelle.txt")), expected);

        // A cancelled save dialog writes nothing.
        main_->SaveAllData();
        QVERIFY(!fs::exists(Folder() / "nothing.txt"));
        QCOMPARE(dialogs_.Messages.size(), 0);
    }

    void csvExportWritesTheTableBehindTheView() {
        QCOMPARE(main_->ExportCsv1->text().remove(QLatin1Char('&')), QStringLiteral("Exportieren als CSV…"));
        QVERIFY(!main_->ExportCsv1->isEnabled());
        Open(vehicleFile_);
        QVERIFY(main_->ExportCsv1->isEnabled());
        const auto exportRows = [this](const char* name) {
            dialogs_.SaveAnswers << PathOf(name);
            main_->ExportCsv();
            return ReadRectangularCsv(FileBytes(PathOf(name)), ',');
        };
        auto rows = exportRows("fahrzeuge.csv");
        QCOMPARE(dialogs_.Filters.last(), QStringLiteral("CSV-Datei (*.csv)|*.csv"));
        QCOMPARE(rows.size(), std::size_t{1 + VehicleCount});
        QCOMPARE(rows[1][0], std::string("2026-03-09T07:00:20"));
        QCOMPARE(rows[1][1], std::to_string(SpeedOf(1)));
        const std::string description = FileBytes(PathOf("fahrzeuge.datapackage.json"));
        QVERIFY(description.find("\"week.lng\"") != std::string::npos);
        QVERIFY(description.find(FileSha256Hex(vehicleFile_.toStdString())) != std::string::npos);

        main_->intervalListButton->click();
        rows = exportRows("intervalle.csv");
        QCOMPARE(rows[0][0], std::string("start"));
        QCOMPARE(rows.size(), std::size_t(1 + main_->Data().WorkIntervalCount));

        main_->summaryButton->click();
        QCOMPARE(exportRows("kennwerte.csv")[0][2], std::string("figure"));
        main_->Data().SummaryKind = 3;
        QCOMPARE(exportRows("tage.csv")[1][0], std::string("2026-03-09"));

        main_->chartButton->click();
        rows = exportRows("diagramm.csv");
        const ChartDescription& chart = main_->chartPanel->chartWidget->Chart();
        QVERIFY(!chart.Labels.empty());
        QCOMPARE(rows.size(), 1 + chart.Labels.size());
        QCOMPARE(rows[1][0], chart.Labels[0]);
        QCOMPARE(std::stod(rows[1][1]), chart.Series[0].Values[0]);
        QCOMPARE(dialogs_.Messages.size(), 0);

        // An unwritable target: the message, no file.
        dialogs_.SaveAnswers << PathOf("fehlt/diagramm.csv");
        main_->ExportCsv();
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages[0].contains(QStringLiteral("diagramm.csv")));
        QVERIFY(!fs::exists(Folder() / "fehlt"));
    }

    void commentAndAboutBox() {
        Open(vehicleFile_);
        QTimer::singleShot(0, main_.get(), [this] {
            QCOMPARE(main_->commentDialog->commentEdit->text().left(19),
                     QStringLiteral("Messung Hauptstraße"));
            main_->commentDialog->commentEdit->setText(QString(100, QLatin1Char('k')));
            main_->commentDialog->okButton->click();
        });
        main_->EditComment();
        QCOMPARE(main_->Data().Comment, std::string(78, 'k'));
        QTimer::singleShot(0, main_.get(), [this] {
            main_->commentDialog->commentEdit->setText(QStringLiteral("verworfen"));
            main_->commentDialog->reject();
        });
        main_->EditComment();
        QCOMPARE(main_->Data().Comment, std::string(78, 'k'));

        QCOMPARE(main_->aboutDialog->productNameLabel->text(), QStringLiteral("Muster Verkehrstechnik"));
        QCOMPARE(main_->aboutDialog->addressLabel->text(), QStringLiteral("\nAm Ring 4\n12345 Stadt\n"));
        QCOMPARE(main_->aboutDialog->revisionLabel->text(), QStringLiteral("Rev. 4.01.03"));
        QCOMPARE(main_->aboutDialog->size(), QSize(450, 260));
        AboutDialog withoutLogo(Folder() / "nirgends");
        QVERIFY(withoutLogo.productNameLabel->text().isEmpty());
        QVERIFY(withoutLogo.addressLabel->text().isEmpty());
        QCOMPARE(withoutLogo.revisionLabel->text(), QStringLiteral("Rev. 4.01.03"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
