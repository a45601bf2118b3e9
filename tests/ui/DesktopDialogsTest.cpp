// The desktop's own dialogs behind the dialog seam, and Qt's texts in the program's language.

#include "ui/FileDialogs.h"
#include "ui/QtTranslations.h"

#include "settings/SettingsTestFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Runs `inspect` on the modal dialog that `open` shows, as soon as it is up.
void WhenModalShown(const std::function<void(QWidget*)>& inspect) {
    QTimer::singleShot(0, [inspect] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal != nullptr);
        inspect(modal);
    });
}

} // namespace

class DesktopDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theDesktopQuestionHasTheThreeAnswers();
    void theDesktopFileDialogOpensThereWithTheName();
    void qtTextsFollowTheProgramsLanguage();
};

void DesktopDialogsTest::theDesktopQuestionHasTheThreeAnswers() {
    QtFileDialogs desktop;
    QStringList buttons;
    WhenModalShown([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box != nullptr);
        QAbstractButton* discard = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            buttons << button->text();
            if (button->text() == QStringLiteral("Verwerfen"))
                discard = button;
        }
        QVERIFY(discard != nullptr);
        discard->click();
    });
    const auto answer =
        desktop.AskToSave(nullptr, {"Titel", "Frage?", "Speichern", "Verwerfen", "Abbrechen"});
    QVERIFY(answer == FileDialogs::SaveAnswer::Discard);
    buttons.sort();
    QCOMPARE(buttons, QStringList({"Abbrechen", "Speichern", "Verwerfen"}));

    WhenModalShown([](QWidget* modal) { modal->close(); });
    QVERIFY(desktop.AskToSave(nullptr, {"Titel", "Frage?", "Speichern", "Verwerfen", "Abbrechen"}) ==
            FileDialogs::SaveAnswer::Cancel);
}

void DesktopDialogsTest::theDesktopFileDialogOpensThereWithTheName() {
    SettingsTestFolder folder("desktop-dialog");
    QtFileDialogs desktop;
    QString shownFolder;
    QString shownName;
    WhenModalShown([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        QVERIFY(dialog != nullptr);
        shownFolder = dialog->directory().absolutePath();
        if (auto* nameField = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            shownName = nameField->text();
        dialog->reject();
    });
    const QString chosen = desktop.SaveFileNameAt(nullptr, "Speichern", {Q(folder.Folder()), "messung.pdf"},
                                                  "PDF (*.pdf)|*.pdf", "pdf");
    QVERIFY(chosen.isEmpty());
    QCOMPARE(shownFolder, Q(folder.Folder()).chopped(1));
    QCOMPARE(shownName, QStringLiteral("messung.pdf"));
}

void DesktopDialogsTest::qtTextsFollowTheProgramsLanguage() {
    QCOMPARE(QtTranslations::QtLanguageOf("deutsch.cty"), QStringLiteral("de"));
    QCOMPARE(QtTranslations::QtLanguageOf("/opt/k/FRANCAIS.CTY"), QStringLiteral("fr"));
    QCOMPARE(QtTranslations::QtLanguageOf("english.cty"), QStringLiteral("en"));

    {
        QtTranslations nowhere(QStringLiteral("/nirgends"));
        QVERIFY2(!nowhere.Apply("deutsch.cty"), "a missing translation is reported");
        QVERIFY(nowhere.LanguageInUse().isEmpty());
        QVERIFY2(nowhere.Apply("english.cty"), "English needs no translation");
    }

    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + QStringLiteral("/qtbase_de.qm")))
        QSKIP("Qt's translations (qt6-translations-l10n) are not installed");
    const auto cancel = [] { return QCoreApplication::translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
    {
        QtTranslations qtTexts;
        QVERIFY(qtTexts.Apply("deutsch.cty"));
        QCOMPARE(qtTexts.LanguageInUse(), QStringLiteral("de"));
        QCOMPARE(cancel(), QStringLiteral("Abbrechen"));
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));

        QVERIFY(qtTexts.Apply("francais.cty"));
        QCOMPARE(cancel(), QStringLiteral("Annuler"));
        QVERIFY(qtTexts.Apply("english.cty"));
        QCOMPARE(cancel(), QStringLiteral("Cancel"));
        QVERIFY(qtTexts.Apply("deutsch.cty"));
    }
    // An ended translation leaves Qt's own texts.
    QCOMPARE(cancel(), QStringLiteral("Cancel"));
}

QTEST_MAIN(DesktopDialogsTest)
#include "DesktopDialogsTest.moc"
