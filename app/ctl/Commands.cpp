#include "Commands.h"

#include "CommandLine.h"
#include "Console.h"
#include "Device.h"
#include "Output.h"
#include "Terminal.h"
#include "chart/HistoryChart.h"
#include "config/ConfigFile.h"
#include "config/DataFile.h"
#include "config/SettingsTransfer.h"
#include "firmware/FirmwareBlocks.h"
#include "firmware/FirmwareUpload.h"
#include "history/HistoryDownload.h"
#include "history/HistoryFormat.h"
#include "history/HistoryModel.h"
#include "history/ServiceCommands.h"
#include "link/Session.h"
#include "port/NetworkPorts.h"
#include "port/PortList.h"
#include "translations/Language.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <cstdio>
#include <optional>

#ifndef TQ3_VERSION
#define TQ3_VERSION "0"
#endif

namespace tq3ctl {

namespace {

using tq3::Settings;

// Ticks of the status poll, as the window repeats it: 1.5 s.
constexpr int WatchTicks = tq3::PollEveryTicks;
// The history stream has stalled when nothing of it came for this long, the
// time-out of the history request itself.
constexpr int HistoryStallTicks = 110;
// The firmware transfer's pauses (2 s, 2 s, 1 s) in ticks of 100 ms.
constexpr int RestartPauseTicks = 20;
constexpr int ClosingPauseTicks = 20;
constexpr int FinalPauseTicks = 10;

struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(tq3ctl::Commands)
};

QString Quoted(const QString& text)
{
    //: A setting's name or value quoted in a message.
    return Texts::tr("„%1”").arg(text);
}

QString LabelOf(const tq3::ConfigItem* item)
{
    return item ? Quoted(tq3::ItemLabel(*item)) : QString();
}

class ProgressListener : public tq3::TransferListener
{
public:
    explicit ProgressListener(Console& console) : console_(console) {}
    void ItemDone(const tq3::ConfigItem&, int progress) override { console_.SetProgress(progress); }

private:
    Console& console_;
};

// A configuration file, checked as the window checks it on loading.
std::optional<Settings> LoadSettingsFile(const QString& path, Console& console)
{
    console.SetSubject(path);
    std::optional<Settings> settings;
    QByteArray buffer;
    if (tq3::LoadDataFile(path, QByteArrayLiteral("tcf"), buffer, console)) {
        settings = tq3::ParseConfigFile(buffer);
        if (!settings)
            console.Error(Texts::tr("Zly format pliku")); // its texts run past its end
    }
    console.SetSubject({});
    return settings;
}

// A firmware file with an image in it; empty when refused.
QByteArray LoadFirmwareFile(const QString& path, Console& console)
{
    console.SetSubject(path);
    QByteArray container;
    bool accepted = tq3::LoadDataFile(path, QByteArrayLiteral("tfr"), container, console);
    if (accepted && tq3::FirmwareImage(container).isEmpty()) {
        console.Error(Texts::tr("Plik nie zawiera obrazu firmware"));
        accepted = false;
    }
    console.SetSubject({});
    return accepted ? container : QByteArray();
}

// An output whose folder is missing is found out before the controller is asked.
bool OutputFolderExists(const QString& path, Console& console)
{
    if (QFileInfo(path).absoluteDir().exists())
        return true;
    console.Error(Texts::tr("%1: Błąd zapisu (nie ma takiego folderu)").arg(path));
    return false;
}

bool SaveOutput(const QString& path, const QByteArray& bytes, tq3::NewFileAccess access, Console& console)
{
    if (tq3::SaveWholeFile(path, bytes, access))
        return true;
    console.Error(Texts::tr("%1: Błąd zapisu").arg(path));
    return false;
}

// The chart's interval and alarm limits, from --config's file; nullopt when that file is refused.
std::optional<tq3::ChartSettings> PlotSettings(const CommandLine& cl, Console& console)
{
    tq3::ChartSettings chart;
    if (cl.config.isEmpty())
        return chart;
    const std::optional<Settings> settings = LoadSettingsFile(cl.config, console);
    if (!settings)
        return std::nullopt;
    if (settings->interval > 0)
        chart.intervalMinutes = settings->interval;
    chart.alarmMinTenths = (int(settings->tempMin) - 128) * 10;
    chart.alarmMaxTenths = (int(settings->tempMax) - 128) * 10;
    return chart;
}

bool SavePlot(const tq3::HistoryModel& model, const tq3::ChartSettings& settings, const QString& path,
              const CommandLine& cl, Console& console)
{
    tq3::HistoryChart chart(model.Entries());
    chart.SetSettings(settings);
    const QSize size = cl.plotWidth > 0 ? QSize(cl.plotWidth, cl.plotHeight) : tq3::DefaultPlotSize;
    QString error;
    if (chart.SaveImage(path, size, &error))
        return true;
    if (error.isEmpty())
        console.Error(Texts::tr("%1: Błąd zapisu").arg(path));
    else
        console.Error(QStringLiteral("%1: %2").arg(path, error));
    return false;
}

int RunPlot(const CommandLine& cl, Console& console)
{
    const std::optional<tq3::ChartSettings> settings = PlotSettings(cl, console);
    if (!settings)
        return ExitFile;
    QFile file(cl.file);
    if (!file.open(QIODevice::ReadOnly)) {
        console.Error(Texts::tr("%1: nie można otworzyć pliku").arg(cl.file));
        return ExitFile;
    }
    tq3::HistoryModel model;
    const tq3::HistoryReadResult read = model.AddFile(file.readAll());
    if (read.records == 0) {
        console.Error(Texts::tr("%1: brak rekordów historii").arg(cl.file));
        return ExitFile;
    }
    if (const int foreign = read.skipped - read.closing; foreign > 0)
        console.Warning(Texts::tr("%1: pominięto wiersze, które nie są rekordami historii: %2")
                            .arg(cl.file)
                            .arg(foreign));
    if (!OutputFolderExists(cl.output, console))
        return ExitOutput;
    return SavePlot(model, *settings, cl.output, cl, console) ? ExitOk : ExitOutput;
}

int RunPorts(Console& console)
{
    // The window's port list, a port a line: its name, its device, and what the
    // system knows of the adapter.
    std::vector<tq3::PortEntry> ports = tq3::ListPorts(tq3::EnumerateSerialPorts(), tq3::ReadStableNames());
    for (tq3::PortEntry& port : tq3::RecentNetworkEntries())
        ports.push_back(std::move(port));
    for (const tq3::PortEntry& port : ports) {
        const QStringList columns{port.name, port.device, port.manufacturer, port.description,
                                  port.serialNumber};
        if (!console.Out(columns.join(QLatin1Char('\t')) + QLatin1Char('\n')))
            return ExitOutput;
    }
    return ExitOk;
}

int RunShow(const CommandLine& cl, Console& console)
{
    const std::optional<Settings> settings = LoadSettingsFile(cl.file, console);
    if (!settings)
        return ExitFile;
    const bool written = cl.json ? console.OutBytes(QJsonDocument(SettingsJson(*settings)).toJson())
                                 : console.Out(SettingsText(*settings));
    return written ? ExitOk : ExitOutput;
}

int RunStatus(Device& device, const CommandLine& cl, Console& console)
{
    for (;;) {
        const std::optional<QByteArray> status = tq3::ReadStatus(device.Link());
        if (!status) {
            // The link tells of the status poll's silence to nobody.
            console.Error(Texts::tr("Brak odpowiedzi z TQ-3"));
            device.EnterLoggedOut();
            return ExitNoAnswer;
        }
        QByteArray out;
        if (cl.json) {
            QJsonObject o = StatusJson(*status, device.Version());
            if (cl.watch)
                o.insert(QStringLiteral("time"), QDateTime::currentDateTime().toString(Qt::ISODate));
            out = QJsonDocument(o).toJson(cl.watch ? QJsonDocument::Compact : QJsonDocument::Indented);
            if (cl.watch)
                out += '\n';
        } else {
            QString text = StatusText(*status, device.Version());
            if (cl.watch)
                text = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                       QLatin1Char('\n') + text + QLatin1Char('\n');
            out = text.toUtf8();
        }
        // A reader that went away (status --watch | head) ends the watch as Ctrl+C does.
        if (!console.OutBytes(out))
            return cl.watch ? ExitOk : ExitOutput;
        if (!cl.watch)
            return ExitOk;
        if (!device.WaitTicks(WatchTicks))
            return ExitOk;
    }
}

std::optional<Settings> ReadAll(Device& device, Console& console, const QString& label,
                                const QString& failure)
{
    ProgressListener listener(console);
    tq3::ReadAllSettings read(device.Link(), listener);
    console.StartProgress(label);
    const bool ok = read.Run();
    console.EndProgress();
    if (!ok) {
        console.Error(failure.arg(LabelOf(read.FailedAt())));
        return std::nullopt;
    }
    return read.Received();
}

int RunRead(Device& device, const CommandLine& cl, const QByteArray& password, Console& console)
{
    std::optional<Settings> settings = ReadAll(device, console, Texts::tr("Pobieram konfiguracje nadajnika"),
                                               Texts::tr("Odczyt przerwany na ustawieniu %1"));
    if (!settings)
        return ExitNoAnswer;
    if (Interrupted())
        return ExitInterrupted;
    // The window saves what its password field holds: the password it logged in with.
    settings->password = password;
    if (!SaveOutput(cl.file, tq3::BuildConfigFile(*settings), tq3::NewFileAccess::OwnerOnly, console))
        return ExitOutput;
    return ExitOk;
}

int RunWrite(Device& device, const Settings& file, Console& console)
{
    ProgressListener listener(console);
    tq3::WriteAllSettings write(device.Link(), listener);
    console.StartProgress(Texts::tr("Wysyłam konfiguracje do nadajnika"));
    const bool written = write.Run(file);
    console.EndProgress();
    if (!written) {
        console.Error(Texts::tr("Zapis przerwany na ustawieniu %1: ustawienia przed nim są już w "
                                "sterowniku, ono i dalsze nie")
                          .arg(LabelOf(write.FailedAt())));
        return ExitNoAnswer;
    }
    const std::optional<Settings> back =
        ReadAll(device, console, Texts::tr("Sprawdzam konfiguracje nadajnika"),
                Texts::tr("Odczyt kontrolny przerwany na ustawieniu %1: zapis nie został sprawdzony"));
    if (!back)
        return ExitNoAnswer;
    const std::vector<Difference> differences = Differences(file, *back);
    for (const Difference& d : differences)
        console.Error(Texts::tr("Weryfikacja nieudana: %1: w pliku %2, w sterowniku %3")
                          .arg(LabelOf(d.item), Quoted(d.file), Quoted(d.device)));
    return differences.empty() ? ExitOk : ExitVerify;
}

int RunDiff(Device& device, const Settings& file, Console& console)
{
    const std::optional<Settings> held =
        ReadAll(device, console, Texts::tr("Pobieram konfiguracje nadajnika"),
                Texts::tr("Odczyt przerwany na ustawieniu %1"));
    if (!held)
        return ExitNoAnswer;
    if (Interrupted())
        return ExitInterrupted;
    const std::vector<Difference> differences = Differences(file, *held);
    if (!console.Out(DifferencesText(differences)))
        return ExitOutput;
    return differences.empty() ? ExitOk : ExitDifferent;
}

// Takes the history as the link dispatches it: the lines of the window's log,
// or CSV rows, on the output as they come or kept for the file.
class HistoryOutput : public tq3::HistoryListener
{
public:
    enum class Form
    {
        Log,
        Csv,         // tq3ctl's own columns
        Spreadsheet, // for Polish spreadsheets
    };
    HistoryOutput(Console& console, Form form, bool toOutput)
        : console_(console), csv_(form != Form::Log), spreadsheet_(form == Form::Spreadsheet),
          toOutput_(toOutput)
    {
    }

