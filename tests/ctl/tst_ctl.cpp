// tq3ctl as the installer's shell runs it, against the simulated controller
// on a pseudo-terminal: the files and the controller's state after each
// command, the exit codes of every failure, and that refused input sends and
// writes nothing. The command line and the port listing are tested in-process.
#include "CommandLine.h"
#include "CtlTestUtil.h"
#include "Output.h"
#include "config/CodePage1250.h"
#include "config/ConfigFile.h"
#include "firmware/FirmwareBlocks.h"
#include "history/HistoryFormat.h"
#include "history/HistoryModel.h"

#include <QImage>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace tq3ctl;

namespace {

const QByteArray Password = "7391";

tq3::Settings UnusualSettings()
{
    tq3::Settings s;
    s.password = Password;
    s.pin = "1234";
    s.smsCentre = "+48602951111";
    s.tel[0] = "+48601234567";
    s.in1n = Cp("Brak 230V – żółć");
    s.in1a = Cp("Zasilanie wróciło");
    s.out2zal = "STAN";
    s.smsLimit = 0x85;
    s.tempMin = 0x7f;
    s.tempMax = 0x96;
    s.korekta = 0x86;
    s.interval = 15;
    s.in4n = QByteArray(40, 'B');
    s.callOnAlarm = 1;
    s.voiceLimit = 3;
    return s;
}

// Settings as a site's file holds them, differing from the controller's start-up ones.
tq3::Settings SiteSettings()
{
    tq3::Settings s;
    s.password = "0000"; // not used by write
    s.pin = "4455";
    s.smsCentre = "+48790998250";
    s.tel = {"+48600100200", "+48600100201", "", "+48600100203"};
    s.in1n = Cp("Awaria zasilania");
    s.in2n = Cp("Za ciepło");
    s.in1a = "Zasilanie OK";
    s.in2a = "Za zimno";
    s.in3a = "Norma";
    s.out2zal = "?";
    s.smsLimit = tq3::SmsLimitByte(20, true);
    s.voiceLimit = 5;
    s.tempMin = 128 + 2;
    s.tempMax = 128 + 30;
    s.korekta = 2;
    s.interval = 30;
    s.in4a = "Bateria OK";
    s.in4n = "Bateria slaba";
    s.callOnAlarm = 1;
    return s;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray Container(const QByteArray& tag, const QByteArray& data)
{
    const QByteArray body = tag + data;
    return body + char(tq3::XorCheck(body));
}

QString Err(const CtlRun& run)
{
    return QString::fromUtf8(run.err);
}

} // namespace

class TestCtl : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QFile::exists(QStringLiteral(TQ3CTL_PATH))); }
    void init() { QVERIFY(dir.isValid()); }

    void commandLine_data();
    void commandLine();
    void help();
    void language_data();
    void language();
    void dataInEveryLanguage_data();
    void dataInEveryLanguage();
    void ports();
    void show();
    void refusedFiles_data();
    void refusedFiles();
    void read();
    void write();
    void writeFails_data();
    void writeFails();
    void diff();
    void status();
    void statusWatch();
    void failures_data();
    void failures();
    void passwordPrompt();
    void history();
    void verboseTrace();
    void historyOnAPausingOrLossyLine_data();
    void historyOnAPausingOrLossyLine();
    void firmware();
    void serviceCommands();

private:
    QString Path(const QString& name) const { return dir.filePath(name); }
    QStringList On(const tq3sim::PtyRunner& sim, const QStringList& rest) const
    {
        return QStringList{QStringLiteral("-p"), sim.slavePath(), QStringLiteral("-P"),
                           QString::fromLatin1(Password)} +
               rest;
    }

    QTemporaryDir dir;
};

