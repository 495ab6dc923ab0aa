#include "cli/commandline.h"

#include <QCommandLineParser>
#include <QFileInfo>

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
    "  enrol FILE.fxd           Switch the programmer's receiver on and put each new fob\n"
    "                           presented to it into the next free slot of the database file,\n"
    "                           saving the file after each; print slot and serial, separated\n"
    "                           by a tab. Fobs the file holds already are named on standard\n"
    "                           error. Ends after --count fobs, on SIGINT or SIGTERM, or when\n"
    "                           no slot is free. The file as it was is kept as FILE.old.fxd.\n"
    "  export FILE.fxd OUT      Write the database's users to the spreadsheet OUT: .csv, or\n"
    "                           .xlsx (a workbook, which keeps every digit and the address).\n"
    "  import IN FILE.fxd       Read the spreadsheet IN (.csv or .xlsx) into a new database\n"
    "                           file, all or nothing; an existing FILE.fxd only with --force.\n"
    "DEVICE is receiver or tag.\n"
    "\n"
    "Exit status: 0 done (compare: every slot matches), 1 compare found differences or the\n"
    "database holds users beyond the device's size (program and compare name them on standard\n"
    "error), 2 failure (with the reason on standard error).";

bool readAction(const QString &word, Action &action) {
    const std::pair<const char *, Action> actions[] = {
        {"find", Action::Find},       {"read", Action::Read},   {"program", Action::Program},
        {"compare", Action::Compare}, {"enrol", Action::Enrol}, {"export", Action::Export},
        {"import", Action::Import}};
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

// "enrol" and a file.
QString readEnrolWords(const QStringList &words, Request &request) {
    if (words.size() != 2)
        return QStringLiteral("enrol wants a database file");
    request.file = words.at(1);
    if (request.file.isEmpty())
        return QStringLiteral("the database file name is empty");
    return {};
}

// The positional words: "find", "enrol" and a file, or an action, a device and a file.
QString readWords(const QStringList &words, Request &request) {
    if (words.isEmpty())
        return QStringLiteral("no command given");
    if (!readAction(words.first(), request.action))
        return QStringLiteral("unknown command \"%1\"").arg(words.first());
    if (request.action == Action::Enrol)
        return readEnrolWords(words, request);
    const qsizetype wanted = request.action == Action::Find ? 1 : 3;
    if (words.size() != wanted) {
        switch (request.action) {
        case Action::Find:
            return QStringLiteral("find takes no further arguments");
        case Action::Export:
            return QStringLiteral("export wants a database file and a spreadsheet file");
        case Action::Import:
            return QStringLiteral("import wants a spreadsheet file and a database file");
        default:
            return QStringLiteral("%1 wants receiver or tag and a database file")
                .arg(words.first());
        }
    }
    if (request.action == Action::Find)
        return {};
    if (request.action == Action::Export || request.action == Action::Import) {
        request.file = words.at(1);
        request.output = words.at(2);
        return request.file.isEmpty() || request.output.isEmpty()
                   ? QStringLiteral("a file name is empty")
                   : QString();
    }
    if (!readDevice(words.at(1), request.device))
        return QStringLiteral("unknown device \"%1\": receiver or tag").arg(words.at(1));
    request.file = words.at(2);
    if (request.file.isEmpty())
        return QStringLiteral("the database file name is empty");
    return {};
}

// QCommandLineParser names the program as it was started, often a whole path from a script;
// the usage line shows its file name only.
QString withProgramName(QString help) {
    static const QString usage = QStringLiteral("Usage: ");
    const qsizetype start = help.indexOf(usage);
    const qsizetype end = help.indexOf(QStringLiteral(" [options]"), start);
    if (start < 0 || end < 0)
        return help;
    const qsizetype from = start + usage.size();
    help.replace(from, end - from, QFileInfo(help.mid(from, end - from)).fileName());
    return help;
}

QString readCount(const QString &value, Request &request) {
    if (request.action != Action::Enrol)
        return QStringLiteral("--count is for enrol only");
    bool ok = false;
    request.count = value.toInt(&ok);
    if (!ok || request.count < 1)
        return QStringLiteral("--count wants a whole number of 1 or more, not \"%1\"").arg(value);
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
        "receiver and tag sizes), read and compare send it only when this is given. enrol "
        "sends no size and fills slots 1 to this number.",
        "340|85"};
    const QCommandLineOption log{
        "log",
        "Write every line that went over the serial line to FILE (time, direction, text with "
        "control characters shown), whether the command succeeds or not.",
        "FILE"};
    const QCommandLineOption count{"count", "enrol: stop after N fobs have been enrolled.", "N"};
    const QCommandLineOption force{"force", "import: replace the database file when it exists."};
    parser.addOption(port);
    parser.addOption(sizes);
    parser.addOption(log);
    parser.addOption(count);
    parser.addOption(force);
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("find, read, program, compare, enrol, export or import."),
        QStringLiteral("find | {read|program|compare} DEVICE FILE.fxd | enrol FILE.fxd | "
                       "export FILE.fxd OUT | import IN FILE.fxd"));

    ParsedCommandLine result;
    result.helpText = withProgramName(parser.helpText());
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
    if (result.error.isEmpty() && parser.isSet(count))
        result.error = readCount(parser.value(count), request);
    request.force = parser.isSet(force);
    if (result.error.isEmpty() && request.force && request.action != Action::Import)
        result.error = QStringLiteral("--force goes with import only");
    return result;
}

} // namespace cli
