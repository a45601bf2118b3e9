// The comparison window and the flow behind "Vergleich…": files written by the test, dialogs
// answered by the test, the loaded measurement checked to stay as it was.

#include "charts/ComparisonView.h"

#include "charts/ComparisonReport.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "charts/ChartWidget.h"
#include "data/DataFileLoader.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "data/Sha256.h"
#include "lang/LanguageFile.h"
#include "support/FakeDialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QPageSize>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>
#include <memory>

namespace {

// Three days from Monday 2026-03-02, twelve vehicles an hour of speeds base + 0..19 km/h.
std::vector<VehicleRecord> ThreeDays(int base) {
    std::vector<VehicleRecord> vehicles;
    for (int day = 2; day <= 4; ++day)
        for (int hour = 0; hour < 24; ++hour)
            for (int i = 0; i < 12; ++i) {
                VehicleRecord v{};
                v.Time = *TryEncodeDateTime(2026, 3, day, hour, i * 5, 0);
                v.Speed = static_cast<std::uint8_t>(base + (i * 7) % 20);
                v.Length = i % 5 == 0 ? 10 : 4;
                v.Direction = i % 2 == 0 ? '1' : '2';
                vehicles.push_back(v);
            }
    return vehicles;
}

// Answers the sides question when it opens: which side the loaded measurement is, and swap.
void AnswerSides(QWidget& parent, bool loadedBefore, bool accept, bool* asked) {
    QTimer::singleShot(0, &parent, [&parent, loadedBefore, accept, asked] {
        auto* dialog = parent.findChild<ComparisonSidesDialog*>();
        if (dialog == nullptr)
            return;
        *asked = true;
        (loadedBefore ? dialog->loadedBeforeButton : dialog->loadedAfterButton)->setChecked(true);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
}

} // namespace

class ComparisonViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    LanguageTexts texts_;
    std::string beforeFile_;
    std::string afterFile_;
    std::unique_ptr<MeasurementData> loaded_;
    FakeDialogs dialogs_;
    QWidget parent_;

    std::string Path(const char* name) const {
        return folder_.filePath(QString::fromLatin1(name)).toStdString();
    }

    LoadedMeasurement Loaded() const {
        StatisticsSettings statistics;
        statistics.Limit = 50;
        return {*loaded_, statistics, beforeFile_, folder_.path().toStdString(), "4.01.03"};
    }

    // Runs the flow with the other file and the answer to the sides question.
    ComparisonView* Run(const std::string& other, bool loadedBefore, bool accept = true,
                        bool* asked = nullptr) {
        bool ignored = false;
        dialogs_.OpenAnswers = {QString::fromStdString(other)};
        AnswerSides(parent_, loadedBefore, accept, asked != nullptr ? asked : &ignored);
        return StartComparison(&parent_, dialogs_, Loaded(), texts_);
    }

    void ExpectLoadedUnchanged() {
        QCOMPARE(loaded_->WorkVehicleCount, 3 * 24 * 12);
        QCOMPARE(static_cast<int>(loaded_->WorkVehicles[1].Speed), 40);
        QVERIFY(QString::fromStdString(loaded_->Comment).startsWith(QStringLiteral("Hauptstraße vorher")));
    }

private slots:
    void initTestCase() {
        LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts_);
        beforeFile_ = Path("vorher.lng");
        afterFile_ = Path("nachher.lng");
        WriteVehicleFile(beforeFile_, "Hauptstraße vorher", ThreeDays(40));
        WriteVehicleFile(afterFile_, "Hauptstraße nachher", ThreeDays(45));
        loaded_ = std::make_unique<MeasurementData>();
        LoadDataFile(beforeFile_, *loaded_);
    }

    void init() { dialogs_.Messages.clear(); }

    void TheLoadedMeasurementIsTheSideTheUserChooses() {
        bool asked = false;
        std::unique_ptr<ComparisonView> view(Run(afterFile_, true, true, &asked));
        QVERIFY(asked);
        QVERIFY(view != nullptr);
        QCOMPARE(dialogs_.Directories.last(), folder_.path());
        const ComparisonResult& result = view->Result();
        QCOMPARE(result.BeforeFile.Name, std::string("vorher.lng"));
        QCOMPARE(result.AfterFile.Name, std::string("nachher.lng"));
        QCOMPARE(result.Figures.Groups[8].V85->Difference, 5.0); // both directions, all classes
        QVERIFY(view->tableView->toPlainText().contains(QStringLiteral("nachher.lng")));
        QCOMPARE(view->cumulativeChart->Chart().Lines.size(), std::size_t{2});
        QCOMPARE(view->hourlyChart->Chart().Series.size(), std::size_t{2});

        std::unique_ptr<ComparisonView> turned(Run(afterFile_, false));
        QVERIFY(turned != nullptr);
        QCOMPARE(turned->Result().BeforeFile.Name, std::string("nachher.lng"));
        QCOMPARE(turned->Result().Figures.Groups[8].V85->Difference, -5.0);
        QVERIFY(dialogs_.Messages.isEmpty());
        ExpectLoadedUnchanged();
    }

