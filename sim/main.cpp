// tavik-sim: the simulated Tavik relay expander on a pseudo-terminal or on
// TCP, for trying the tool without hardware.

#include "signalwatcher.h"
#include "simstatefile.h"
#include "taviksimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace
{

bool readCount(const QCommandLineParser &parser, const QString &option, qint64 *value)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    *value = parser.value(option).toLongLong(&ok);
    if (!ok || *value < 0) {
        std::fprintf(stderr, "tavik-sim: --%s needs a whole number, not \"%s\"\n", qPrintable(option),
                     qPrintable(parser.value(option)));
        return false;
    }
    return true;
}

QString tr(const char *text)
{
    return QCoreApplication::translate("tavik-sim", text);
}

// [HOST:]PORT, the host 127.0.0.1 unless given; an IPv6 host in brackets.
bool readListenAddress(const QString &text, QString *host, quint16 *port)
{
    const qsizetype colon = text.lastIndexOf(u':');
    *host = colon < 0 ? QStringLiteral("127.0.0.1") : text.left(colon);
    if (host->startsWith(u'[') && host->endsWith(u']'))
        *host = host->mid(1, host->size() - 2);
    bool ok = false;
    const uint number = text.mid(colon + 1).toUInt(&ok);
    *port = quint16(number);
    return ok && number <= 65535 && !host->isEmpty();
}

void print(FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", qPrintable(text));
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavik-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A simulated Tavik relay expander on a pseudo-terminal, or on TCP with --listen. Point the "
        "tool at the port it prints."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("silent"), QStringLiteral("Answer nothing, echo nothing.")},
        {QStringLiteral("wrong-echo"), QStringLiteral("Echo CHAR wrongly, once."), QStringLiteral("CHAR")},
        {QStringLiteral("short-map"), QStringLiteral("Cut the next N input-map lines short."),
         QStringLiteral("N")},
        {QStringLiteral("banners"), QStringLiteral("Print a banner and blank lines around prompts.")},
        {QStringLiteral("chunk"), QStringLiteral("Send output in pieces of N characters."),
         QStringLiteral("N")},
        {QStringLiteral("chunk-delay"), QStringLiteral("Pause MS milliseconds between pieces."),
         QStringLiteral("MS")},
        {QStringLiteral("paced"), QStringLiteral("Send at the line rate of 57600 baud.")},
        {QStringLiteral("flood"), QStringLiteral("Pour characters onto the line without end.")},
        {QStringLiteral("hang-up-after"), QStringLiteral("Hang up after sending N characters."),
         QStringLiteral("N")},
        {QStringLiteral("no-escape-echo"), QStringLiteral("Do not echo the escape character.")},
        {QStringLiteral("no-menu"), QStringLiteral("Print no list of commands when back at the menu.")},
        {QStringLiteral("state"), QStringLiteral("Keep the relays in FILE."), QStringLiteral("FILE")},
        {QStringLiteral("link"), QStringLiteral("Make PATH a symbolic link to the port."),
         QStringLiteral("PATH")},
        {QStringLiteral("listen"),
         tr("Serve on TCP at [HOST:]PORT (host 127.0.0.1, port 0 for a free one), one program at a "
            "time, and print tcp://HOST:PORT first."),
         QStringLiteral("[HOST:]PORT")},
        {QStringLiteral("idle"), tr("With --listen, hang up on a program silent for SECONDS (60; 0: never)."),
         QStringLiteral("SECONDS")},
    });
    parser.process(app);

    SimFaults faults;
    faults.silent = parser.isSet(QStringLiteral("silent"));
    faults.banners = parser.isSet(QStringLiteral("banners"));
    faults.paced = parser.isSet(QStringLiteral("paced"));
    faults.flood = parser.isSet(QStringLiteral("flood"));
    faults.echoEscape = !parser.isSet(QStringLiteral("no-escape-echo"));
    faults.menuAfterCommand = !parser.isSet(QStringLiteral("no-menu"));
    if (parser.isSet(QStringLiteral("wrong-echo"))) {
        const QByteArray character = parser.value(QStringLiteral("wrong-echo")).toLatin1();
        if (character.size() != 1) {
            print(stderr, QStringLiteral("tavik-sim: --wrong-echo needs one character"));
            return 2;
        }
        faults.wrongEchoFor = character[0];
        faults.wrongEchoTimes = 1;
    }
    qint64 shortMaps = 0, chunk = 0, chunkDelay = 0, idleSeconds = 60;
    if (!readCount(parser, QStringLiteral("short-map"), &shortMaps) ||
        !readCount(parser, QStringLiteral("chunk"), &chunk) ||
        !readCount(parser, QStringLiteral("chunk-delay"), &chunkDelay) ||
        !readCount(parser, QStringLiteral("idle"), &idleSeconds) ||
        !readCount(parser, QStringLiteral("hang-up-after"), &faults.hangUpAfterOutput))
        return 2;
    faults.shortMapTimes = int(shortMaps);
    faults.chunkSize = int(chunk);
    faults.chunkDelayMs = int(chunkDelay);

    TavikSimulator simulator;
    simulator.setFaults(faults);
    if (parser.isSet(QStringLiteral("state"))) {
        const QString state = parser.value(QStringLiteral("state"));
        if (QString error; !SimStateFile::load(state, &error) && !error.isEmpty()) {
            print(stderr, QStringLiteral("tavik-sim: ") + error);
            return 1;
        }
        simulator.setStateFile(state);
    }
    const bool listen = parser.isSet(QStringLiteral("listen"));
    if (listen) {
        QString host;
        quint16 port = 0;
        if (!readListenAddress(parser.value(QStringLiteral("listen")), &host, &port)) {
            print(stderr, tr("tavik-sim: --listen needs [HOST:]PORT, not \"%1\"")
                              .arg(parser.value(QStringLiteral("listen"))));
            return 2;
        }
        if (parser.isSet(QStringLiteral("link"))) {
            print(stderr, tr("tavik-sim: --link needs a pseudo-terminal, not --listen"));
            return 2;
        }
        simulator.listenOn(host, port, int(std::min<qint64>(idleSeconds, 86400) * 1000));
    }
    QString error;
    if (!simulator.start(&error)) {
        print(stderr, tr("tavik-sim: cannot start the simulated device: %1").arg(error));
        return 1;
    }
    // The address alone on the first line, for a script to take.
    if (listen)
        print(stdout, simulator.portPath());
    else
        print(stdout, QStringLiteral("Tavik simulator on %1").arg(simulator.portPath()));

    QString link;
    if (parser.isSet(QStringLiteral("link"))) {
        link = parser.value(QStringLiteral("link"));
        if (QFileInfo(link).isSymLink())
            QFile::remove(link);
        if (!QFile::link(simulator.portPath(), link)) {
            print(stderr, QStringLiteral("tavik-sim: cannot make the link %1").arg(link));
            return 1;
        }
        print(stdout, QStringLiteral("Linked as %1").arg(link));
    }

    SignalWatcher signals_;
    QObject::connect(&signals_, &SignalWatcher::stopRequested, &app, &QCoreApplication::quit);
    const int status = app.exec();
    simulator.stop();
    if (!link.isEmpty())
        QFile::remove(link);
    return status;
}
