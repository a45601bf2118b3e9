#include "charts/ChartPanel.h"
#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "charts/ChartOptionsDialog.h"
#include "charts/ChartWidget.h"
#include "charts/StatisticsCharts.h"
#include "data/DateTime.h"
#include "lang/LanguageFile.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// 30 five-minute intervals of interval data: PKW at 50 km/h, some LKW, a rising count.
std::unique_ptr<MeasurementData> IntervalData(int count, DataMode mode = DataMode::Interval) {
    auto data = std::make_unique<MeasurementData>();
    data->DataMode = mode;
    data->Comment = "Hauptstrasse";
    data->WorkIntervals.EnsureSize(count);
    for (int n = 1; n <= count; ++n) {
        IntervalRecord& r = data->WorkIntervals[n];
        r = IntervalRecord{};
        r.StartTime = IncMinute(*TryEncodeDateTime(2005, 3, 7, 8, 0, 0), 5LL * (n - 1));
        r.PkwSpeedClasses(8)[1] = 10 + n;
        r.PkwCount()[1] = 10 + n;
        r.LkwSpeedClasses(6)[2] = 3;
        r.LkwCount()[2] = 3;
        r.Total() = {10 + n, 3};
        r.MeanSpeed() = {50, 40};
    }
    data->WorkIntervalCount = count;
    return data;
}

LanguageTexts GermanTexts() {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/deutsch.cty", texts);
    return texts;
}

// The tool bar lays out its buttons when events are processed.
bool Shown(QWidget* widget) {
    QCoreApplication::processEvents();
    return widget->isVisible();
}

std::vector<bool> Enabled(const std::array<QToolButton*, 6>& buttons) {
    std::vector<bool> states;
    for (auto* b : buttons)
        states.push_back(b->isEnabled());
    return states;
}

struct Fixture {
    std::unique_ptr<MeasurementData> data;
    Settings settings;
    LanguageTexts texts = GermanTexts();
    ViewSelections selections;
    std::unique_ptr<ChartPanel> panel;

    explicit Fixture(std::unique_ptr<MeasurementData> d) : data(std::move(d)) {
        panel = std::make_unique<ChartPanel>(*data, settings, texts, selections);
        panel->resize(1000, 700);
    }
};

} // namespace

class ChartPanelTest : public QObject {
    Q_OBJECT
private slots:
    void EnteringTheChartViewShowsTheCountWithPaging();
    void QuantityGroupAndDirectionButtons();
    void OptionsDialogScalesAndStyles();
    void OptionsDialogShowsAndStepsAnAxisThatGrewPastTheTable();
    void PictureOfTheChartOnScreen();
    void StatisticsViewsInTheToolBar();
};

void ChartPanelTest::EnteringTheChartViewShowsTheCountWithPaging() {
    Fixture f(IntervalData(30));
    ChartPanel& p = *f.panel;
    f.selections.ChartOffset = 5;
    p.Scale().AutoCountScale = false;
    QSignalSpy drawn(&p, &ChartPanel::chartDrawn);
    p.EnterChartView();
    QCOMPARE(drawn.count(), 1);
    QCOMPARE(f.selections.ChartOffset, 0);
    QVERIFY(p.Scale().AutoCountScale && p.Scale().AutoSpeedScale);
    QVERIFY(p.countButton->isChecked() && p.sumOfAllButton->isChecked());
    QCOMPARE(p.Request().Quantity, ChartQuantity::Count);
    QCOMPARE(p.ReadVehicleGroup(), SumGroup);
    const ChartDescription& chart = p.chartWidget->Chart();
    QCOMPARE(static_cast<int>(chart.Labels.size()), 24);
    QCOMPARE(chart.Labels.front(), std::string("08:00"));
    QCOMPARE(chart.LeftAxisMax, 50.0); // largest count 10 + 24 + 3
    QCOMPARE(p.chartWidget->accessibleName(), QString::fromStdString(chart.Title));
    // Interval data offer no gap chart; the length button stays hidden without the import.
    QVERIFY(!p.gapButton->isEnabled());
    QVERIFY(p.speedButton->isEnabled() && p.v1Button->isEnabled());

    // 30 intervals: only +1 and +6; after +6, -1 and -6 and no more +6.
    QCOMPARE(Enabled(p.pagingButtons), (std::vector<bool>{false, false, false, true, true, false}));
    p.pagingButtons[4]->click();
    QCOMPARE(f.selections.ChartOffset, 6);
    QCOMPARE(Enabled(p.pagingButtons), (std::vector<bool>{false, true, true, false, false, false}));
    QCOMPARE(p.chartWidget->Chart().Labels.front(), std::string("08:30"));
    p.pagingButtons[1]->click();
    QCOMPARE(f.selections.ChartOffset, 0);
}

