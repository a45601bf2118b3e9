// Korvelan II, the desktop program: splash, main window, event loop. An optional argument names a
// data file to open at start (as a file manager passes it).

#include "app/MainWindow.h"
#include "app/Pictures.h"
#include "app/SplashScreen.h"
#include "ui/QtTranslations.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt sets the C library's number format from the environment; the program's own formatting
    // never asks it, and this keeps any library that does on the point.
    std::setlocale(LC_NUMERIC, "C");

    {
        SplashScreen splash;
        splash.ShowForAWhile();
    }

    QApplication::setApplicationName(QStringLiteral("korvelan2"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvelan II"));
    QApplication::setWindowIcon(ToolIcon(ToolPicture::Chart));

    QtTranslations qtTexts; // outlives the window, which tells it of language changes
    MainWindow main;
    if (!main.StartedOk()) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Korvelan II"), QStringLiteral("Fehler!"),
                        QMessageBox::Ok);
        box.setInformativeText(main.StartError());
        box.exec();
        return 1;
    }
    // Qt's own texts (file dialogs, standard buttons) in the language the settings chose, and in
    // each language chosen later; missing translation files leave them English.
    qtTexts.Apply(main.LanguageFileInUse());
    QObject::connect(&main, &MainWindow::textsChanged, &main,
                     [&main, &qtTexts] { qtTexts.Apply(main.LanguageFileInUse()); });

    // Without a window manager a maximised window keeps its size; the screen's size is set first.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        main.setGeometry(screen->availableGeometry());
    main.showMaximized();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString file = arguments.at(1);
        // Opened once the window has its size, so that the first list page fills it.
        QTimer::singleShot(0, &main, [&main, file] { main.OpenDataFile(file.toStdString()); });
    }
    return QApplication::exec();
}
