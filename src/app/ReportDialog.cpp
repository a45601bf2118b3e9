#include "app/ReportDialog.h"

#include "base/CoreError.h"
#include "base/LanguageTexts.h"
#include "charts/Printing.h"
#include "charts/ReportPrinter.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QLineEdit* AddField(QFormLayout* form, const std::string& label, const std::string& value, const char* name) {
    auto* edit = new QLineEdit(Q(value));
    edit->setObjectName(QString::fromLatin1(name));
    form->addRow(Q(label), edit);
    return edit;
}
} // namespace

ReportDialog::ReportDialog(const ReportFields& fields, const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("reportDialog"));
    setWindowTitle(Q(texts[ReportText::ReportCommand]).remove(QChar(0x2026)));
    auto* form = new QFormLayout(this);
    siteEdit = AddField(form, texts[ReportText::Site], fields.Site, "siteEdit");
    direction1Edit = AddField(form, texts[ReportText::Direction1Name], fields.Direction1, "direction1Edit");
    direction2Edit = AddField(form, texts[ReportText::Direction2Name], fields.Direction2, "direction2Edit");
    authorEdit = AddField(form, texts[ReportText::Author], fields.Author, "authorEdit");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ReportFields ReportDialog::Fields() const {
    return {siteEdit->text().toStdString(), direction1Edit->text().toStdString(),
            direction2Edit->text().toStdString(), authorEdit->text().toStdString()};
}

void PreviewReport(QWidget* parent, const ReportDocument& document, const LanguageTexts& texts) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(Q(texts[PrintPreviewText]));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        // An exception must not cross the event loop: the job's failure is shown.
        try {
            PrintReport(*target, document);
        } catch (const CoreError& error) {
            QMessageBox::warning(&preview, QString(), Q(error.Message(texts)));
        }
    });
    preview.exec();
}
