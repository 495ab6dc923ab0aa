// The window on the desktop: its fit on screens of several sizes and fonts, its place between
// runs, and database files that come from outside (the command line, a drop, the recent list).
#include "appharness.h"

#include "app/outside/recentfiles.h"
#include "tests/common/testfiles.h"

#include <QTemporaryDir>

using platform::Answer;

namespace {

// The screens the offscreen platform is given, side by side; the first is the primary.
const char *const Screens = R"({"screens": [
    {"name": "1920x1080", "x": 0, "y": 0, "width": 1920, "height": 1080},
    {"name": "1366x768", "x": 1920, "y": 0, "width": 1366, "height": 768},
    {"name": "1024x600", "x": 3286, "y": 0, "width": 1024, "height": 600},
    {"name": "1366x768 at twice the scale", "x": 4310, "y": 0, "width": 683, "height": 384}]})";

QScreen *screenNamed(const QString &name) {
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    qFatal("No screen %s", qPrintable(name));
}

// Whether every visible menu of the bar is shown on it, none behind its overflow button.
bool everyMenuShown(QMenuBar *bar) {
    const auto *overflow = bar->findChild<QToolButton *>("qt_menubar_ext_button");
    return !overflow || !overflow->isVisible();
}

QByteArray slotLine(const QByteArray &serial, const QByteArray &surname) {
    return "\"" + serial + "\",\"\",\"" + surname + "\"" + QByteArray(",\"\"").repeated(10) +
           "\r\n";
}