    void SizeKnown(int total) override { total_ = total; }
    void RecordReceived(const QByteArray& record) override
    {
        received_ += tq3::HistoryRecordSize;
        if (total_ > 0)
            console_.SetProgress(int(qint64(qMin(received_, total_)) * 100 / total_));
        const bool placed = model_.AddRecord(record);
        if (spreadsheet_) {
            if (placed)
                Put(QString::fromUtf8(tq3::HistorySpreadsheetRow(model_.Entries().back())));
            else if (tq3::HistoryLine(record))
                ++undated_;
        } else if (csv_) {
            if (const auto row = HistoryCsvRow(record))
                Put(*row);
        } else if (const auto line = tq3::HistoryLine(record)) {
            lines_ << *line;
            Put(*line + QLatin1Char('\n'));
        }
    }
    void Ended() override { ended_ = true; }

    // The window's log: the record lines, then its closing line.
    void AddEndLine()
    {
        // A line of the log, as the window writes it: not translated.
        const QString end = QStringLiteral("Koniec historii");
        lines_ << end;
        if (!csv_)
            Put(end + QLatin1Char('\n'));
    }
    void Start()
    {
        if (spreadsheet_)
            // QString::fromUtf8 drops a leading byte-order mark; it is put back.
            Put(QChar(0xFEFF) + QString::fromUtf8(tq3::HistorySpreadsheetStart()));
        else if (csv_)
            Put(HistoryCsvHeader());
    }

