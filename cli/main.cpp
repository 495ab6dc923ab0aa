// remletctl: the programmer commands on the command line, for installers who script backups
// and checks. See --help and remletctl(1).

#include "cli/actions.h"
#include "cli/commandline.h"
#include "cli/consoledialogs.h"
#include "cli/consoleview.h"
#include "cli/failure.h"
#include "cli/programmersession.h"
#include "cli/progressline.h"
#include "platform/serialport.h"

#include <QCoreApplication>
#include <cstdio>

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

    cli::ProgressLine progress(stderr);
    cli::ConsoleView view(progress);
    cli::ConsoleDialogs dialogs(progress);
    cli::ProgrammerSession session(view, dialogs);
    try {
        const int status = cli::runAction(command.request, session, stdout);
        std::fflush(stdout);
        return status;
    } catch (const cli::Failure &failure) {
        progress.clear();
        return fail(failure.reason());
    } catch (const platform::PortError &error) {
        progress.clear();
        return fail(QString::fromStdString(error.what()));
    }
}
