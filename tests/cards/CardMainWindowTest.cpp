// The card and import commands of the main window, with the file dialogs answered by the test.

#include "CardTestFiles.h"
#include "support/FakeDialogs.h"
#include "support/WindowControls.h"

#include "app/CommentDialog.h"
#include "app/MainWindow.h"
#include "cards/CardFileDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

class CardMainWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir folder_;
    FakeDialogs dialogs_;

    std::unique_ptr<MainWindow> NewMain() {
        const std::filesystem::path dir = folder_.path().toStdString();
        std::filesystem::copy_file(std::filesystem::path(KORVELAN_RESOURCES) / "deutsch.cty",
                                   dir / "deutsch.cty", std::filesystem::copy_options::overwrite_existing);
        std::ofstream(dir / "korvelan2.ini")
            << "[DefaultPath]\r\nCardPath=/karten/\r\n[Diagram]\r\nPelo=yes\r\n";
        MainWindowOptions options;
        options.ProgramDirectory = dir;
        options.SettingsFile = dir / "korvelan2.ini";
        options.Dialogs = &dialogs_;
        auto main = std::make_unique<MainWindow>(options);
        main->show();
        return main;
    }

    // Answers the modal dialogs as they come: "Einlesen" in the card dialog, a comment in the
    // comment dialog.
    static void AnswerModalDialogs(MainWindow& main, QTimer& timer) {
        QObject::connect(&timer, &QTimer::timeout, &main, [&main] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == Control<CardFileDialog>(&main)) {
                Control<CardFileDialog>(&main)->readButton->click();
            } else if (modal == Control<CommentDialog>(&main)) {
                Control<CommentDialog>(&main)->commentEdit->setText("Vom Parkplatz");
                Control<CommentDialog>(&main)->okButton->click();
            }
        });
        timer.start(20);
    }

private slots:
    void mmSdCardCommand() {
        auto main = NewMain();
        const TempFile card("MESS.TXT", CardLine(9, 3, 26, 7, 0, 0, 0, 48, 4, 0) +
                                            CardLine(9, 3, 26, 7, 0, 30, 0, 55, 13, 1));
        dialogs_.OpenAnswers << QString::fromStdString(card.path());
        QTimer answers;
        AnswerModalDialogs(*main, answers);
        main->ReadCardFile();
        answers.stop();

        QCOMPARE(dialogs_.Directories.last(), QString("/karten/"));
        QVERIFY(dialogs_.Filters.last().contains("*.bin"));
        QCOMPARE(main->Data().DataMode, DataMode::SingleVehicle);
        QCOMPARE(main->Data().WorkVehicleCount, 2);
        QCOMPARE(main->Data().IntervalRebuildPending, std::uint8_t{1});
        QCOMPARE(main->Data().Comment, std::string("Vom Parkplatz"));
        QCOMPARE(main->CurrentView(), View::VehicleList);
        QVERIFY(Control<QToolButton>(&*main, "chartButton")->isEnabled());
        // The report names the card file and its checksum.
        const ReportRequest report = main->ReportRequestOf({});
        QVERIFY(report.SourceKind == ReportSourceKind::CardFile);
        QCOMPARE(report.SourceFileName, std::string("MESS.TXT"));
        QCOMPARE(report.SourceSha256.size(), std::size_t{64});

        // A file that is no card file is refused; the measurement stays. The data read from the
        // card are in no file yet: the user is asked first.
        const TempFile other("MESS.CSV", "1;2;3\r\n");
        dialogs_.OpenAnswers << QString::fromStdString(other.path());
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard;
        main->ReadCardFile();
        QCOMPARE(dialogs_.SaveQuestions.size(), 1);
        QVERIFY(dialogs_.Messages.last().contains("MESS.CSV"));
        QCOMPARE(main->Data().WorkVehicleCount, 2);
    }

    void peloImportCommand() {
        auto main = NewMain();
        QVERIFY(Control<QAction>(&*main, "importAction")->isVisible());
        const TempFile pelo("zaehlung.pel", PeloHeader("QT", 1, 1) + " 10  20  30\r\n");
        dialogs_.OpenAnswers << QString::fromStdString(pelo.path());
        main->ImportPeloData();
        QCOMPARE(dialogs_.Filters.last(), QString("Pelo-Dateien (*.pel)|*.pel"));
        QCOMPARE(main->Data().DataMode, DataMode::Imported);
        QCOMPARE(main->Data().WorkIntervalCount, 3);
        QCOMPARE(main->CurrentView(), View::IntervalList);
        QVERIFY(!Control<QToolButton>(&*main, "vehicleListButton")->isEnabled());
        const ReportRequest report = main->ReportRequestOf({});
        QVERIFY(report.SourceKind == ReportSourceKind::PeloFile);
        QCOMPARE(report.SourceFileName, std::string("zaehlung.pel"));
        QCOMPARE(report.SourceSha256.size(), std::size_t{64});

        const TempFile bad("kaputt.pel", PeloHeader("VC", 1, 1, "xx00") + " 10\r\n");
        dialogs_.OpenAnswers << QString::fromStdString(bad.path());
        dialogs_.SaveQuestionAnswers << FileDialogs::SaveAnswer::Discard; // the import is unsaved
        main->ImportPeloData();
        QVERIFY(dialogs_.Messages.last().contains("Zeile 1"));
        QCOMPARE(main->Data().WorkIntervalCount, 3);
    }
};

QTEST_MAIN(CardMainWindowTest)
#include "CardMainWindowTest.moc"
