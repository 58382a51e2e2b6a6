#include "app/visualstyles.h"
#include "base/translations.h"
#include "link/serveraddress.h"
#include "record/pictures.h"
#include "taviksimulator.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>

#include <algorithm>
#include <cstring>

namespace
{

// The program's own texts, outside any window.
struct StartText {
    Q_DECLARE_TR_FUNCTIONS(StartText)
};

struct GuiOptions {
    bool simulate = false;
    bool dark = false;
    QStringList ports;
};

GuiOptions parseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(StartText::tr("Tavik Configuration Manager: reads, edits, programs and "
                                                   "saves the relays of a Tavik relay expander."));
    parser.addHelpOption();
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        StartText::tr("Adds the built-in simulated Tavik to the port list and selects it. It keeps its "
                      "relays between runs in %1.")
            .arg(TavikSimulator::defaultStateFile()));
    const QCommandLineOption port(
        QStringLiteral("port"),
        StartText::tr("Adds a serial port the system does not list, such as a "
                      "pseudo-terminal, a /dev/serial/by-id link, or a serial "
                      "server's tcp://HOST:PORT or rfc2217://HOST:PORT. Repeatable."),
        StartText::tr("PATH"));
    const QCommandLineOption dark(
        QStringLiteral("dark"), StartText::tr("Dark colours, for a dark desktop whose colours Qt does not follow."));
    parser.addOptions({simulate, port, dark});
    parser.process(app);
    return {parser.isSet(simulate), parser.isSet(dark), parser.values(port)};
}

} // namespace

// Main: the style first, then the window, whose load does the rest of start-up.
int main(int argc, char *argv[])
{
    // Help needs no display: answer it before the window system is asked for one.
    const bool helpOnly = std::any_of(argv + 1, argv + argc, [](const char *arg) {
        return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0 ||
               std::strcmp(arg, "--help-all") == 0;
    });
    if (helpOnly) {
        QCoreApplication help(argc, argv);
        installTranslations();
        parseOptions(help); // prints the help and leaves
    }

    QApplication app(argc, argv);
    installTranslations();
    const GuiOptions options = parseOptions(app);
    InitVisualStyles();
    if (options.dark)
        UseDarkPalette();
    app.setWindowIcon(QIcon(programIconPicture()));

    // Declared before the window, so that it outlives every dialogue.
    TavikSimulator simulator;
    MainWindow window;
    QTextStream err(stderr);
    QStringList ports;
    for (const QString &path : options.ports) {
        if (looksLikeServerAddress(path) && !serverAddress(path)) {
            err << "tavikgui: " << serverAddressFault(path) << ".\n";
            continue;
        }
        if (!serverAddress(path) && !QFileInfo::exists(path))
            err << StartText::tr("tavikgui: %1 does not exist (yet); it is listed when the rescan finds it.")
                       .arg(path)
                << '\n';
        window.deviceLink().port().directory().addRuntimePort(path);
        ports << path;
    }
    if (!ports.isEmpty())
        window.setPreferredPort(ports.first());
    if (options.simulate) {
        simulator.setStateFile(TavikSimulator::defaultStateFile());
        QString error;
        if (simulator.start(&error)) {
            window.deviceLink().port().directory().addRuntimePort(simulator.portPath(),
                                                                  TavikSimulator::portListName());
            window.setPreferredPort(simulator.portPath());
        } else {
            err << StartText::tr("tavikgui: the simulated Tavik could not start: %1").arg(error) << '\n';
        }
    }
    err.flush();

    window.start();
    const int result = app.exec();
    simulator.stop();
    return result;
}
