#pragma once
// The about box: the banner, name and address from "logo.txt" and the program's revision.

#include <QDialog>

#include <filesystem>

class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // Reads "logo.txt" from programDirectory once; without that file the box shows no name and
    // address.
    explicit TfrmAbout(const std::filesystem::path& programDirectory, QWidget* parent = nullptr);

    QLabel* ProductName = nullptr; // the name, large
    QLabel* Comments = nullptr;    // the address block
    QLabel* Version = nullptr;     // "Rev. 4.01.03"
    QPushButton* OKButton = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
};
