#include "SimCommandLine.h"

#include <functional>
#include <map>
#include <optional>

namespace tq3sim {

namespace {

std::optional<int> parseInt(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok, 0);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

// "N" (any answer type) or "CODE:N".
std::optional<CountedFault> parseCounted(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    CountedFault fault;
    if (parts.size() == 2) {
        const std::optional<int> code = parseInt(parts[0], 0, 255);
        if (!code)
            return std::nullopt;
        fault.code = *code;
    } else if (parts.size() != 1) {
        return std::nullopt;
    }
    const std::optional<int> count = parseInt(parts.back(), 1, 1'000'000);
    if (!count)
        return std::nullopt;
    fault.count = *count;
    return fault;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "Usage: tq3sim [options]\n"
        "Simulated TQ-3 controller on a pseudo-terminal (4800 baud 8N1).\n"
        "Prints \"tq3sim: <slave device>\" and runs until SIGINT or SIGTERM.\n"
        "\n"
        "  --link PATH          symbolic link to the slave device, removed on exit\n"
        "  --no-pacing          write at once instead of at 4800 baud\n"
        "  --log FILE           one line per received frame: <us> <code> <ok|bad> <hex payload>\n"
        "  --password TEXT      access password (default 7391)\n"
        "  --version-char C     firmware version character of the login answer (default 5)\n"
        "  --history N          records in the history log, 0 to 8191 (default 120)\n"
        "  --temperature RAW    raw temperature reading (default 295, about +22 C)\n"
        "  --supply-missing     report the 5 V supply as missing\n"
        "  --battery-missing    report the battery as missing\n"
        "  --boot-window MS     bootloader waits this long for a first block (default 5000)\n"
        "  --modem-step MS      time per modem start-up stage (default 500)\n"
        "faults:\n"
        "  --silent             log commands, never answer\n"
        "  --drop [CODE:]N      do not write the first N answers (of type CODE); repeatable\n"
        "  --bad-checksum [CODE:]N  spoil the check byte of the first N answers; repeatable\n"
        "  --noise N            write N junk bytes before each answer\n"
        "  --noise-start        the junk begins with \"m\", a false answer start\n"
        "  --noise-answers K    junk only before the first K answers\n"
        "  --glue               write a status answer in the same write behind each answer\n"
        "  --lose-ack K[,K...]  lose the first acknowledgement of these block numbers\n"
        "  --hangup-after N     close the line after N good frames have been answered\n"
        "  --pause-inside MS[:EVERY]  the line holds still for MS inside every EVERY-th answer\n"
        "                       (default every one), at a byte position that moves on each time\n"
        "  --random-faults RATE hit this share of answers (0 to 1) with a fault of a kind drawn at\n"
        "                       random: noise, noise with \"m\", bad checksum, drop, glue, a\n"
        "                       hang-up after which the line comes back on a new device (use --link),\n"
        "                       or a pause inside the answer (of --pause-inside's MS, default 300)\n"
        "  --random-kinds LIST  only these kinds, comma-separated: noise, noise-m, checksum,\n"
        "                       drop, glue, hangup, pause (default all)\n"
        "  --seed N             seed of the random faults (default 1)\n"
        "  -h, --help           this text\n");
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine cl;
    ControllerOptions& c = cl.controller;
    FaultOptions& f = c.faults;
    RunnerOptions& r = cl.runner;

    auto number = [&cl](const QString& name, const QString& v, int low, int high, auto store) {
        if (const std::optional<int> value = parseInt(v, low, high))
            store(*value);
        else
            cl.error = QStringLiteral("%1: expected a number from %2 to %3, got \"%4\"")
                           .arg(name)
                           .arg(low)
                           .arg(high)
                           .arg(v);
    };
    auto counted = [&cl](const QString& name, const QString& v, std::vector<CountedFault>& into) {
        if (const std::optional<CountedFault> fault = parseCounted(v))
            into.push_back(*fault);
        else
            cl.error = QStringLiteral("%1: expected N or CODE:N, got \"%2\"").arg(name, v);
    };

