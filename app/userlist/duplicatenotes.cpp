#include "app/userlist/duplicatenotes.h"

#include <QStringList>

namespace app {

namespace {

// A damaged file can give one serial to thousands of slots: a note names the first few.
constexpr qsizetype MostSlotsNamed = 10;

// "slot 17", "slots 3, 17", "slots 1, 2, ..., 10 and 42 more"; empty when `holders`
// holds nothing but `except`.
QString slotPhrase(const QList<int> &holders, int except) {
    QStringList numbers;
    qsizetype count = 0;
    for (int slot : holders) {
        if (slot == except)
            continue;
        if (++count <= MostSlotsNamed)
            numbers.append(QString::number(slot));
    }
    if (count == 0)
        return {};
    if (count == 1)
        return QStringLiteral("slot ") + numbers.first();
    QString phrase = QStringLiteral("slots ") + numbers.join(QStringLiteral(", "));
    if (count > MostSlotsNamed)
        phrase += QStringLiteral(" and %1 more").arg(count - MostSlotsNamed);
    return phrase;
}

} // namespace

QString sameSerialNote(const QList<int> &holders, int slot) {
    const QString phrase = slotPhrase(holders, slot);
    return phrase.isEmpty() ? QString() : QStringLiteral("Same serial as ") + phrase;
}

QString serialAlsoInNote(const QString &serial, const QList<int> &otherSlots) {
    const QString phrase = slotPhrase(otherSlots, 0);
    return phrase.isEmpty() ? QString()
                            : QStringLiteral("Serial %1 is also in %2").arg(serial, phrase);
}

} // namespace app
