// F1 and "Hilfe" open the manual in the program's language, found where an installed program
// keeps it (share/korvelan2 beside bin).

#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "ui/FileDialogs.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

class MessageRecorder : public FileDialogs {
public:
    QStringList Messages;

    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString ExistingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    void ShowMessage(QWidget*, MessageKind, const QString&, const QString& text) override {
        Messages << text;
    }
    SaveAnswer AskToSave(QWidget*, const SaveQuestion&) override { return SaveAnswer::Cancel; }
};

} // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> prefix_;
    MessageRecorder dialogs_;
    std::unique_ptr<MainWindow> main_;

    fs::path Prefix() const { return fs::path(prefix_->path().toStdString()); }
    fs::path Bin() const { return Prefix() / "bin"; }
    fs::path HelpFolder() const { return Prefix() / "share" / "korvelan2" / "help"; }

    void StartIn(const char* languageFile) {
        std::ofstream(Bin() / "korvelan2.ini", std::ios::binary)
            << "[Language]\r\nLFile=" << languageFile << "\r\nchange=yes\r\n";
        MainWindowOptions options;
        options.ProgramDirectory = Bin();
        options.SettingsFile = Bin() / "korvelan2.ini";
        options.Dialogs = &dialogs_;
        main_ = std::make_unique<MainWindow>(options);
        QVERIFY(main_->StartedOk());
        main_->show();
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    }

    HelpWindow* PressF1() {
        QTest::keyClick(main_.get(), Qt::Key_F1);
        return main_->findChild<HelpWindow*>();
    }

    QString ShownPage(const HelpWindow* help) const {
        return QString::fromStdString(
            fs::relative(help->Browser()->source().toLocalFile().toStdString(), HelpFolder()).string());
    }

private slots:
    void init() {
        prefix_ = std::make_unique<QTemporaryDir>();
        QVERIFY(prefix_->isValid());
        fs::create_directories(Bin());
        fs::create_directories(HelpFolder().parent_path());
        // Language files beside the program, the help only in the installed data folder.
        for (const char* name : {"deutsch.cty", "english.cty", "francais.cty"})
            fs::copy_file(fs::path(KORVELAN_RESOURCES) / name, Bin() / name);
        fs::copy(fs::path(KORVELAN_RESOURCES) / "help", HelpFolder(), fs::copy_options::recursive);
        dialogs_ = MessageRecorder();
    }

    void cleanup() { main_.reset(); }

    void f1OpensTheManualInTheStartLanguage() {
        StartIn("english.cty");
        HelpWindow* help = PressF1();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QCOMPARE(ShownPage(help), QStringLiteral("en/index.html"));
        QCOMPARE(help->windowTitle(), QStringLiteral("Korvelan II – Help"));
        QCOMPARE(help->Browser()->documentTitle(), QStringLiteral("Korvelan II – Help"));
        // The screenshots are found beside the page.
        QVERIFY(help->Browser()->toHtml().contains(QStringLiteral("vehicle-list.png")));
        QVERIFY(dialogs_.Messages.isEmpty());
    }

    void theMenuEntryFollowsALanguageChosenLater() {
        StartIn("deutsch.cty");
        auto* entry = main_->findChild<QAction*>(QStringLiteral("HelpAction"));
        QVERIFY(entry != nullptr);
        QCOMPARE(entry->text().remove(u'&'), QStringLiteral("Hilfe"));
        QCOMPARE(entry->shortcut(), QKeySequence(QKeySequence::HelpContents));

        entry->trigger();
        auto* help = main_->findChild<HelpWindow*>();
        QVERIFY(help != nullptr);
        QCOMPARE(ShownPage(help), QStringLiteral("de/index.html"));
        QCOMPARE(help->windowTitle(), QStringLiteral("Korvelan II – Hilfe"));

        main_->findChild<QAction*>(QStringLiteral("frenchAction"))->trigger();
        QCOMPARE(entry->text().remove(u'&'), QStringLiteral("Aide"));
        QCOMPARE(PressF1(), help); // one window, now showing the French page
        QCOMPARE(ShownPage(help), QStringLiteral("fr/index.html"));
        QCOMPARE(help->Browser()->documentTitle(), QStringLiteral("Korvelan II – Aide"));
    }

    void aMissingManualIsReportedAndNoWindowOpens() {
        fs::remove_all(HelpFolder() / "en");
        StartIn("english.cty");
        QCOMPARE(PressF1(), nullptr);
        QCOMPARE(dialogs_.Messages.size(), 1);
        QVERIFY(dialogs_.Messages.first().contains(QStringLiteral("was not found")));
        // The place named is the first one the program looks in.
        QVERIFY(dialogs_.Messages.first().contains(
            QString::fromStdString((Bin() / "help/en/index.html").string())));
    }
};

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