void TestCtl::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("env");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("password"); // "-" for none

    const QString none = QStringLiteral("-");
    QTest::newRow("no command") << QStringList{} << "" << false << "" << none;
    QTest::newRow("unknown command") << QStringList{"flash"} << "" << false << "" << none;
    QTest::newRow("unknown option") << QStringList{"-p", "COM1", "--fast", "status"} << "" << false << ""
                                    << none;
    QTest::newRow("file missing") << QStringList{"-p", "COM1", "read"} << "" << false << "" << none;
    QTest::newRow("extra argument") << QStringList{"-p", "COM1", "status", "x"} << "" << false << "" << none;
    QTest::newRow("--json on read") << QStringList{"-p", "COM1", "read", "a.tcf", "--json"} << "" << false
                                    << "" << none;
    QTest::newRow("-o on status") << QStringList{"-p", "COM1", "-o", "x", "status"} << "" << false << ""
                                  << none;
    QTest::newRow("no port") << QStringList{"status"} << "" << false << "" << none;
    QTest::newRow("port from the environment")
        << QStringList{"status"} << "TQ3_PORT=/dev/ttyUSB0" << true << "/dev/ttyUSB0" << none;
    QTest::newRow("-p over the environment")
        << QStringList{"--port=COM2", "status"} << "TQ3_PORT=/dev/ttyUSB0" << true << "COM2" << none;
    QTest::newRow("options after the command")
        << QStringList{"read", "a.tcf", "-pCOM3", "-P", "1234"} << "" << true << "COM3"
        << "1234";
    QTest::newRow("password from the environment")
        << QStringList{"-p", "COM1", "status"} << "TQ3_PASSWORD=7391" << true << "COM1"
        << "7391";
    QTest::newRow("-P over the environment")
        << QStringList{"-p", "COM1", "-P", "1111", "status"} << "TQ3_PASSWORD=7391" << true << "COM1"
        << "1111";
    QTest::newRow("password longer than a frame")
        << QStringList{"-p", "COM1", "-P", QString(256, '1'), "status"} << "" << false << "" << none;
    QTest::newRow("longest password") << QStringList{"-p", "COM1", "-P", QString(255, '1'), "status"} << ""
                                      << true << "COM1" << QString(255, '1');
    QTest::newRow("password outside code page 1250")
        << QStringList{"-p", "COM1", "-P", "ключ", "status"} << "" << false << "" << none;
    QTest::newRow("new password longer than a frame")
        << QStringList{"-p", "COM1", "set-password", QString(300, '2')} << "" << false << "" << none;
    QTest::newRow("show needs no controller")
        << QStringList{"show", "a.tcf", "--json"} << "" << true << "" << none;
    QTest::newRow("help needs nothing else") << QStringList{"write", "--help"} << "" << true << "" << none;
    QTest::newRow("plot needs no controller")
        << QStringList{"plot", "h.txt", "-o", "h.svg", "--size", "800x600", "--config", "a.tcf"} << "" << true
        << "" << none;
    QTest::newRow("plot without -o") << QStringList{"plot", "h.txt"} << "" << false << "" << none;
    QTest::newRow("plot to an unknown format")
        << QStringList{"plot", "h.txt", "-o", "h.gif"} << "" << false << "" << none;
    QTest::newRow("size out of range")
        << QStringList{"plot", "h.txt", "-o", "h.png", "--size", "100x20000"} << "" << false << "" << none;
    QTest::newRow("--size without a chart")
        << QStringList{"-p", "COM1", "history", "--size", "800x600"} << "" << false << "" << none;
    QTest::newRow("--csv with --csv-pl")
        << QStringList{"-p", "COM1", "history", "--csv", "--csv-pl"} << "" << false << "" << none;
}

void TestCtl::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, env);
    QFETCH(bool, ok);
    QFETCH(QString, port);
    QFETCH(QString, password);

    QProcessEnvironment environment;
    if (!env.isEmpty())
        environment.insert(env.section('=', 0, 0), env.section('=', 1));
    const CommandLine cl = ParseCommandLine(QStringList{"tq3ctl"} + args, environment);
    QCOMPARE(cl.error.isEmpty(), ok);
    if (!ok)
        return;
    QCOMPARE(cl.port, port);
    QCOMPARE(cl.password ? QString::fromLatin1(*cl.password) : QStringLiteral("-"), password);
}

void TestCtl::help()
{
    // Every command has its own help; the general one names the exit codes
    // and the environment.
    for (const QString name : {"ports", "status", "read", "write", "diff", "show", "history", "erase-history",
                               "set-clock", "restart", "reset-counters", "set-password", "firmware"}) {
        const CtlRun run = RunCtl({name, QStringLiteral("--help")});
        QCOMPARE(run.code, 0);
        QVERIFY2(run.out.startsWith("Użycie: tq3ctl ") && run.out.contains(name.toUtf8()),
                 run.out.constData());
    }
    const CtlRun general = RunCtl({QStringLiteral("--help")});
    QCOMPARE(general.code, 0);
    for (const char* text :
         {"TQ3_PORT", "TQ3_PASSWORD", "130", "weryfikacja zapisu nieudana", "błędne hasło"})
        QVERIFY2(general.out.contains(text), text);
    QCOMPARE(RunCtl({QStringLiteral("--version")}).out, QByteArray("tq3ctl 2.2\n"));
    const CtlRun wrong = RunCtl({QStringLiteral("flash")});
    QCOMPARE(wrong.code, int(ExitUsage));
    QVERIFY(wrong.err.contains("Nieznane polecenie: flash"));
}

