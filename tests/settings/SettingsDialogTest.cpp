// The settings dialog's statistics page as a user meets it: the free-flow gap and the speed
// thresholds take effect as they are typed, refused entries are explained and never reach the
// settings file, and the dialog stays open until they are put right.

#include "settings/SettingsDialog.h"
#include "base/LanguageTexts.h"
#include "data/MeasurementData.h"
#include "lang/LanguageFile.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "support/FakeDialogs.h"

#include "SettingsTestFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

LanguageTexts TextsOf(const char* file) {
    LanguageTexts texts;
    LoadLanguageFile(std::string(KORVELAN_RESOURCES) + "/" + file, texts);
    return texts;
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SettingsTestFolder> folder_;
    Settings settings_;
    std::unique_ptr<MeasurementData> data_;
    LanguageTexts texts_;
    FakeDialogs dialogs_;
    std::unique_ptr<SettingsDialog> dialog_;

    std::string SettingsFile() const { return folder_->File("korvelan2.ini"); }
    std::string FileText() const { return folder_->Read("korvelan2.ini"); }

    void OpenDialog() {
        dialog_ = std::make_unique<SettingsDialog>(settings_, *data_, texts_, dialogs_);
        dialog_->WriteSettings = [this] {
            IniFile ini(SettingsFile());
            WriteConfig(ini, settings_);
        };
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
        dialog_->pages->setCurrentIndex(4);
    }

    static void Type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    // A whole entry at once, as a paste gives it: no valid prefix takes effect on the way.
    static void Paste(QLineEdit* edit, const QString& text) {
        edit->setText(text);
        emit edit->textEdited(text);
    }

private slots:
    void init() {
        folder_ = std::make_unique<SettingsTestFolder>("dialog");
        settings_ = Settings{};
        data_ = std::make_unique<MeasurementData>();
        texts_ = TextsOf("english.cty");
    }

    void cleanup() {
        dialog_.reset();
        folder_.reset();
    }

    void fieldsShowTheSettingsInTheLanguageInUse() {
        settings_.FreeFlowGapSeconds = 2.5;
        settings_.SpeedThresholds = {30, 50};
        OpenDialog();
        QCOMPARE(dialog_->pages->tabText(4), Q(texts_[581]));
        QCOMPARE(dialog_->freeFlowGapLabel->text(), Q(texts_[577]));
        QCOMPARE(dialog_->thresholdsLabel->text(), Q(texts_[578]));
        QCOMPARE(dialog_->freeFlowGapEdit->text(), QStringLiteral("2.5"));
        QCOMPARE(dialog_->thresholdsEdit->text(), QStringLiteral("30,50"));
        QVERIFY(dialog_->refusedEntryLabel->isHidden());
        dialog_->close();

        texts_ = TextsOf("francais.cty");
        OpenDialog();
        QCOMPARE(dialog_->pages->tabText(4), QStringLiteral("Statistiques"));
        QCOMPARE(dialog_->freeFlowGapLabel->text(), Q(texts_[577]));
    }

    void validEntriesTakeEffectAndAreWrittenOnClosing() {
        OpenDialog();
        QCOMPARE(dialog_->freeFlowGapEdit->text(), QStringLiteral("5"));
        QCOMPARE(dialog_->thresholdsEdit->text(), QString());
        Type(dialog_->freeFlowGapEdit, QStringLiteral("3,5"));
        Type(dialog_->thresholdsEdit, QStringLiteral("40, 60 ,80"));
        QCOMPARE(settings_.FreeFlowGapSeconds, 3.5);
        QCOMPARE(settings_.SpeedThresholds, (std::vector<int>{40, 60, 80}));
        dialog_->close();
        QVERIFY(!dialog_->isVisible());
        const std::string file = FileText();
        QVERIFY2(file.find("[Statistics]\r\nFreeFlowGap=3.5\r\nThresholds=40,60,80\r\n") != std::string::npos,
                 file.c_str());

        // Emptied thresholds go back to the limit and its steps.
        OpenDialog();
        QCOMPARE(dialog_->freeFlowGapEdit->text(), QStringLiteral("3.5"));
        Type(dialog_->thresholdsEdit, QString());
        QVERIFY(settings_.SpeedThresholds.empty());
        dialog_->close();
        QVERIFY(FileText().find("Thresholds=\r\n") != std::string::npos);
    }

    void refusedEntriesAreExplainedAndNeverWritten() {
        settings_.SpeedThresholds = {50};
        OpenDialog();
        dialog_->pages->setCurrentIndex(0);
        for (const char* gap : {"0", "-2", "5s", "1e999", "nan"}) {
            Paste(dialog_->freeFlowGapEdit, QString::fromLatin1(gap));
            QCOMPARE(settings_.FreeFlowGapSeconds, 5.0);
            QVERIFY2(!dialog_->refusedEntryLabel->isHidden(), gap);
            QCOMPARE(dialog_->refusedEntryLabel->text(), Q(texts_[579]));
        }
        for (const char* thresholds : {"50.5", "60,", "300", "50;60", "5 0"}) {
            Paste(dialog_->thresholdsEdit, QString::fromLatin1(thresholds));
            QCOMPARE(settings_.SpeedThresholds, std::vector<int>{50});
            QCOMPARE(dialog_->refusedEntryLabel->text(), Q(texts_[579]) + QLatin1Char('\n') + Q(texts_[580]));
        }

        // Closing is refused: the page with the entry comes to the front and nothing is written.
        dialog_->close();
        QVERIFY(dialog_->isVisible());
        QCOMPARE(dialog_->pages->currentIndex(), 4);
        QCOMPARE(dialog_->focusWidget(), dialog_->freeFlowGapEdit);
        QTest::keyClick(dialog_.get(), Qt::Key_Escape);
        QVERIFY(dialog_->isVisible());
        QVERIFY(FileText().empty());

        Type(dialog_->freeFlowGapEdit, QStringLiteral("4"));
        QCOMPARE(dialog_->refusedEntryLabel->text(), Q(texts_[580]));
        dialog_->close();
        QVERIFY(dialog_->isVisible());
        Type(dialog_->thresholdsEdit, QStringLiteral("70"));
        QVERIFY(dialog_->refusedEntryLabel->isHidden());
        dialog_->close();
        QVERIFY(!dialog_->isVisible());
        const std::string file = FileText();
        QVERIFY2(file.find("FreeFlowGap=4\r\nThresholds=70\r\n") != std::string::npos, file.c_str());
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
