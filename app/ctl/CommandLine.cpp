#include "CommandLine.h"

#include "config/CodePage1250.h"
#include "config/ConfigItems.h"
#include "translations/Language.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <array>

namespace tq3ctl {

namespace {

// The help and the usage errors; the names of the commands and options in them are not translated.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(tq3ctl)
};

// A text marked with QT_TRANSLATE_NOOP.
QString Tr(const char* text)
{
    return Texts::tr(text);
}

struct CommandInfo
{
    Command command;
    const char* name;
    const char* arguments; // as the synopsis shows them, to be translated when not empty
    int fileArguments;     // positional arguments after the name
    const char* help;      // to be translated
};

constexpr const char* Connection = QT_TRANSLATE_NOOP("tq3ctl", "[-p PORT] [-P HASŁO] ");

const std::array<CommandInfo, 14> Commands = {{
    {Command::Ports, "ports", "", 0,
     QT_TRANSLATE_NOOP(
         "tq3ctl", "Lista portów jak w oknie programu: COM1..COM8 (/dev/ttyS0..7), potem urządzenia\n"
                   "szeregowe obecne w systemie pod stałymi nazwami (każdą z nich przyjmuje -p), na końcu\n"
                   "ostatnio otwarte linie sieciowe.\n"
                   "Wiersz: nazwa, urządzenie, producent, opis, numer seryjny, rozdzielone tabulatorem.\n")},
    {Command::Status, "status", QT_TRANSLATE_NOOP("tq3ctl", "[--json] [--watch]"), 0,
     QT_TRANSLATE_NOOP("tq3ctl",
                       "Stan sterownika: wersja, modem GSM, sygnał, liczniki, temperatura, napięcia.\n"
                       "  --json   jako obiekt JSON (z --watch: jeden wiersz JSON na odczyt)\n"
                       "  --watch  odczyt co 1,5 s, aż do Ctrl+C (kończy się kodem 0)\n")},
    {Command::Read, "read", QT_TRANSLATE_NOOP("tq3ctl", "PLIK.tcf"), 1,
     QT_TRANSLATE_NOOP(
         "tq3ctl", "Odczytuje dwadzieścia ustawień sterownika do pliku konfiguracji, bajt w bajt takiego,\n"
                   "jaki zapisuje okno programu; w polu hasła plik ma hasło użyte do logowania.\n"
                   "Nowy plik jest czytelny tylko dla właściciela.\n")},
    {Command::Write, "write", QT_TRANSLATE_NOOP("tq3ctl", "PLIK.tcf"), 1,
     QT_TRANSLATE_NOOP(
         "tq3ctl",
         "Zapisuje ustawienia z pliku konfiguracji do sterownika, potem odczytuje je i porównuje.\n"
         "Plik jest sprawdzany przed wysłaniem czegokolwiek. Gdy zapis się przerwie, tq3ctl podaje\n"
         "ustawienie, na którym stanął: wcześniejsze są już w sterowniku, to i dalsze nie.\n"
         "Hasło zapisane w pliku nie jest używane. Ctrl+C nie przerywa zapisu.\n")},
    {Command::Diff, "diff", QT_TRANSLATE_NOOP("tq3ctl", "PLIK.tcf"), 1,
     QT_TRANSLATE_NOOP(
         "tq3ctl", "Ustawienia, którymi sterownik różni się od pliku konfiguracji (kod 1, gdy są takie).\n")},
    {Command::Show, "show", QT_TRANSLATE_NOOP("tq3ctl", "PLIK.tcf [--json]"), 1,
     QT_TRANSLATE_NOOP("tq3ctl", "Plik konfiguracji w czytelnej postaci; sterownik nie jest potrzebny.\n"
                                 "  --json   jako obiekt JSON\n")},
    {Command::History, "history",
     QT_TRANSLATE_NOOP("tq3ctl", "[-o PLIK.txt] [--csv|--csv-pl] [--plot WYKRES]"), 0,
     QT_TRANSLATE_NOOP(
         "tq3ctl",
         "Pobiera historię temperatury i zdarzeń ze sterownika i wypisuje jej wiersze.\n"
         "  -o, --output PLIK  zapisuje do pliku zamiast na wyjście; bez --csv plik jest bajt w bajt\n"
         "                     taki, jaki zapisuje okno programu (Windows-1250, CR LF)\n"
         "  --csv              kolumny timestamp,event,temperature (UTF-8)\n"
         "  --csv-pl           CSV dla polskiego arkusza: UTF-8 ze znacznikiem BOM, pola rozdzielone\n"
         "                     \";\", przecinek dziesiętny, CR LF, jeden wiersz nagłówka\n"
         "  --plot WYKRES      zapisuje też wykres pobranej historii (.png, .svg albo .pdf)\n"
         "  --size SZERxWYS    rozmiar wykresu w pikselach (domyślnie 1754x1240: A4 poziomo, 150 dpi)\n"
         "  --config PLIK.tcf  granice alarmu i odstęp zapisu na wykresie, z pliku konfiguracji\n"
         "Ctrl+C zatrzymuje pobieranie (sterownik dostaje żądanie zatrzymania).\n")},
    {Command::EraseHistory, "erase-history", "", 0,
     QT_TRANSLATE_NOOP("tq3ctl", "Kasuje historię zapisaną w sterowniku.\n")},
    {Command::SetClock, "set-clock", "", 0,
     QT_TRANSLATE_NOOP("tq3ctl", "Ustawia zegar sterownika według czasu lokalnego komputera.\n")},
    {Command::Restart, "restart", "", 0,
     QT_TRANSLATE_NOOP("tq3ctl", "Restartuje sterownik. Sesja kończy się z restartem, bez wylogowania.\n")},
    {Command::ResetCounters, "reset-counters", "", 0,
     QT_TRANSLATE_NOOP("tq3ctl", "Zeruje dzienne liczniki SMS i połączeń.\n")},
    {Command::SetPassword, "set-password", QT_TRANSLATE_NOOP("tq3ctl", "NOWE"), 1,
     QT_TRANSLATE_NOOP(
         "tq3ctl",
         "Zmienia hasło dostępu sterownika na NOWE. Okno programu przyjmuje tylko cztery cyfry.\n")},
    {Command::Firmware, "firmware", QT_TRANSLATE_NOOP("tq3ctl", "PLIK.tfr"), 1,
     QT_TRANSLATE_NOOP("tq3ctl",
                       "Wgrywa firmware z pliku przez bootloader sterownika (restart, bloki po 128 bajtów,\n"
                       "polecenie zamykające). Nie wyłączaj sterownika z zasilania w trakcie. Ctrl+C nie\n"
                       "przerywa wgrywania. Sesja kończy się z restartem, bez wylogowania.\n")},
    {Command::Plot, "plot",
     QT_TRANSLATE_NOOP("tq3ctl", "ZAPISANA -o WYKRES [--size SZERxWYS] [--config PLIK.tcf]"), 1,
     QT_TRANSLATE_NOOP(
         "tq3ctl",
         "Rysuje wykres zapisanej historii bez sterownika: plik historii (okna programu albo\n"
         "tq3ctl history -o) albo CSV (--csv, --csv-pl). Wiersze, które nie są rekordami, są pomijane\n"
         "i zliczane.\n"
         "  -o, --output WYKRES  plik wykresu: .png, .svg albo .pdf, według rozszerzenia\n"
         "  --size SZERxWYS      rozmiar w pikselach (domyślnie 1754x1240: A4 poziomo, 150 dpi)\n"
         "  --config PLIK.tcf    granice alarmu temperatury i odstęp zapisu, z pliku konfiguracji\n")},
}};

const CommandInfo* FindCommand(Command command)
{
    for (const CommandInfo& info : Commands)
        if (info.command == command)
            return &info;
    return nullptr;
}

const CommandInfo* FindCommand(const QString& name)
{
    for (const CommandInfo& info : Commands)
        if (name == QLatin1String(info.name))
            return &info;
    return nullptr;
}

const char* const OptionsHelp = QT_TRANSLATE_NOOP(
    "tq3ctl", "Opcje:\n"
              "  -p, --port PORT         COM1..COM8, ścieżka urządzenia (np. /dev/serial/by-id/...) albo\n"
              "                          linia sieciowa: socket://HOST:PORT (surowe TCP, np. konwerter\n"
              "                          szeregowo-Ethernet) lub rfc2217://HOST:PORT (Telnet RFC 2217,\n"
              "                          np. ser2net); HOST to nazwa, IPv4 albo [IPv6]. Sieć przenosi\n"
              "                          hasło i ustawienia jawnie: tylko w zaufanej sieci albo przez\n"
              "                          tunel SSH. Bez -p port ze zmiennej TQ3_PORT\n"
              "  -P, --password HASŁO    hasło dostępu; bez -P ze zmiennej TQ3_PASSWORD, a gdy i jej\n"
              "                          brak, a wejście jest terminalem, tq3ctl pyta o nie (bez echa)\n"
              "  -q, --quiet             bez paska postępu i komunikatów informacyjnych\n"
              "  -v, --verbose           ślad pracy na standardowym wyjściu błędów: port, sieć, każda\n"
              "                          wysłana i odebrana ramka (to samo daje "
              "QT_LOGGING_RULES=\"tq3.*.debug=true\")\n"
              "      --lang pl|en        język komunikatów: polski albo angielski; bez tej opcji\n"
              "                          zmienna TQ3_LANG, a bez niej języki systemu\n"
              "  -h, --help              pomoc; tq3ctl POLECENIE --help: pomoc polecenia\n"
              "      --version           wersja programu\n");

const char* const ExitCodesHelp =
    QT_TRANSLATE_NOOP("tq3ctl", "Kody wyjścia:\n"
                                "  0    powodzenie\n"
                                "  1    diff: sterownik różni się od pliku\n"
                                "  2    błędne wywołanie (polecenie, opcje, hasło)\n"
                                "  3    port niedostępny\n"
                                "  4    brak odpowiedzi sterownika\n"
                                "  5    błędne hasło\n"
                                "  6    plik odrzucony: brak, nieczytelny, nie tego rodzaju, uszkodzony\n"
                                "       albo z ustawieniem, którego nie da się zapisać\n"
                                "  7    weryfikacja zapisu nieudana\n"
                                "  8    nie udało się zapisać pliku wynikowego\n"
                                "  9    historia niepełna: mniej rekordów, niż sterownik zapowiedział\n"
                                "  130  przerwane (Ctrl+C)\n");

QString Synopsis(const CommandInfo& info)
{
    QString line = QStringLiteral("tq3ctl ");
    if (NeedsController(info.command))
        line += Tr(Connection);
    line += QLatin1String(info.name);
    if (*info.arguments)
        line += QLatin1Char(' ') + Tr(info.arguments);
    return line;
}

bool IsChartFileName(const QString& path)
{
    const QString p = path.toLower();
    return p.endsWith(QLatin1String(".png")) || p.endsWith(QLatin1String(".svg")) ||
           p.endsWith(QLatin1String(".pdf"));
}

// Which command-specific options a command takes.
bool TakesJson(Command c)
{
    return c == Command::Status || c == Command::Show;
}

} // namespace

