// Konfigurator TQ-3: the desktop configurator of the TQ-3 controller.
#include "ui/Main.h"
#include "translations/Language.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocale>

#include <cstdio>
#include <cstring>
#include <optional>

#ifndef TQ3_VERSION
#define TQ3_VERSION "0"
#endif

namespace {

const char* const HelpText = QT_TRANSLATE_NOOP(
    "tq3", "Użycie: tq3 [--port URZĄDZENIE] [--lang pl|en]\n"
           "Konfigurator TQ-3: ustawienia, stan, historia i firmware sterownika TQ-3 przez port\n"
           "szeregowy (4800 8N1), w oknie programu.\n"
           "\n"
           "Opcje:\n"
           "      --port URZĄDZENIE  wybiera port w oknie: COM1..COM8, nazwa adaptera z listy\n"
           "                         portów, ścieżka urządzenia (np. /dev/ttyUSB0) albo linia\n"
           "                         sieciowa socket://HOST:PORT lub rfc2217://HOST:PORT;\n"
           "                         połączenie nawiązuje przycisk POŁĄCZ\n"
           "      --lang pl|en       język programu: polski albo angielski; bez tej opcji\n"
           "                         zmienna TQ3_LANG, a bez niej języki systemu\n"
           "  -h, --help             pomoc\n"
           "      --version          wersja programu\n"
           "\n"
           "Sterownik z wiersza poleceń: tq3ctl --help\n");

// The context of the program's own texts.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(tq3)
};

struct Arguments
{
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};
    QCommandLineOption port{QStringLiteral("port"), QString(), QStringLiteral("device")};
    QCommandLineOption lang{QStringLiteral("lang"), QString(), QStringLiteral("language")};

    Arguments()
    {
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(port);
        parser.addOption(lang);
    }
};

// QCommandLineParser's own messages are English whatever the program speaks.
QString UsageError(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.constFirst();
        return Texts::tr("Nieznana opcja: %1%2").arg(name.size() == 1 ? "-" : "--", name);
    }
    for (const char* option : {"--port", "--lang"})
        if (arguments.constLast() == QLatin1String(option))
            return Texts::tr("Opcja %1 wymaga wartości").arg(QLatin1String(option));
    return Texts::tr("Opcje --help i --version nie przyjmują wartości");
}

// The language, from --lang, TQ3_LANG or the system, installed before the first
// text is made. False, with the message written, when --lang names none.
bool InstallChosenLanguage(QCoreApplication& app, const QCommandLineParser& parser,
                           const QCommandLineOption& lang)
{
    const QString asked = parser.value(lang);
    const QString variable = qEnvironmentVariable("TQ3_LANG");
    const tq3::Language language = tq3::ChooseLanguage(asked, variable, QLocale::system().uiLanguages());
    const bool catalogues = tq3::InstallLanguage(app, language);
    if (!asked.isEmpty() && !tq3::LanguageNamed(asked)) {
        std::fprintf(stderr, "tq3: %s\n",
                     Texts::tr("Nieznany język: %1 (pl albo en)").arg(asked).toUtf8().constData());
        return false;
    }
    if (asked.isEmpty() && !variable.isEmpty() && !tq3::LanguageNamed(variable))
        std::fprintf(stderr, "tq3: %s\n",
                     Texts::tr("Nieznany język w zmiennej TQ3_LANG: %1 (pl albo en); język systemu")
                         .arg(variable)
                         .toUtf8()
                         .constData());
    // Qt's dialogs and menus speak Polish only with its catalogue; without it they stay English.
    if (!catalogues && language == tq3::Language::Polish)
        std::fprintf(stderr, "tq3: %s\n",
                     Texts::tr("nie znaleziono polskiego katalogu Qt (pakiet qt6-translations-l10n)")
                         .toUtf8()
                         .constData());
    return true;
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
    if (!args.parser.isSet(args.help) && !args.parser.isSet(args.version))
        return std::nullopt;
    // "--lang xx" is refused here too, as it is with the window.
    if (!InstallChosenLanguage(app, args.parser, args.lang))
        return 2;
    if (args.parser.isSet(args.help)) {
        std::fputs(QCoreApplication::translate("tq3", HelpText).toUtf8().constData(), stdout);
        return 0;
    }
    std::fputs("tq3 " TQ3_VERSION "\n", stdout);
    return 0;
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

    Arguments args;
    const QStringList arguments = QApplication::arguments();
    const bool parsed = args.parser.parse(arguments);
    if (!InstallChosenLanguage(app, args.parser, args.lang))
        return 2;
    if (!parsed) {
        std::fprintf(stderr, "tq3: %s\n%s\n", UsageError(args.parser, arguments).toUtf8().constData(),
                     Texts::tr("Więcej: tq3 --help").toUtf8().constData());
        return 2;
    }

    TMain::Options options;
    options.port = args.parser.value(args.port);
    TMain window(options);
    window.show();
    return QApplication::exec();
}