    using Handler = std::function<void(const QString& name, const QString& value)>;
    const std::map<QString, Handler> withValue{
        {"--link", [&](const QString&, const QString& v) { r.linkPath = v; }},
        {"--log", [&](const QString&, const QString& v) { r.logPath = v; }},
        {"--password", [&](const QString&, const QString& v) { c.password = v.toLatin1(); }},
        {"--version-char",
         [&](const QString& n, const QString& v) {
             if (v.size() == 1 && v[0].unicode() < 256)
                 c.versionChar = static_cast<char>(v[0].unicode());
             else
                 cl.error = QStringLiteral("%1: expected one character, got \"%2\"").arg(n, v);
         }},
        {"--history",
         [&](const QString& n, const QString& v) {
             number(n, v, 0, ControllerOptions::MaxHistoryRecords, [&](int x) { c.historyRecords = x; });
         }},
        {"--temperature",
         [&](const QString& n, const QString& v) {
             number(n, v, 0, 0xFFFF, [&](int x) { c.temperatureRaw = static_cast<quint16>(x); });
         }},
        {"--boot-window",
         [&](const QString& n, const QString& v) {
             number(n, v, 0, 3'600'000, [&](int x) { c.bootWindow = std::chrono::milliseconds(x); });
         }},
        {"--modem-step",
         [&](const QString& n, const QString& v) {
             number(n, v, 0, 600'000, [&](int x) { c.modemStep = std::chrono::milliseconds(x); });
         }},
        {"--drop", [&](const QString& n, const QString& v) { counted(n, v, f.drop); }},
        {"--bad-checksum", [&](const QString& n, const QString& v) { counted(n, v, f.badChecksum); }},
        {"--noise", [&](const QString& n,
                        const QString& v) { number(n, v, 1, 4096, [&](int x) { f.noiseBytes = x; }); }},
        {"--noise-answers",
         [&](const QString& n, const QString& v) {
             number(n, v, 1, 1'000'000, [&](int x) { f.noiseAnswers = x; });
         }},
        {"--hangup-after",
         [&](const QString& n, const QString& v) {
             number(n, v, 1, 1'000'000, [&](int x) { f.hangupAfterFrames = x; });
         }},
        {"--pause-inside",
         [&](const QString& n, const QString& v) {
             const QStringList parts = v.split(QLatin1Char(':'));
             const std::optional<int> ms = parseInt(parts[0], 1, 600'000);
             const std::optional<int> every = parts.size() == 2 ? parseInt(parts[1], 1, 1'000'000) : 1;
             if (ms && every && parts.size() <= 2) {
                 f.pauseInsideMs = *ms;
                 f.randomPauseMs = *ms;
                 f.pauseEvery = *every;
             } else {
                 cl.error = QStringLiteral("%1: expected MS or MS:EVERY, got \"%2\"").arg(n, v);
             }
         }},
        {"--random-faults",
         [&](const QString& n, const QString& v) {
             bool ok = false;
             const double rate = v.toDouble(&ok);
             if (ok && rate >= 0 && rate <= 1)
                 f.randomRate = rate;
             else
                 cl.error = QStringLiteral("%1: expected a share from 0 to 1, got \"%2\"").arg(n, v);
         }},
        {"--random-kinds",
         [&](const QString& n, const QString& v) {
             static const QStringList names{"noise", "noise-m", "checksum", "drop",
                                            "glue",  "hangup",  "pause"};
             f.randomKinds = 0;
             for (const QString& part : v.split(QLatin1Char(','))) {
                 const qsizetype k = names.indexOf(part);
                 if (k < 0)
                     cl.error = QStringLiteral("%1: unknown kind \"%2\"").arg(n, part);
                 else
                     f.randomKinds |= 1u << k;
             }
         }},
        {"--seed",
         [&](const QString& n, const QString& v) {
             number(n, v, 0, 0x7FFFFFFF, [&](int x) { f.randomSeed = static_cast<quint32>(x); });
         }},
        {"--lose-ack",
         [&](const QString& n, const QString& v) {
             for (const QString& part : v.split(QLatin1Char(',')))
                 number(n, part, 0, 255, [&](int x) { f.loseAck.insert(x); });
         }},
    };
    const std::map<QString, std::function<void()>> flags{
        {"--no-pacing", [&] { r.pacing = false; }},
        {"--silent", [&] { f.silent = true; }},
        {"--noise-start", [&] { f.noiseWithStart = true; }},
        {"--glue", [&] { f.glue = true; }},
        {"--supply-missing", [&] { c.supplyMissing = true; }},
        {"--battery-missing", [&] { c.batteryMissing = true; }},
        {"--help", [&] { cl.help = true; }},
        {"-h", [&] { cl.help = true; }},
    };

    for (qsizetype i = 1; i < arguments.size() && cl.error.isEmpty(); ++i) {
        QString name = arguments[i];
        std::optional<QString> inlineValue;
        if (const qsizetype eq = name.indexOf(QLatin1Char('='));
            name.startsWith(QLatin1String("--")) && eq > 0) {
            inlineValue = name.mid(eq + 1);
            name.truncate(eq);
        }
        if (const auto flag = flags.find(name); flag != flags.end() && !inlineValue) {
            flag->second();
        } else if (const auto opt = withValue.find(name); opt != withValue.end()) {
            if (!inlineValue && i + 1 >= arguments.size()) {
                cl.error = QStringLiteral("%1 needs a value").arg(name);
                break;
            }
            opt->second(name, inlineValue ? *inlineValue : arguments[++i]);
        } else {
            cl.error = QStringLiteral("unknown option \"%1\"").arg(arguments[i]);
        }
    }
    if (f.noiseWithStart && f.noiseBytes == 0)
        f.noiseBytes = 1;
    return cl;
}

} // namespace tq3sim