void TestCtl::language_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("env"); // NAME=value; an empty value unsets NAME
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out"); // how standard output begins
    QTest::addColumn<QByteArray>("err"); // how standard error begins; empty: nothing on it

    const QStringList help{"--help"};
    const QStringList english{"LANGUAGE=en", "LANG=en_US.UTF-8", "TQ3_LANG="};
    const QStringList polish{"LANG=pl_PL.UTF-8", "TQ3_LANG="};
    const QByteArray helpEn = "Usage: tq3ctl ", helpPl = "Użycie: tq3ctl ";
    QTest::newRow("English system") << help << english << 0 << helpEn << QByteArray();
    QTest::newRow("Polish system") << help << polish << 0 << helpPl << QByteArray();
    QTest::newRow("system in a language not spoken")
        << help << QStringList{"LANG=de_DE.UTF-8", "TQ3_LANG="} << 0 << helpPl << QByteArray();
    QTest::newRow("TQ3_LANG over the system")
        << help << QStringList{"LANG=pl_PL.UTF-8", "TQ3_LANG=en"} << 0 << helpEn << QByteArray();
    QTest::newRow("--lang over TQ3_LANG")
        << QStringList{"--lang", "pl", "--help"} << QStringList{"TQ3_LANG=en"} << 0 << helpPl << QByteArray();
    QTest::newRow("--lang=en, a command's help")
        << QStringList{"status", "--lang=en", "--help"} << polish << 0
        << QByteArray("Usage: tq3ctl [-p PORT] [-P PASSWORD] status") << QByteArray();
    QTest::newRow("unknown --lang") << QStringList{"--lang", "xx", "--help"} << polish << int(ExitUsage)
                                    << QByteArray()
                                    << QByteArray("tq3ctl: Nieznany język: xx (pl albo en)\n");
    QTest::newRow("unknown TQ3_LANG")
        << help << QStringList{"LANGUAGE=en", "LANG=en_US.UTF-8", "TQ3_LANG=xx"} << 0 << helpEn
        << QByteArray("tq3ctl: Unknown language in TQ3_LANG: xx");
    QTest::newRow("usage error in English")
        << QStringList{"flash"} << english << int(ExitUsage) << QByteArray()
        << QByteArray("tq3ctl: Unknown command: flash\nSee: tq3ctl --help\n");
}

// The language comes from --lang, else TQ3_LANG, else the system's languages,
// and is in place before the first text, the help's or an error's.
void TestCtl::language()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, env);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);

    QProcess p;
    PrepareCtl(p, args);
    QProcessEnvironment environment = p.processEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(name);
    for (const QString& setting : env) {
        const QString name = setting.section('=', 0, 0), value = setting.section('=', 1);
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    p.setProcessEnvironment(environment);
    p.start();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), exitCode);
    const QByteArray stdOut = p.readAllStandardOutput(), stdErr = p.readAllStandardError();
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), stdOut.constData());
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), stdErr.constData());
}

void TestCtl::dataInEveryLanguage_data()
{
    QTest::addColumn<QStringList>("args"); // %tcf: a configuration file; %out: the output file
    QTest::newRow("show --json") << QStringList{"show", "--json", "%tcf"};
    QTest::newRow("status --json") << QStringList{"status", "--json"};
    QTest::newRow("read") << QStringList{"read", "%out"};
    QTest::newRow("history") << QStringList{"history"};
    QTest::newRow("history -o") << QStringList{"history", "-o", "%out"};
    QTest::newRow("history --csv") << QStringList{"history", "--csv"};
    QTest::newRow("history --csv-pl") << QStringList{"history", "--csv-pl"};
}

// What programs and files read is the same whatever language tq3ctl speaks:
// the history's lines, the CSV and JSON, the configuration file.
void TestCtl::dataInEveryLanguage()
{
    QFETCH(QStringList, args);
    tq3sim::ControllerOptions controller = UnusualController();
    controller.historyRecords = 60;
    auto sim = StartSim(controller);
    QVERIFY(sim);
    const QString tcf = Path("unusual.tcf");
    QVERIFY(WriteFile(tcf, tq3::BuildConfigFile(UnusualSettings())));
    QByteArray shown[2], saved[2];
    for (const int english : {0, 1}) {
        const QString out = Path(english ? "english.out" : "polish.out");
        QStringList run = On(*sim, args).replaceInStrings("%tcf", tcf).replaceInStrings("%out", out);
        if (english)
            run = QStringList{"--lang", "en"} + run;
        const CtlRun result = RunCtl(run);
        QVERIFY2(result.code == 0, result.err.constData());
        shown[english] = result.out;
        saved[english] = ReadFile(out);
    }
    QVERIFY(!shown[0].isEmpty() || !saved[0].isEmpty());
    QCOMPARE(shown[1], shown[0]);
    QCOMPARE(saved[1], saved[0]);
}

// The window's list: COM1..COM8 first, then whatever devices this machine has.
void TestCtl::ports()
{
    const CtlRun run = RunCtl({QStringLiteral("ports")});
    QCOMPARE(run.code, 0);
    const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() >= 8);
    for (int n = 1; n <= 8; ++n) {
        const QStringList columns = lines[n - 1].split('\t');
        QCOMPARE(columns.size(), 5);
        QCOMPARE(columns[0], QStringLiteral("COM%1").arg(n));
        QCOMPARE(columns[1], QStringLiteral("/dev/ttyS%1").arg(n - 1));
    }
}

