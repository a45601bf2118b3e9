#pragma once
// The about box: the banner, name and address from "logo.txt" and the program's revision.

#include <QDialog>

#include <filesystem>

class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // Reads "logo.txt" from programDirectory once; without that file the box shows no name and
    // address.
    explicit AboutDialog(const std::filesystem::path& programDirectory, QWidget* parent = nullptr);

    QLabel* productNameLabel = nullptr; // the name, large
    QLabel* addressLabel = nullptr;     // the address block
    QLabel* revisionLabel = nullptr;    // "Rev. 4.01.03"
    QPushButton* okButton = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
};
