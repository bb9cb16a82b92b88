// Soak: mixed traffic through the real window and serial component against the
// simulated controller, unpaced, with a share of its answers spoilt at random
// (noise with and without "m", bad check bytes, dropped and glued answers, a
// hang-up with the line back under the same name now and then, the line
// holding still part way through an answer). Traffic: status
// polls, full configuration reads and writes with a read-back, history downloads
// of 200 records and clock setting, in an order drawn from the seed.
//
// The controller runs in this process, so that what it sent can be compared with
// what the window shows; it keeps only a few frames, so that its memory stays flat
// and the resident memory measured is the program's.
//
//   bench_soak [--exchanges N] [--rate R] [--seed S] [--tick MS] [--kinds LIST]
#include "BenchUtil.h"
#include "PromptRecorder.h"
#include "PtyRunner.h"
#include "VaComm.h"
#include "history/HistoryFormat.h"
#include "link/DeviceLink.h"
#include "ui/ConfigPanel.h"
#include "ui/Gauge.h"
#include "ui/HistoryPanel.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <chrono>
#include <map>
#include <random>
#include <sys/ioctl.h>

namespace {

constexpr int HistoryRecords = 200;
constexpr int GoalExchanges = 10000;
constexpr double GoalRate = 0.05;
// Caches fill early in a run; memory that still grows in the second half is kept somewhere.
constexpr long FlatMemoryKb = 1024;
// Bounds every wait: a longest honest one is a 110-tick time-out written four times.
constexpr int GuardMs = 60000;
// A download that shows no new record for this long has stopped.
constexpr int StreamSilenceMs = 5000;
const QString Lost = QStringLiteral("Error: Brak odpowiedzi z TQ-3");
const QString LoggedOutBox = QStringLiteral("Information: Wylogowano z TQ-3");
const QString End = QStringLiteral("Koniec historii");
const QStringList OperationNames{"status polls", "configuration read", "configuration write",
                                 "history download", "clock setting"};

long VmRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

void Line(const char* name, const QString& value, const QString& note = {})
{
    std::printf("%-36s %12s   %s\n", name, qPrintable(value), qPrintable(note));
    std::fflush(stdout);
}

struct Args
{
    int exchanges = GoalExchanges;
    double rate = GoalRate;
    quint32 seed = 1;
    int tickMs = 100;
    unsigned kinds = tq3sim::AllFaultKinds;
    QString only; // one operation alone, to find what a figure comes from
};

class Soak
{
public:
    Soak(const Args& args, const QString& link) : args_(args), random_(args.seed + 1)
    {
        tq3sim::ControllerOptions controller;
        controller.historyRecords = HistoryRecords;
        controller.framesKept = 64;
        controller.faults.randomRate = args.rate;
        controller.faults.randomSeed = args.seed;
        controller.faults.randomKinds = args.kinds;
        tq3sim::RunnerOptions line;
        line.pacing = false;
        line.linkPath = link;
        sim_ = std::make_unique<tq3sim::PtyRunner>(controller, line);
        link_ = link;
    }

    bool Start()
    {
        if (!sim_->start()) {
            std::fprintf(stderr, "bench_soak: %s\n", qPrintable(sim_->errorString()));
            return false;
        }
        TMain::Options options;
        options.prompts = &prompts_;
        options.port = link_;
        options.tickMs = args_.tickMs;
        window_ = std::make_unique<TMain>(options);
        window_->show();
        QObject::connect(&window_->Link(), &tq3::DeviceLink::PollStarted, [this] { ++polls_; });
        return EnsureLoggedIn();
    }