    bool EndedNormally() const { return ended_; }
    bool OutputGone() const { return outputGone_; }
    const QStringList& Lines() const { return lines_; }
    const QString& Csv() const { return csvText_; }
    const tq3::HistoryModel& Model() const { return model_; }
    // Records with a line whose date is no date: the spreadsheet form has no row for them.
    int Undated() const { return undated_; }

private:
    // Log lines for a file are kept in lines_ already.
    void Put(const QString& text)
    {
        if (!toOutput_) {
            if (csv_)
                csvText_ += text;
        } else if (!outputGone_ && !console_.Out(text)) {
            outputGone_ = true;
        }
    }

    Console& console_;
    bool csv_;
    bool spreadsheet_;
    bool toOutput_;
    tq3::HistoryModel model_;
    int undated_ = 0;
    int total_ = 0;
    int received_ = 0;
    bool ended_ = false;
    bool outputGone_ = false;
    QStringList lines_;
    QString csvText_;
};

int RunHistory(Device& device, const CommandLine& cl, const tq3::ChartSettings& plot, Console& console)
{
    const bool toFile = !cl.output.isEmpty();
    HistoryOutput output(console,
                         cl.csvPl ? HistoryOutput::Form::Spreadsheet
                         : cl.csv ? HistoryOutput::Form::Csv
                                  : HistoryOutput::Form::Log,
                         !toFile);
    tq3::HistoryDownload download(device.Link(), output);
    download.SetPauseStep(device.Tick());
    tq3::ControllerSession& session = device.Session();
    session.SetHistory(&download);
    struct Unset
    {
        tq3::ControllerSession& session;
        ~Unset() { session.SetHistory(nullptr); }
    } unset{session};

    output.Start();
    console.StartProgress(Texts::tr("Pobieram historie"));
    if (!download.Start()) {
        console.EndProgress();
        return ExitNoAnswer; // the link has said so
    }
    const auto askStop = [&] {
        if ((Interrupted() || output.OutputGone()) && !download.StopRequested())
            download.RequestStop(); // goes out with the next record
    };
    if (session.AwaitHistory(download, HistoryStallTicks, askStop) ==
        tq3::ControllerSession::HistoryEnd::Stalled) {
        console.EndProgress();
        console.Error(Texts::tr("Brak odpowiedzi z TQ-3"));
        return ExitNoAnswer;
    }
    console.EndProgress();
    if (output.EndedNormally())
        output.AddEndLine();
    if (Interrupted())
        return ExitInterrupted;
    if (output.OutputGone())
        return ExitOutput;
    if (toFile) {
        // Without --csv, the bytes of the window's export of the same log.
        const QByteArray bytes =
            cl.csv || cl.csvPl ? output.Csv().toUtf8() : tq3::HistoryFileBytes(output.Lines());
        if (!SaveOutput(cl.output, bytes, tq3::NewFileAccess::Normal, console))
            return ExitOutput;
    }
    if (output.Undated() > 0)
        console.Warning(Texts::tr("Pominięto rekordy bez poprawnej daty: %1").arg(output.Undated()));
    if (!cl.plot.isEmpty() && !SavePlot(output.Model(), plot, cl.plot, cl, console))
        return ExitOutput;

    if (const auto shortfall = download.Shortfall()) {
        console.Error(tq3::HistoryShortfallText(shortfall->received, shortfall->announced));
        return ExitShortHistory;
    }
    return ExitOk;
}

class FirmwareProgress : public tq3::FirmwareListener
{
public:
    explicit FirmwareProgress(Console& console) : console_(console) {}
    void Starting() override
    {
        console_.Warning(Texts::tr("NIE WYŁĄCZAJ TQ-3 Z ZASILANIA"));
        console_.StartProgress(Texts::tr("Aktualizacja firmware"));
    }
    void Progress(int percent) override { console_.SetProgress(percent); }

private:
    Console& console_;
};

int RunFirmware(Device& device, const QByteArray& container, Console& console)
{
    FirmwareProgress progress(console);
    tq3::FirmwareUpload upload(device.Link(), progress);
    const auto ticks = [&](int n) { return int(device.Tick().count()) * n; };
    upload.SetTiming({ticks(RestartPauseTicks), ticks(ClosingPauseTicks), ticks(FinalPauseTicks)});
    const bool done = upload.Run(container);
    console.EndProgress();
    // The controller restarts into its bootloader: the session is over either way.
    device.EnterLoggedOut();
    if (!done) {
        console.Error(Texts::tr("Brak odpowiedzi z VSKR, aktualizacja nieudana"));
        return ExitNoAnswer;
    }
    console.Info(Texts::tr("Aktualizacja zakonczona"));
    return ExitOk;
}

int RunService(Device& device, const CommandLine& cl, Console& console)
{
    tq3::ServiceCommands service(device.Link());
    switch (cl.command) {
    case Command::EraseHistory:
        if (!service.EraseHistory())
            return ExitNoAnswer;
        console.Info(Texts::tr("Historia temperatury skasowana"));
        return ExitOk;
    case Command::SetClock:
        service.SetClock(QDateTime::currentDateTime());
        return ExitOk;
    case Command::Restart:
        service.Restart();
        device.EnterLoggedOut(); // a restarted controller has forgotten the login
        return ExitOk;
    case Command::ResetCounters:
        service.ResetCounters();
        return ExitOk;
    case Command::SetPassword: {
        static const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
        if (!fourDigits.match(QString::fromLatin1(cl.newPassword)).hasMatch())
            console.Warning(Texts::tr("Okno programu przyjmuje tylko hasło z czterech cyfr"));
        if (!service.ChangePassword(cl.newPassword))
            return ExitNoAnswer;
        console.Info(Texts::tr("Hasło zmienione"));
        return ExitOk;
    }
    default:
        return ExitUsage;
    }
}

// The password of the command line or the environment, else asked for.
std::optional<QByteArray> Password(const CommandLine& cl, Console& console, int& exitCode)
{
    if (cl.password)
        return cl.password;
    if (!StdinIsTerminal()) {
        console.Error(Texts::tr("Nie podano hasła: -P HASŁO albo zmienna TQ3_PASSWORD"));
        exitCode = ExitUsage;
        return std::nullopt;
    }
    const QByteArray prompt = Texts::tr("Hasło: ").toUtf8();
    const std::optional<QByteArray> typed = ReadHiddenLine(prompt.constData());
    if (!typed) {
        exitCode = Interrupted() ? ExitInterrupted : ExitUsage;
        return std::nullopt;
    }
    const PasswordCheck check = CheckPassword(QString::fromLocal8Bit(*typed));
    if (!check.error.isEmpty()) {
        console.Error(check.error);
        exitCode = ExitUsage;
        return std::nullopt;
    }
    return check.bytes;
}

} // namespace

