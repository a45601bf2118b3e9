#include "charts/ChartWidget.h"

#include "charts/ChartPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chartWidget"));
    setFocusPolicy(Qt::StrongFocus); // the options open from the keyboard too
    setCursor(Qt::PointingHandCursor);
    chart_.Foot = {"Untertitel"};
    UpdateAccessibleTexts();
}

void ChartWidget::SetChart(ChartDescription chart) {
    chart_ = std::move(chart);
    UpdateAccessibleTexts();
    update();
}

void ChartWidget::SetAppearance(const ChartAppearance& appearance) {
    appearance_ = appearance;
    update();
}

void ChartWidget::UpdateAccessibleTexts() {
    setAccessibleName(QString::fromStdString(chart_.Title));
    QStringList foot;
    for (const auto& line : chart_.Foot)
        foot << QString::fromStdString(line);
    setAccessibleDescription(foot.join(QLatin1Char('\n')));
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintChart(painter, QRectF(rect()), chart_, appearance_);
    if (hasFocus()) {
        QPen pen(palette().color(QPalette::Highlight), 2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit ChartClick();
    QWidget::mouseReleaseEvent(event);
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit ChartClick();
        return;
    }
    QWidget::keyPressEvent(event);
}
