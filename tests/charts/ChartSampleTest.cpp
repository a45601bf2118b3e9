// The chart views over the sample measurement: what different views show of the same vehicles
// must agree with each other and with the intervals.

#include "base/LanguageTexts.h"
#include "charts/ChartViews.h"
#include "data/DataFileLoader.h"
#include "data/TextFormat.h"
#include "evaluation/IntervalList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>

namespace {

class SampleChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadDataFile(std::string(KORVELAN_RESOURCES) + "/sample.lng", *data);
        ASSERT_EQ(data->DataMode, DataMode::SingleVehicle);
        BuildFiveMinuteIntervals(*data, LengthThresholds{});
    }
    ChartDescription Draw(int quantity, int group, int direction = 3) {
        ChartRequest request;
        request.Quantity = quantity;
        request.VehicleGroup = group;
        request.DirectionSelection = direction;
        request.SingleVehicleData = true;
        return DrawSelectedChart(request, scale, *data, view, texts, GermanLocaleFormat());
    }
    static double Sum(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }

    std::unique_ptr<MeasurementData> data = std::make_unique<MeasurementData>();
    ViewSelections view;
    LanguageTexts texts;
    ChartScaleState scale;
};

} // namespace

TEST_F(SampleChartTest, DistributionsAndTotalsAgree) {
    AggregateIntervals(*data, 12);
    ASSERT_GT(data->WorkIntervalCount, 24);
    double counted = 0;
    for (int i = 1; i <= data->WorkIntervalCount; ++i)
        counted += data->WorkIntervals[i].Total()[1] + data->WorkIntervals[i].Total()[2];
    ASSERT_GT(counted, 0);

    EXPECT_EQ(Sum(Draw(ChartQuantity::Speed, SumGroup).Series[0].Values), counted);
    const ChartDescription stacked = Draw(ChartQuantity::Speed, StackedGroup);
    EXPECT_EQ(Sum(stacked.Series[0].Values) + Sum(stacked.Series[1].Values) + Sum(stacked.Series[2].Values),
              counted);
    EXPECT_EQ(Sum(Draw(ChartQuantity::Speed, SumGroup, 1).Series[0].Values) +
                  Sum(Draw(ChartQuantity::Speed, SumGroup, 2).Series[0].Values),
              counted);
    EXPECT_GE(stacked.LeftAxisMax,
              *std::max_element(stacked.Series[0].Values.begin(), stacked.Series[0].Values.end()));

    // Paging through the whole measurement shows every interval's count once.
    double paged = 0;
    int windows = 0;
    while (true) {
        const ChartDescription chart = Draw(ChartQuantity::Count, StackedGroup);
        for (std::size_t r = 0; r < chart.ValueLabels.size(); ++r) {
            const double total =
                chart.Series[0].Values[r] + chart.Series[1].Values[r] + chart.Series[2].Values[r];
            EXPECT_EQ(chart.ValueLabels[r], FloatToStr(total, GermanLocaleFormat()));
            paged += total;
        }
        ++windows;
        if (!UpdatePagingButtons(view.ChartOffset, data->WorkIntervalCount).Enabled[5])
            break;
        view.ChartOffset = ScrolledChartOffset(view.ChartOffset, data->WorkIntervalCount, 24);
    }
    const int rest = data->WorkIntervalCount - 24 * windows;
    if (rest > 0) { // the last partial window, reached with +1 steps
        view.ChartOffset = ScrolledChartOffset(view.ChartOffset, data->WorkIntervalCount, rest);
        const ChartDescription chart = Draw(ChartQuantity::Count, SumGroup);
        for (std::size_t r = 24 - static_cast<std::size_t>(rest); r < 24; ++r)
            paged += chart.Series[0].Values[r];
    }
    EXPECT_EQ(paged, counted);
}

TEST_F(SampleChartTest, PercentilesLieInOrderBelowTheEstimatedMaximum) {
    AggregateIntervals(*data, 3);
    for (int offset = 0; offset + 24 <= data->WorkIntervalCount; offset += 24) {
        view.ChartOffset = offset;
        for (int group = 1; group <= SumGroup; ++group) {
            const auto lower = Draw(ChartQuantity::V1, group).Series[0].Values;
            const auto median = Draw(ChartQuantity::V2, group).Series[0].Values;
            const auto upper = Draw(ChartQuantity::V3, group).Series[0].Values;
            ChartRequest estimated;
            estimated.Quantity = ChartQuantity::V4;
            estimated.VehicleGroup = group;
            const auto vmax = DrawSelectedChart(estimated, scale, *data, view, texts, GermanLocaleFormat())
                                  .Series[0]
                                  .Values;
            const auto measured = Draw(ChartQuantity::V4, group).Series[0].Values;
            for (std::size_t r = 0; r < 24; ++r) {
                EXPECT_LE(lower[r], median[r]);
                EXPECT_LE(median[r], upper[r]);
                EXPECT_LE(upper[r], vmax[r]);
                // The estimate stands for the middle of the fastest class (5k + 6 .. 5k + 10 km/h);
                // the first and the last class are open-ended.
                if (measured[r] > 15 && measured[r] <= 150) {
                    EXPECT_LE(measured[r], vmax[r] + 2);
                    EXPECT_GE(measured[r], vmax[r] - 2);
                }
            }
        }
    }
}