    void Run()
    {
        struct Operation
        {
            void (Soak::*run)();
            const char* name;
            int weight;
        };
        const std::vector<Operation> mix{{&Soak::Poll, "status polls", 3},
                                         {&Soak::ReadConfig, "configuration read", 2},
                                         {&Soak::WriteConfig, "configuration write", 2},
                                         {&Soak::Download, "history download", 1},
                                         {&Soak::SetClock, "clock setting", 1}};
        // One of each first, so that the memory at start is measured warm.
        for (const Operation& op : mix)
            Step(op.run, op.name);
        rssStart_ = VmRssKb();
        std::vector<int> weights;
        for (const Operation& op : mix)
            weights.push_back(args_.only.isEmpty() || args_.only == QLatin1String(op.name) ? op.weight : 0);
        std::discrete_distribution<size_t> pick(weights.begin(), weights.end());
        int still = 0; // steps without a single exchange: the link is wedged beyond recovery
        while (Exchanges() < args_.exchanges && still < 20) {
            const int before = Exchanges();
            const Operation& op = mix[pick(random_)];
            Step(op.run, op.name);
            still = Exchanges() == before ? still + 1 : 0;
            if (rssHalf_ == 0 && Exchanges() >= args_.exchanges / 2)
                rssHalf_ = VmRssKb();
        }
        if (still > 0)
            std::fprintf(stderr, "bench_soak: no exchange in the last %d steps; run ended\n", still);
        rssEnd_ = VmRssKb();
    }

