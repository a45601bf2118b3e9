// The main window driven as a user drives it: files are opened and saved through a fake dialog
// seam, views are switched with their buttons, the list is paged and marked, the filter, time
// range and settings dialogs act on the window's data.

#include "app/MainWindow.h"
#include "../evaluation/CsvReadBack.h"
#include "app/AboutDialog.h"
#include "app/CommentDialog.h"
#include "app/ListPanel.h"
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
#include "support/WindowControls.h"
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
        QCOMPARE(Control<QAction>(main_.get(), "openAction")->iconText(), QString::fromStdString(german[10]));
        QVERIFY(Control<QToolButton>(main_.get(), "vehicleListButton")
                    ->toolTip()
                    .startsWith(QString::fromStdString(german[41])));
        QCOMPARE(Control<QToolButton>(main_.get(), "vehicleListButton")->accessibleName(),
                 QString::fromStdString(german[41]));
        QCOMPARE(Control<QAction>(main_.get(), "interval60Action")->text(),
                 QStringLiteral("1 ") + QString::fromStdString(german[80]));

        // Before any data only opening, reading, settings, about and quitting work.
        QVERIFY(Control<QAction>(main_.get(), "openAction")->isEnabled() &&
                Control<QToolButton>(main_.get(), "openButton")->isEnabled() &&
                Control<QToolButton>(main_.get(), "readCardButton")->isEnabled());
        QVERIFY(Control<QToolButton>(main_.get(), "aboutButton")->isEnabled() &&
                Control<QAction>(main_.get(), "settingsAction")->isEnabled());
        for (QToolButton* button : {Control<QToolButton>(main_.get(), "saveButton"),
                                    Control<QToolButton>(main_.get(), "filterButton"),
                                    Control<QToolButton>(main_.get(), "vehicleListButton"),
                                    Control<QToolButton>(main_.get(), "intervalListButton"),
                                    Control<QToolButton>(main_.get(), "chartButton"),
                                    Control<QToolButton>(main_.get(), "summaryButton"),
                                    Control<QToolButton>(main_.get(), "speedLimitButton"),
                                    Control<QToolButton>(main_.get(), "printButton"),
                                    Control<QToolButton>(main_.get(), "intervalLengthButton")})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!Control<QMenu>(main_.get(), "saveMenu")->menuAction()->isEnabled());
        QVERIFY(!Control<QAction>(main_.get(), "commentAction")->isEnabled() &&
                !Control<QAction>(main_.get(), "exportAction")->isEnabled());
        QVERIFY(!Control<QAction>(main_.get(), "importAction")->isVisible());
        QVERIFY(!Control<QToolButton>(main_.get(), "languageButton")->isVisible());
        QCOMPARE(Control<QStackedWidget>(main_.get(), "viewStack")->currentIndex(), 0);
        QCOMPARE(main_->Selections().LowerPercentile, 15);
        QCOMPARE(main_->Selections().UpperPercentile, 85);
        QCOMPARE(main_->Selections().SpeedLimitIndex, 5);
        QCOMPARE(main_->Config().DataPath, Folder().string() + "/");

        // The switches of a hand-kept settings file.
        main_.reset();
        WriteSettings("[Language]\r\nchange=yes\r\n[Diagram]\r\nPelo=yes\r\nAboveLimit=Area\r\n"
                      "[Calculation]\r\nVLow=V05\r\nVHigh=v75\r\n");
        main_ = NewMain();
        QVERIFY(Control<QToolButton>(main_.get(), "languageButton")->isVisible());
        QVERIFY(Control<QAction>(main_.get(), "importAction")->isVisible());
        QCOMPARE(main_->Selections().LowerPercentile, 5);
        QCOMPARE(main_->Selections().UpperPercentile, 95);
        QCOMPARE(main_->Selections().LimitColourShift, 5);

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
        QVERIFY(Control<QToolButton>(main_.get(), "vehicleListButton")->isChecked());
        QCOMPARE(LineOf(Control<ListTextView>(main_.get(), "listView"), 0),
                 QString::fromStdString(german[81]));
        QVERIFY(LineOf(Control<ListTextView>(main_.get(), "listView"), 2)
                    .startsWith(QStringLiteral(" 000001     09-03-2026  07:00:20")));
        QCOMPARE(Control<QScrollBar>(main_.get(), "listScrollBar")->maximum(), VehicleCount);
        for (QToolButton* button : {Control<QToolButton>(main_.get(), "saveButton"),
                                    Control<QToolButton>(main_.get(), "filterButton"),
                                    Control<QToolButton>(main_.get(), "vehicleListButton"),
                                    Control<QToolButton>(main_.get(), "intervalListButton"),
                                    Control<QToolButton>(main_.get(), "chartButton"),
                                    Control<QToolButton>(main_.get(), "summaryButton"),
                                    Control<QToolButton>(main_.get(), "speedLimitButton"),
                                    Control<QToolButton>(main_.get(), "printButton")})
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!Control<QToolButton>(main_.get(), "intervalLengthButton")->isEnabled());
        QVERIFY(Control<QAction>(main_.get(), "saveFilteredAction")->isEnabled() &&
                Control<QAction>(main_.get(), "commentAction")->isEnabled() &&
                Control<QAction>(main_.get(), "exportAction")->isEnabled());

        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        QCOMPARE(main_->Data().IntervalRebuildPending, 0);
        QCOMPARE(main_->Data().WorkIntervalCount, 36);
        QCOMPARE(LineOf(Control<ListTextView>(main_.get(), "listView"), 0),
                 QString::fromStdString(german[82]));
        QVERIFY(LineOf(Control<ListTextView>(main_.get(), "listView"), 2)
                    .startsWith(QStringLiteral(" 000001     09-03-2026  07:00:00")));
        QVERIFY(Control<QToolButton>(main_.get(), "intervalLengthButton")->isEnabled() &&
                Control<QToolButton>(main_.get(), "filterButton")->isEnabled() &&
                Control<QAction>(main_.get(), "saveFilteredAction")->isEnabled());

        Control<QToolButton>(main_.get(), "chartButton")->click();
        QCOMPARE(main_->CurrentView(), View::Chart);
        QCOMPARE(Control<QStackedWidget>(main_.get(), "viewStack")->currentWidget(),
                 Control<QWidget>(main_.get(), "chartPage"));
        QCOMPARE(chartEntered.count(), 1);
        QVERIFY(!Control<QToolButton>(main_.get(), "filterButton")->isEnabled() &&
                !Control<QAction>(main_.get(), "saveFilteredAction")->isEnabled());
        QVERIFY(Control<QToolButton>(main_.get(), "intervalLengthButton")->isEnabled() &&
                Control<QAction>(main_.get(), "saveAllAction")->isEnabled() &&
                Control<QToolButton>(main_.get(), "saveButton")->isEnabled());

        Control<QToolButton>(main_.get(), "summaryButton")->click();
        QCOMPARE(main_->CurrentView(), View::Summary);
        QVERIFY(Control<QPlainTextEdit>(main_.get(), "summaryView")->isVisible() &&
                !Control<ListTextView>(main_.get(), "listView")->isVisible());
        const auto lines = SummaryLines(main_->Data(), main_->Selections(), main_->Texts());
        QCOMPARE(Control<QPlainTextEdit>(main_.get(), "summaryView")
                     ->toPlainText()
                     .split(QLatin1Char('\n'))
                     .size(),
                 static_cast<int>(lines.size()));
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0),
                 QString::fromStdString(german[200]));
        QVERIFY(!Control<QToolButton>(main_.get(), "filterButton")->isEnabled() &&
                !Control<QToolButton>(main_.get(), "intervalLengthButton")->isEnabled() &&
                !Control<QAction>(main_.get(), "saveFilteredAction")->isEnabled());

        // The speed table chosen from the button's menu shows at once.
        main_->ChooseSummaryKind(2);
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0),
                 QString::fromStdString(german[220]));

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
        Control<QToolButton>(main_.get(), "summaryButton")->click();
        const LanguageTexts german = Texts("deutsch.cty");
        QVERIFY(Control<QAction>(main_.get(), "dailyCourseAction")->isVisible() &&
                Control<QAction>(main_.get(), "keyFiguresAction")->isVisible());
        QCOMPARE(Control<QAction>(main_.get(), "dailyCourseAction")->text(),
                 QString::fromStdString(german[502]));
        QCOMPARE(Control<QAction>(main_.get(), "keyFiguresAction")->text(),
                 QString::fromStdString(german[501]));

        // Each kind redraws the view at once and is the one checked in the menu.
        Control<QAction>(main_.get(), "dailyCourseAction")->trigger();
        QCOMPARE(main_->Selections().SummaryKind, 3);
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0),
                 QString::fromStdString(german[502]));
        Control<QAction>(main_.get(), "keyFiguresAction")->trigger();
        QCOMPARE(main_->Selections().SummaryKind, 4);
        QVERIFY(Control<QAction>(main_.get(), "keyFiguresAction")->isChecked() &&
                !Control<QAction>(main_.get(), "dailyCourseAction")->isChecked());
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0),
                 QString::fromStdString(german[501]));
        const QString keyFigures = Control<QPlainTextEdit>(main_.get(), "summaryView")->toPlainText();
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
            SettingsDialog* dialog = Control<SettingsDialog>(main_.get());
            dialog->freeFlowGapEdit->setText(QStringLiteral("2"));
            emit dialog->freeFlowGapEdit->textEdited(dialog->freeFlowGapEdit->text());
            dialog->close();
        });
        main_->ShowSettings();
        QCOMPARE(main_->Config().FreeFlowGapSeconds, 2.0);
        QVERIFY(Control<QPlainTextEdit>(main_.get(), "summaryView")->toPlainText() != keyFigures);
        QVERIFY(FileBytes(QString::fromStdString(SettingsFile().string())).find("FreeFlowGap=2\r\n") !=
                std::string::npos);

        // The menu and the shown figures follow the language.
        const LanguageTexts english = Texts("english.cty");
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(Control<QAction>(main_.get(), "keyFiguresAction")->text(),
                 QString::fromStdString(english[501]));
        QCOMPARE(Control<QAction>(main_.get(), "dailyCourseAction")->text(),
                 QString::fromStdString(english[502]));
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0),
                 QString::fromStdString(english[501]));
    }

    void intervalDataAndTimeRange() {
        Open(intervalFile_);
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        QVERIFY(!Control<QToolButton>(main_.get(), "vehicleListButton")->isEnabled());
        QVERIFY(Control<QToolButton>(main_.get(), "intervalLengthButton")->isEnabled());

        main_->ChooseIntervalLength(3);
        QCOMPARE(main_->Data().WorkIntervalCount, 12);
        QCOMPARE(IconImage(Control<QToolButton>(main_.get(), "intervalLengthButton")->icon()),
                 IconImage(IntervalIcon(3)));
        QVERIFY(
            LineOf(Control<ListTextView>(main_.get(), "listView"), 3).contains(QStringLiteral("07:15:00")));
        main_->ChooseIntervalLength(1);
        QCOMPARE(main_->Data().WorkIntervalCount, 36);

        // The filter/range button opens the time range for interval data, and empties the tool bar.
        Control<QToolButton>(main_.get(), "filterButton")->click();
        QVERIFY(Control<TimeRangeDialog>(main_.get())->isVisible());
        QVERIFY(!Control<RecordFilterDialog>(main_.get())->isVisible());
        QVERIFY(!Control<QToolButton>(main_.get(), "filterButton")->isVisible());
        QTextCursor cursor(
            Control<ListTextView>(main_.get(), "listView")->document()->findBlockByNumber(4)); // record 3
        Control<ListTextView>(main_.get(), "listView")->setTextCursor(cursor);
        Control<TimeRangeDialog>(main_.get())->StartLabelClick();
        cursor = QTextCursor(
            Control<ListTextView>(main_.get(), "listView")->document()->findBlockByNumber(11)); // record 10
        Control<ListTextView>(main_.get(), "listView")->setTextCursor(cursor);
        Control<TimeRangeDialog>(main_.get())->StopLabelClick();
        Control<TimeRangeDialog>(main_.get())->ApplyRange();
        QCOMPARE(main_->Data().WorkIntervalCount, 8);
        QCOMPARE(main_->Data().WorkIntervals[1].StartTime, main_->Data().Intervals[3].StartTime);
        QVERIFY(LineOf(Control<ListTextView>(main_.get(), "listView"), 2)
                    .startsWith(QStringLiteral(" 000001     09-03-2026  07:10:00")));
        Control<TimeRangeDialog>(main_.get())->ResetRange();
        QCOMPARE(main_->Data().WorkIntervalCount, 36);
        Control<TimeRangeDialog>(main_.get())->hide();
        QVERIFY(Control<QToolButton>(main_.get(), "filterButton")->isVisible());
    }

    void pagingAndMarking() {
        Open(vehicleFile_);
        const int page = Control<ListPanel>(main_.get())->PageLines();
        QVERIFY(page > 10);
        QCOMPARE(Control<ListTextView>(main_.get(), "listView")->document()->blockCount(), page + 3);

        Control<QScrollBar>(main_.get(), "listScrollBar")->setValue(20);
        QCOMPARE(main_->Data().VehicleListTop, 20);
        QVERIFY(
            LineOf(Control<ListTextView>(main_.get(), "listView"), 2).startsWith(QStringLiteral(" 000020")));
        QVERIFY(!Control<QLabel>(main_.get(), "recordNumberLabel")->isVisible());

        // While the thumb is dragged only the label follows; the page is drawn at the end.
        Control<QScrollBar>(main_.get(), "listScrollBar")->setSliderDown(true);
        Control<QScrollBar>(main_.get(), "listScrollBar")->setValue(50);
        QVERIFY(Control<QLabel>(main_.get(), "recordNumberLabel")->isVisible());
        QVERIFY(Control<QLabel>(main_.get(), "recordNumberLabel")
                    ->text()
                    .startsWith(QStringLiteral(" 000050     09-03-2026  07:49:20")));
        QVERIFY(
            LineOf(Control<ListTextView>(main_.get(), "listView"), 2).startsWith(QStringLiteral(" 000020")));
        Control<QScrollBar>(main_.get(), "listScrollBar")->setSliderDown(false);
        QVERIFY(!Control<QLabel>(main_.get(), "recordNumberLabel")->isVisible());
        QVERIFY(
            LineOf(Control<ListTextView>(main_.get(), "listView"), 2).startsWith(QStringLiteral(" 000050")));

        // Page Down and the wheel page the list too.
        QTest::keyClick(Control<ListTextView>(main_.get(), "listView"), Qt::Key_PageDown);
        QCOMPARE(main_->Data().VehicleListTop, 50 + page + 1);
        QWheelEvent wheel(QPointF(20, 20),
                          Control<ListTextView>(main_.get(), "listView")->mapToGlobal(QPointF(20, 20)),
                          QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Control<ListTextView>(main_.get(), "listView")->viewport(), &wheel);
        QCOMPARE(main_->Data().VehicleListTop, 50 + page + 4);
        QTest::keyClick(Control<ListTextView>(main_.get(), "listView"), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(main_->Data().VehicleListTop, 1);

        // A double click on a line marks the record of that line, a second one unmarks it.
        auto doubleClickLine = [this](int line) {
            const QRect at =
                Control<ListTextView>(main_.get(), "listView")
                    ->cursorRect(QTextCursor(
                        Control<ListTextView>(main_.get(), "listView")->document()->findBlockByNumber(line)));
            QTest::mouseDClick(Control<ListTextView>(main_.get(), "listView")->viewport(), Qt::LeftButton, {},
                               at.center() + QPoint(20, 0));
        };
        Control<QScrollBar>(main_.get(), "listScrollBar")->setValue(10);
        doubleClickLine(4);
        QCOMPARE(main_->Data().WorkVehicles[12].Marked, 1);
        QCOMPARE(main_->Data().MarkedCount, 1);
        QVERIFY(LineOf(Control<ListTextView>(main_.get(), "listView"), 4).endsWith(QStringLiteral("   X")));
        QCOMPARE(LineOf(Control<ListTextView>(main_.get(), "listView"), 4).size(), 64);
        QCOMPARE(Control<ListPanel>(main_.get())->ListCursorLine(), 4);
        doubleClickLine(5);
        QCOMPARE(main_->Data().WorkVehicles[13].Marked, 1);
        doubleClickLine(4);
        QCOMPARE(main_->Data().WorkVehicles[12].Marked, 0);
        QCOMPARE(main_->Data().MarkedCount, 1);
        doubleClickLine(0); // the heading marks nothing
        QCOMPARE(main_->Data().MarkedCount, 1);

        // Nothing is marked from the interval list.
        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        doubleClickLine(3);
        QCOMPARE(main_->Data().MarkedCount, 1);
        // The vehicle list starts at record 1 again.
        Control<QToolButton>(main_.get(), "vehicleListButton")->click();
        QCOMPARE(main_->Data().VehicleListTop, 1);
        QVERIFY(
            LineOf(Control<ListTextView>(main_.get(), "listView"), 2).startsWith(QStringLiteral(" 000001")));
    }

    void filterRemovesMarkedVehicles() {
        Open(vehicleFile_);
        Control<QToolButton>(main_.get(), "filterButton")->click();
        QVERIFY(Control<RecordFilterDialog>(main_.get())->isVisible());
        QVERIFY(!Control<QToolButton>(main_.get(), "filterButton")->isVisible());
        Control<RecordFilterDialog>(main_.get())
            ->speedComparison->setCurrentIndex(
                Control<RecordFilterDialog>(main_.get())->speedComparison->findText(QStringLiteral(">")));
        Control<RecordFilterDialog>(main_.get())->speedValue->setText(QStringLiteral("60"));
        Control<RecordFilterDialog>(main_.get())->MarkClick();
        int fast = 0;
        for (int n = 1; n <= VehicleCount; ++n)
            fast += SpeedOf(n) > 60 ? 1 : 0;
        QVERIFY(fast > 0);
        QCOMPARE(main_->Data().MarkedCount, fast);
        QVERIFY(LineOf(Control<ListTextView>(main_.get(), "listView"), 2 + 3)
                    .endsWith(QStringLiteral("   X"))); // record 4: 66 km/h

        main_->ChooseIntervalLength(12); // the choice the removal resets
        Control<RecordFilterDialog>(main_.get())->EraseMarkedClick();
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount - fast);
        QCOMPARE(main_->Data().MarkedCount, 0);
        QCOMPARE(main_->Data().IntervalRebuildPending, 1);
        QCOMPARE(Control<ListPanel>(main_.get())->IntervalFactor(), 1);
        Control<RecordFilterDialog>(main_.get())->hide();
        QVERIFY(Control<QToolButton>(main_.get(), "filterButton")->isVisible());

        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        int total = 0;
        for (int i = 1; i <= main_->Data().WorkIntervalCount; ++i)
            total +=
                main_->Data().WorkIntervals[i].Total().Dir1 + main_->Data().WorkIntervals[i].Total().Dir2;
        QCOMPARE(total, VehicleCount - fast);
    }

    void settingsDialogChangesLengths() {
        Open(vehicleFile_);
        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        QTimer::singleShot(0, main_.get(), [this] {
            SettingsDialog* dialog = Control<SettingsDialog>(main_.get());
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
        Control<QToolButton>(main_.get(), "intervalListButton")->click();
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
        QCOMPARE(Control<QAction>(main_.get(), "openAction")->iconText(),
                 QString::fromStdString(english[10]));
        QCOMPARE(Control<QMenu>(main_.get(), "fileMenu")->menuAction()->iconText(),
                 QString::fromStdString(english[1]));
        QCOMPARE(Control<QToolButton>(main_.get(), "openButton")->toolTip(),
                 QString::fromStdString(english[10]));
        QCOMPARE(Control<QToolButton>(main_.get(), "speedLimitButton")->toolTip(),
                 QString::fromStdString(english[46]));
        QCOMPARE(Control<QAction>(main_.get(), "interval5Action")->text(),
                 QStringLiteral("5 ") + QString::fromStdString(english[79]));
        QCOMPARE(Control<QAction>(main_.get(), "saveFilteredAction")->iconText(),
                 QString::fromStdString(english[25]));
        QCOMPARE(percentiles.count(), 1);
        QCOMPARE(percentiles.at(0).at(2).toString(), QString::fromStdString(english[62])); // V 15
        main_->ChooseLowerPercentile(0);
        QCOMPARE(main_->Selections().LowerPercentile, 5);
        QCOMPARE(percentiles.last().at(2).toString(), QString::fromStdString(english[60]));

        // A missing file keeps the texts in use and the measurement.
        main_->LoadLanguageFile("fehlt.cty");
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages.at(0).startsWith(QStringLiteral("Fehler!")));
        QCOMPARE(Control<QAction>(main_.get(), "openAction")->iconText(),
                 QString::fromStdString(english[10]));

        // Dialogs take the new language the next time they open.
        Open(vehicleFile_);
        QTimer::singleShot(0, main_.get(), [this, &english] {
            QCOMPARE(Control<CommentDialog>(main_.get())->windowTitle(), QString::fromStdString(english[37]));
            Control<CommentDialog>(main_.get())->close();
        });
        main_->EditComment();
    }

    void speedLimitButtonShowsTheLimit() {
        Open(vehicleFile_);
        main_->ChooseSpeedLimit(7);
        QCOMPARE(main_->Selections().SpeedLimitIndex, 7);
        QVERIFY(!main_->Selections().LimitDisplayOn);
        QCOMPARE(IconImage(Control<QToolButton>(main_.get(), "speedLimitButton")->icon()),
                 IconImage(SpeedLimitIcon(7, false)));
        QVERIFY(IconImage(SpeedLimitIcon(7, false)) != IconImage(SpeedLimitIcon(5, false)));

        Control<QToolButton>(main_.get(), "chartButton")->click();
        QSignalSpy redraw(main_.get(), &MainWindow::chartRedrawRequested);
        Control<QToolButton>(main_.get(), "speedLimitButton")->click();
        QVERIFY(main_->Selections().LimitDisplayOn);
        QVERIFY(Control<QToolButton>(main_.get(), "speedLimitButton")->isChecked());
        QCOMPARE(IconImage(Control<QToolButton>(main_.get(), "speedLimitButton")->icon()),
                 IconImage(SpeedLimitIcon(7, true)));
        QCOMPARE(redraw.count(), 1);
        main_->ChooseIntervalLength(6); // joined and redrawn while the chart is shown
        QCOMPARE(redraw.count(), 2);
        QCOMPARE(main_->Data().WorkIntervalCount, 6);
        Control<QToolButton>(main_.get(), "speedLimitButton")->click();
        QVERIFY(!main_->Selections().LimitDisplayOn);
        QVERIFY(!Control<QToolButton>(main_.get(), "speedLimitButton")->isChecked());
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

        Control<QToolButton>(main_.get(), "intervalListButton")->click();
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

        Control<QToolButton>(main_.get(), "summaryButton")->click();
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
        QCOMPARE(Control<QAction>(main_.get(), "ExportCsv1")->text().remove(QLatin1Char('&')),
                 QStringLiteral("Exportieren als CSV…"));
        QVERIFY(!Control<QAction>(main_.get(), "ExportCsv1")->isEnabled());
        Open(vehicleFile_);
        QVERIFY(Control<QAction>(main_.get(), "ExportCsv1")->isEnabled());
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

        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        rows = exportRows("intervalle.csv");
        QCOMPARE(rows[0][0], std::string("start"));
        QCOMPARE(rows.size(), std::size_t(1 + main_->Data().WorkIntervalCount));

        Control<QToolButton>(main_.get(), "summaryButton")->click();
        QCOMPARE(exportRows("kennwerte.csv")[0][2], std::string("figure"));
        main_->Selections().SummaryKind = 3;
        QCOMPARE(exportRows("tage.csv")[1][0], std::string("2026-03-09"));

        Control<QToolButton>(main_.get(), "chartButton")->click();
        rows = exportRows("diagramm.csv");
        const ChartDescription& chart = Control<ChartPanel>(main_.get())->Chart();
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
            QCOMPARE(Control<CommentDialog>(main_.get())->commentEdit->text().left(19),
                     QStringLiteral("Messung Hauptstraße"));
            Control<CommentDialog>(main_.get())->commentEdit->setText(QString(100, QLatin1Char('k')));
            Control<CommentDialog>(main_.get())->okButton->click();
        });
        main_->EditComment();
        QCOMPARE(main_->Data().Comment, std::string(78, 'k'));
        QTimer::singleShot(0, main_.get(), [this] {
            Control<CommentDialog>(main_.get())->commentEdit->setText(QStringLiteral("verworfen"));
            Control<CommentDialog>(main_.get())->reject();
        });
        main_->EditComment();
        QCOMPARE(main_->Data().Comment, std::string(78, 'k'));

        QCOMPARE(Control<AboutDialog>(main_.get())->productNameLabel->text(),
                 QStringLiteral("Muster Verkehrstechnik"));
        QCOMPARE(Control<AboutDialog>(main_.get())->addressLabel->text(),
                 QStringLiteral("\nAm Ring 4\n12345 Stadt\n"));
        QCOMPARE(Control<AboutDialog>(main_.get())->revisionLabel->text(), QStringLiteral("Rev. 4.01.03"));
        QCOMPARE(Control<AboutDialog>(main_.get())->size(), QSize(450, 260));
        AboutDialog withoutLogo(Folder() / "nirgends");
        QVERIFY(withoutLogo.productNameLabel->text().isEmpty());
        QVERIFY(withoutLogo.addressLabel->text().isEmpty());
        QCOMPARE(withoutLogo.revisionLabel->text(), QStringLiteral("Rev. 4.01.03"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
