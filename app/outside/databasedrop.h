#pragma once

#include <QObject>
#include <QString>

class QMimeData;
class QWidget;

namespace app {

// A database file dropped anywhere on a window: on the window itself or on any of its boxes
// (which would otherwise take the file's path as text). Other drops are left alone: a box
// still takes dropped text, and a drag of anything else is refused without a word.
class DatabaseDrop : public QObject {
    Q_OBJECT
public:
    // Watches `window` and every widget in it that takes drops; owned by `window`.
    explicit DatabaseDrop(QWidget &window);

    // The database file that `data` carries: exactly one local file named *.fxd (letter case
    // aside); empty otherwise.
    static QString databaseIn(const QMimeData *data);

signals:
    // Emitted once the drop has ended, so that whatever the file's opening asks does not
    // hold the program the file came from.
    void databaseDropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace app
