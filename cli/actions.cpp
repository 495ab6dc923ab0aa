#include "cli/actions.h"

#include "cli/conversions.h"
#include "cli/enrol.h"
#include "cli/failure.h"
#include "cli/programmersession.h"
#include "link/slotvalues.h"
#include "userdb/databasefile.h"
#include "userdb/filemessage.h"
#include "userdb/safefilewrite.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <memory>

namespace cli {

namespace {

const QString ReadFailed = QStringLiteral("Communications error with reciever, please try again");

QString deviceName(proglink::Device device) {
    return device == proglink::Device::Receiver ? QStringLiteral("receiver")
                                                : QStringLiteral("tag");
}

void print(std::FILE *out, const QString &line) {
    std::fprintf(out, "%s\n", qPrintable(line));
}

std::unique_ptr<userdb::RecordStore> loadDatabase(const QString &path) {
    auto store = std::make_unique<userdb::RecordStore>();
    const userdb::LoadResult loaded = userdb::loadDatabaseFile(path, *store);
    if (!loaded.error.isEmpty())
        throw Failure(loaded.error);
    return store;
}

// The programmer, found, and told the device's size when `sendSize` says so. Reading a device
// needs no size; telling one the wrong size would change it.
void connectFor(const Request &request, ProgrammerSession &session, bool sendSize) {
    session.connect(request.portPath);
    if (sendSize)
        session.applySize(request.device, request.slotCount);
}

// "86-90, 95": slot numbers in runs.
QString slotRuns(const QList<int> &numbers) {
    QStringList runs;
    for (qsizetype i = 0; i < numbers.size();) {
        qsizetype last = i;
        while (last + 1 < numbers.size() && numbers.at(last + 1) == numbers.at(last) + 1)
            ++last;
        runs << (last == i ? QString::number(numbers.at(i))
                           : QStringLiteral("%1-%2").arg(numbers.at(i)).arg(numbers.at(last)));
        i = last + 1;
    }
    return runs.join(QStringLiteral(", "));
}

// Users (used slots) that a device of slotCount slots cannot hold: they are neither programmed
// nor compared, and a script must hear of it. Told on standard error; true when there are any.
bool reportLeftOutUsers(const Request &request, const userdb::RecordStore &store) {
    QList<int> leftOut;
    for (int slot = request.slotCount + 1; slot <= userdb::SlotCount; ++slot)
        if (store.isUsed(slot))
            leftOut.append(slot);
    if (leftOut.isEmpty())
        return false;
    std::fprintf(stderr, "remletctl: the %s has %d slots; %s left out: %s\n",
                 qPrintable(deviceName(request.device)), request.slotCount,
                 leftOut.size() == 1 ? "the user in this slot was"
                                     : "the users in these slots were",
                 qPrintable(slotRuns(leftOut)));
    return true;
}

int find(const Request &request, ProgrammerSession &session, std::FILE *out) {
    session.connect(request.portPath, true);
    if (request.sizesGiven) {
        // As the window's discovery: the receiver's size, then the tag's.
        session.applySize(proglink::Device::Receiver, request.slotCount);
        session.applySize(proglink::Device::Tag, request.slotCount);
    }
    print(out, QStringLiteral("%1\t%2\t%3")
                   .arg(session.port())
                   .arg(session.devicePath(), session.found().identification));
    return ExitSuccess;
}

int read(const Request &request, ProgrammerSession &session) {
    // A folder that is not there is better told before a read of several seconds.
    const QFileInfo target(request.file);
    if (!target.absoluteDir().exists())
        throw Failure(userdb::fileMessage(QStringLiteral("save"), request.file,
                                          QStringLiteral("the folder does not exist")));
    if (const QString refused = userdb::writeTargetError(request.file, QStringLiteral("save"));
        !refused.isEmpty())
        throw Failure(refused);
    connectFor(request, session, request.sizesGiven);
    auto store = std::make_unique<userdb::RecordStore>();
    session.view().setActivity(QStringLiteral("Reading the %1").arg(deviceName(request.device)));
    session.view().takeStatusTexts();
    if (session.link().read(request.device, *store) != proglink::DownloadOutcome::Complete)
        session.fail(ReadFailed);
    session.view().hideProgress();
    // Lines the programmer sent that could not be read: the file lacks them.
    for (const QString &warning : session.view().takeStatusTexts())
        std::fprintf(stderr, "remletctl: warning: %s\n", qPrintable(warning));
    if (const QString error = userdb::saveDatabaseFile(request.file, QString(), *store);
        !error.isEmpty())
        throw Failure(error);
    return ExitSuccess;
}

int program(const Request &request, ProgrammerSession &session) {
    const auto store = loadDatabase(request.file);
    // Refused before the programmer hears anything, size command included.
    if (const QList<proglink::UnsendableValue> unsendable =
            proglink::findUnsendableValues(*store, request.slotCount);
        !unsendable.isEmpty())
        throw Failure(oneLine(proglink::describeUnsendableValues(unsendable)));
    connectFor(request, session, true);
    session.view().setActivity(
        QStringLiteral("Programming the %1").arg(deviceName(request.device)));
    if (!session.link().program(request.device, request.slotCount, *store))
        session.fail(QStringLiteral("Failed to write data"));
    return reportLeftOutUsers(request, *store) ? ExitDiffers : ExitSuccess;
}

int compare(const Request &request, ProgrammerSession &session, std::FILE *out) {
    const auto database = loadDatabase(request.file);
    connectFor(request, session, request.sizesGiven);
    session.view().setActivity(QStringLiteral("Reading the %1").arg(deviceName(request.device)));
    const proglink::Comparison comparison =
        session.link().compare(request.device, request.slotCount, *database);
    if (comparison.outcome == proglink::ComparisonOutcome::ReadFailed)
        session.fail(ReadFailed);
    for (const proglink::SlotDifference &d : comparison.differences)
        print(out, QStringLiteral("%1\t%2\t%3\t%4\t%5")
                       .arg(d.slot)
                       .arg(d.databaseSerial, d.databaseAux, d.deviceSerial, d.deviceAux));
    session.view().setStatusText(
        proglink::comparisonSummary(comparison.differences.size(), request.device));
    const bool leftOut = reportLeftOutUsers(request, *database);
    return comparison.outcome == proglink::ComparisonOutcome::Matches && !leftOut ? ExitSuccess
                                                                                  : ExitDiffers;
}

} // namespace

int runAction(const Request &request, ProgrammerSession &session, std::FILE *out) {
    switch (request.action) {
    case Action::Find:
        return find(request, session, out);
    case Action::Read:
        return read(request, session);
    case Action::Program:
        return program(request, session);
    case Action::Enrol:
        return enrolFobs(request, session, out, stderr);
    case Action::Export:
        return exportSpreadsheet(request);
    case Action::Import:
        return importSpreadsheet(request);
    case Action::Compare:
        break;
    }
    return compare(request, session, out);
}

} // namespace cli
