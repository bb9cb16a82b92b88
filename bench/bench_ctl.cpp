// tq3ctl as a process, start to exit, against the simulated controller paced
// at 4800 baud: write (with its read-back), read, a history of 4095 records
// and the largest firmware image, each beside its line-rate bound (every byte
// at 10 bits, the login and logout included) plus the pauses the operation
// makes on purpose; then eight controllers provisioned at once with write from
// the shell, beside one controller's time. The simulator lets each answer's
// first byte out at once rather than a byte time later, so a figure can come
// out a little under its bound. With "--via socket" or "--via rfc2217" every
// operation goes through Debian's ser2net on loopback in front of the simulator
// (and "--ser2net-option LINE" adds a line to its connection's options).
#include "BenchUtil.h"
#include "config/ConfigFile.h"
#include "config/ConfigItems.h"
#include "firmware/FirmwareBlocks.h"
#include "history/HistoryFormat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace {

constexpr double ByteSeconds = 10.0 / 4800.0;
constexpr int Frame = 4; // start, code, length, checksum
// Login: the password out, "T" and the version back; logout: "W" out, "W" back.
constexpr int LoginBytes = (Frame + 4) + (Frame + 2);
constexpr int LogoutBytes = (Frame + 1) + (Frame + 1);
constexpr int HistoryRecords = 4095;
constexpr int LargestImage = 16381;
constexpr int Controllers = 8;

struct Timed
{
    double seconds = 0;
    int code = -1;
    QByteArray err;
};

Timed Run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("TQ3CTL_TICK_MS"));
    p.setProcessEnvironment(env);
    p.setStandardInputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start();
    Timed r;
    if (!p.waitForFinished(600000))
        return r;
    r.seconds = double(t.nsecsElapsed()) / 1e9;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.err = p.readAllStandardError();
    return r;
}

Timed Ctl(const QString& port, const QStringList& args)
{
    return Run(QStringLiteral(TQ3CTL_PATH), QStringList{"-q", "-p", port, "-P", "7391"} + args);
}

bool Report(const char* name, const Timed& r, double bound)
{
    if (r.code != 0) {
        std::printf("%-44s failed with exit code %d: %s\n", name, r.code, r.err.constData());
        return false;
    }
    const double over = (r.seconds / bound - 1) * 100;
    std::printf("%-44s %8.3f s   bound %8.3f s   (%+.1f%%, goal: within 5%%: %s)\n", name, r.seconds, bound,
                over, over <= 5 ? "met" : "NOT met");
    std::fflush(stdout);
    return true;
}

// Texts of a realistic length in every field.
tq3::Settings Site()
{
    tq3::Settings s;
    s.password = "7391";
    s.pin = "4455";
    s.smsCentre = "+48501200777";
    s.tel = {"+48601234567", "+48602345678", "", ""};
    s.in1n = "Brak zasilania 230V w obiekcie";
    s.in1a = "Zasilanie 230V powrocilo";
    s.in2n = "Za wysoka temperatura";
    s.in2a = "Za niska temperatura";
    s.in3a = "Temperatura w normie";
    s.in4n = "Bateria rozladowana";
    s.in4a = "Bateria naladowana";
    s.out2zal = "STAN";
    return s;
}

// What the controller answers a read with: the SMS centre is kept in 13 bytes.
int Stored(const tq3::ConfigItem& item, const tq3::Settings& s)
{
    const int value = int(tq3::EncodeItem(item, s).size());
    return item.encoding == tq3::ItemEncoding::SmsCentre ? qMax(value, 13) : value;
}

