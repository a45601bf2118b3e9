#include "app/SummaryPanel.h"

#include "app/Pictures.h"
#include "base/LanguageTexts.h"
#include "base/TextNames.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

SummaryPanel::SummaryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SummaryPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    summaryView_ = new QPlainTextEdit(this);
    summaryView_->setObjectName(QStringLiteral("summaryView"));
    summaryView_->setReadOnly(true);
    summaryView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    summaryView_->setFont(ListFont());
    summaryView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    summaryView_->setAccessibleName(QStringLiteral("Zusammenfassung"));
    layout->addWidget(summaryView_);
}

void SummaryPanel::ShowLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    QString text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += QString::fromStdString(lines_[i]);
    }
    summaryView_->setPlainText(text);
    summaryView_->setAccessibleDescription(lines_.empty() ? QString()
                                                          : QString::fromStdString(lines_.front()));
}

void SummaryPanel::Clear() {
    lines_.clear();
    summaryView_->clear();
}

void SummaryPanel::ApplyTexts(const LanguageTexts& texts) {
    if (!texts[Text::SummaryHint].empty())
        summaryView_->setAccessibleName(QString::fromStdString(texts[Text::SummaryHint]));
}
