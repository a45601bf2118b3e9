#pragma once
// The comment dialog: edits the measurement's comment (at most 78 characters).

#include <QDialog>

class LanguageTexts;
class QLineEdit;
class QPushButton;
struct MeasurementData;

class CommentDialog : public QDialog {
    Q_OBJECT
public:
    CommentDialog(MeasurementData& data, const LanguageTexts& texts, QWidget* parent = nullptr);

    QLineEdit* commentEdit = nullptr;
    QPushButton* okButton = nullptr; // "OK"

    void OnShow();
    void OkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    MeasurementData& Data;
    const LanguageTexts& Texts;
};
