// The main window as a keyboard user and a reader of the list meet it: full pages, paging keys,
// shortcuts and mnemonics, the filter and time range windows beside the list, a language switch
// that reaches every visible text, and choices from the drop-down menus that show at once.

#include "app/ListPanel.h"
#include "app/MainWindow.h"
#include "charts/ChartPanel.h"
#include "charts/ChartWidget.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "evaluation/RecordFilterDialog.h"
#include "evaluation/TimeRangeDialog.h"
#include "lang/LanguageFile.h"
#include "settings/SettingsDialog.h"
#include "support/WindowControls.h"
#include "ui/FileDialogs.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

class FakeDialogs : public FileDialogs {
public:
    QStringList OpenAnswers;
    QStringList FolderAnswers;

    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return OpenAnswers.isEmpty() ? QString() : OpenAnswers.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString ExistingDirectory(QWidget*, const QString&, const QString&) override {
        return FolderAnswers.isEmpty() ? QString() : FolderAnswers.takeFirst();
    }
    void ShowMessage(QWidget*, MessageKind, const QString&, const QString&) override {}
    SaveAnswer AskToSave(QWidget*, const SaveQuestion&) override { return SaveAnswer::Cancel; }
};

// `count` vehicles `minutesApart` apart from 9 March 2026, 07:00.
std::vector<VehicleRecord> Vehicles(int count, int minutesApart) {
    std::vector<VehicleRecord> vehicles;
    const double start = *TryEncodeDateTime(2026, 3, 9, 7, 0, 0);
    for (int n = 1; n <= count; ++n) {
        VehicleRecord v{};
        v.Time = IncMinute(start, static_cast<long long>(minutesApart) * (n - 1)) + 20.0 / 86400.0;
        v.Speed = static_cast<std::uint8_t>(40 + n % 30);
        v.Length = static_cast<std::uint8_t>(4 + n % 9);
        v.Direction = n % 2 == 0 ? '2' : '1';
        vehicles.push_back(v);
    }
    return vehicles;
}

QString LineOf(const QPlainTextEdit* memo, int line) {
    return memo->document()->findBlockByNumber(line).text();
}

QString Text(const LanguageTexts& texts, int n) {
    return QString::fromStdString(texts[n]);
}

// The centre of the calendar's cell for `day` of the month shown (its first appearance).
QPoint CellOf(QCalendarWidget* calendar, int day) {
    auto* view = calendar->findChild<QAbstractItemView*>();
    const QAbstractItemModel* model = view->model();
    for (int row = 1; row < model->rowCount(); ++row)
        for (int column = 0; column < model->columnCount(); ++column) {
            const QModelIndex index = model->index(row, column);
            if (model->data(index).toInt() == day && !(row == 1 && day > 20))
                return view->visualRect(index).center();
        }
    return {};
}

} // namespace

class WindowBehaviourTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    FakeDialogs dialogs_;
    std::unique_ptr<MainWindow> main_;

    fs::path Folder() const { return fs::path(folder_->path().toStdString()); }
    QString PathOf(const char* name) const { return folder_->filePath(QString::fromLatin1(name)); }

    LanguageTexts Texts(const char* file) const {
        LanguageTexts texts;
        LoadLanguageFile((Folder() / file).string(), texts);
        return texts;
    }

    void OpenVehicles(int count, int minutesApart) {
        const QString file = PathOf("messung.lng");
        WriteVehicleFile(file.toStdString(), "Messung", Vehicles(count, minutesApart));
        dialogs_.OpenAnswers << file;
        main_->LoadDataFile();
    }

    void DoubleClickLine(int line) {
        const QRect at =
            Control<ListTextView>(main_.get(), "listView")
                ->cursorRect(QTextCursor(
                    Control<ListTextView>(main_.get(), "listView")->document()->findBlockByNumber(line)));
        QTest::mouseDClick(Control<ListTextView>(main_.get(), "listView")->viewport(), Qt::LeftButton, {},
                           at.center() + QPoint(20, 0));
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        for (const char* name : {"deutsch.cty", "english.cty", "francais.cty"})
            fs::copy_file(fs::path(KORVELAN_RESOURCES) / name, Folder() / name);
        dialogs_ = FakeDialogs();
        MainWindowOptions options;
        options.ProgramDirectory = Folder();
        options.SettingsFile = Folder() / "korvelan2.ini";
        options.Dialogs = &dialogs_;
        main_ = std::make_unique<MainWindow>(options);
        QVERIFY(main_->StartedOk());
        main_->setGeometry(0, 0, 780, 560);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    }

    void cleanup() {
        main_.reset();
        folder_.reset();
    }

    void aPageFillsTheListAndCtrlEndShowsTheLastFullPage() {
        OpenVehicles(400, 1);
        const ListTextView* memo = Control<ListTextView>(main_.get(), "listView");
        const int lines = memo->document()->blockCount();
        QCOMPARE(lines, Control<ListPanel>(main_.get())->PageLines() + 3);
        // Every line fits, and one more would not.
        QVERIFY(lines * memo->LineHeight() <= memo->TextHeight());
        QVERIFY((lines + 1) * memo->LineHeight() > memo->TextHeight());

        // A new height gives pages of the new size.
        main_->resize(780, 700);
        QTRY_VERIFY(Control<ListTextView>(main_.get(), "listView")->document()->blockCount() > lines);
        QVERIFY((memo->document()->blockCount() + 1) * memo->LineHeight() > memo->TextHeight());

        QTest::keyClick(Control<ListTextView>(main_.get(), "listView"), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(main_->Data().VehicleListTop, 400 - Control<ListPanel>(main_.get())->PageLines());
        QCOMPARE(memo->document()->blockCount(), Control<ListPanel>(main_.get())->PageLines() + 3);
        QVERIFY(LineOf(memo, memo->document()->blockCount() - 1).startsWith(" 000400"));
    }

    void arrowKeysTurnThePageAtItsEdges() {
        OpenVehicles(400, 1);
        QCOMPARE(main_->focusWidget(),
                 Control<ListTextView>(main_.get(), "listView")); // Page Down works at once after a load
        const int page = Control<ListPanel>(main_.get())->PageLines() + 1;
        ListTextView* memo = Control<ListTextView>(main_.get(), "listView");
        const int last = memo->document()->blockCount() - 1;
        memo->setTextCursor(QTextCursor(memo->document()->findBlockByNumber(last)));
        QTest::keyClick(memo, Qt::Key_Down);
        QCOMPARE(main_->Data().VehicleListTop, 1 + page);
        QCOMPARE(Control<ListPanel>(main_.get())->ListCursorLine(), 2);
        QTest::keyClick(memo, Qt::Key_Down); // within the page the caret moves
        QCOMPARE(main_->Data().VehicleListTop, 1 + page);
        QCOMPARE(Control<ListPanel>(main_.get())->ListCursorLine(), 3);
        QTest::keyClick(memo, Qt::Key_Up);
        QTest::keyClick(memo, Qt::Key_Up);
        QCOMPARE(main_->Data().VehicleListTop, 1);
        QCOMPARE(Control<ListPanel>(main_.get())->ListCursorLine(), memo->document()->blockCount() - 1);
        memo->setTextCursor(QTextCursor(memo->document()->findBlockByNumber(2)));
        QTest::keyClick(memo, Qt::Key_Up); // the first page: nothing before it
        QCOMPARE(main_->Data().VehicleListTop, 1);
    }

    void menusAndViewsAnswerTheKeyboard() {
        const LanguageTexts german = Texts("deutsch.cty");
        QCOMPARE(Control<QMenu>(main_.get(), "fileMenu")->title(), QStringLiteral("&Datei"));
        QCOMPARE(Control<QMenu>(main_.get(), "readCardMenu")->title(), QStringLiteral("&Einlesen"));
        QCOMPARE(Control<QAction>(main_.get(), "openAction")->iconText(), Text(german, 10));
        main_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main_.get()));
        QTest::keyClick(main_.get(), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(Control<QMenu>(main_.get(), "fileMenu")->isVisible());
        Control<QMenu>(main_.get(), "fileMenu")->close();

        OpenVehicles(60, 1);
        QVERIFY(Control<QToolButton>(main_.get(), "intervalListButton")
                    ->toolTip()
                    .contains(QStringLiteral("Strg+2")));
        QCOMPARE(Control<QToolButton>(main_.get(), "intervalListButton")->accessibleName(), Text(german, 42));
        QTest::keyClick(main_.get(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(main_->CurrentView(), View::IntervalList);
        QTest::keyClick(main_.get(), Qt::Key_4, Qt::ControlModifier);
        QCOMPARE(main_->CurrentView(), View::Summary);
        QTest::keyClick(main_.get(), Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(main_->CurrentView(), View::Chart);
        QTest::keyClick(main_.get(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(main_->CurrentView(), View::VehicleList);

        // The chart bar's paging buttons are announced by their hints.
        for (int i = 0; i < 6; ++i)
            QCOMPARE(Control<ChartPanel>(main_.get())
                         ->pagingButtons[static_cast<std::size_t>(i)]
                         ->accessibleName(),
                     Text(german, 73 + i));
        for (QToolButton* button :
             Control<ChartPanel>(main_.get())->chartToolBar->findChildren<QToolButton*>())
            if (!button->toolTip().isEmpty())
                QCOMPARE(button->accessibleName(), button->toolTip());
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(Control<QScrollBar>(main_.get(), "listScrollBar")->accessibleName(),
                 Text(Texts("english.cty"), 264));
        QCOMPARE(Control<ChartPanel>(main_.get())->pagingButtons[0]->accessibleName(),
                 Text(Texts("english.cty"), 73));
    }

    void filterButtonsFollowMarksFromTheList() {
        OpenVehicles(60, 1);
        Control<QToolButton>(main_.get(), "filterButton")->click();
        RecordFilterDialog* filter = Control<RecordFilterDialog>(main_.get());
        QVERIFY(filter->isVisible());
        QVERIFY(!filter->eraseMarkedButton->isEnabled() && !filter->useMarkedButton->isEnabled() &&
                !filter->clearMarksButton->isEnabled());
        DoubleClickLine(3);
        QCOMPARE(main_->Data().MarkedCount, 1);
        QVERIFY(filter->eraseMarkedButton->isEnabled() && filter->useMarkedButton->isEnabled() &&
                filter->clearMarksButton->isEnabled());
        QCOMPARE(filter->markedCountLabel->text(), QStringLiteral("1 von 60 markiert"));
        DoubleClickLine(3);
        QVERIFY(!filter->eraseMarkedButton->isEnabled() && !filter->clearMarksButton->isEnabled());

        // The counter after a command speaks the window's language.
        main_->LoadLanguageFile("english.cty");
        filter->MarkClick();
        QCOMPARE(filter->markedCountLabel->text(), QStringLiteral("60 of 60 marked"));
        QCOMPARE(filter->markButton->text(), Text(Texts("english.cty"), 88));
    }

    void toolWindowsLeaveTheListAndItsTextInView() {
        OpenVehicles(60, 1);
        const QPoint listBefore = Control<ListTextView>(main_.get(), "listView")->mapToGlobal(QPoint(0, 0));
        const int textRight =
            Control<ListTextView>(main_.get(), "listView")
                ->mapToGlobal(QPoint(Control<ListTextView>(main_.get(), "listView")->TextRight(), 0))
                .x();
        const int charWidth =
            Control<ListTextView>(main_.get(), "listView")->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        const int textLeft =
            Control<ListTextView>(main_.get(), "listView")
                ->mapToGlobal(QPoint(Control<ListTextView>(main_.get(), "listView")->TextLeft(), 0))
                .x();
        Control<QToolButton>(main_.get(), "filterButton")->click();
        QCoreApplication::processEvents();
        QVERIFY(!Control<QToolButton>(main_.get(), "openButton")
                     ->isVisible()); // the tool bar's commands are away
        QCOMPARE(Control<ListTextView>(main_.get(), "listView")->mapToGlobal(QPoint(0, 0)), listBefore);
        // No room beside the text on this screen: the dialog leaves the record numbers (columns
        // 2-7) and the direction and marks (59-64) in view.
        const QRect dialog = Control<RecordFilterDialog>(main_.get())->frameGeometry();
        QVERIFY2(dialog.left() >= textLeft + 7 * charWidth && dialog.right() < textLeft + 58 * charWidth,
                 qPrintable(QStringLiteral("dialog %1..%2, text %3..%4")
                                .arg(dialog.left())
                                .arg(dialog.right())
                                .arg(textLeft)
                                .arg(textRight)));
        Control<RecordFilterDialog>(main_.get())->hide();
        QCoreApplication::processEvents();
        QVERIFY(Control<QToolButton>(main_.get(), "openButton")->isVisible());
        QCOMPARE(Control<ListTextView>(main_.get(), "listView")->mapToGlobal(QPoint(0, 0)), listBefore);

        // A narrow window: the dialog goes beside the window rather than over the marks.
        main_->setGeometry(0, 0, 420, 560);
        QCoreApplication::processEvents();
        Control<QToolButton>(main_.get(), "filterButton")->click();
        QVERIFY(Control<RecordFilterDialog>(main_.get())->frameGeometry().left() >=
                main_->frameGeometry().right());
        Control<RecordFilterDialog>(main_.get())->hide();
    }

    void languageSwitchRedrawsWhatIsShown() {
        const LanguageTexts english = Texts("english.cty");
        const LanguageTexts french = Texts("francais.cty");
        QVERIFY(Control<QAction>(main_.get(), "germanAction")->isChecked());
        OpenVehicles(60, 1);
        Control<ListTextView>(main_.get(), "listView")
            ->setTextCursor(QTextCursor(
                Control<ListTextView>(main_.get(), "listView")->document()->findBlockByNumber(7)));
        main_->LoadLanguageFile("english.cty");
        QCOMPARE(Control<ListPanel>(main_.get())->ListCursorLine(),
                 7); // the filter's record numbers still come from there
        QVERIFY(Control<QAction>(main_.get(), "englishAction")->isChecked() &&
                !Control<QAction>(main_.get(), "germanAction")->isChecked());
        QCOMPARE(main_->LanguageFileInUse(), std::string("english.cty"));
        QCOMPARE(LineOf(Control<ListTextView>(main_.get(), "listView"), 0), Text(english, 81));

        Control<QToolButton>(main_.get(), "summaryButton")->click();
        main_->LoadLanguageFile("francais.cty");
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0), Text(french, 200));
        QVERIFY(Control<QAction>(main_.get(), "frenchAction")->isChecked());

        Control<QToolButton>(main_.get(), "chartButton")->click();
        const std::string frenchTitle = Control<ChartPanel>(main_.get())->Chart().Title;
        main_->LoadLanguageFile("english.cty");
        QVERIFY(!Control<ChartPanel>(main_.get())->Chart().Title.empty());
        QVERIFY(Control<ChartPanel>(main_.get())->Chart().Title != frenchTitle);

        // A file that cannot be read leaves the menu on the language still in use.
        main_->LoadLanguageFile("fehlt.cty");
        QVERIFY(Control<QAction>(main_.get(), "englishAction")->isChecked());
    }

    void dropDownChoicesShowAtOnce() {
        const LanguageTexts german = Texts("deutsch.cty");
        OpenVehicles(60, 1);
        Control<QToolButton>(main_.get(), "summaryButton")->click();
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0), Text(german, 200));
        const QString before = Control<QPlainTextEdit>(main_.get(), "summaryView")->toPlainText();
        main_->ChooseUpperPercentile(4); // V 95 instead of V 85 in the overview
        QVERIFY(Control<QPlainTextEdit>(main_.get(), "summaryView")->toPlainText() != before);
        main_->ChooseSummaryKind(2);
        QCOMPARE(LineOf(Control<QPlainTextEdit>(main_.get(), "summaryView"), 0), Text(german, 220));

        Control<QToolButton>(main_.get(), "chartButton")->click();
        QSignalSpy redraw(main_.get(), &MainWindow::chartRedrawRequested);
        main_->ChooseLowerPercentile(0);
        QCOMPARE(redraw.count(), 1);
        main_->ChooseSpeedLimit(3);
        QCOMPARE(redraw.count(), 2);
    }

    void enterInAPathFieldOpensNoChooser() {
        bool stillOpen = false;
        QTimer::singleShot(0, main_.get(), [this, &stillOpen] {
            SettingsDialog* dialog = Control<SettingsDialog>(main_.get());
            dialogs_.FolderAnswers << QStringLiteral("/woanders/");
            dialog->dataPathEdit->setFocus();
            QTest::keyClick(dialog->dataPathEdit, Qt::Key_Return);
            stillOpen = dialog->isVisible();
            dialog->close();
        });
        main_->ShowSettings();
        QVERIFY(stillOpen);
        QCOMPARE(dialogs_.FolderAnswers.size(), 1); // the chooser was not asked
        QVERIFY(main_->Config().DataPath != std::string("/woanders/"));
    }

    void calendarSelectsByDragAndShowsDaysWithoutData() {
        OpenVehicles(128, 30); // 9 March 07:00 to 11 March 22:30
        Control<QToolButton>(main_.get(), "intervalListButton")->click();
        Control<QToolButton>(main_.get(), "filterButton")->click();
        TimeRangeDialog* range = Control<TimeRangeDialog>(main_.get());
        QVERIFY(range->isVisible());
        QCalendarWidget* calendar = range->calendar;
        QCOMPARE(calendar->locale().language(), QLocale::German);
        QCOMPARE(calendar->locale().monthName(3), QStringLiteral("März"));

        // Days outside the data look disabled; days with data do not.
        const QColor disabled = range->palette().color(QPalette::Disabled, QPalette::Text);
        QCOMPARE(calendar->dateTextFormat(QDate(2026, 3, 8)).foreground().color(), disabled);
        QCOMPARE(calendar->dateTextFormat(QDate(2026, 3, 12)).foreground().color(), disabled);
        QVERIFY(calendar->dateTextFormat(QDate(2026, 3, 10)).foreground().color() != disabled);

        QWidget* days = calendar->findChild<QAbstractItemView*>()->viewport();
        const QPoint first = CellOf(calendar, 9);
        const QPoint second = CellOf(calendar, 10);
        QVERIFY(!first.isNull() && !second.isNull());
        QTest::mouseClick(days, Qt::LeftButton, {}, second); // one day first
        QCOMPARE(range->CalendarSelectionStart(), QDate(2026, 3, 10));
        QTest::mousePress(days, Qt::LeftButton, {}, first);
        QMouseEvent drag(QEvent::MouseMove, second, days->mapToGlobal(second), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(days, &drag);
        QTest::mouseRelease(days, Qt::LeftButton, {}, second);
        QCOMPARE(range->CalendarSelectionStart(), QDate(2026, 3, 9));
        QCOMPARE(range->CalendarSelectionEnd(), QDate(2026, 3, 10));
        QCOMPARE(range->startNumberLabel->text(), QStringLiteral("1"));
        QCOMPARE(range->stopNumberLabel->text(), QString::number(17 * 12 + 288)); // up to 23:55 on the 10th
        QVERIFY(!calendar->toolTip().isEmpty()); // the calendar tells how to select several days

        main_->LoadLanguageFile("english.cty");
        QCOMPARE(calendar->locale().language(), QLocale::English);
        QCOMPARE(calendar->locale().monthName(3), QStringLiteral("March"));
    }
};

QTEST_MAIN(WindowBehaviourTest)
#include "WindowBehaviourTest.moc"
