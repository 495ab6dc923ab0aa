#include "cli/commandline.h"

#include <QCommandLineParser>

namespace cli {

namespace {

const char *const Description =
    "Reads, programs and checks Remlet receivers and memory tags through the ZEPRO programmer.\n"
    "\n"
    "Commands:\n"
    "  find                     Find the programmer (on --port PATH: ask it who it is); print\n"
    "                           its port number, device path and identification line.\n"
    "  read DEVICE FILE.fxd     Read the receiver or tag into a new database file.\n"
    "  program DEVICE FILE.fxd  Program the database file into the receiver or tag.\n"
    "  compare DEVICE FILE.fxd  Print each slot where the receiver or tag differs from the\n"
    "                           database file: slot, database serial and aux, device serial and\n"
    "                           aux, separated by tabs.\n"
    "DEVICE is receiver or tag.\n"
    "\n"
    "Exit status: 0 done (compare: every slot matches), 1 compare found differences or the\n"
    "database holds users beyond the device's size (program and compare name them on standard\n"
    "error), 2 failure (with the reason on standard error).";

bool readAction(const QString &word, Action &action) {
    const std::pair<const char *, Action> actions[] = {{"find", Action::Find},
                                                       {"read", Action::Read},
                                                       {"program", Action::Program},
                                                       {"compare", Action::Compare}};
    for (const auto &[name, value] : actions)
        if (word == QLatin1String(name)) {
            action = value;
            return true;
        }
    return false;
}

bool readDevice(const QString &word, proglink::Device &device) {
    if (word == QLatin1String("receiver"))
        device = proglink::Device::Receiver;
    else if (word == QLatin1String("tag"))
        device = proglink::Device::Tag;
    else
        return false;
    return true;
}

// The positional words: "find", or an action, a device and a file.
QString readWords(const QStringList &words, Request &request) {
    if (words.isEmpty())
        return QStringLiteral("no command given");
    if (!readAction(words.first(), request.action))
        return QStringLiteral("unknown command \"%1\"").arg(words.first());
    const qsizetype wanted = request.action == Action::Find ? 1 : 3;
    if (words.size() != wanted)
        return request.action == Action::Find
                   ? QStringLiteral("find takes no further arguments")
                   : QStringLiteral("%1 wants receiver or tag and a database file")
                         .arg(words.first());
    if (request.action == Action::Find)
        return {};
    if (!readDevice(words.at(1), request.device))
        return QStringLiteral("unknown device \"%1\": receiver or tag").arg(words.at(1));
    request.file = words.at(2);
    if (request.file.isEmpty())
        return QStringLiteral("the database file name is empty");
    return {};
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(Description));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption port{
        "port", "Use the programmer on the serial device PATH instead of searching the ports.",
        "PATH"};
    const QCommandLineOption sizes{
        "sizes",
        "The memory size of the receiver or tag, 340 or 85 slots (default 340): the number of "
        "slots program and compare use. program sends it to the programmer first; find (the "
        "receiver and tag sizes), read and compare send it only when this is given.",
        "340|85"};
    const QCommandLineOption log{
        "log",
        "Write every line that went over the serial line to FILE (time, direction, text with "
        "control characters shown), whether the command succeeds or not.",
        "FILE"};
    parser.addOption(port);
    parser.addOption(sizes);
    parser.addOption(log);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("find, read, program or compare."),
                                 QStringLiteral("find | {read|program|compare} DEVICE FILE.fxd"));

    ParsedCommandLine result;
    result.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    result.showHelp = parser.isSet(help) || parser.isSet(QStringLiteral("help-all"));
    result.showVersion = parser.isSet(version);
    if (result.showHelp || result.showVersion)
        return result;

    Request &request = result.request;
    request.portPath = parser.value(port);
    if (parser.isSet(port) && request.portPath.isEmpty()) {
        result.error = QStringLiteral("--port wants a device path");
        return result;
    }
    request.logPath = parser.value(log);
    if (parser.isSet(log) && request.logPath.isEmpty()) {
        result.error = QStringLiteral("--log wants a file name");
        return result;
    }
    if (parser.isSet(sizes)) {
        const QString value = parser.value(sizes);
        if (value != QLatin1String("340") && value != QLatin1String("85")) {
            result.error = QStringLiteral("--sizes wants 340 or 85, not \"%1\"").arg(value);
            return result;
        }
        request.slotCount = value.toInt();
        request.sizesGiven = true;
    }
    result.error = readWords(parser.positionalArguments(), request);
    return result;
}

} // namespace cli