void ChartPanelTest::QuantityGroupAndDirectionButtons() {
    Fixture f(IntervalData(10));
    ChartPanel& p = *f.panel;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.EnterChartView();
    QVERIFY(Shown(p.pagingButtons[0]));

    // The speed distribution: 29 bars, every group, no paging.
    p.allVehiclesButton->click();
    p.speedButton->click();
    QCOMPARE(static_cast<int>(p.chartWidget->Chart().Labels.size()), 29);
    QVERIFY(!Shown(p.pagingButtons[0]));
    QVERIFY(p.sumOfAllButton->isChecked()); // a quantity click presses the sum again
    QVERIFY(p.allVehiclesButton->isEnabled());
    p.allVehiclesButton->click();
    QCOMPARE(p.ReadVehicleGroup(), StackedGroup);
    QCOMPARE(static_cast<int>(p.chartWidget->Chart().Series.size()), 3);

    // A percentile view offers every group but the stacked one.
    p.v3Button->click();
    QVERIFY(!p.allVehiclesButton->isEnabled());
    QCOMPARE(p.Request().Quantity, ChartQuantity::V3);
    QCOMPARE(p.chartWidget->Chart().AxisKind, 2);
    QVERIFY(Shown(p.pagingButtons[0]));
    p.pkwButton->click();
    QCOMPARE(p.ReadVehicleGroup(), 1);

    // Direction: both -> 1 -> 2 -> both, each redrawn with its symbol in the foot.
    QCOMPARE(f.selections.DirectionSelection, 3);
    p.directionButton->click();
    QCOMPARE(f.selections.DirectionSelection, 1);
    QVERIFY(p.chartWidget->Chart().Foot.back().find("==>") != std::string::npos);
    p.directionButton->click();
    QCOMPARE(f.selections.DirectionSelection, 2);
    QVERIFY(p.chartWidget->Chart().Foot.back().find("<==") != std::string::npos);
    p.directionButton->click();
    QCOMPARE(f.selections.DirectionSelection, 3);

    // Imported data: the percentile views show the sum only.
    Fixture imported(IntervalData(10, DataMode::Imported));
    imported.panel->EnterChartView();
    imported.panel->v1Button->click();
    QVERIFY(imported.panel->sumOfAllButton->isEnabled());
    for (QToolButton* b :
         {imported.panel->allVehiclesButton, imported.panel->pkwButton, imported.panel->lkwButton})
        QVERIFY(!b->isEnabled());
    // Hints come from the language texts.
    QCOMPARE(p.sumOfAllButton->toolTip(), QString::fromStdString(f.texts[51]));
    QCOMPARE(p.pagingButtons[5]->toolTip(), QString::fromStdString(f.texts[78]));
}

void ChartPanelTest::OptionsDialogScalesAndStyles() {
    Fixture f(IntervalData(30));
    ChartPanel& p = *f.panel;
    p.EnterChartView();
    ChartOptionsDialog& o = *p.optionsDialog;

    // A count chart offers only the count scale.
    o.show();
    QVERIFY(o.countScalePanel->isVisible() && !o.speedScalePanel->isVisible());
    QCOMPARE(o.scaleBox->title(), QString::fromStdString(f.texts[130]));
    QVERIFY(o.countAutoScale->isChecked());
    QVERIFY(!o.countScaleStepper->isVisible());
    o.countManualScale->click();
    QVERIFY(o.countScaleStepper->isVisible());
    QCOMPARE(o.countMaximumLabel->text(), QString("50"));
    auto* up = o.findChild<QToolButton*>("countScaleStepperUp");
    auto* down = o.findChild<QToolButton*>("countScaleStepperDown");
    QVERIFY(up && down);
    up->click(); // redraws with the manual maximum
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 100.0);
    QCOMPARE(o.countMaximumLabel->text(), QString("100"));
    for (int i = 0; i < 20; ++i)
        up->click();
    QCOMPARE(o.countMaximumLabel->text(), QString("100000"));
    QCOMPARE(p.Scale().CountScaleIndex, 14);
    for (int i = 0; i < 20; ++i)
        down->click();
    QCOMPARE(o.countMaximumLabel->text(), QString("5"));
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 5.0); // manual: bars are cut, the step stays

    // Value labels and 2D/3D act on the chart at once.
    o.valueLabelsInBars->click();
    QCOMPARE(p.chartWidget->Appearance().ValueLabels, ValueLabelMode::Bars);
    o.valueLabelsAtEdge->click();
    QCOMPARE(p.chartWidget->Appearance().ValueLabels, ValueLabelMode::Edge);
    o.flatChart->click();
    QVERIFY(!p.chartWidget->Appearance().View3D);
    o.hide();
    QVERIFY(!p.Scale().AutoCountScale);

    // The manual choice survives a redraw; a speed chart then offers only the speed scale.
    p.v4Button->click();
    QCOMPARE(p.chartWidget->Chart().AxisKind, 2);
    QVERIFY(!p.chartWidget->Appearance().View3D);
    o.show();
    QVERIFY(!o.countScalePanel->isVisible() && o.speedScalePanel->isVisible());
    QVERIFY(o.speedAutoScale->isChecked());
    QVERIFY(o.flatChart->isChecked() && o.valueLabelsAtEdge->isChecked());
    o.speedManualScale->click();
    auto* speedDown = o.findChild<QToolButton*>("speedScaleStepperDown");
    for (int i = 0; i < 10; ++i)
        speedDown->click();
    QCOMPARE(o.speedMaximumLabel->text(), QString("40"));
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 40.0);
    o.hide();

    // Entering the chart mode again makes both scales automatic.
    p.EnterChartView();
    QVERIFY(p.Scale().AutoCountScale && p.Scale().AutoSpeedScale);
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 50.0);
}

