#pragma once
// The comment dialog: edits the measurement's comment (at most 78 characters).

#include <QDialog>

class LanguageTexts;
class QLineEdit;
class QPushButton;
struct MeasurementData;

class TKommentar_aen : public QDialog {
    Q_OBJECT
public:
    TKommentar_aen(MeasurementData& data, const LanguageTexts& texts, QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; // "OK"

    void FormShow();
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MeasurementData& Data;
    const LanguageTexts& Texts;
};