void TestCtl::show()
{
    const QString file = Path("unusual.tcf");
    QVERIFY(WriteFile(file, tq3::BuildConfigFile(UnusualSettings())));

    const CtlRun text = RunCtl({"show", file});
    QCOMPARE(text.code, 0);
    const QString out = QString::fromUtf8(text.out);
    for (const char* line :
         {"Hasło dostępu:               7391", "Centrum SMS:                 +48602951111",
          "Zasilacz 5V: Brak:           Brak 230V – żółć", "Limit [24h]: SMS:            5, Filtr SMS",
          "Alarm temperatury: Min, Max: -1, +22", "Korekta temperatury:         -1,50",
          "Dzwon przy alarmie:          tak", "Telefon nr. 2:\n"})
        QVERIFY2(out.contains(QString::fromUtf8(line)), line);

    const CtlRun json = RunCtl({"show", "--json", file});
    QCOMPARE(json.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    const QJsonObject s = o.value("settings").toObject();
    QCOMPARE(o.value("password").toString(), QStringLiteral("7391"));
    QCOMPARE(s.size(), tq3::ItemCount);
    QCOMPARE(s.value("mains_lost").toString(), QStringLiteral("Brak 230V – żółć"));
    QCOMPARE(s.value("sms_limit").toObject(), (QJsonObject{{"limit", 5}, {"filter", true}}));
    QCOMPARE(s.value("temp_alarms").toObject(), (QJsonObject{{"min", -1}, {"max", 22}}));
    QCOMPARE(s.value("temp_correction").toDouble(), -1.5);
    QCOMPARE(s.value("call_on_alarm").toBool(), true);
    QCOMPARE(s.value("log_interval").toInt(), 15);
}

void TestCtl::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<none>": no file at all
    QTest::addColumn<QString>("message");

    const QByteArray good = tq3::BuildConfigFile(SiteSettings());
    QByteArray damaged = good;
    damaged[10] = char(damaged[10] ^ 0x20);
    QByteArray overrun = good.left(3) + char(200) + good.mid(4);
    overrun.back() = char(tq3::XorCheck(overrun.chopped(1)));

    QTest::newRow("missing") << QByteArray("<none>") << "Nie można otworzyć pliku";
    QTest::newRow("firmware file") << Container("tfr", QByteArray(200, 'f')) << "Zly format pliku";
    QTest::newRow("damaged") << damaged << "Bląd CRC pliku konfiguracji";
    QTest::newRow("text past the end") << overrun << "Zly format pliku";
    QTest::newRow("too short") << QByteArray("tc") << "Zly format pliku";
}

void TestCtl::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString file = Path("refused.tcf");
    QFile::remove(file);
    if (bytes != "<none>")
        QVERIFY(WriteFile(file, bytes));
    auto sim = StartSim();
    QVERIFY(sim);

    // Refused before the port is opened: the controller hears nothing.
    for (const char* command : {"write", "diff"}) {
        const CtlRun run = RunCtl(On(*sim, {command, file}));
        QCOMPARE(run.code, int(ExitFile));
        QVERIFY2(Err(run).contains(message) && Err(run).contains(file), run.err.constData());
    }
    QCOMPARE(sim->frames().size(), size_t(0));
    QCOMPARE(RunCtl({"show", file}).code, int(ExitFile));
}

void TestCtl::read()
{
    auto sim = StartSim(UnusualController());
    QVERIFY(sim);
    const QString file = Path("read.tcf");
    const CtlRun run = RunCtl(On(*sim, {"read", file}));
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err, QByteArray());
    // The window's save of the same fields, its password field holding the login password.
    QCOMPARE(ReadFile(file), tq3::BuildConfigFile(UnusualSettings()));
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QCOMPARE(QFile::permissions(file) & others, QFileDevice::Permissions{}); // it holds the password
    const QList<int> codes = FrameCodes(*sim);
    QCOMPARE(codes.first(), 1);
    QCOMPARE(codes.last(), 2); // logged out
    QCOMPARE(codes.size(), 22);

    // A folder that is not there is found out before the controller is asked.
    const CtlRun nowhere = RunCtl(On(*sim, {"read", Path("no/such/folder/x.tcf")}));
    QCOMPARE(nowhere.code, int(ExitOutput));
    QCOMPARE(FrameCodes(*sim).size(), 22);
}

