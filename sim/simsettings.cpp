#include "sim/simsettings.h"

#include <QCommandLineParser>

namespace sim {

namespace {

struct Values {
    QCommandLineOption link{"link", "Make a symbolic link PATH to the port (removed at exit).",
                            "PATH"};
    QCommandLineOption state{
        "state", "Load the memories from FILE and save them after each change.", "FILE"};
    QCommandLineOption noPacing{"no-pacing", "Send and receive at once, not at 9600 baud."};
    QCommandLineOption captureEvery{
        "capture-every", "While the receiver is on, send a capture line every SECONDS.", "SECONDS"};
    QCommandLineOption captureLines{
        "capture-lines",
        "Send the lines of FILE in turn as capture lines, then none (one a second, or every "
        "--capture-every).",
        "FILE"};
    QCommandLineOption versionText{
        "version-text", "Identify as \"ZEPRO V\" followed by TEXT (default 2.4).", "TEXT"};
    QCommandLineOption silent{"silent", "Never answer anything."};
    QCommandLineOption ackDelay{
        "ack-delay", "Send the \"OK\" of E F G H K L X Y W V after SECONDS of silence.", "SECONDS"};
    QCommandLineOption echo{"echo", "Echo each command (and its CR) before the reply."};
    QCommandLineOption lowercase{"lowercase", "Answer \"ok\" and \"zepro v...\" in lower case."};
    QCommandLineOption crlf{"crlf", "End every line with CR LF."};
    QCommandLineOption noFinalCr{"no-final-cr", "Leave out the last line end of every reply."};
    QCommandLineOption endless{"endless",
                               "Answer every command with characters that never end in CR."};
    QCommandLineOption hangUpAfter{"hang-up-after", "Hang up once N commands have been answered.",
                                   "N"};
    QCommandLineOption hangUpOn{"hang-up-on", "Hang up instead of answering command LETTER.",
                                "LETTER"};
    QCommandLineOption readErrorAt{"read-error-at",
                                   "Send \"?\" instead of slot SLOT in D and C reads.", "SLOT"};
    QCommandLineOption floodAfter{
        "flood-after",
        "After answering command LETTER, send characters without end (no CR, no pacing).",
        "LETTER"};
    QCommandLineOption drip{"drip", "Send every reply one character every SECONDS.", "SECONDS"};
    QCommandLineOption dropWrite{
        "drop-write", "Acknowledge a write of slot SLOT with \"OK\" but keep nothing.", "SLOT"};
};

// One letter, upper-cased; false (with the error) for anything else.
bool readLetter(const QCommandLineParser &parser, const QCommandLineOption &option, char &value,
                QString &error) {
    if (!parser.isSet(option))
        return true;
    const QString letter = parser.value(option);
    if (letter.size() != 1 || !letter.at(0).isLetter() || letter.at(0).unicode() > 127) {
        error =
            QStringLiteral("--%1 wants one letter, not \"%2\"").arg(option.names().first(), letter);
        return false;
    }
    value = char(letter.at(0).toUpper().unicode());
    return true;
}

bool readNumber(const QCommandLineParser &parser, const QCommandLineOption &option, double &value,
                QString &error) {
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const double number = parser.value(option).toDouble(&ok);
    if (!ok || number < 0.0) {
        error = QStringLiteral("--%1 wants a number of 0 or more, not \"%2\"")
                    .arg(option.names().first(), parser.value(option));
        return false;
    }
    value = number;
    return true;
}

bool readCount(const QCommandLineParser &parser, const QCommandLineOption &option, int &value,
               QString &error) {
    double number = value;
    if (!readNumber(parser, option, number, error))
        return false;
    if (number > 1e6 || number != double(int(number))) {
        error =
            QStringLiteral("--%1 wants a whole number up to a million").arg(option.names().first());
        return false;
    }
    value = int(number);
    return true;
}

// One line per option, so that the text can be quoted as it stands.
QString helpText(const QString &description, const QList<QCommandLineOption> &options) {
    QStringList lines{QStringLiteral("Usage: zepro-sim [options]"), description, QString(),
                      QStringLiteral("Options:")};
    for (const QCommandLineOption &option : options) {
        QString name = QStringLiteral("--") + option.names().constFirst();
        if (!option.valueName().isEmpty())
            name += QStringLiteral(" ") + option.valueName();
        lines << QStringLiteral("  %1 %2").arg(name, -24).arg(option.description());
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments) {
    Values v;
    const QCommandLineOption help{"help", "Show this list and exit."};
    const QCommandLineOption version{"version", "Print the version and exit."};
    const QList<QCommandLineOption> options{
        help,           version,       v.link,     v.state,       v.noPacing, v.captureEvery,
        v.captureLines, v.versionText, v.silent,   v.ackDelay,    v.echo,     v.lowercase,
        v.crlf,         v.noFinalCr,   v.endless,  v.hangUpAfter, v.hangUpOn, v.readErrorAt,
        v.floodAfter,   v.drip,        v.dropWrite};
    QCommandLineParser parser;
    parser.addOptions(options);

    ParsedCommandLine result;
    result.helpText = helpText(
        "Simulated ZEPRO programmer on a pseudo-terminal (9600 baud). Prints the port's path as "
        "its first line. Each line typed on standard input is sent as a capture line while the "
        "receiver is on. Ends on SIGINT or SIGTERM.",
        options);
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    result.showHelp = parser.isSet(help);
    result.showVersion = parser.isSet(version);
    if (!parser.positionalArguments().isEmpty()) {
        result.error =
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first());
        return result;
    }
    SimSettings &s = result.settings;
    ProgrammerOptions &p = s.programmer;
    s.linkPath = parser.value(v.link);
    s.statePath = parser.value(v.state);
    s.captureLinesPath = parser.value(v.captureLines);
    if (parser.isSet(v.captureLines) && s.captureLinesPath.isEmpty()) {
        result.error = QStringLiteral("--capture-lines wants a file");
        return result;
    }
    if (!s.captureLinesPath.isEmpty())
        s.captureEvery = 1.0; // unless --capture-every says otherwise, below
    s.pacing = !parser.isSet(v.noPacing);
    if (parser.isSet(v.versionText))
        p.versionText = parser.value(v.versionText).toLatin1();
    p.silent = parser.isSet(v.silent);
    p.echo = parser.isSet(v.echo);
    p.lowercase = parser.isSet(v.lowercase);
    p.crlf = parser.isSet(v.crlf);
    p.noFinalCr = parser.isSet(v.noFinalCr);
    p.endless = parser.isSet(v.endless);
    if (!readLetter(parser, v.hangUpOn, p.hangUpOn, result.error) ||
        !readLetter(parser, v.floodAfter, p.floodAfter, result.error) ||
        !readNumber(parser, v.captureEvery, s.captureEvery, result.error) ||
        !readNumber(parser, v.ackDelay, p.ackDelay, result.error) ||
        !readNumber(parser, v.drip, p.dripSeconds, result.error) ||
        !readCount(parser, v.hangUpAfter, p.hangUpAfter, result.error) ||
        !readCount(parser, v.readErrorAt, p.readErrorAt, result.error) ||
        !readCount(parser, v.dropWrite, p.dropWrite, result.error))
        return result;
    return result;
}

} // namespace sim
