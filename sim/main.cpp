// zepro-sim: a simulated programmer on a pseudo-terminal, for trying the program without the
// device. See --help.

#include "sim/devicemodel.h"
#include "sim/ptyline.h"
#include "sim/simloop.h"
#include "sim/simsettings.h"
#include "sim/statefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM wake the loop through a pipe, so it ends cleanly from poll().
bool catchSignals() {
    if (::pipe(signalPipe) != 0)
        return false;
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

int fail(const QString &text) {
    std::fprintf(stderr, "zepro-sim: %s\n", qPrintable(text));
    return 2;
}

// A link left behind by an earlier run is replaced; anything else at that path is kept.
QString makeLink(const QString &linkPath, const QString &target) {
    const QFileInfo existing(linkPath);
    if (existing.isSymLink())
        QFile::remove(linkPath);
    else if (existing.exists())
        return QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath);
    if (!QFile::link(target, linkPath))
        return QStringLiteral("cannot make the link %1").arg(linkPath);
    return {};
}

// The lines of FILE, without their line ends (LF or CR LF); a last line end adds no empty line.
QString loadCaptureLines(const QString &path, QList<QByteArray> &lines) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    const QByteArray bytes = file.readAll();
    lines = bytes.split('\n');
    if (bytes.endsWith('\n'))
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return {};
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const sim::ParsedCommandLine command = sim::parseCommandLine(app.arguments());
    if (command.showHelp) {
        std::fputs(qPrintable(command.helpText), stdout);
        return 0;
    }
    if (command.showVersion) {
        std::printf("zepro-sim %s\n", ZEPRO_SIM_VERSION);
        return 0;
    }
    if (!command.error.isEmpty())
        return fail(command.error + QStringLiteral(" (see --help)"));
    const sim::SimSettings &settings = command.settings;

    QList<QByteArray> captureLines;
    if (!settings.captureLinesPath.isEmpty())
        if (const QString error = loadCaptureLines(settings.captureLinesPath, captureLines);
            !error.isEmpty())
            return fail(error);

    sim::ProgrammerModel model(settings.programmer);
    if (!settings.statePath.isEmpty() && QFileInfo::exists(settings.statePath)) {
        const QString error = sim::loadState(settings.statePath, model.receiver(), model.tag());
        if (!error.isEmpty())
            return fail(error);
    }
    sim::PtyLine line;
    if (const QString error = line.open(); !error.isEmpty())
        return fail(error);
    if (!catchSignals())
        return fail(QStringLiteral("cannot catch signals"));
    if (!settings.linkPath.isEmpty())
        if (const QString error = makeLink(settings.linkPath, line.slavePath()); !error.isEmpty())
            return fail(error);

    std::printf("%s\n", qPrintable(line.slavePath()));
    std::fflush(stdout);

    sim::SimLoop loop(settings, line, model, captureLines);
    const int code = loop.run(signalPipe[0]);
    if (!settings.linkPath.isEmpty())
        QFile::remove(settings.linkPath);
    return code;
}