void TestCtl::write()
{
    auto sim = StartSim();
    QVERIFY(sim);
    const tq3::Settings site = SiteSettings();
    const QString file = Path("site.tcf");
    QVERIFY(WriteFile(file, tq3::BuildConfigFile(site)));

    const CtlRun run = RunCtl(On(*sim, {"write", file}));
    QCOMPARE(run.code, 0);
    QCOMPARE(run.err, QByteArray());
    for (const tq3::ConfigItem& item : tq3::ConfigItems()) {
        const QByteArray held = sim->setting(item.readCode);
        const QByteArray sent = tq3::EncodeItem(item, site);
        QCOMPARE(item.encoding == tq3::ItemEncoding::SmsCentre ? tq3::UpToZero(held) : held, sent);
    }
    QCOMPARE(sim->setting(28), QByteArray(1, char(128 + 20)));
    QCOMPARE(sim->setting(30), QByteArray("\x82\x9e"));
    // Twenty writes, then twenty reads to verify, inside the login and logout.
    const QList<int> codes = FrameCodes(*sim);
    QCOMPARE(codes.size(), 42);
    QCOMPARE(codes.mid(1, 2), (QList<int>{5, 7}));
    QCOMPARE(codes.mid(21, 2), (QList<int>{4, 6}));
    QCOMPARE(codes.last(), 2);

    // The same file again: nothing differs, nothing to report.
    const CtlRun diff = RunCtl(On(*sim, {"diff", file}));
    QCOMPARE(diff.code, 0);
    QCOMPARE(diff.out, QByteArray());
}

void TestCtl::writeFails_data()
{
    QTest::addColumn<int>("dropCode");
    QTest::addColumn<QByteArray>("in1n");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    // A text read back ends at its first zero byte, as the window shows it.
    QTest::newRow("read back differs") << 0 << QByteArray("Awaria\0zasilania", 17) << int(ExitVerify)
                                       << "Weryfikacja nieudana: „Zasilacz 5V: Brak”";
    QTest::newRow("stopped at an item")
        << 9 << QByteArray("Awaria") << int(ExitNoAnswer)
        << "Zapis przerwany na ustawieniu „Telefon nr. 1”: ustawienia przed nim są już w sterowniku";
}

void TestCtl::writeFails()
{
    QFETCH(int, dropCode);
    QFETCH(QByteArray, in1n);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    tq3sim::ControllerOptions controller;
    if (dropCode)
        controller.faults.drop.push_back({dropCode, 4});
    auto sim = StartSim(controller);
    QVERIFY(sim);
    tq3::Settings site = SiteSettings();
    site.in1n = in1n;
    const QString file = Path("fails.tcf");
    QVERIFY(WriteFile(file, tq3::BuildConfigFile(site)));

    const CtlRun run = RunCtl(On(*sim, {"write", file}));
    QCOMPARE(run.code, exitCode);
    QVERIFY2(Err(run).contains(message), run.err.constData());
    if (dropCode) {
        // What was written before the item stays; nothing after it was sent.
        QCOMPARE(sim->setting(4), site.pin);
        QCOMPARE(sim->setting(10), QByteArray());
        QVERIFY(!FrameCodes(*sim).contains(2)); // no answer: the session is gone
    }
}

void TestCtl::diff()
{
    auto sim = StartSim(UnusualController());
    QVERIFY(sim);
    tq3::Settings file = UnusualSettings();
    file.tel[0] = "+48600000000";
    file.callOnAlarm = 0;
    file.password = "9999"; // not a setting of the controller
    const QString path = Path("diff.tcf");
    QVERIFY(WriteFile(path, tq3::BuildConfigFile(file)));

    const CtlRun run = RunCtl(On(*sim, {"diff", path}));
    QCOMPARE(run.code, int(ExitDifferent));
    QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("Telefon nr. 1\n"
                                                        "  plik:      +48600000000\n"
                                                        "  sterownik: +48601234567\n"
                                                        "Dzwon przy alarmie\n"
                                                        "  plik:      nie\n"
                                                        "  sterownik: tak\n"));
    QCOMPARE(FrameCodes(*sim).last(), 2);
}

