// Konfigurator TQ-3: the desktop configurator of the TQ-3 controller.
#include "ui/Main.h"
#include "ui/QtCatalogue.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstring>
#include <optional>

#ifndef TQ3_VERSION
#define TQ3_VERSION "0"
#endif

namespace {

const char* const HelpText =
    "Użycie: tq3 [--port URZĄDZENIE]\n"
    "Konfigurator TQ-3: ustawienia, stan, historia i firmware sterownika TQ-3 przez port\n"
    "szeregowy (4800 8N1), w oknie programu.\n"
    "\n"
    "Opcje:\n"
    "      --port URZĄDZENIE  wybiera port w oknie: COM1..COM8, nazwa adaptera z listy\n"
    "                         portów, ścieżka urządzenia (np. /dev/ttyUSB0) albo linia\n"
    "                         sieciowa socket://HOST:PORT lub rfc2217://HOST:PORT;\n"
    "                         połączenie nawiązuje przycisk POŁĄCZ\n"
    "  -h, --help             pomoc\n"
    "      --version          wersja programu\n"
    "\n"
    "Sterownik z wiersza poleceń: tq3ctl --help\n";

struct Arguments
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};
    QCommandLineOption port{QStringLiteral("port"), QString(), QStringLiteral("device")};

    Arguments()
    {
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(port);
    }
};

// QCommandLineParser's own messages are English; the program speaks Polish.
QString UsageError(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.constFirst();
        return QStringLiteral("Nieznana opcja: %1%2").arg(name.size() == 1 ? "-" : "--", name);
    }
    if (arguments.constLast() == QLatin1String("--port"))
        return QStringLiteral("Opcja --port wymaga wartości");
    return QStringLiteral("Opcje --help i --version nie przyjmują wartości");
}

bool MentionsHelpOrVersion(int argc, char* argv[])
{
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        for (const char* word : {"-h", "--help", "--version"})
            if (std::strcmp(argv[i], word) == 0)
                return true;
    return false;
}

// Help and version are answered without a display: help2man and a bare system
// run them, and the window's application object would need one. Empty when the
// arguments ask for the window after all ("--port --help" names a device).
std::optional<int> AnswerHelpOrVersion(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Arguments args;
    args.parser.parse(QCoreApplication::arguments());
    if (args.parser.isSet(args.help)) {
        std::fputs(HelpText, stdout);
        return 0;
    }
    if (args.parser.isSet(args.version)) {
        std::fputs("tq3 " TQ3_VERSION "\n", stdout);
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    if (MentionsHelpOrVersion(argc, argv))
        if (const std::optional<int> code = AnswerHelpOrVersion(argc, argv))
            return *code;

    QApplication app(argc, argv);
    // The window is laid out in pixels for the classic look: sunken edits and
    // group titles on the frame line.
    QApplication::setStyle(QStringLiteral("Windows"));
    QApplication::setApplicationName(QStringLiteral("Konfigurator TQ-3"));
    QApplication::setApplicationVersion(QStringLiteral(TQ3_VERSION));
    // Wayland desktops find the menu entry, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.tq3"));
    // Qt's dialogs and menus speak the program's language; without the catalogue they stay English.
    if (!LoadQtPolish(app))
        std::fputs("tq3: nie znaleziono polskiego katalogu Qt (pakiet qt6-translations-l10n)\n", stderr);

    Arguments args;
    const QStringList arguments = QApplication::arguments();
    if (!args.parser.parse(arguments)) {
        std::fprintf(stderr, "tq3: %s\nWięcej: tq3 --help\n",
                     UsageError(args.parser, arguments).toUtf8().constData());
        return 2;
    }

    TMain::Options options;
    options.port = args.parser.value(args.port);
    TMain window(options);
    window.show();
    return QApplication::exec();
}
