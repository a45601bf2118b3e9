#pragma once
// The chart control `chartWidget`: shows a chart description with its appearance and reports clicks
// (`ChartClick` opens the chart options). Drawing is the chart renderer's.

#include "charts/ChartDescription.h"

#include <QWidget>

class ChartWidget : public QWidget {
    Q_OBJECT
public:
    explicit ChartWidget(QWidget* parent = nullptr);

    void SetChart(ChartDescription chart);
    const ChartDescription& Chart() const { return chart_; }
    // 2D/3D and the value labels belong to the chart: they survive every SetChart.
    void SetAppearance(const ChartAppearance& appearance);
    const ChartAppearance& Appearance() const { return appearance_; }

    QSize sizeHint() const override { return {800, 520}; }
    QSize minimumSizeHint() const override { return {240, 160}; }

signals:
    void ChartClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ChartDescription chart_;
    ChartAppearance appearance_;
    bool pressed_ = false;

    void UpdateAccessibleTexts();
};