    void CancellingAtEitherQuestionComparesNothing() {
        dialogs_.OpenAnswers.clear();
        QVERIFY(StartComparison(&parent_, dialogs_, Loaded(), texts_) == nullptr);
        bool asked = false;
        QVERIFY(Run(afterFile_, true, false, &asked) == nullptr);
        QVERIFY(asked);
        QVERIFY(dialogs_.Messages.isEmpty());
    }

    void AFileThatCannotBeLoadedGivesTheLoadersMessage() {
        const std::string broken = Path("kaputt.lng");
        std::ofstream(broken) << "no measurement at all";
        QString expected;
        try {
            MeasurementData probe;
            LoadDataFile(broken, probe);
        } catch (const std::exception& error) {
            expected = QString::fromStdString(MessageOf(error, texts_));
        }
        QVERIFY(!expected.isEmpty());
        QVERIFY(Run(broken, true) == nullptr);
        QCOMPARE(dialogs_.Messages, QStringList{expected});
        ExpectLoadedUnchanged();

        // Intervals against single vehicles: the comparison's own message.
        dialogs_.Messages.clear();
        std::vector<IntervalRecord> intervals(12);
        for (std::size_t i = 0; i < intervals.size(); ++i)
            intervals[i].StartTime = *TryEncodeDateTime(2026, 3, 2, 0, static_cast<int>(i) * 5, 0);
        const std::string intervalFile = Path("intervalle.sht");
        WriteIntervalFile(intervalFile, "Intervalle", intervals);
        QVERIFY(Run(intervalFile, true) == nullptr);
        QCOMPARE(dialogs_.Messages, QStringList{QString::fromStdString(texts_[650])});
        ExpectLoadedUnchanged();
    }

    void TheViewPrintsAndSavesWhatItShows() {
        std::unique_ptr<ComparisonView> view(Run(afterFile_, true));
        QVERIFY(view != nullptr);
        QCOMPARE(view->CurrentPage(), ComparisonView::Page::Table);
        QVERIFY(!view->savePictureAction->isEnabled());
        view->ShowPage(ComparisonView::Page::HourlyV85);
        QVERIFY(view->savePictureAction->isEnabled());

        const QString png = folder_.filePath(QStringLiteral("v85.png"));
        dialogs_.SaveAnswers = {png};
        view->savePictureAction->trigger();
        QImage picture(png);
        QCOMPARE(picture.size(), QSize(1200, 800));
        const QString svg = folder_.filePath(QStringLiteral("summen.svg"));
        view->ShowPage(ComparisonView::Page::Cumulative);
        dialogs_.SaveAnswers = {svg};
        view->savePictureAction->trigger();
        QFile svgFile(svg);
        QVERIFY(svgFile.open(QIODevice::ReadOnly));
        QVERIFY(svgFile.readAll().contains(texts_[ComparisonChartText::CumulativeTitle].c_str()));

        // A folder that does not exist: the message, no crash.
        dialogs_.SaveAnswers = {folder_.filePath(QStringLiteral("nicht/da.png"))};
        view->savePictureAction->trigger();
        QCOMPARE(dialogs_.Messages.size(), 1);

        for (const auto page : {ComparisonView::Page::Table, ComparisonView::Page::HourlyV85}) {
            view->ShowPage(page);
            const QString pdf = folder_.filePath(QStringLiteral("druck%1.pdf").arg(static_cast<int>(page)));
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            view->PrintCurrentPage(printer);
            QVERIFY(QFileInfo(pdf).size() > 1000);
            QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        }

        const ReportDocument report = view->Report();
        QCOMPARE(report.Pages.size(), std::size_t{5});
        QVERIFY(report.Footer[0].find(FileSha256Hex(beforeFile_)) != std::string::npos);
        QVERIFY(report.Footer[1].find(FileSha256Hex(afterFile_)) != std::string::npos);
        QVERIFY(report.Footer[1].find("4.01.03") != std::string::npos);
    }
};

QTEST_MAIN(ComparisonViewTest)
#include "ComparisonViewTest.moc"