RunOptions RunOptionsFrom(const QProcessEnvironment& environment)
{
    RunOptions options;
    bool ok = false;
    const int ms = environment.value(QStringLiteral("TQ3CTL_TICK_MS")).toInt(&ok);
    if (ok && ms >= 1 && ms <= 1000)
        options.tick = std::chrono::milliseconds(ms);
    return options;
}

int RunCommand(const CommandLine& cl, Console& console, const RunOptions& options)
{
    if (cl.command == Command::Ports)
        return RunPorts(console);
    if (cl.command == Command::Show)
        return RunShow(cl, console);
    if (cl.command == Command::Plot)
        return RunPlot(cl, console);

    // Everything the command line names is checked before the port is opened.
    std::optional<Settings> file;
    QByteArray firmware;
    if (cl.command == Command::Write || cl.command == Command::Diff) {
        file = LoadSettingsFile(cl.file, console);
        if (!file)
            return ExitFile;
        if (cl.command == Command::Write) {
            if (const QString why = tq3::WriteAllSettings::Refusal(*file); !why.isEmpty()) {
                console.Error(cl.file + QStringLiteral(": ") + why);
                return ExitFile;
            }
        }
    } else if (cl.command == Command::Firmware) {
        firmware = LoadFirmwareFile(cl.file, console);
        if (firmware.isEmpty())
            return ExitFile;
    } else if (cl.command == Command::Read && !OutputFolderExists(cl.file, console)) {
        return ExitOutput;
    } else if (cl.command == Command::History &&
               ((!cl.output.isEmpty() && !OutputFolderExists(cl.output, console)) ||
                (!cl.plot.isEmpty() && !OutputFolderExists(cl.plot, console)))) {
        return ExitOutput;
    }
    const std::optional<tq3::ChartSettings> plot = PlotSettings(cl, console);
    if (!plot)
        return ExitFile;
    int exitCode = ExitOk;
    const std::optional<QByteArray> password = Password(cl, console, exitCode);
    if (!password)
        return exitCode;

    Device device(console, options.tick);
    if (const int opened = device.Open(cl.port); opened != ExitOk)
        return opened;
    // Several controllers may be served at once (xargs -P): each message says which.
    console.SetSubject(cl.port);
    exitCode = device.LogIn(*password);
    if (exitCode == ExitOk && Interrupted())
        exitCode = ExitInterrupted;
    if (exitCode == ExitOk) {
        switch (cl.command) {
        case Command::Status:
            exitCode = RunStatus(device, cl, console);
            break;
        case Command::Read:
            exitCode = RunRead(device, cl, *password, console);
            break;
        case Command::Write:
            exitCode = RunWrite(device, *file, console);
            break;
        case Command::Diff:
            exitCode = RunDiff(device, *file, console);
            break;
        case Command::History:
            exitCode = RunHistory(device, cl, *plot, console);
            break;
        case Command::Firmware:
            exitCode = RunFirmware(device, firmware, console);
            break;
        default:
            exitCode = RunService(device, cl, console);
            break;
        }
    }
    // ROZŁĄCZ without its message; an unanswered logout is told but leaves the
    // command's result as it is.
    device.LogOut();
    device.Close();
    return exitCode;
}