QMimeData *filesData(const QStringList &paths) {
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << (path.contains(':') ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    data->setText(paths.join('\n'));
    return data;
}

// A drag over `target` and, when it was accepted, the drop; whether it was accepted.
bool dragAndDrop(QWidget *target, const QStringList &paths) {
    const std::unique_ptr<QMimeData> data(filesData(paths));
    const QPoint middle = target->rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(middle, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents(); // the file opens once the drop has ended
    return drop.isAccepted();
}

QMenu *openRecent(AppHarness &h) {
    QMenu *menu = h.w().menuAction("mnuOpenRecent")->menu();
    emit menu->aboutToShow();
    return menu;
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(m_dir.path())); }
    void init() { QSettings().clear(); }

    // With a programmer found and a database open (every menu shown), the frame stays on the
    // screen and the menu bar shows every menu while the screen has room; else the screen
    // wins and the column scrolls. The Sort and Merge panels come into view within the screen.
    void fitsTheScreen_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("menusFit");
        QTest::addColumn<bool>("scrolls"); // with both panels open
        QTest::newRow("1920x1080, 13 pt") << "1920x1080" << 13 << true << false;
        QTest::newRow("1366x768, 9 pt") << "1366x768" << 9 << true << false;
        QTest::newRow("1366x768, 13 pt") << "1366x768" << 13 << true << true;
        QTest::newRow("1024x600, 13 pt") << "1024x600" << 13 << true << true;
        QTest::newRow("2x scale, 9 pt") << "1366x768 at twice the scale" << 9 << true << true;
        QTest::newRow("2x scale, 13 pt") << "1366x768 at twice the scale" << 13 << false << true;
    }
    void fitsTheScreen() {
        QFETCH(QString, screen);
        QFETCH(int, points);
        const QFont original = QApplication::font();
        QFont font = original;
        font.setPointSize(points);
        QApplication::setFont(font);
        const auto restoreFont = qScopeGuard([&] { QApplication::setFont(original); });
        AppHarness h;
        const QRect available = screenNamed(screen)->availableGeometry();
        h.w().setScreen(screenNamed(screen));
        h.w().startUp();
        h.showNewDatabase();
        QTRY_VERIFY2(available.contains(h.w().frameGeometry()), qPrintable(screen));
        QTEST(everyMenuShown(h.w().menuBar()), "menusFit");
        auto *column = h.child<QScrollArea>("mainColumnArea");
        for (const char *command : {"mnuSortDatabase", "mnuMergeDatabase"}) {
            h.w().menuAction(command)->trigger();
            QVERIFY(available.contains(h.w().frameGeometry()));
        }
        QWidget *merge = h.child("fraMergeDatabase");
        const QRect shown(merge->mapTo(column->viewport(), QPoint(0, 0)), merge->size());
        QVERIFY(column->viewport()->rect().intersects(shown));
        QTEST(column->verticalScrollBar()->isVisible(), "scrolls");
    }

    // A remembered place comes back fitted into the free area of the screen it was on, or of
    // the primary screen when that monitor has gone; the frame is as large as it was then.
    void rememberedPlace_data() {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("where it was left")
            << QRect(2000, 40, 1004, 704) << QRect(2000, 40, 1004, 704);
        QTest::newRow("partly off the screen")
            << QRect(2700, 300, 1004, 704) << QRect(2282, 64, 1004, 704);
        QTest::newRow("larger than the screen")
            << QRect(1930, 10, 2000, 1000) << QRect(1920, 0, 1366, 768);
        QTest::newRow("monitor gone") << QRect(9000, 100, 1004, 704) << QRect(916, 100, 1004, 704);
    }
    void rememberedPlace() {
        QFETCH(QRect, frame);
        QSettings().setValue("mainWindow/frame", frame);
        QSettings().setValue("mainWindow/place", frame.marginsRemoved(QMargins(2, 2, 2, 2)));
        AppHarness h(0);
        h.w().startUp();
        h.w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.w()));
        QFETCH(QRect, placed);
        QTRY_COMPARE(h.w().frameGeometry(), placed);
    }

    // Closed at one place, the window opens there in the next run, maximized if it was.
    void placeRemembered() {
        for (const bool maximized : {false, true}) {
            AppHarness first(0);
            first.w().startUp();
            first.w().setGeometry(QRect(2100, 90, 1000, 650));
            first.w().show();
            if (maximized)
                first.w().showMaximized();
            QVERIFY(QTest::qWaitForWindowExposed(&first.w()));
            first.w().close();
            AppHarness next(0);
            next.w().startUp();
            next.w().show();
            QVERIFY(QTest::qWaitForWindowExposed(&next.w()));
            QCOMPARE(next.w().isMaximized(), maximized);
            QCOMPARE(next.w().normalGeometry(), QRect(2100, 90, 1000, 650));
        }
    }

    // A file from outside opens as Load Database does: unsaved changes are asked about first,
    // Cancel keeps them, Save writes them first; a file that fails says why.
    void fileFromOutside_data() {
        QTest::addColumn<Action>("open");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<bool>("opened");
        const auto openFile = [](const QString &name) {
            return Action([=](AppHarness &h) { h.w().openFile(name); });
        };
        const auto drop = [](const QString &box) {
            return Action([=](AppHarness &h) {
                QWidget *target = box.isEmpty() ? &h.w() : h.child(box);
                QVERIFY(dragAndDrop(target, {QDir::current().filePath("b.fxd")}));
            });
        };
        const Action recent([](AppHarness &h) {
            app::addRecentFile("b.fxd");
            openRecent(h)->actions().first()->trigger();
        });
        QTest::newRow("argument, nothing unsaved") << openFile("b.fxd") << QList<Answer>{} << true;
        QTest::newRow("argument, missing file") << openFile("none.fxd") << QList<Answer>{} << false;
        QTest::newRow("drop on the window, discard")
            << drop("") << QList<Answer>{Answer::Discard} << true;
        QTest::newRow("drop on a text box, cancel")
            << drop("txtSurname") << QList<Answer>{Answer::Cancel} << false;
        QTest::newRow("recent list, save") << recent << QList<Answer>{Answer::Save} << true;
    }
    void fileFromOutside() {
        QFETCH(Action, open);
        QFETCH(QList<Answer>, answers);
        QFETCH(bool, opened);
        QVERIFY(writeFile("a.fxd", "\"A\"\r\n" + slotLine("0000000A", "Ames")));
        QVERIFY(writeFile("b.fxd", "\"B\"\r\n" + slotLine("0000000B", "Best")));
        AppHarness h(0);
        QVERIFY(h.w().openFile("a.fxd"));
        if (!answers.isEmpty())
            h.w().database().setCell(1, userdb::Surname, "Edited");
        for (const Answer answer : answers)
            h.dialogs.queueAnswer(answer);
        open(h);
        QCOMPARE(h.dialogs.questions().size(), answers.size());
        QCOMPARE(h.dialogs.unexpectedQuestions(), 0);
        QCOMPARE(h.w().DatabaseFilename().endsWith("b.fxd"), opened);
        QCOMPARE(h.w().records().cell(1, userdb::Surname), opened              ? "Best"
                                                           : answers.isEmpty() ? "Ames"
                                                                               : "Edited");
        QCOMPARE(h.dialogs.messages().size(), !opened && answers.isEmpty() ? 1 : 0);
        if (answers == QList<Answer>{Answer::Save})
            QVERIFY(readFile("a.fxd").contains("Edited"));
    }

    // Only a drag of one local database file is taken; anything else is refused without a
    // word, and a text box still takes dropped text.
    void otherDropsRefused() {
        AppHarness h(0);
        h.w().runCommand(app::Command::NewDatabase);
        const QString untitled = h.w().DatabaseFilename();
        for (const QStringList &paths : {QStringList{path("a.txt")},
                                         {path("a.fxd"), path("b.fxd")},
                                         {"https://example.org/a.fxd"}})
            QVERIFY(!dragAndDrop(&h.w(), paths));
        QVERIFY(dragAndDrop(h.child("txtSurname"), {path("a.txt")}));
        QCOMPARE(h.w().DatabaseFilename(), untitled);
        QCOMPARE(h.dialogs.messages().size() + h.dialogs.questions().size(), 0);
    }

    // While a transfer runs, a file from outside is refused as Load Database is.
    void refusedDuringATransfer() {
        QVERIFY(writeFile("b.fxd", "\"B\"\r\n" + slotLine("0000000B", "Best")));
        AppHarness h;
        h.w().startUp();
        bool opened = true;
        h.timeline.after(0.5, [&] { opened = h.w().openFile("b.fxd"); });
        h.w().runCommand(app::Command::ReadReceiver);
        QVERIFY(!opened);
        QVERIFY(h.w().DatabaseFilename().startsWith("Untitled"));
        QCOMPARE(h.dialogs.beeps(), 1);
    }

    // The recent list: most recent first, each file once, at most eight, a file that has
    // gone dropped for good, relative names made absolute; Clear List empties it.
    void recentList_data() {
        QTest::addColumn<QStringList>("steps"); // +name: opened, -name: deleted, =name: back
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("most recent first")
            << QStringList{"+a", "+b", "+c"} << QStringList{"c", "b", "a"};
        QTest::newRow("again to the top")
            << QStringList{"+a", "+b", "+c", "+./a"} << QStringList{"a", "c", "b"};
        QTest::newRow("eight at most")
            << QStringList{"+a", "+b", "+c", "+d", "+e", "+f", "+g", "+h", "+i", "+j"}
            << QStringList{"j", "i", "h", "g", "f", "e", "d", "c"};
        QTest::newRow("gone for good")
            << QStringList{"+a", "+b", "+c", "-b", "?", "=b"} << QStringList{"c", "a"};
    }
    void recentList() {
        QFETCH(QStringList, steps);
        for (const QString &step : steps) {
            const QString name = step.mid(1) + ".fxd";
            if (step.startsWith('+') || step.startsWith('='))
                QVERIFY(writeFile(name, "\"\"\r\n"));
            if (step.startsWith('+'))
                app::addRecentFile(name);
            else if (step.startsWith('-'))
                QVERIFY(QFile::remove(name));
            else if (step == "?")
                app::recentFiles();
        }
        QStringList listed;
        for (const QString &name : app::recentFiles())
            listed << QFileInfo(name).completeBaseName();
        QTEST(listed, "listed");
        QCOMPARE(app::recentFiles().first(), path(listed.first() + ".fxd"));
    }

    // Load, Save As and the first Save of a new database put their files on the list; its
    // items carry a digit to pick them by; Clear List empties it.
    void recentFilesMenu() {
        QVERIFY(writeFile("loaded.fxd", "\"\"\r\n"));
        AppHarness h(0);
        h.files.queueAnswer(path("loaded.fxd"));
        h.w().runCommand(app::Command::LoadDatabase);
        h.files.queueAnswer(path("saved as.fxd"));
        h.w().runCommand(app::Command::SaveDatabaseAs);
        h.w().runCommand(app::Command::NewDatabase);
        h.files.queueAnswer(path("new & first.fxd"));
        h.w().runCommand(app::Command::SaveDatabase);
        QStringList texts;
        for (QAction *item : openRecent(h)->actions())
            texts << item->text();
        QCOMPARE(texts, (QStringList{"&1 " + path("new && first.fxd"), "&2 " + path("saved as.fxd"),
                                     "&3 " + path("loaded.fxd"), "", "&Clear List"}));
        openRecent(h)->actions().last()->trigger();
        QCOMPARE(openRecent(h)->actions().size(), 1);
        QVERIFY(!openRecent(h)->actions().first()->isEnabled());
    }
};

int main(int argc, char *argv[]) {
    QTemporaryDir settings;
    const QString config = settings.filePath("screens.json");
    if (!writeFile(config, Screens))
        return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    QApplication application(argc, argv);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_desktop.moc"
