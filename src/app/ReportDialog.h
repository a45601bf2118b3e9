#pragma once
// The report dialog: site, the names of the two directions and the author, remembered in the
// settings file; OK shows the print preview of the report.

#include "charts/ReportContent.h"

#include <QDialog>

class QLineEdit;

class ReportDialog : public QDialog {
    Q_OBJECT
public:
    ReportDialog(const ReportFields& fields, const LanguageTexts& texts, QWidget* parent = nullptr);

    QLineEdit* siteEdit = nullptr;
    QLineEdit* direction1Edit = nullptr;
    QLineEdit* direction2Edit = nullptr;
    QLineEdit* authorEdit = nullptr;

    ReportFields Fields() const;
};

// The print preview of the report; the user prints it or saves it as PDF from there.
void PreviewReport(QWidget* parent, const ReportDocument& document, const LanguageTexts& texts);