bool Save(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    Via via;
    if (!via.Take(args) || !args.isEmpty()) {
        std::fprintf(stderr, "usage: bench_ctl [--via pty|socket|rfc2217] [--ser2net-option LINE]\n");
        return 2;
    }
    std::printf("through %s\n", qPrintable(via.Describe()));
    QTemporaryDir dir;
    const tq3::Settings site = Site();
    const QString siteFile = dir.filePath(QStringLiteral("site.tcf"));
    QByteArray firmware("tfr");
    for (int i = 0; i < LargestImage; ++i)
        firmware += char((i * 31 + 7) & 0xFF);
    firmware += char(tq3::XorCheck(firmware));
    const QString firmwareFile = dir.filePath(QStringLiteral("largest.tfr"));
    if (!Save(siteFile, tq3::BuildConfigFile(site)) || !Save(firmwareFile, firmware))
        return 1;

    int readBytes = LoginBytes + LogoutBytes;
    int writeBytes = LoginBytes + LogoutBytes;
    for (const tq3::ConfigItem& item : tq3::ConfigItems()) {
        const int read = (Frame + 1) + (Frame + Stored(item, site)); // "G" out, the value back
        readBytes += read;
        writeBytes += (Frame + int(tq3::EncodeItem(item, site).size())) + (Frame + 1) + read;
    }
    bool ok = true;

    QProcess sim;
    auto server = std::make_unique<Ser2net>();
    QString port = via.Reach(StartSim(sim, {}), *server);
    if (port.isEmpty())
        return 1;
    // Every write is followed by the pause of 10 ms the exchange always makes.
    const Timed write = Ctl(port, {"write", siteFile});
    ok &= Report("tq3ctl write (20 settings, verified)", write,
                 writeBytes * ByteSeconds + tq3::ItemCount * 0.010);
    ok &= Report("tq3ctl read (20 settings)", Ctl(port, {"read", dir.filePath("read.tcf")}),
                 readBytes * ByteSeconds);
    server = std::make_unique<Ser2net>();
    StopSim(sim);

    port = via.Reach(StartSim(sim, {QStringLiteral("--history"), QString::number(HistoryRecords)}), *server);
    if (port.isEmpty())
        return 1;
    // The request and the size, the records, the end; 1.1 s of pause before the request.
    const int historyBytes = LoginBytes + LogoutBytes + (Frame + 1) + (Frame + 2) +
                             HistoryRecords * (Frame + tq3::HistoryRecordSize) + Frame;
    ok &= Report("tq3ctl history (4095 records) -o", Ctl(port, {"history", "-o", dir.filePath("h.txt")}),
                 historyBytes * ByteSeconds + 1.1);
    server = std::make_unique<Ser2net>();
    StopSim(sim);

    port = via.Reach(StartSim(sim, {}), *server);
    if (port.isEmpty())
        return 1;
    // The restart, each block (133 bytes) and its "!", the closing command; pauses
    // of 2 s, 2 s and 1 s. The controller restarts: no logout.
    const int firmwareBytes =
        LoginBytes + (Frame + 1) + tq3::FirmwareBlockCount(LargestImage) * (Frame + 129 + 1) + (Frame + 1);
    ok &= Report("tq3ctl firmware (16381 bytes)", Ctl(port, {"firmware", firmwareFile}),
                 firmwareBytes * ByteSeconds + 5.0);
    server.reset();
    StopSim(sim);
    if (!via.scheme.isEmpty())
        return ok ? 0 : 1; // the batch figure is the pseudo-terminals'

    // Eight controllers at once, as an installer provisions a site.
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList ports;
    for (int i = 0; i < Controllers; ++i) {
        sims.push_back(std::make_unique<QProcess>());
        ports << StartSim(*sims.back(), {});
        if (ports.back().isEmpty())
            return 1;
    }
    const QString script =
        QStringLiteral("printf '%s\\n' %1 | xargs -P %2 -I{} '%3' -q -p {} -P 7391 write '%4'")
            .arg(ports.join(' '))
            .arg(Controllers)
            .arg(QStringLiteral(TQ3CTL_PATH), siteFile);
    const Timed batch = Run(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    for (auto& s : sims)
        StopSim(*s);
    if (batch.code != 0 || write.code != 0) {
        std::printf("%-44s failed with exit code %d: %s\n", "batch write, 8 controllers", batch.code,
                    batch.err.constData());
        return 1;
    }
    const double ratio = batch.seconds / write.seconds;
    std::printf("%-44s %8.3f s   one controller %.3f s   (x%.2f, goal: within x1.2: %s)\n",
                "batch write, 8 controllers (xargs -P 8)", batch.seconds, write.seconds, ratio,
                ratio <= 1.2 ? "met" : "NOT met");
    return ok ? 0 : 1;
}
