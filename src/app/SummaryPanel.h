#pragma once
// The summary view of the main window: the summary's lines in a read-only text (`summaryView`).
// The window computes the lines; the panel shows them and keeps them for saving and printing.

#include <QWidget>

#include <string>
#include <vector>

class LanguageTexts;
class QPlainTextEdit;

class SummaryPanel : public QWidget {
    Q_OBJECT
public:
    explicit SummaryPanel(QWidget* parent = nullptr);

    void ShowLines(std::vector<std::string> lines);
    void Clear();
    const std::vector<std::string>& Lines() const { return lines_; }
    void ApplyTexts(const LanguageTexts& texts);

private:
    QPlainTextEdit* summaryView_ = nullptr;
    std::vector<std::string> lines_;
};