namespace {

// The language from --lang, TQ3_LANG or the system's, installed before the
// first text is made. A first parse finds --lang just as the real one takes
// it, so that "-p --lang" stays a port; its texts are thrown away.
void InstallChosenLanguage(const QStringList& arguments, const QProcessEnvironment& environment)
{
    const CommandLine asked = ParseCommandLine(arguments, environment);
    const QString variable = environment.value(QStringLiteral("TQ3_LANG"));
    QString unknown;
    const tq3::Language language = tq3::ChooseLanguage(asked.language.value_or(QString()), variable,
                                                       QLocale::system().uiLanguages(), &unknown);
    // Without Qt's Polish catalogue only Qt's own few texts stay English: nothing to say.
    if (QCoreApplication* app = QCoreApplication::instance())
        tq3::InstallLanguage(*app, language);
    // A bad --lang is the parse's usage error; a bad TQ3_LANG only a warning.
    if (!unknown.isEmpty() && !asked.language)
        std::fprintf(stderr, "tq3ctl: %s\n",
                     Texts::tr("Nieznany język w zmiennej TQ3_LANG: %1 (pl albo en); język systemu")
                         .arg(unknown)
                         .toUtf8()
                         .constData());
}

} // namespace

int Main(const QStringList& arguments, const QProcessEnvironment& environment)
{
    InstallChosenLanguage(arguments, environment);
    const CommandLine cl = ParseCommandLine(arguments, environment);
    // "--lang xx --help" is refused too: the help would not be in the language asked for.
    const bool badLanguage = cl.language && !tq3::LanguageNamed(*cl.language);
    if (cl.help && !badLanguage) {
        std::fputs(HelpText(cl.command).toUtf8().constData(), stdout);
        return ExitOk;
    }
    if (cl.version && !badLanguage) {
        std::fputs("tq3ctl " TQ3_VERSION "\n", stdout);
        return ExitOk;
    }
    if (!cl.error.isEmpty()) {
        const QString more = cl.command == Command::None
                                 ? QStringLiteral("tq3ctl --help")
                                 : QStringLiteral("tq3ctl %1 --help").arg(CommandName(cl.command));
        std::fprintf(stderr, "tq3ctl: %s\n%s\n", cl.error.toUtf8().constData(),
                     Texts::tr("Więcej: %1").arg(more).toUtf8().constData());
        return ExitUsage;
    }
    if (cl.verbose) {
        QLoggingCategory::setFilterRules(QStringLiteral("tq3.*.debug=true"));
        qSetMessagePattern(QStringLiteral("tq3ctl: %{category}: %{message}"));
    }
    Console console(cl.quiet, StderrIsTerminal());
    return RunCommand(cl, console, RunOptionsFrom(environment));
}

} // namespace tq3ctl
