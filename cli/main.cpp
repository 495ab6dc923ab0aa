// remletctl: the programmer commands on the command line, for installers who script backups
// and checks. See --help and remletctl(1).

#include "cli/actions.h"
#include "cli/commandline.h"
#include "cli/consoledialogs.h"
#include "cli/consoleview.h"
#include "cli/failure.h"
#include "cli/programmersession.h"
#include "cli/progressline.h"
#include "link/trafficlog.h"
#include "platform/serialport.h"
#include "userdb/filemessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <optional>

namespace {

int fail(const QString &reason) {
    std::fprintf(stderr, "remletctl: %s\n", qPrintable(cli::oneLine(reason)));
    return cli::ExitFailure;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("remletctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REMLETCTL_VERSION));

    const cli::ParsedCommandLine command = cli::parseCommandLine(application.arguments());
    if (command.showHelp) {
        std::fputs(qPrintable(command.helpText), stdout);
        return cli::ExitSuccess;
    }
    if (command.showVersion) {
        std::printf("remletctl %s\n", REMLETCTL_VERSION);
        return cli::ExitSuccess;
    }
    if (!command.error.isEmpty())
        return fail(command.error + QStringLiteral(" (see --help)"));

    const QString &logPath = command.request.logPath;
    // Better told before the programmer hears anything than after a long transfer.
    if (!logPath.isEmpty() && !QFileInfo(logPath).absoluteDir().exists())
        return fail(userdb::fileMessage(QStringLiteral("save"), logPath,
                                        QStringLiteral("the folder does not exist")));
    std::optional<proglink::TrafficLog> log;
    if (!logPath.isEmpty())
        log.emplace();

    cli::ProgressLine progress(stderr);
    cli::ConsoleView view(progress);
    cli::ConsoleDialogs dialogs(progress);
    cli::ProgrammerSession session(view, dialogs, log ? &*log : nullptr);
    int status = cli::ExitFailure;
    try {
        status = cli::runAction(command.request, session, stdout);
        std::fflush(stdout);
    } catch (const cli::Failure &failure) {
        progress.clear();
        status = fail(failure.reason());
    } catch (const platform::PortError &error) {
        progress.clear();
        status = fail(QString::fromStdString(error.what()));
    }
    // The log matters most when the command failed: it is written on every path.
    if (log) {
        log->endLines();
        if (const QString error = proglink::saveTrafficLog(*log, logPath); !error.isEmpty())
            status = fail(error);
    }
    return status;
}