    int Report()
    {
        const int exchanges = Exchanges();
        const tq3sim::FaultCounts faults = sim_->faultsInjected();
        const int protocolErrors = sim_->protocolErrors();
        QStringList kinds;
        int injected = 0;
        for (int k = 0; k < tq3sim::FaultKindCount; ++k) {
            kinds << QStringLiteral("%1 %2")
                         .arg(QLatin1String(tq3sim::faultKindName(tq3sim::FaultKind(k))))
                         .arg(faults[size_t(k)]);
            injected += faults[size_t(k)];
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        Line("exchanges done", QString::number(exchanges),
             QStringLiteral("commands the controller acted on, %1 frames written, in %2 s")
                 .arg(window_->Link().FramesWritten())
                 .arg(seconds, 0, 'f', 0));
        Line("faults injected", QString::number(injected),
             QStringLiteral("at a rate of %1 per answer: %2")
                 .arg(args_.rate)
                 .arg(kinds.join(QStringLiteral(", "))));
        Line("answers lost beyond their resends", QString::number(answersLost_),
             QStringLiteral("%1 logouts after an injected hang-up not counted").arg(hangupLogouts_));
        Line("stuck states", QString::number(stuck_),
             QStringLiteral("controls locked with nothing running, after %1 operations").arg(operations_));
        Line("records lost", QString::number(recordsLost_),
             QStringLiteral(
                 "lines missing of %1 in %2 completed downloads (%3 started, %4 said short); %5 shown "
                 "beyond the log")
                 .arg(linesExpected_)
                 .arg(downloadsDone_)
                 .arg(downloads_)
                 .arg(shortSaid_)
                 .arg(strayLines_));
        Line("configuration mismatches", QString::number(mismatches_),
             QStringLiteral("items differing in %1 read-backs").arg(readBacks_));
        Line("protocol errors", QString::number(protocolErrors),
             protocolErrors > 0 ? sim_->lastProtocolError()->describe() : QStringLiteral("commands refused"));
        Line("unexpected messages", QString::number(unexpected_), QStringLiteral("see stderr"));
        Line("VmRSS at start", QStringLiteral("%1 kB").arg(rssStart_),
             QStringLiteral("after one of each operation"));
        Line("VmRSS half-way", QStringLiteral("%1 kB").arg(rssHalf_),
             QStringLiteral("%1%2 kB").arg(rssHalf_ >= rssStart_ ? "+" : "").arg(rssHalf_ - rssStart_));
        Line("VmRSS at end", QStringLiteral("%1 kB").arg(rssEnd_),
             QStringLiteral("%1%2 kB, %3%4 kB in the second half")
                 .arg(rssEnd_ >= rssStart_ ? "+" : "")
                 .arg(rssEnd_ - rssStart_)
                 .arg(rssEnd_ >= rssHalf_ ? "+" : "")
                 .arg(rssEnd_ - rssHalf_));

        QStringList missed;
        if (exchanges < GoalExchanges || args_.rate < GoalRate)
            missed << QStringLiteral("a shorter or milder run than 10000 exchanges at 5 %");
        if (answersLost_ + recordsLost_ + strayLines_ + mismatches_ > 0)
            missed << QStringLiteral("data lost");
        if (stuck_ > 0)
            missed << QStringLiteral("stuck states");
        if (rssEnd_ - rssHalf_ > FlatMemoryKb)
            missed << QStringLiteral("memory grew");
        if (protocolErrors > 0 || unexpected_ > 0)
            missed << QStringLiteral("protocol errors or unexpected messages");
        Line("goal met", missed.isEmpty() ? QStringLiteral("yes") : QStringLiteral("no"),
             QStringLiteral("10000 exchanges at 5 % faults, nothing lost, nothing stuck, at most %1 kB "
                            "more memory in the second half%2")
                 .arg(FlatMemoryKb)
                 .arg(missed.isEmpty() ? QString()
                                       : QStringLiteral("; not met: ") + missed.join(QStringLiteral(", "))));
        window_.reset();
        sim_->stop();
        return missed.isEmpty() ? 0 : 1;
    }

private:
    TMainForm& F() { return window_->Form(); }
    tq3::DeviceLink& Link() { return window_->Link(); }
    bool LoggedIn() { return F().Edit_logon->text() == TMain::tr("ZALOGOWANY"); }

    int Exchanges() const
    {
        return sim_->inspect([](const tq3sim::ControllerModel& m) { return m.acceptedFrames(); });
    }

    void Step(void (Soak::*op)(), const char* name)
    {
        if (!EnsureLoggedIn())
            return;
        ++operations_;
        operation_ = name;
        (this->*op)();
        Check();
        operation_ = "login";
    }

    // Logged in, or a few tries at it; each try is judged like an operation.
    bool EnsureLoggedIn()
    {
        for (int attempt = 0; attempt < 10 && !(LoggedIn() && Link().ControlsUnlocked()); ++attempt) {
            if (LoggedIn())
                Recover(); // logged in but locked: Check has counted it
            F().Button_polacz->click();
            Check();
            if (!LoggedIn())
                RunFor(100); // the line may be coming back
        }
        return LoggedIn() && Link().ControlsUnlocked();
    }

    // Everything since the last look is put down to the operation that just ended.
    void Check()
    {
        WaitUntil([this] { return Link().IsIdle(); }, GuardMs);
        const int reconnects = sim_->reconnects();
        const bool hungUp = reconnects != reconnectsSeen_;
        reconnectsSeen_ = reconnects;
        const QStringList messages = prompts_.Messages();
        prompts_.Clear();
        for (const QString& m : messages) {
            if (m != Lost && m != LoggedOutBox) {
                ++unexpected_;
                std::fprintf(stderr, "bench_soak: unexpected message \"%s\"\n", qPrintable(m));
            }
        }
        if (messages.contains(Lost) || !LoggedIn()) {
            if (hungUp) {
                ++hangupLogouts_;
            } else {
                ++answersLost_;
                std::fprintf(
                    stderr, "bench_soak: answer lost beyond its resends (%s) in %s after %d exchanges\n",
                    messages.contains(Lost) ? "Brak odpowiedzi" : "silent logout", operation_, Exchanges());
            }
        }
        if (LoggedIn() && !F().ButtonCzas->isEnabled()) {
            ++stuck_;
            std::fprintf(stderr,
                         "bench_soak: stuck, logged in with the controls locked, in %s after %d exchanges\n",
                         operation_, Exchanges());
            Recover();
        }
    }

    // Out of a stuck state the way a user would: disconnect, then connect again.
    void Recover()
    {
        if (F().Button_rozlacz->isEnabled())
            F().Button_rozlacz->click();
        WaitUntil([this] { return Link().IsIdle(); }, GuardMs);
        prompts_.Clear();
        reconnectsSeen_ = sim_->reconnects();
    }

    void Poll()
    {
        const int target = polls_ + std::uniform_int_distribution<int>(1, 3)(random_);
        WaitUntil([&] { return (polls_ >= target && Link().IsIdle()) || !LoggedIn(); }, GuardMs);
    }

    void ReadConfig()
    {
        F().Icon_get->click();
        if (!LoggedIn() || !F().Icon_get->isEnabled())
            return; // some items read, not all: nothing to compare, the controller unchanged
        ++readBacks_;
        const QStringList read = Fields();
        if (known_) {
            for (qsizetype i = 0; i < read.size(); ++i) {
                if (read[i] != known_->value(i)) {
                    ++mismatches_;
                    std::fprintf(stderr, "bench_soak: read back %s, written %s\n", qPrintable(read[i]),
                                 qPrintable(known_->value(i)));
                }
            }
        }
        known_ = read;
    }

    void WriteConfig()
    {
        FillFields();
        const QStringList written = Fields();
        F().Icon_put->click();
        if (!LoggedIn() || !F().Icon_put->isEnabled()) {
            known_.reset(); // a write cut short leaves the controller with a mixture
            return;
        }
        known_ = written;
        Check();
        if (EnsureLoggedIn())
            ReadConfig();
    }

    void Download()
    {
        ++downloads_;
        F().ButtonPobierz->click(); // returns once the size has come
        QElapsedTimer silence;
        silence.start();
        int progress = -1;
        auto ended = [&] {
            if (!LoggedIn())
                return true;
            if (F().trm->document()->lastBlock().text() == End)
                return true;
            if (F().TempBar->Progress() != progress) {
                progress = F().TempBar->Progress();
                silence.restart();
            }
            return silence.elapsed() > StreamSilenceMs;
        };
        WaitUntil(ended, GuardMs * 10);
        if (!LoggedIn())
            return; // a hang-up or a lost answer: Check tells which
        // A download that came short says so in a line after the end line.
        const QTextBlock last = F().trm->document()->lastBlock();
        const bool saidShort =
            last.text().startsWith(QStringLiteral("Niepełna historia")) && last.previous().text() == End;
        if (last.text() != End && !saidShort) {
            // Where the rest went: still in the kernel's queue, held by the serial
            // component unannounced, in the answer assembler, or never sent.
            int queued = -1;
            ::ioctl(window_->Comm().DeviceHandle(), FIONREAD, &queued);
            const int held = window_->Comm().InputCount();
            const bool sending =
                sim_->inspect([](const tq3sim::ControllerModel& m) { return m.streaming(); });
            std::fprintf(
                stderr,
                "bench_soak: download stopped at %d of %d bytes of records; %d bytes in the device's "
                "queue, %d held by the serial component, %lld in the assembler; controller %s\n",
                F().TempBar->Progress(), F().TempBar->MaxValue(), queued, held,
                static_cast<long long>(Link().Assembler().RxBuffer().size()),
                sending ? "still sending" : "done sending");
            return; // stuck: Check counts it
        }
        ++downloadsDone_;
        const auto [history, length] = sim_->inspect(
            [](const tq3sim::ControllerModel& m) { return std::pair(m.history(), m.streamLength()); });
        // Lines, not records: a record of a kind without a text makes none.
        std::map<QString, int> expected;
        for (size_t i = 0; i < length && i < history.size(); ++i) {
            if (const auto line = tq3::HistoryLine(history[i].encode())) {
                ++expected[*line];
                ++linesExpected_;
            }
        }
        QStringList shown = F().trm->toPlainText().split(QLatin1Char('\n'));
        shown.removeLast(); // the end line
        if (saidShort) {
            shown.removeLast();
            ++shortSaid_;
        }
        int stray = 0;
        for (const QString& line : shown) {
            auto it = expected.find(line);
            if (it != expected.end() && it->second > 0)
                --it->second;
            else
                ++stray;
        }
        int missing = 0;
        for (const auto& entry : expected)
            missing += entry.second;
        recordsLost_ += missing;
        strayLines_ += stray;
        if (missing + stray > 0)
            std::fprintf(
                stderr,
                "bench_soak: %d history lines missing, %d shown beyond the log (%lld end lines among "
                "them), after %d exchanges\n",
                missing, stray, static_cast<long long>(shown.count(End)), Exchanges());
    }

    void SetClock() { F().ButtonCzas->click(); }

    // What the window holds for each of the twenty items, in item order.
    QStringList Fields()
    {
        auto& f = F();
        auto& c = window_->Config();
        return {f.Edit_pin->text(),
                f.Edit_operator->text(),
                f.Edit_Tel1->text(),
                f.Edit_Tel2->text(),
                f.Edit_Tel3->text(),
                f.Edit_Tel4->text(),
                f.Edit_IN1N->text(),
                f.Edit_IN2N->text(),
                f.Edit_IN1A->text(),
                f.Edit_IN2A->text(),
                f.Edit_IN3A->text(),
                f.Edit_Out2zal->text(),
                f.Edit_LimitSMS->text() + (f.BoxFiltrSMS->isChecked() ? "+filter" : ""),
                QStringLiteral("%1,%2").arg(c.TempMinRaw).arg(c.TempMaxRaw),
                QString::number(c.TempKorektaRaw),
                f.TempZapisz->text(),
                f.Edit_IN4N->text(),
                f.Edit_IN4A->text(),
                f.VoiceBox->isChecked() ? QStringLiteral("call") : QStringLiteral("no call"),
                f.Edit_LimitVoice->text()};
    }

    // New values within what each field takes, different every time.
    void FillFields()
    {
        auto& f = F();
        auto& c = window_->Config();
        auto number = [this](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random_);
        };
        auto digits = [&](int n) {
            QString s;
            for (int i = 0; i < n; ++i)
                s += QChar(u'0' + number(0, 9));
            return s;
        };
        static const QString letters =
            QStringLiteral("abcdefghijklmnopqrstuvwxyz ĄĆĘŁŃÓŚŹŻąćęłńóśźż0123456789!.,");
        auto text = [&](int most) {
            QString s;
            for (int i = number(0, most); i > 0; --i)
                s += letters[number(0, int(letters.size()) - 1)];
            return s;
        };
        auto phone = [&] { return number(0, 3) == 0 ? QString() : QStringLiteral("+48") + digits(9); };
        f.Edit_pin->setText(digits(4));
        f.Edit_operator->setText(QStringLiteral("+48") + digits(number(8, 10)));
        for (QLineEdit* e : {f.Edit_Tel1, f.Edit_Tel2, f.Edit_Tel3, f.Edit_Tel4})
            e->setText(phone());
        for (QLineEdit* e : {f.Edit_IN1N, f.Edit_IN2N, f.Edit_IN1A, f.Edit_IN2A, f.Edit_IN3A})
            e->setText(text(30));
        QString query = text(4);
        f.Edit_Out2zal->setText(query.remove(QLatin1Char(' ')));
        f.Edit_LimitSMS->setText(QString::number(number(0, 99)));
        f.BoxFiltrSMS->setChecked(number(0, 1) == 1);
        // Thresholds that keep the controller's +22 degrees above the maximum, so
        // that no alarm adds a record to its history.
        c.TempMinRaw = quint8(number(108, 132));
        c.TempMaxRaw = quint8(number(133, 143));
        c.TempKorektaRaw = quint8(number(0, 255));
        c.ShowTempMin();
        c.ShowTempMax();
        c.ShowTempKorekta();
        f.TempZapisz->setText(QString::number(number(1, 255)));
        f.Edit_IN4N->setText(text(60));
        f.Edit_IN4A->setText(text(60));
        f.VoiceBox->setChecked(number(0, 1) == 1);
        f.Edit_LimitVoice->setText(QString::number(number(0, 255)));
    }

