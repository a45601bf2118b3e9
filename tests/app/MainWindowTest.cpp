// The main window driven as a user drives it: files are opened and saved through a fake dialog
// seam, views are switched with their buttons, the list is paged and marked, the filter, time
// range and settings dialogs act on the window's data.

#include "app/FileDialogs.h"
#include "app/Info.h"
#include "app/Kommentar_aendern.h"
#include "app/Main_Unit.h"
#include "app/Pictures.h"
#include "data/Cp1252.h"
#include "data/DateTime.h"
#include "data/Speichern.h"
#include "evaluation/Mode_Lng.h"
#include "evaluation/TDBereich.h"
#include "evaluation/TDFilter.h"
#include "evaluation/Zusammen.h"
#include "lang/Sprachfile.h"
#include "settings/TEinstellungen.h"

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

class FakeDialogs : public FileDialogs {
public:
    QStringList OpenAnswers;
    QStringList SaveAnswers;
    QStringList FolderAnswers;
    QStringList Filters;
    QStringList Directories;
    QStringList Messages;

    QString OpenFileName(QWidget*, const QString&, const QString& directory, const QString& filter) override {
        Filters << filter;
        Directories << directory;
        return OpenAnswers.isEmpty() ? QString() : OpenAnswers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString&, const QString& directory, const QString& filter,
                         const QString&) override {
        Filters << filter;
        Directories << directory;
        return SaveAnswers.isEmpty() ? QString() : SaveAnswers.takeFirst();
    }
    QString ExistingDirectory(QWidget*, const QString&, const QString&) override {
        return FolderAnswers.isEmpty() ? QString() : FolderAnswers.takeFirst();
    }
    void ShowMessage(QWidget*, MessageKind, const QString&, const QString& text) override {
        Messages << text;
    }
};

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
    std::unique_ptr<TMain> main_;
    QString vehicleFile_;
    QString intervalFile_;

    fs::path Folder() const { return fs::path(folder_->path().toStdString()); }
    QString PathOf(const char* name) const { return folder_->filePath(QString::fromLatin1(name)); }
    fs::path SettingsFile() const { return Folder() / "korvelan2.ini"; }

    void WriteSettings(const std::string& text) { std::ofstream(SettingsFile(), std::ios::binary) << text; }

    std::unique_ptr<TMain> NewMain() {
        TMainOptions options;
        options.ProgramDirectory = Folder();
        options.SettingsFile = SettingsFile();
        options.Dialogs = &dialogs_;
        auto main = std::make_unique<TMain>(options);
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
        QCOMPARE(main_->ffnen1->iconText(), QString::fromStdString(german[10]));
        QVERIFY(main_->ToolButton8->toolTip().startsWith(QString::fromStdString(german[41])));
        QCOMPARE(main_->ToolButton8->accessibleName(), QString::fromStdString(german[41]));
        QCOMPARE(main_->N1Stunde1->text(), QStringLiteral("1 ") + QString::fromStdString(german[80]));

        // Before any data only opening, reading, settings, about and quitting work.
        QVERIFY(main_->ffnen1->isEnabled() && main_->ToolButton2->isEnabled() &&
                main_->ToolButton4->isEnabled());
        QVERIFY(main_->ToolButton18->isEnabled() && main_->Einstellungen1->isEnabled());
        for (QToolButton* button : {main_->ToolButton3, main_->ToolButton6, main_->ToolButton8,
                                    main_->ToolButton9, main_->ToolButton10, main_->ToolButton11,
                                    main_->ToolButton13, main_->ToolButton16, main_->ToolButton43})
            QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!main_->Speichern1->menuAction()->isEnabled());
        QVERIFY(!main_->Kommentar1->isEnabled() && !main_->Export1->isEnabled());
        QVERIFY(!main_->Import1->isVisible());
        QVERIFY(!main_->ToolButton19->isVisible());
        QCOMPARE(main_->Views->currentIndex(), 0);
        QCOMPARE(main_->Selections().LowerPercentile, 15);
        QCOMPARE(main_->Selections().UpperPercentile, 85);
        QCOMPARE(main_->Data().SpeedLimitIndex, 5);
        QCOMPARE(main_->Config().DataPath, Folder().string() + "/");

        // The switches of a hand-kept settings file.
        main_.reset();
        WriteSettings("[Language]\r\nchange=yes\r\n[Diagram]\r\nPelo=yes\r\nAboveLimit=Area\r\n"
                      "[Calculation]\r\nVLow=V05\r\nVHigh=v75\r\n");
        main_ = NewMain();
        QVERIFY(main_->ToolButton19->isVisible());
        QVERIFY(main_->Import1->isVisible());
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
        QSignalSpy chartEntered(main_.get(), &TMain::chartViewEntered);
        Open(vehicleFile_);
        QCOMPARE(dialogs_.Filters.value(0), QString::fromStdString(german[24]));
        QCOMPARE(dialogs_.Directories.value(0).toStdString(), main_->Config().DataPath);
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount);
        QCOMPARE(main_->CurrentView(), MainView::VehicleList);
        QVERIFY(main_->ToolButton8->isChecked());
        QCOMPARE(LineOf(main_->Memo1, 0), QString::fromStdString(german[81]));
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000001     09-03-2026  07:00:20")));
        QCOMPARE(main_->ScrollBar1->maximum(), VehicleCount);
        for (QToolButton* button :
             {main_->ToolButton3, main_->ToolButton6, main_->ToolButton8, main_->ToolButton9,
              main_->ToolButton10, main_->ToolButton11, main_->ToolButton13, main_->ToolButton16})
            QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
        QVERIFY(!main_->ToolButton43->isEnabled());
        QVERIFY(main_->Bereich1->isEnabled() && main_->Kommentar1->isEnabled() &&
                main_->Export1->isEnabled());

        main_->ToolButton9->click();
        QCOMPARE(main_->CurrentView(), MainView::IntervalList);
        QCOMPARE(main_->Data().IntervalRebuildPending, 0);
        QCOMPARE(main_->Data().WorkIntervalCount, 36);
        QCOMPARE(LineOf(main_->Memo1, 0), QString::fromStdString(german[82]));
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000001     09-03-2026  07:00:00")));
        QVERIFY(main_->ToolButton43->isEnabled() && main_->ToolButton6->isEnabled() &&
                main_->Bereich1->isEnabled());

        main_->ToolButton10->click();
        QCOMPARE(main_->CurrentView(), MainView::Chart);
        QCOMPARE(main_->Views->currentWidget(), main_->ChartPage);
        QCOMPARE(chartEntered.count(), 1);
        QVERIFY(!main_->ToolButton6->isEnabled() && !main_->Bereich1->isEnabled());
        QVERIFY(main_->ToolButton43->isEnabled() && main_->Alles1->isEnabled() &&
                main_->ToolButton3->isEnabled());

        main_->ToolButton11->click();
        QCOMPARE(main_->CurrentView(), MainView::Summary);
        QVERIFY(main_->Memo2->isVisible() && !main_->Memo1->isVisible());
        const auto lines = SummaryLines(main_->Data(), main_->Selections(), main_->Texts());
        QCOMPARE(main_->Memo2->toPlainText().split(QLatin1Char('\n')).size(), static_cast<int>(lines.size()));
        QCOMPARE(LineOf(main_->Memo2, 0), QString::fromStdString(german[200]));
        QVERIFY(!main_->ToolButton6->isEnabled() && !main_->ToolButton43->isEnabled() &&
                !main_->Bereich1->isEnabled());

        // The speed table chosen from the button's menu shows at once.
        main_->Zusa_MenuClick(2);
        QCOMPARE(LineOf(main_->Memo2, 0), QString::fromStdString(german[220]));

        // A cancelled dialog and a foreign file leave the measurement and the view as they were.
        main_->LoadDataFile();
        std::ofstream(PathOf("fremd.lng").toStdString(), std::ios::binary) << "QVR1.0 nothing of ours";
        Open(PathOf("fremd.lng"));
        QCOMPARE(dialogs_.Messages.value(0), QStringLiteral("Keine Korvelan - Datei"));
        QCOMPARE(main_->Data().LoadedCount, VehicleCount);
        QCOMPARE(main_->CurrentView(), MainView::Summary);
    }

    void intervalDataAndTimeRange() {
        Open(intervalFile_);
        QCOMPARE(main_->Data().DataMode, DataMode::Interval);
        QCOMPARE(main_->CurrentView(), MainView::IntervalList);
        QVERIFY(!main_->ToolButton8->isEnabled());
        QVERIFY(main_->ToolButton43->isEnabled());

        main_->IntervallClick(3);
        QCOMPARE(main_->Data().WorkIntervalCount, 12);
        QCOMPARE(IconImage(main_->ToolButton43->icon()), IconImage(IntervalIcon(3)));
        QVERIFY(LineOf(main_->Memo1, 3).contains(QStringLiteral("07:15:00")));
        main_->IntervallClick(1);
        QCOMPARE(main_->Data().WorkIntervalCount, 36);

        // The filter/range button opens the time range for interval data, and empties the tool bar.
        main_->ToolButton6->click();
        QVERIFY(main_->DBereich->isVisible());
        QVERIFY(!main_->DFilter->isVisible());
        QVERIFY(!main_->ToolButton6->isVisible());
        QTextCursor cursor(main_->Memo1->document()->findBlockByNumber(4)); // record 3
        main_->Memo1->setTextCursor(cursor);
        main_->DBereich->Label_StartClick();
        cursor = QTextCursor(main_->Memo1->document()->findBlockByNumber(11)); // record 10
        main_->Memo1->setTextCursor(cursor);
        main_->DBereich->Label_StopClick();
        main_->DBereich->BSetClick();
        QCOMPARE(main_->Data().WorkIntervalCount, 8);
        QCOMPARE(main_->Data().WorkIntervals[1].StartTime, main_->Data().Intervals[3].StartTime);
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000001     09-03-2026  07:10:00")));
        main_->DBereich->ResetClick();
        QCOMPARE(main_->Data().WorkIntervalCount, 36);
        main_->DBereich->hide();
        QVERIFY(main_->ToolButton6->isVisible());
    }

    void pagingAndMarking() {
        Open(vehicleFile_);
        const int page = main_->PageLines();
        QVERIFY(page > 10);
        QCOMPARE(main_->Memo1->document()->blockCount(), page + 3);

        main_->ScrollBar1->setValue(20);
        QCOMPARE(main_->Data().VehicleListTop, 20);
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000020")));
        QVERIFY(!main_->SatzNummer->isVisible());

        // While the thumb is dragged only the label follows; the page is drawn at the end.
        main_->ScrollBar1->setSliderDown(true);
        main_->ScrollBar1->setValue(50);
        QVERIFY(main_->SatzNummer->isVisible());
        QVERIFY(main_->SatzNummer->text().startsWith(QStringLiteral(" 000050     09-03-2026  07:49:20")));
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000020")));
        main_->ScrollBar1->setSliderDown(false);
        QVERIFY(!main_->SatzNummer->isVisible());
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000050")));

        // Page Down and the wheel page the list too.
        QTest::keyClick(main_->Memo1, Qt::Key_PageDown);
        QCOMPARE(main_->Data().VehicleListTop, 50 + page + 1);
        QWheelEvent wheel(QPointF(20, 20), main_->Memo1->mapToGlobal(QPointF(20, 20)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(main_->Memo1->viewport(), &wheel);
        QCOMPARE(main_->Data().VehicleListTop, 50 + page + 4);
        QTest::keyClick(main_->Memo1, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(main_->Data().VehicleListTop, 1);

        // A double click on a line marks the record of that line, a second one unmarks it.
        auto doubleClickLine = [this](int line) {
            const QRect at =
                main_->Memo1->cursorRect(QTextCursor(main_->Memo1->document()->findBlockByNumber(line)));
            QTest::mouseDClick(main_->Memo1->viewport(), Qt::LeftButton, {}, at.center() + QPoint(20, 0));
        };
        main_->ScrollBar1->setValue(10);
        doubleClickLine(4);
        QCOMPARE(main_->Data().WorkVehicles[12].Marked, 1);
        QCOMPARE(main_->Data().MarkedCount, 1);
        QVERIFY(LineOf(main_->Memo1, 4).endsWith(QStringLiteral("   X")));
        QCOMPARE(LineOf(main_->Memo1, 4).size(), 64);
        QCOMPARE(main_->ListCursorLine(), 4);
        doubleClickLine(5);
        QCOMPARE(main_->Data().WorkVehicles[13].Marked, 1);
        doubleClickLine(4);
        QCOMPARE(main_->Data().WorkVehicles[12].Marked, 0);
        QCOMPARE(main_->Data().MarkedCount, 1);
        doubleClickLine(0); // the heading marks nothing
        QCOMPARE(main_->Data().MarkedCount, 1);

        // Nothing is marked from the interval list.
        main_->ToolButton9->click();
        doubleClickLine(3);
        QCOMPARE(main_->Data().MarkedCount, 1);
        // The vehicle list starts at record 1 again.
        main_->ToolButton8->click();
        QCOMPARE(main_->Data().VehicleListTop, 1);
        QVERIFY(LineOf(main_->Memo1, 2).startsWith(QStringLiteral(" 000001")));
    }

    void filterRemovesMarkedVehicles() {
        Open(vehicleFile_);
        main_->ToolButton6->click();
        QVERIFY(main_->DFilter->isVisible());
        QVERIFY(!main_->ToolButton6->isVisible());
        main_->DFilter->Bed_Gesch->setCurrentIndex(main_->DFilter->Bed_Gesch->findText(QStringLiteral(">")));
        main_->DFilter->Wert_Gesch->setText(QStringLiteral("60"));
        main_->DFilter->MarkierenClick();
        int fast = 0;
        for (int n = 1; n <= VehicleCount; ++n)
            fast += SpeedOf(n) > 60 ? 1 : 0;
        QVERIFY(fast > 0);
        QCOMPARE(main_->Data().MarkedCount, fast);
        QVERIFY(LineOf(main_->Memo1, 2 + 3).endsWith(QStringLiteral("   X"))); // record 4: 66 km/h

        main_->IntervallClick(12); // the choice the removal resets
        main_->DFilter->Dat_Mark_EraseClick();
        QCOMPARE(main_->Data().WorkVehicleCount, VehicleCount - fast);
        QCOMPARE(main_->Data().MarkedCount, 0);
        QCOMPARE(main_->Data().IntervalRebuildPending, 1);
        QCOMPARE(main_->IntervalFactor(), 1);
        main_->DFilter->hide();
        QVERIFY(main_->ToolButton6->isVisible());

        main_->ToolButton9->click();
        int total = 0;
        for (int i = 1; i <= main_->Data().WorkIntervalCount; ++i)
            total +=
                main_->Data().WorkIntervals[i].Total().Dir1 + main_->Data().WorkIntervals[i].Total().Dir2;
        QCOMPARE(total, VehicleCount - fast);
    }

    void settingsDialogChangesLengths() {
        Open(vehicleFile_);
        main_->ToolButton9->click();
        QTimer::singleShot(0, main_.get(), [this] {
            TEinstellungen* dialog = main_->Einstellungen;
            QCOMPARE(dialog->PKW_Laenge->text(), QStringLiteral("1"));
            for (int i = 0; i < 7; ++i)
                dialog->P_up_downUp->click();
            QCOMPARE(dialog->PKW_Laenge->text(), QStringLiteral("8"));
            QCOMPARE(dialog->LKW_Laenge->text(), QStringLiteral("9"));
            QCOMPARE(dialog->LZ_Laenge->text(), QStringLiteral("12"));
            dialog->VGroupLowButtons->button(3)->click(); // V20 takes effect at once
            QCOMPARE(main_->Selections().LowerPercentile, 20);
            dialog->Edit1->setText(QStringLiteral("/daten/zaehlungen/"));
            dialog->close();
        });
        main_->Einstellungen1Click();

        const std::string ini = FileBytes(QString::fromStdString(SettingsFile().string()));
        for (const char* line :
             {"[Length]\r\nPKW=8\r\nLKW=9\r\nLZ=12\r\n", "VLow=V20", "DataPath=/daten/zaehlungen/"})
            QVERIFY2(ini.find(line) != std::string::npos, line);
        QCOMPARE(main_->Config().DataPath, std::string("/daten/zaehlungen/"));
        QCOMPARE(main_->Data().IntervalRebuildPending, 1);

        // The next interval view counts with the new classes: 8 m is a car now, shorter ones
        // are not counted at all.
        main_->ToolButton9->click();
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
        QSignalSpy percentiles(main_.get(), &TMain::percentilesChanged);
        const LanguageTexts english = Texts("english.cty");
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(main_->ffnen1->iconText(), QString::fromStdString(english[10]));
        QCOMPARE(main_->Datei1->menuAction()->iconText(), QString::fromStdString(english[1]));
        QCOMPARE(main_->ToolButton2->toolTip(), QString::fromStdString(english[10]));
        QCOMPARE(main_->ToolButton13->toolTip(), QString::fromStdString(english[46]));
        QCOMPARE(main_->N5min1->text(), QStringLiteral("5 ") + QString::fromStdString(english[79]));
        QCOMPARE(main_->Bereich1->iconText(), QString::fromStdString(english[25]));
        QCOMPARE(percentiles.count(), 1);
        QCOMPARE(percentiles.at(0).at(2).toString(), QString::fromStdString(english[62])); // V 15
        main_->Vmenu1Click(0);
        QCOMPARE(main_->Selections().LowerPercentile, 5);
        QCOMPARE(percentiles.last().at(2).toString(), QString::fromStdString(english[60]));

        // A missing file keeps the texts in use and the measurement.
        main_->LoadLanguageFile("fehlt.cty");
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages.at(0).startsWith(QStringLiteral("Fehler!")));
        QCOMPARE(main_->ffnen1->iconText(), QString::fromStdString(english[10]));

        // Dialogs take the new language the next time they open.
        Open(vehicleFile_);
        QTimer::singleShot(0, main_.get(), [this, &english] {
            QCOMPARE(main_->Kommentar_aen->windowTitle(), QString::fromStdString(english[37]));
            main_->Kommentar_aen->close();
        });
        main_->Kommentar1Click();
    }

    void speedLimitButtonShowsTheLimit() {
        Open(vehicleFile_);
        main_->Tempolimit_menuClick(7);
        QCOMPARE(main_->Data().SpeedLimitIndex, 7);
        QCOMPARE(main_->Data().LimitDisplayOn, 0);
        QCOMPARE(IconImage(main_->ToolButton13->icon()), IconImage(SpeedLimitIcon(7, false)));
        QVERIFY(IconImage(SpeedLimitIcon(7, false)) != IconImage(SpeedLimitIcon(5, false)));

        main_->ToolButton10->click();
        QSignalSpy redraw(main_.get(), &TMain::chartRedrawRequested);
        main_->ToolButton13->click();
        QCOMPARE(main_->Data().LimitDisplayOn, 1);
        QVERIFY(main_->ToolButton13->isChecked());
        QCOMPARE(IconImage(main_->ToolButton13->icon()), IconImage(SpeedLimitIcon(7, true)));
        QCOMPARE(redraw.count(), 1);
        main_->IntervallClick(6); // joined and redrawn while the chart is shown
        QCOMPARE(redraw.count(), 2);
        QCOMPARE(main_->Data().WorkIntervalCount, 6);
        main_->ToolButton13->click();
        QCOMPARE(main_->Data().LimitDisplayOn, 0);
        QVERIFY(!main_->ToolButton13->isChecked());
    }

    void savingAndExportFollowTheView() {
        Open(vehicleFile_);
        dialogs_.SaveAnswers << PathOf("alle.lng");
        main_->Alles1Click();
        QCOMPARE(dialogs_.Filters.last(), QStringLiteral("Korvelan - File (*.lng)|*.lng"));
        std::string bytes = FileBytes(PathOf("alle.lng"));
        QCOMPARE(bytes.size(), std::size_t{1040 + 16 * VehicleCount});
        QCOMPARE(bytes.substr(9, 9), std::string("LNG000180"));

        main_->Data().WorkVehicleCount = 100; // as after a filter
        dialogs_.SaveAnswers << PathOf("gefiltert.lng");
        main_->Bereich1Click();
        QCOMPARE(FileBytes(PathOf("gefiltert.lng")).size(), std::size_t{1040 + 16 * 100});

        dialogs_.SaveAnswers << PathOf("fahrzeuge.asc");
        main_->ExportAscii();
        const QString exported = QString::fromStdString(FileBytes(PathOf("fahrzeuge.asc")));
        QCOMPARE(exported.count(QStringLiteral("\r\n")), 100);

        main_->ToolButton9->click();
        main_->IntervallClick(12);
        dialogs_.SaveAnswers << PathOf("stunden.sht");
        main_->Bereich1Click();
        QCOMPARE(dialogs_.Filters.last(), QStringLiteral("Korvelan - File (*.sht)|*.sht"));
        bytes = FileBytes(PathOf("stunden.sht"));
        // 100 vehicles fill 20 five-minute intervals: two hours are joined, but only the 20
        // records that exist are written.
        QCOMPARE(main_->Data().WorkIntervalCount, 2);
        QCOMPARE(bytes.substr(9, 9), std::string("SHT000020"));
        QCOMPARE(bytes.size(), std::size_t{1040 + 1040 * 20});

        main_->ToolButton11->click();
        dialogs_.SaveAnswers << PathOf("tabelle.txt");
        main_->Alles1Click();
        std::string expected;
        for (const auto& line : main_->SummaryText())
            expected += (expected.empty() ? "" : "\r\n") + Utf8ToCp1252(line);
        QCOMPARE(FileBytes(PathOf("tabelle.txt")), expected);

        // A cancelled save dialog writes nothing.
        main_->Alles1Click();
        QVERIFY(!fs::exists(Folder() / "nothing.txt"));
        QCOMPARE(dialogs_.Messages.size(), 0);
    }

    void commentAndAboutBox() {
        Open(vehicleFile_);
        QTimer::singleShot(0, main_.get(), [this] {
            QCOMPARE(main_->Kommentar_aen->Edit1->text().left(19), QStringLiteral("Messung Hauptstraße"));
            main_->Kommentar_aen->Edit1->setText(QString(100, QLatin1Char('k')));
            main_->Kommentar_aen->Button1->click();
        });
        main_->Kommentar1Click();
        QCOMPARE(main_->Data().Comment, std::string(78, 'k'));
        QTimer::singleShot(0, main_.get(), [this] {
            main_->Kommentar_aen->Edit1->setText(QStringLiteral("verworfen"));
            main_->Kommentar_aen->reject();
        });
        main_->Kommentar1Click();
        QCOMPARE(main_->Data().Comment, std::string(78, 'k'));

        QCOMPARE(main_->frmAbout->ProductName->text(), QStringLiteral("Muster Verkehrstechnik"));
        QCOMPARE(main_->frmAbout->Comments->text(), QStringLiteral("\nAm Ring 4\n12345 Stadt\n"));
        QCOMPARE(main_->frmAbout->Version->text(), QStringLiteral("Rev. 4.01.03"));
        QCOMPARE(main_->frmAbout->size(), QSize(450, 260));
        TfrmAbout withoutLogo(Folder() / "nirgends");
        QVERIFY(withoutLogo.ProductName->text().isEmpty());
        QVERIFY(withoutLogo.Comments->text().isEmpty());
        QCOMPARE(withoutLogo.Version->text(), QStringLiteral("Rev. 4.01.03"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