QString CommandName(Command command)
{
    const CommandInfo* info = FindCommand(command);
    return info ? QString::fromLatin1(info->name) : QString();
}

bool NeedsController(Command command)
{
    return command != Command::None && command != Command::Ports && command != Command::Show &&
           command != Command::Plot;
}

PasswordCheck CheckPassword(const QString& text)
{
    bool ok = true;
    PasswordCheck check{tq3::ToCp1250(text, &ok), {}};
    if (!ok)
        check.error = Texts::tr("Hasło zawiera znak spoza strony kodowej 1250");
    else if (check.bytes.size() > tq3::MaxSettingText)
        check.error = Texts::tr("Hasło jest za długie (najwyżej %1 znaków)").arg(tq3::MaxSettingText);
    return check;
}

QString HelpText(Command command)
{
    if (const CommandInfo* info = FindCommand(command)) {
        QString text = Texts::tr("Użycie: %1").arg(Synopsis(*info)) + QStringLiteral("\n\n") + Tr(info->help);
        if (NeedsController(command))
            text += QStringLiteral("\n") + Tr(OptionsHelp);
        return text + QStringLiteral("\n") + Texts::tr("Kody wyjścia i zmienne środowiska: tq3ctl --help") +
               QStringLiteral("\n");
    }
    QString text = Texts::tr("Użycie: tq3ctl [-p PORT] [-P HASŁO] [-q] POLECENIE [ARGUMENTY]\n"
                             "Sterownik TQ-3 z wiersza poleceń, przez port szeregowy (4800 8N1).\n\n"
                             "Polecenia:\n");
    for (const CommandInfo& info : Commands)
        text += QStringLiteral("  ") + Synopsis(info) + QLatin1Char('\n');
    text += QStringLiteral("\n") + Tr(OptionsHelp) + QStringLiteral("\n") + Tr(ExitCodesHelp) +
            QStringLiteral("\n") +
            Texts::tr("Zmienne środowiska:\n"
                      "  TQ3_PORT       port, gdy nie podano -p\n"
                      "  TQ3_PASSWORD   hasło, gdy nie podano -P\n"
                      "  TQ3_LANG       język (pl albo en), gdy nie podano --lang\n");
    return text;
}