void ChartPanelTest::OptionsDialogShowsAndStepsAnAxisThatGrewPastTheTable() {
    auto data = IntervalData(30);
    data->WorkIntervals[3].PkwCount()[1] = 150000; // a count no step of the table holds
    Fixture f(std::move(data));
    ChartPanel& p = *f.panel;
    p.EnterChartView();
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 200000.0);
    ChartOptionsDialog& o = *p.optionsDialog;
    o.show();
    o.countManualScale->click();
    QCOMPARE(o.countMaximumLabel->text(), QString("200000")); // what the axis reads
    auto* up = o.findChild<QToolButton*>("countScaleStepperUp");
    auto* down = o.findChild<QToolButton*>("countScaleStepperDown");
    down->click();
    QCOMPARE(o.countMaximumLabel->text(), QString("100000"));
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 100000.0);
    down->click();
    QCOMPARE(o.countMaximumLabel->text(), QString("50000"));
    for (int i = 0; i < 5; ++i)
        up->click();
    QCOMPARE(o.countMaximumLabel->text(), QString("200000")); // up to the grown step, no further
    QCOMPARE(p.chartWidget->Chart().LeftAxisMax, 200000.0);
    o.hide();
}

void ChartPanelTest::PictureOfTheChartOnScreen() {
    Fixture f(IntervalData(12));
    f.panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.panel.get()));
    f.panel->EnterChartView();
    QTemporaryDir dir;
    f.panel->SavePicture(dir.filePath("chart.BMP").toStdString());
    const QImage picture(dir.filePath("chart.BMP"));
    QCOMPARE(picture.size(), f.panel->chartWidget->size());
    QVERIFY_THROWS_EXCEPTION(CoreError, f.panel->SavePicture(dir.filePath("chart.gif").toStdString()));
}

void ChartPanelTest::StatisticsViewsInTheToolBar() {
    Fixture f(IntervalData(30));
    f.panel->show();
    f.panel->EnterChartView();
    // Interval data have counts for the average day but no single speeds for the curve.
    QVERIFY(f.panel->AverageDayButton->isEnabled());
    QVERIFY(!f.panel->CumulativeSpeedButton->isEnabled());
    QVERIFY(!Shown(f.panel->ProfileDaysChoice));

    QSignalSpy drawn(f.panel.get(), &ChartPanel::chartDrawn);
    f.panel->AverageDayButton->click();
    QCOMPARE(drawn.count(), 1);
    QVERIFY(!f.panel->countButton->isChecked());
    QVERIFY(!f.panel->sumOfAllButton->isEnabled());
    QVERIFY(Shown(f.panel->ProfileDaysChoice));
    QCOMPARE(f.panel->ProfileDaysChoice->itemText(1), QStringLiteral("Wochenende"));
    const ChartDescription& chart = f.panel->chartWidget->Chart();
    QVERIFY(chart.Arrangement == BarArrangement::SideBySide);
    QCOMPARE(chart.Title, f.texts[StatisticsChartText::WorkdaysTitle]);
    // A partial Monday morning holds no complete day.
    QVERIFY(chart.Foot[1].find(f.texts[StatisticsChartText::NoCompleteDay]) != std::string::npos);

    f.panel->ProfileDaysChoice->setCurrentIndex(1);
    QCOMPARE(drawn.count(), 2);
    QCOMPARE(f.panel->chartWidget->Chart().Title, f.texts[StatisticsChartText::WeekendTitle]);

    f.panel->countButton->click();
    QVERIFY(!Shown(f.panel->ProfileDaysChoice));
    QVERIFY(f.panel->chartWidget->Chart().Arrangement == BarArrangement::Stacked);
    QVERIFY(f.panel->sumOfAllButton->isEnabled());
}

QTEST_MAIN(ChartPanelTest)
#include "ChartPanelTest.moc"
