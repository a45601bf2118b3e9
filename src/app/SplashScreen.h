#pragma once
// The splash window shown for two seconds before the main window is created.

#include <QDialog>

class SplashScreen : public QDialog {
    Q_OBJECT
public:
    static constexpr int ShowMilliseconds = 2000;

    explicit SplashScreen(QWidget* parent = nullptr);
    // Shows the window modally until its timer closes it.
    void ShowForAWhile(int milliseconds = ShowMilliseconds);

protected:
    void paintEvent(QPaintEvent* event) override;
};
