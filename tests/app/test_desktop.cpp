// The window on the desktop: its fit on screens of several sizes and fonts, its place between
// runs, and database files that come from outside (the command line, a drop, the recent list).
#include "appharness.h"
#include "tests/common/datacolumns.h"

#include "app/outside/recentfiles.h"
#include "tests/common/testfiles.h"

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

// A drag over `target` and, when it was accepted, the drop; whether it was accepted.
bool dragAndDrop(QWidget *target, const QStringList &paths) {
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << (path.contains(':') ? QUrl(path) : QUrl::fromLocalFile(path));
    const auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setText(paths.join(QLatin1Char('\n'))); // as file managers give it, for text boxes
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

class DesktopTest : public InOwnFolder {
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    // With a programmer found and a database open (every menu shown), the frame stays on the
    // screen and the menu bar shows every menu while the screen has room; else the screen
    // wins and the column scrolls. The Sort and Merge panels come into view within the screen.
    // Every box of the editor is at least a line of text high (the address two) and none
    // overlaps another, with both panels open and a transfer's progress bar shown.
    void fitsTheScreen_data() {
        // scrolls: with both panels open
        addColumns<QString, int, bool, bool>("screen", "points", "menusFit", "scrolls");
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
        QFont font = QApplication::font();
        const auto restore = qScopeGuard([original = font] { QApplication::setFont(original); });
        font.setPointSize(points);
        QApplication::setFont(font);
        AppHarness h;
        const QRect available = screenNamed(screen)->availableGeometry();
        h.w().setScreen(screenNamed(screen));
        h.w().startUp();
        h.child("prbDownload")->show();
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
        const int line = QFontMetrics(font).height();
        QList<QRect> placed;
        for (QWidget *box : h.child("fraTXUsers")->findChildren<QWidget *>()) {
            const bool address = box->inherits("QPlainTextEdit");
            if ((!address && !box->inherits("QLineEdit") && !box->inherits("QComboBox")) ||
                box->parentWidget()->inherits("QComboBox"))
                continue;
            QVERIFY2(box->height() >= (address ? 2 : 1) * line, qPrintable(box->objectName()));
            const QRect rect(box->mapTo(&h.w(), QPoint(0, 0)), box->size());
            for (const QRect &other : std::as_const(placed))
                QVERIFY2(!rect.intersects(other), qPrintable(box->objectName()));
            placed << rect;
        }
        QCOMPARE(placed.size(), 13);
    }

    // The bulk panel beyond the window's edge is hidden, so Tab never reaches it unseen; Bulk
    // Fill widens the window to show it and puts the keyboard into it.
    void bulkPanelOnlyWhenSeen() {
        AppHarness h(0);
        h.showNewDatabase();
        QWidget *bulk = h.child("fraBulk");
        QVERIFY(!bulk->isVisible());
        QWidget *address = h.child("txtDatabaseAddress");
        address->setFocus();
        QSet<QWidget *> reached;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget();
        }
        QVERIFY(!reached.contains(h.child("txtSerialStart")));
        const int narrow = h.w().width();
        h.w().runCommand(app::Command::BulkFill);
        QVERIFY(h.w().width() > narrow && bulk->isVisible());
        QCOMPARE(QApplication::focusWidget(), h.child("txtSerialStart"));
        QVERIFY(QRect(QPoint(0, 0), h.w().centralWidget()->size()).contains(bulk->geometry()));
        h.w().resize(narrow, h.w().height());
        QTRY_VERIFY(!bulk->isVisible());
    }

    // A remembered place comes back fitted into the free area of the screen it was on, or of
    // the primary screen when that monitor has gone (above and left of it or beyond its right
    // and bottom edges), the frame as large as it was then; a
    // window closed maximized opens maximized. Closing remembers the place again.
    void rememberedPlace_data() {
        addColumns<QRect, bool, QRect>("frame", "maximized", "placed");
        const auto row = [](const char *name, QRect frame, bool maximized, QRect placed) {
            QTest::newRow(name) << frame << maximized << placed;
        };
        row("where it was left", {2000, 40, 1004, 704}, false, {2000, 40, 1004, 704});
        row("maximized", {2000, 40, 1004, 704}, true, {2000, 40, 1004, 704});
        row("partly off the screen", {2700, 300, 1004, 704}, false, {2282, 64, 1004, 704});
        row("above and left", {1900, -100, 1004, 704}, false, {1920, 0, 1004, 704});
        row("larger than the screen", {1930, 10, 2000, 1000}, false, {1920, 0, 1366, 768});
        row("monitor gone", {9000, 100, 1004, 704}, false, {916, 100, 1004, 704});
    }
    void rememberedPlace() {
        QFETCH(QRect, frame);
        QFETCH(bool, maximized);
        QFETCH(QRect, placed);
        const QMargins margins(2, 2, 2, 2); // the offscreen platform's frame
        QSettings().setValue("mainWindow/frame", frame);
        QSettings().setValue("mainWindow/place", frame - margins);
        QSettings().setValue("mainWindow/maximized", maximized);
        StartedApp h(0);
        h.w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.w()));
        QCOMPARE(h.w().isMaximized(), maximized);
        QTRY_COMPARE(h.w().normalGeometry() + margins, placed);
        QSettings().clear();
        h.w().close();
        QCOMPARE(QSettings().value("mainWindow/place").toRect(), placed - margins);
        QCOMPARE(QSettings().value("mainWindow/maximized").toBool(), maximized);
    }

    // A file from outside opens as Load Database does: unsaved changes are asked about first;
    // a file that fails says why. A drag of anything but one local database file is refused
    // without a word.
    void fileFromOutside_data() {
        addColumns<Action, bool, int>("open", "opened", "said");
        const auto openFile = [](const QString &name) {
            return Action([=](AppHarness &h) { h.w().openFile(name); });
        };
        const auto drop = [](const QString &box, const QStringList &names = {"b.fxd"}) {
            return Action([=](AppHarness &h) {
                QStringList paths;
                for (const QString &name : names)
                    paths << (name.contains(':') ? name : QDir::current().filePath(name));
                const bool taken = dragAndDrop(box.isEmpty() ? &h.w() : h.child(box), paths);
                QCOMPARE(taken, names == QStringList{"b.fxd"});
            });
        };
        const Action recent([](AppHarness &h) {
            app::addRecentFile("b.fxd");
            openRecent(h)->actions().first()->trigger();
        });
        QTest::newRow("argument") << openFile("b.fxd") << true << 0;
        QTest::newRow("argument, missing file") << openFile("none.fxd") << false << 1;
        QTest::newRow("drop on the window") << drop("") << true << 0;
        QTest::newRow("drop on a text box") << drop("txtSurname") << true << 0;
        QTest::newRow("recent list") << recent << true << 0;
        QTest::newRow("drop of a text file") << drop("", {"a.txt"}) << false << 0;
        QTest::newRow("drop of two files") << drop("", {"a.fxd", "b.fxd"}) << false << 0;
        QTest::newRow("drop from the web") << drop("", {"https://example.org/b.fxd"}) << false << 0;
    }
    void fileFromOutside() {
        QFETCH(Action, open);
        QFETCH(bool, opened);
        QFETCH(int, said);
        QVERIFY(writeFile("a.fxd", "\"A\"\r\n" + slotLine("0000000A", "Ames")));
        QVERIFY(writeFile("b.fxd", "\"B\"\r\n" + slotLine("0000000B", "Best")));
        AppHarness h(0);
        QVERIFY(h.w().openFile("a.fxd"));
        h.w().database().setCell(1, userdb::Surname, "Edited");
        h.dialogs.queueAnswer(Answer::Discard);
        open(h);
        QCOMPARE(h.dialogs.questions().size(), opened || said ? 1 : 0); // a refused drop: none
        QCOMPARE(int(h.dialogs.messages().size()), said);
        QCOMPARE(h.w().records().cell(1, userdb::Surname), opened ? "Best" : "Edited");
    }

    // File > Open Recent: the files opened (Load, the command line, a drop), saved as, or
    // saved the first time, most recent first, each once, at most eight; a file that has gone
    // is dropped for good; each item has its digit; Clear List empties the list.
    void recentFiles_data() {
        // +a: a.fxd opened; -a: deleted; =a: back again; ?: the menu shown; >a: saved as;
        // *a: a new database saved the first time; 0: Clear List.
        addColumns<QStringList, QStringList>("steps", "listed");
        using Names = QStringList;
        QTest::newRow("again to the top")
            << Names{"+a", "+b", "+c", "+./a"} << Names{"a", "c", "b"};
        QTest::newRow("eight at most")
            << Names{"+a", "+b", "+c", "+d", "+e", "+f", "+g", "+h", "+i", "+j"}
            << Names{"j", "i", "h", "g", "f", "e", "d", "c"};
        QTest::newRow("gone for good")
            << Names{"+a", "+b", "+c", "-b", "?", "=b"} << Names{"c", "a"};
        QTest::newRow("saved") << Names{"+a", ">b & c", "*d"} << Names{"d", "b & c", "a"};
        QTest::newRow("cleared") << Names{"+a", "+b", "0"} << Names{};
    }
    void recentFiles() {
        QFETCH(QStringList, steps);
        AppHarness h(0);
        for (const QString &step : steps) {
            const QChar kind = step.at(0);
            const QString file = step.mid(1) + ".fxd";
            if (kind == '+' || kind == '=')
                QVERIFY(writeFile(file, "\"\"\r\n"));
            if (kind == '+')
                QVERIFY(h.w().openFile(file));
            else if (kind == '-')
                QVERIFY(QFile::remove(file));
            else if (kind == '?')
                openRecent(h);
            else if (kind == '0')
                openRecent(h)->actions().last()->trigger();
            if (kind == '*')
                h.w().runCommand(app::Command::NewDatabase);
            if (kind == '>' || kind == '*')
                h.runWithFile(kind == '>' ? app::Command::SaveDatabaseAs
                                          : app::Command::SaveDatabase,
                              path(file));
        }
        QStringList listed;
        const QList<QAction *> items = openRecent(h)->actions();
        for (int i = 0; i + 2 < items.size(); ++i) {
            const QString shown = items.at(i)->toolTip();
            QCOMPARE(items.at(i)->text(),
                     QString("&%1 ").arg(i + 1) + QString(shown).replace("&", "&&"));
            listed << QFileInfo(shown).completeBaseName();
        }
        QTEST(listed, "listed");
        QCOMPARE(items.last()->isEnabled(), !listed.isEmpty());
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