void TestCtl::status()
{
    tq3sim::ControllerOptions controller;
    controller.versionChar = ':';
    controller.temperatureRaw = 300;
    auto sim = StartSim(controller);
    QVERIFY(sim);

    const CtlRun json = RunCtl(On(*sim, {"status", "--json"}));
    QCOMPARE(json.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(o.value("version").toString(), QStringLiteral("2.0"));
    QCOMPARE(o.value("supply_voltage").toDouble(), 4.9);
    QCOMPARE(o.value("battery_voltage").toDouble(), 4.1);
    QVERIFY(o.value("temperature").isDouble());
    QCOMPARE(o.value("sms_count").toInt(), 0);

    const CtlRun text = RunCtl(On(*sim, {"status"}));
    QCOMPARE(text.code, 0);
    for (const char* line : {"Wersja:               TQ-3 v 2.0", "Zasilacz 5V:          +4,9V",
                             "Bateria:              +4,1V", "Aktualna temperatura: +"})
        QVERIFY2(text.out.contains(line), text.out.constData());
    QCOMPARE(FrameCodes(*sim), (QList<int>{1, 80, 2, 1, 80, 2}));
}

void TestCtl::statusWatch()
{
    auto sim = StartSim();
    QVERIFY(sim);
    QProcess p;
    PrepareCtl(p, On(*sim, {"status", "--watch", "--json"}));
    p.start();
    QVERIFY(p.waitForStarted());
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT((out += p.readAllStandardOutput()).count('\n') >= 2, 20000);
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    out += p.readAllStandardOutput();
    for (const QByteArray& line : out.trimmed().split('\n'))
        QVERIFY(QJsonDocument::fromJson(line).object().contains("time"));
    // Ends cleanly: logged out.
    QCOMPARE(FrameCodes(*sim).last(), 2);
}

void TestCtl::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("args"); // after -p and -P
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("frames");
    QTest::addColumn<QString>("detail"); // the line under the message, if any

    QTest::newRow("silent controller") << "silent" << QStringList{"status"} << int(ExitNoAnswer)
                                       << "Brak odpowiedzi z TQ-3" << QList<int>{1, 1, 1, 1} << "";
    QTest::newRow("wrong password") << "" << QStringList{"-P", "1111", "read", "x.tcf"} << int(ExitPassword)
                                    << "Błędne hasło" << QList<int>{1} << "";
    QTest::newRow("missing port") << "" << QStringList{"-p", "/dev/tq3-no-such-port", "status"}
                                  << int(ExitPort) << "Port COM niedostępny" << QList<int>{}
                                  << "Urządzenie /dev/tq3-no-such-port nie istnieje";
    QTest::newRow("status unanswered") << "drop80" << QStringList{"status"} << int(ExitNoAnswer)
                                       << "Brak odpowiedzi z TQ-3" << QList<int>{1, 80, 80, 80, 80} << "";
    QTest::newRow("erase unanswered") << "drop76" << QStringList{"erase-history"} << int(ExitNoAnswer)
                                      << "Brak odpowiedzi z TQ-3" << QList<int>{1, 76, 76, 76, 76} << "";
}

void TestCtl::failures()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QList<int>, frames);
    QFETCH(QString, detail);

    tq3sim::ControllerOptions controller;
    controller.faults.silent = fault == "silent";
    if (fault.startsWith("drop"))
        controller.faults.drop.push_back({fault.mid(4).toInt(), 4});
    QMap<QString, QString> env;
    if (fault.startsWith("drop76"))
        env.insert("TQ3CTL_TICK_MS", "5"); // 4 x 110 ticks
    auto sim = StartSim(controller);
    QVERIFY(sim);

    QProcess p;
    PrepareCtl(p, On(*sim, args), env);
    p.start();
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), exitCode);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    const QStringList lines = err.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(lines.size() == (detail.isEmpty() ? 1 : 2) && lines[0].startsWith("tq3ctl: ") &&
                 lines[0].endsWith(message),
             qPrintable(err));
    if (!detail.isEmpty())
        QVERIFY2(lines[1].startsWith("tq3ctl: " + detail), qPrintable(err));
    // A session that went silent is not logged out into the silence.
    QCOMPARE(FrameCodes(*sim), frames);
}

// Without -P and TQ3_PASSWORD the password is asked for on the terminal,
// without echo; with no terminal it is a usage error.
void TestCtl::passwordPrompt()
{
    auto sim = StartSim();
    QVERIFY(sim);
    const CtlRun noTerminal = RunCtl({"-p", sim->slavePath(), "status"});
    QCOMPARE(noTerminal.code, int(ExitUsage));
    QVERIFY(noTerminal.err.contains("Nie podano hasła"));
    QCOMPARE(sim->frames().size(), size_t(0));

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    QVERIFY(master >= 0);
    auto closeMaster = qScopeGuard([master] { ::close(master); });
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    QProcess p;
    PrepareCtl(p, {"-p", sim->slavePath(), "status"});
    p.setStandardInputFile(QString::fromLocal8Bit(::ptsname(master)));
    p.start();
    QByteArray err;
    QTRY_VERIFY_WITH_TIMEOUT((err += p.readAllStandardError()).contains("Hasło: "), 10000);
    QCOMPARE(::write(master, "7391\n", 5), ssize_t(5));
    QVERIFY(p.waitForFinished(20000));
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(p.readAllStandardOutput().contains("Wersja:"));
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    char echoed[64] = {};
    const ssize_t n = ::read(master, echoed, sizeof echoed - 1);
    QVERIFY2(!QByteArray(echoed, qMax<ssize_t>(n, 0)).contains("7391"), echoed);
}