CommandLine ParseCommandLine(const QStringList& arguments, const QProcessEnvironment& environment)
{
    CommandLine cl;
    QStringList positional;
    std::optional<QString> port, password;
    bool output = false, plotGiven = false, configGiven = false, sizeGiven = false;

    const auto fail = [&cl](const QString& why) {
        if (cl.error.isEmpty())
            cl.error = why;
    };
    // "-p X", "-pX", "--port X", "--port=X".
    const auto value = [&](qsizetype& i, const QString& arg, const QString& shortName,
                           const QString& longName) -> std::optional<QString> {
        if (arg == shortName || arg == longName) {
            if (i + 1 >= arguments.size()) {
                fail(Texts::tr("Opcja %1 wymaga wartości").arg(arg));
                return QString();
            }
            return arguments.at(++i);
        }
        if (arg.startsWith(longName + QLatin1Char('=')))
            return arg.mid(longName.size() + 1);
        if (arg.size() > 2 && arg.startsWith(shortName) && !arg.startsWith(QLatin1String("--")))
            return arg.mid(2);
        return std::nullopt;
    };

    bool optionsEnd = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (optionsEnd || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            positional << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnd = true;
        } else if (auto v = value(i, arg, QStringLiteral("-p"), QStringLiteral("--port"))) {
            port = *v;
        } else if (auto w = value(i, arg, QStringLiteral("-P"), QStringLiteral("--password"))) {
            password = *w;
        } else if (auto o = value(i, arg, QStringLiteral("-o"), QStringLiteral("--output"))) {
            cl.output = *o;
            output = true;
        } else if (auto lang = value(i, arg, QStringLiteral("--lang"), QStringLiteral("--lang"))) {
            cl.language = *lang;
            if (!tq3::LanguageNamed(*lang))
                fail(Texts::tr("Nieznany język: %1 (pl albo en)").arg(*lang));
        } else if (arg == QLatin1String("-q") || arg == QLatin1String("--quiet")) {
            cl.quiet = true;
        } else if (arg == QLatin1String("-v") || arg == QLatin1String("--verbose")) {
            cl.verbose = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            cl.help = true;
        } else if (arg == QLatin1String("--version")) {
            cl.version = true;
        } else if (arg == QLatin1String("--json")) {
            cl.json = true;
        } else if (arg == QLatin1String("--watch")) {
            cl.watch = true;
        } else if (arg == QLatin1String("--csv")) {
            cl.csv = true;
        } else if (arg == QLatin1String("--csv-pl")) {
            cl.csvPl = true;
        } else if (auto plot = value(i, arg, QStringLiteral("--plot"), QStringLiteral("--plot"))) {
            cl.plot = *plot;
            plotGiven = true;
        } else if (auto config = value(i, arg, QStringLiteral("--config"), QStringLiteral("--config"))) {
            cl.config = *config;
            configGiven = true;
        } else if (auto size = value(i, arg, QStringLiteral("--size"), QStringLiteral("--size"))) {
            static const QRegularExpression wxh(QStringLiteral("^(\\d{2,5})x(\\d{2,5})$"));
            const QRegularExpressionMatch m = wxh.match(*size);
            const int width = m.captured(1).toInt(), height = m.captured(2).toInt();
            if (!m.hasMatch() || width < MinPlotSide || height < MinPlotSide || width > MaxPlotSide ||
                height > MaxPlotSide)
                fail(Texts::tr("Rozmiar wykresu: oczekiwano SZERxWYS, od %1 do %2 pikseli, np. 1600x900")
                         .arg(MinPlotSide)
                         .arg(MaxPlotSide));
            cl.plotWidth = width;
            cl.plotHeight = height;
            sizeGiven = true;
        } else {
            fail(Texts::tr("Nieznana opcja: %1").arg(arg));
        }
    }

    const CommandInfo* info = nullptr;
    if (!positional.isEmpty()) {
        info = FindCommand(positional.first());
        if (!info)
            fail(Texts::tr("Nieznane polecenie: %1").arg(positional.first()));
        else
            cl.command = info->command;
    }
    if (cl.help || cl.version)
        return cl; // help asks for nothing else to be right
    if (!info) {
        fail(Texts::tr("Nie podano polecenia"));
        return cl;
    }

    const QString name = QString::fromLatin1(info->name);
    if (positional.size() - 1 != info->fileArguments) {
        fail(info->fileArguments == 0 ? Texts::tr("Polecenie %1 nie przyjmuje argumentów").arg(name)
                                      : Texts::tr("Użycie: %1").arg(Synopsis(*info)));
    } else if (info->fileArguments == 1) {
        if (cl.command == Command::SetPassword) {
            const PasswordCheck check = CheckPassword(positional.at(1));
            if (!check.error.isEmpty())
                fail(Texts::tr("Nowe hasło: %1").arg(check.error));
            cl.newPassword = check.bytes;
        } else {
            cl.file = positional.at(1);
            if (cl.file.isEmpty())
                fail(Texts::tr("Pusta nazwa pliku"));
        }
    }
    const auto notFor = [&](const char* option) {
        fail(Texts::tr("Opcja %1 nie dotyczy polecenia %2").arg(QLatin1String(option), name));
    };
    if (cl.json && !TakesJson(cl.command))
        notFor("--json");
    if (cl.watch && cl.command != Command::Status)
        notFor("--watch");
    if (cl.csv && cl.command != Command::History)
        notFor("--csv");
    if (cl.csvPl && cl.command != Command::History)
        notFor("--csv-pl");
    if (cl.csv && cl.csvPl)
        fail(Texts::tr("Opcje --csv i --csv-pl wykluczają się"));
    if (plotGiven && cl.command != Command::History)
        notFor("--plot");
    const bool draws = cl.command == Command::Plot || (cl.command == Command::History && plotGiven);
    if (sizeGiven && !draws)
        notFor("--size");
    if (configGiven && !draws)
        notFor("--config");
    if (output && cl.command != Command::History && cl.command != Command::Plot)
        notFor("-o");
    if ((output && cl.output.isEmpty()) || (plotGiven && cl.plot.isEmpty()) ||
        (configGiven && cl.config.isEmpty()))
        fail(Texts::tr("Pusta nazwa pliku"));
    if (cl.command == Command::Plot && !output)
        fail(Texts::tr("Polecenie plot wymaga -o WYKRES"));
    const QString chartFile = cl.command == Command::Plot ? cl.output : cl.plot;
    if (draws && !chartFile.isEmpty() && !IsChartFileName(chartFile))
        fail(Texts::tr("Wykres: rozszerzenie .png, .svg albo .pdf (%1)").arg(chartFile));

    if (NeedsController(cl.command)) {
        cl.port = port ? *port : environment.value(QStringLiteral("TQ3_PORT"));
        if (cl.port.trimmed().isEmpty())
            fail(Texts::tr("Nie podano portu: -p PORT albo zmienna TQ3_PORT"));
        // An empty variable counts as none: the user is then asked.
        const QString given = password ? *password : environment.value(QStringLiteral("TQ3_PASSWORD"));
        if (password || !given.isEmpty()) {
            const PasswordCheck check = CheckPassword(given);
            if (!check.error.isEmpty())
                fail(check.error);
            cl.password = check.bytes;
        }
    }
    return cl;
}

} // namespace tq3ctl