    const Args args_;
    std::mt19937 random_;
    QString link_;
    PromptRecorder prompts_;
    std::unique_ptr<tq3sim::PtyRunner> sim_;
    std::unique_ptr<TMain> window_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();

    const char* operation_ = "login";
    int polls_ = 0;
    int reconnectsSeen_ = 0;
    std::optional<QStringList> known_; // what the controller holds, when known
    int operations_ = 0;
    int answersLost_ = 0;
    int hangupLogouts_ = 0;
    int stuck_ = 0;
    int unexpected_ = 0;
    int downloads_ = 0;
    int downloadsDone_ = 0;
    int linesExpected_ = 0;
    int recordsLost_ = 0;
    int strayLines_ = 0;
    int shortSaid_ = 0;
    int readBacks_ = 0;
    int mismatches_ = 0;
    long rssStart_ = 0;
    long rssHalf_ = 0;
    long rssEnd_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    // The offscreen platform remarks on every resize of the window.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (!text.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    });
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Mixed traffic against the simulated controller with random faults."));
    parser.addHelpOption();
    const QCommandLineOption exchanges(QStringLiteral("exchanges"),
                                       QStringLiteral("commands to run (10000)."), QStringLiteral("N"),
                                       QString::number(GoalExchanges));
    const QCommandLineOption rate(QStringLiteral("rate"), QStringLiteral("share of answers spoilt (0.05)."),
                                  QStringLiteral("R"), QString::number(GoalRate));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("seed of faults and traffic (1)."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption tick(QStringLiteral("tick"),
                                  QStringLiteral("timer tick in ms (100, the program's)."),
                                  QStringLiteral("MS"), QStringLiteral("100"));
    const QCommandLineOption kinds(
        QStringLiteral("kinds"),
        QStringLiteral("only these faults: noise, noise-m, checksum, drop, glue, hangup, pause."),
        QStringLiteral("LIST"));
    const QCommandLineOption only(
        QStringLiteral("only"),
        QStringLiteral("after the first round, only this operation: \"status polls\", "
                       "\"configuration read\", \"configuration write\", \"history "
                       "download\", \"clock setting\"."),
        QStringLiteral("NAME"));
    parser.addOptions({exchanges, rate, seed, tick, kinds, only});
    parser.process(app);
    Args args;
    args.only = parser.value(only);
    bool ok[4] = {};
    args.exchanges = parser.value(exchanges).toInt(&ok[0]);
    args.rate = parser.value(rate).toDouble(&ok[1]);
    args.seed = parser.value(seed).toUInt(&ok[2]);
    args.tickMs = parser.value(tick).toInt(&ok[3]);
    if (parser.isSet(kinds)) {
        static const QStringList names{"noise", "noise-m", "checksum", "drop", "glue", "hangup", "pause"};
        args.kinds = 0;
        for (const QString& name : parser.value(kinds).split(QLatin1Char(',')))
            args.kinds |= names.contains(name) ? 1u << names.indexOf(name) : 1u << 31;
    }
    if (!ok[0] || !ok[1] || !ok[2] || !ok[3] || args.exchanges < 1 || args.rate < 0 || args.rate > 1 ||
        args.tickMs < 1 || (args.kinds & ~tq3sim::AllFaultKinds) ||
        !(args.only.isEmpty() || OperationNames.contains(args.only))) {
        std::fprintf(stderr, "bench_soak: bad arguments\n%s", qPrintable(parser.helpText()));
        return 2;
    }

    QTemporaryDir dir;
    Soak soak(args, dir.filePath(QStringLiteral("port")));
    if (!soak.Start()) {
        std::fprintf(stderr, "bench_soak: no login\n");
        return 1;
    }
    soak.Run();
    return soak.Report();
}