void TestCtl::history()
{
    tq3sim::ControllerOptions controller;
    controller.historyRecords = 60;
    auto sim = StartSim(controller);
    QVERIFY(sim);
    QStringList lines;
    int textRecords = 0;
    for (const auto& record : sim->inspect([](const auto& m) { return m.history(); }))
        if (const auto line = tq3::HistoryLine(record.encode())) {
            lines << *line;
            ++textRecords;
        }
    lines << "Koniec historii";

    const QString file = Path("history.txt");
    const CtlRun toFile = RunCtl(On(*sim, {"history", "-o", file}));
    QCOMPARE(toFile.code, 0);
    QCOMPARE(toFile.out, QByteArray());
    QCOMPARE(ReadFile(file), tq3::HistoryFileBytes(lines)); // the window's export of its log

    const CtlRun shown = RunCtl(On(*sim, {"history"}));
    QCOMPARE(shown.code, 0);
    QCOMPARE(QString::fromUtf8(shown.out), lines.join('\n') + '\n');

    const CtlRun csv = RunCtl(On(*sim, {"history", "--csv"}));
    QCOMPARE(csv.code, 0);
    const QList<QByteArray> rows = csv.out.split('\n');
    QCOMPARE(rows.first(), QByteArray("timestamp,event,temperature\r"));
    QCOMPARE(rows.size(), 1 + textRecords + 1); // header, records, nothing after the last CR LF
    QVERIFY(csv.out.contains(",\"Alarm!, Wysoka temperatura\","));
    QVERIFY(csv.out.contains(",Start urzadzenia,\r\n"));

    // Every saved form reads back as the records the controller holds.
    tq3::HistoryModel held;
    for (const auto& record : sim->inspect([](const auto& m) { return m.history(); }))
        held.AddRecord(record.encode());
    const QString sheet = Path("history.csv");
    const CtlRun spreadsheet = RunCtl(On(*sim, {"history", "--csv-pl"}));
    QCOMPARE(spreadsheet.code, 0);
    QVERIFY(spreadsheet.out.startsWith("\xEF\xBB\xBF"
                                       "Data i czas;Zdarzenie;Temperatura"));
    QCOMPARE(RunCtl(On(*sim, {"history", "--csv-pl", "-o", sheet})).code, 0);
    QCOMPARE(ReadFile(sheet), spreadsheet.out);
    for (const QByteArray& saved : {ReadFile(file), csv.out, spreadsheet.out}) {
        tq3::HistoryModel back;
        back.AddFile(saved);
        QCOMPARE(back.Entries(), held.Entries());
    }

    // The chart, of a download and of the saved file, without a display: the same picture.
    const QString downloaded = Path("downloaded.png"), redrawn = Path("redrawn.png");
    QCOMPARE(RunCtl(On(*sim, {"history", "-o", Path("again.txt"), "--plot", downloaded, "--size", "640x400"}))
                 .code,
             0);
    const CtlRun plot = RunCtl({"plot", file, "-o", redrawn, "--size", "640x400"},
                               {{"QT_QPA_PLATFORM", ""}, {"DISPLAY", ""}});
    QVERIFY2(plot.code == 0, plot.err.constData());
    const QImage picture(redrawn);
    QCOMPARE(picture.size(), QSize(640, 400));
    QCOMPARE(picture, QImage(downloaded));

    // The end answer never comes: the stream stalls, no file is written.
    tq3sim::ControllerOptions stalling = controller;
    stalling.faults.drop.push_back({70, 1});
    auto silentEnd = StartSim(stalling);
    QVERIFY(silentEnd);
    const QString partial = Path("partial.txt");
    const CtlRun stalled = RunCtl(On(*silentEnd, {"history", "-o", partial}));
    QCOMPARE(stalled.code, int(ExitNoAnswer));
    QVERIFY(stalled.err.contains("Brak odpowiedzi z TQ-3"));
    QVERIFY(!QFile::exists(partial));
}

// -v traces every frame for a support call, but never the password.
void TestCtl::verboseTrace()
{
    auto sim = StartSim();
    QVERIFY(sim);
    const CtlRun run = RunCtl(On(*sim, {"-v", "status"}));
    QCOMPARE(run.code, 0);
    QVERIFY2(run.err.contains("tq3.link: sent 4d 50 01 47 e5") && run.err.contains("tq3.link: answer 80 ") &&
                 run.err.contains("tq3.session: login accepted"),
             run.err.constData());
    QVERIFY(!run.err.contains("37 33 39 31"));
}

void TestCtl::historyOnAPausingOrLossyLine_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<int>("dropped");
    QTest::addColumn<int>("code");
    QTest::newRow("pause inside every tenth answer") << 80 << 0 << int(ExitOk);
    QTest::newRow("twenty records lost") << 0 << 20 << int(ExitShortHistory);
}

