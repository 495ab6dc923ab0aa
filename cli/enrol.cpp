#include "cli/enrol.h"

#include "cli/failure.h"
#include "cli/programmersession.h"
#include "cli/stopsignals.h"
#include "link/capture.h"
#include "userdb/databasefile.h"
#include "userdb/enrolment.h"
#include "userdb/filemessage.h"
#include "userdb/opendatabase.h"
#include "userdb/previousversion.h"
#include "userdb/safefileread.h"
#include "userdb/safefilewrite.h"

#include <QFileInfo>
#include <csignal>
#include <functional>
#include <memory>

namespace cli {

namespace {

const QString CommunicationsError = QStringLiteral("Communications Error");

// Capture mode's reply label and status for a program without a window: each line shown goes
// to `onLine`; the status is kept.
class CaptureLines : public proglink::ProgrammerView {
public:
    explicit CaptureLines(std::function<void(const QString &)> onLine)
        : m_onLine(std::move(onLine)) {}

    void setStatusText(const QString &text) override { m_status = text; }
    void setPortText(const QString &) override {}
    // Capture mode clears the label before each line; only the lines themselves count.
    void setReplyText(const QString &text) override {
        if (!text.isEmpty())
            m_onLine(text);
    }
    void showProgress(int, int) override {}
    void setProgress(int) override {}
    void hideProgress() override {}
    void showSerialBeingWritten(const QString &) override {}

    const QString &status() const { return m_status; }

private:
    std::function<void(const QString &)> m_onLine;
    QString m_status;
};

// The database file as it is now: its bytes (kept as the previous version) and its records.
struct StartingFile {
    QByteArray bytes;
    QString address;
    std::unique_ptr<userdb::RecordStore> records = std::make_unique<userdb::RecordStore>();
};

// Read once, so that the kept version is exactly what was enrolled into. A file that could not
// be saved afterwards is refused now, before a fob is lost to a failing save.
StartingFile readStartingFile(const QString &path) {
    const QString load = QStringLiteral("load");
    StartingFile file;
    userdb::FileReadResult read = userdb::readRegularFile(path, userdb::MaxReadFileBytes, load);
    if (!read.error.isEmpty())
        throw Failure(read.error);
    file.bytes = std::move(read.bytes);
    const userdb::ReadResult parsed = userdb::readDatabase(file.bytes, *file.records);
    if (!parsed.ok)
        throw Failure(userdb::fileMessage(load, path, parsed.error));
    file.address = parsed.address;
    if (const QString reason = userdb::unstorableText(file.address, *file.records);
        !reason.isEmpty())
        throw Failure(userdb::fileMessage(QStringLiteral("save"), path, reason));
    return file;
}

// The previous version goes into a regular file only: never over a folder, a device or a pipe.
void checkKeptTarget(const QString &keptPath) {
    const QFileInfo kept(keptPath);
    if (kept.exists() && !kept.isFile())
        throw Failure(userdb::fileMessage(QStringLiteral("save"), keptPath,
                                          QStringLiteral("it is not a regular file")));
}

} // namespace

int enrolFobs(const Request &request, ProgrammerSession &session, std::FILE *out, std::FILE *err) {
    // Caught from the start, so that a signal during the search is not the end of the program.
    StopSignals stopSignals;
    if (!stopSignals.isActive())
        throw Failure(QStringLiteral("cannot catch SIGINT and SIGTERM"));

    StartingFile file = readStartingFile(request.file);
    const QString keptPath = userdb::previousVersionPath(request.file);
    checkKeptTarget(keptPath);
    userdb::OpenDatabase database;
    database.replaceRecords(std::move(*file.records));
    file.records.reset();

    session.connect(request.portPath);
    if (stopSignals.requested())
        return ExitSuccess;
    if (const QString error = userdb::replaceFile(keptPath, file.bytes, QStringLiteral("save"));
        !error.isEmpty())
        throw Failure(error);

    userdb::Enrolment enrolment(database, request.slotCount, session.link().context().clock);
    proglink::InternalReceiverCapture capture;
    QObject::connect(&stopSignals, &StopSignals::stopRequested,
                     [&capture] { capture.requestStop(); });
    QString failure; // ends the run once the receiver is off
    CaptureLines view([&](const QString &line) {
        if (!failure.isEmpty())
            return;
        const std::optional<userdb::EnrolmentResult> result = enrolment.takeLine(line);
        if (!result)
            return;
        switch (result->kind) {
        case userdb::EnrolmentResult::Enrolled:
            // Saved before it is reported: a line on standard output is a fob in the file.
            if (QString error =
                    userdb::saveDatabaseFile(request.file, file.address, database.records());
                !error.isEmpty()) {
                failure = std::move(error);
                break;
            }
            std::fprintf(out, "%d\t%s\n", result->slot, qPrintable(result->serial));
            // Whoever reads the output has gone (a pipe closed): nobody would hear of the
            // next fob.
            if (std::fflush(out) != 0) {
                failure = QStringLiteral("cannot write to standard output; %1 is in slot %2")
                              .arg(result->serial)
                              .arg(result->slot);
                break;
            }
            if (request.count > 0 && enrolment.enrolledCount() >= request.count)
                capture.requestStop();
            return;
        case userdb::EnrolmentResult::AlreadyHeld:
            std::fprintf(err, "remletctl: %s %s\n", qPrintable(result->serial),
                         qPrintable(result->text()));
            std::fflush(err);
            return;
        case userdb::EnrolmentResult::NoFreeSlot:
            failure = QStringLiteral("%1: %2 in slots 1 to %3")
                          .arg(result->serial, result->text())
                          .arg(request.slotCount);
            break;
        }
        capture.requestStop();
    });

    // A closed pipe on standard output must not end the program before the receiver is off.
    std::signal(SIGPIPE, SIG_IGN);
    session.view().setStatusText(
        QStringLiteral("Present each new fob to the programmer; Ctrl+C ends"));
    const proglink::CaptureEnd end =
        capture.run(session.link().context(), view, session.port(), session.link().buffer());
    if (!failure.isEmpty())
        throw Failure(failure);
    switch (end) {
    case proglink::CaptureEnd::NotOpened:
        throw Failure(QStringLiteral("%1: cannot use the programmer's port %2")
                          .arg(CommunicationsError, session.devicePath()));
    case proglink::CaptureEnd::Lost:
        throw Failure(QStringLiteral("%1: the programmer went away (%2, saved in %3)")
                          .arg(CommunicationsError,
                               userdb::enrolledCountText(enrolment.enrolledCount()), request.file));
    case proglink::CaptureEnd::Stopped:
    case proglink::CaptureEnd::Refused:
        break;
    }
    if (view.status() == CommunicationsError)
        std::fprintf(err, "remletctl: warning: the programmer did not answer the switch-off; "
                          "its receiver may still be on\n");
    return ExitSuccess;
}

} // namespace cli
