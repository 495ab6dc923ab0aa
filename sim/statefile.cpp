#include "sim/statefile.h"

#include <QFile>
#include <QSaveFile>

namespace sim {

namespace {

QByteArray describe(const QByteArray &name, const SlotMemory &memory) {
    QByteArray text = "size " + name + ' ' + QByteArray::number(memory.size()) + '\n';
    for (int number = 1; number <= memory.size(); ++number) {
        const Slot slot = memory.slot(number);
        if (!slot.isEmpty())
            text += "slot " + name + ' ' + QByteArray::number(number) + ' ' + slot.serial + ' ' +
                    slot.aux + '\n';
    }
    return text;
}

// Reads one line into the memories; false when it is not one of the file's lines.
bool readLine(const QList<QByteArray> &words, SlotMemory &receiver, SlotMemory &tag) {
    if (words.size() < 3 || (words.at(1) != "receiver" && words.at(1) != "tag"))
        return false;
    SlotMemory &memory = words.at(1) == "receiver" ? receiver : tag;
    bool ok = false;
    const int number = words.at(2).toInt(&ok);
    if (!ok)
        return false;
    if (words.at(0) == "size" && words.size() == 3 &&
        (number == SlotMemory::SmallSize || number == SlotMemory::LargeSize)) {
        memory.setSize(number);
        return true;
    }
    if (words.at(0) == "slot" && words.size() == 5 && words.at(3).size() == 8 &&
        words.at(4).size() == 4)
        return memory.setSlot(number, Slot{words.at(3), words.at(4)});
    return false;
}

} // namespace

QString loadState(const QString &path, SlotMemory &receiver, SlotMemory &tag) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    SlotMemory newReceiver;
    SlotMemory newTag;
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (!readLine(line.simplified().split(' '), newReceiver, newTag))
            return QStringLiteral("%1, line %2: not a memory line: %3")
                .arg(path)
                .arg(lineNumber)
                .arg(QString::fromLatin1(line.left(60)));
    }
    receiver = newReceiver;
    tag = newTag;
    return {};
}

QString saveState(const QString &path, const SlotMemory &receiver, const SlotMemory &tag) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    file.write("# zepro-sim memories\n" + describe("receiver", receiver) + describe("tag", tag));
    if (!file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace sim