// Every record comes through pauses inside the frames; records that never
// came are written as missing, not as a complete history.
void TestCtl::historyOnAPausingOrLossyLine()
{
    QFETCH(int, pauseMs);
    QFETCH(int, dropped);
    QFETCH(int, code);
    tq3sim::ControllerOptions controller;
    controller.historyRecords = 200;
    controller.faults.pauseInsideMs = pauseMs;
    controller.faults.pauseEvery = 10;
    if (dropped > 0)
        controller.faults.drop.push_back({71, dropped});
    auto sim = StartSim(controller);
    QVERIFY(sim);
    QStringList lines;
    const auto history = sim->inspect([](const auto& m) { return m.history(); });
    for (size_t i = size_t(dropped); i < history.size(); ++i)
        if (const auto line = tq3::HistoryLine(history[i].encode()))
            lines << *line;
    lines << "Koniec historii";

    const QString file = Path("history.txt");
    const CtlRun run = RunCtl(On(*sim, {"history", "-o", file}));
    QCOMPARE(run.code, code);
    QCOMPARE(ReadFile(file), tq3::HistoryFileBytes(lines));
    QCOMPARE(Err(run).contains("Niepełna historia: odebrano 180 z 200 rekordów"), dropped > 0);
}

void TestCtl::firmware()
{
    QByteArray image;
    for (int i = 0; i < 300; ++i)
        image += char((i * 37 + 11) & 0xFF);
    const QString file = Path("fw.tfr");
    QVERIFY(WriteFile(file, Container("tfr", image)));

    auto sim = StartSim();
    QVERIFY(sim);
    const CtlRun run = RunCtl(On(*sim, {"firmware", file}));
    QCOMPARE(run.code, 0);
    QVERIFY2(Err(run).contains("NIE WYŁĄCZAJ TQ-3 Z ZASILANIA") &&
                 Err(run).contains("Aktualizacja zakonczona"),
             run.err.constData());
    QCOMPARE(sim->bootImage().left(image.size()), image);
    QVERIFY(sim->inspect([&](const auto& m) { return m.bootImagePaddedAfter(image.size()); }));
    // The controller restarted into its bootloader: no logout after the closing command.
    QCOMPARE(FrameCodes(*sim), (QList<int>{1, 100, 101, 101, 101, 102}));

    // Three lost acknowledgements are one more than the transfer's resends.
    tq3sim::ControllerOptions losing;
    losing.faults.loseAck = {0, 1, 2};
    auto lossy = StartSim(losing);
    QVERIFY(lossy);
    const CtlRun failed = RunCtl(On(*lossy, {"firmware", file}));
    QCOMPARE(failed.code, int(ExitNoAnswer));
    QVERIFY(Err(failed).contains("Brak odpowiedzi z VSKR, aktualizacja nieudana"));
    QVERIFY(!FrameCodes(*lossy).contains(102));

    // An empty image is refused before anything is sent.
    QVERIFY(WriteFile(file, Container("tfr", {})));
    const CtlRun empty = RunCtl(On(*sim, {"firmware", file}));
    QCOMPARE(empty.code, int(ExitFile));
    QVERIFY(Err(empty).contains("Plik nie zawiera obrazu firmware"));
    QCOMPARE(FrameCodes(*sim).size(), 6);
}

void TestCtl::serviceCommands()
{
    auto sim = StartSim();
    QVERIFY(sim);
    const auto frames = [&] { return FrameCodes(*sim); };

    QCOMPARE(RunCtl(On(*sim, {"erase-history"})).code, 0);
    QVERIFY(sim->inspect([](const auto& m) { return m.history().empty(); }));

    const QDate today = QDate::currentDate();
    QCOMPARE(RunCtl(On(*sim, {"set-clock"})).code, 0);
    const auto clockFrame = sim->frames().at(sim->frames().size() - 2);
    QCOMPARE(clockFrame.code, quint8(74));
    QCOMPARE(clockFrame.payload.left(3),
             (QByteArray{} + char(today.year() % 100) + char(today.month()) + char(today.day())));

    QCOMPARE(RunCtl(On(*sim, {"reset-counters"})).code, 0);
    QCOMPARE(frames().mid(frames().size() - 3), (QList<int>{1, 81, 2}));

    const CtlRun changed = RunCtl(On(*sim, {"set-password", "4321"}));
    QCOMPARE(changed.code, 0);
    QVERIFY(Err(changed).contains("Hasło zmienione"));
    QCOMPARE(sim->inspect([](const auto& m) { return m.password(); }), QByteArray("4321"));
    QCOMPARE(RunCtl(On(*sim, {"status"})).code, int(ExitPassword));
    QCOMPARE(RunCtl({"-p", sim->slavePath(), "-P", "4321", "-q", "set-password", "7391"}).code, 0);

    QCOMPARE(RunCtl(On(*sim, {"restart"})).code, 0);
    QCOMPARE(frames().mid(frames().size() - 2), (QList<int>{1, 100})); // restarted, not logged out
    QCOMPARE(sim->inspect([](const auto& m) { return m.mode(); }), tq3sim::ControllerModel::Mode::Bootloader);
}

QTEST_GUILESS_MAIN(TestCtl)
#include "tst_ctl.moc"
