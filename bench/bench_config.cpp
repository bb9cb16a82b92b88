// Full read and full write of the twenty settings against the simulated
// controller paced at 4800 baud, beside the line-rate bound: every byte on the
// line at 10 bits a byte, plus the pauses the program makes on purpose.
#include "BenchUtil.h"
#include "PromptRecorder.h"
#include "config/ConfigItems.h"
#include "link/DeviceLink.h"
#include "ui/ConfigPanel.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <chrono>

namespace {

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QProcess sim;
    const QString port = StartSim(sim, {});
    if (port.isEmpty()) {
        std::fprintf(stderr, "bench_config: the simulated controller did not start\n");
        return 1;
    }
    PromptRecorder prompts;
    TMain::Options options;
    options.prompts = &prompts;
    options.port = port;
    TMain window(options);
    window.show();
    auto& f = window.Form();
    if (!LogIn(window)) {
        std::fprintf(stderr, "bench_config: login failed\n");
        return 1;
    }
    // Texts of a realistic length in every field.
    f.Edit_Tel1->setText(QStringLiteral("+48601234567"));
    f.Edit_Tel2->setText(QStringLiteral("+48602345678"));
    f.Edit_IN1N->setText(QStringLiteral("Brak zasilania 230V w obiekcie"));
    f.Edit_IN1A->setText(QStringLiteral("Zasilanie 230V powrocilo"));
    f.Edit_IN2N->setText(QStringLiteral("Za wysoka temperatura"));
    f.Edit_IN2A->setText(QStringLiteral("Za niska temperatura"));
    f.Edit_IN3A->setText(QStringLiteral("Temperatura w normie"));
    f.Edit_IN4N->setText(QStringLiteral("Bateria rozladowana"));
    f.Edit_IN4A->setText(QStringLiteral("Bateria naladowana"));
    f.Edit_Out2zal->setText(QStringLiteral("STAN"));

    auto& config = window.Config();
    const double byteSeconds = 10.0 / 4800.0;
    double writeBytes = 0;
    double readBytes = 0;
    QString problem;
    const tq3::Settings settings = config.TakeSettings(false, &problem).value();
    for (const tq3::ConfigItem& item : tq3::ConfigItems()) {
        const int value = int(tq3::EncodeItem(item, settings).size());
        const int stored = item.readCode == 6 ? 13 : value; // the controller pads the SMS centre
        writeBytes += (4 + value) + (4 + 1);                // write, answer "T"
        readBytes += (4 + 1) + (4 + stored);                // "G", answer with the value
    }

    // Let any poll under way finish, so that only the transfer is on the line.
    WaitUntil([&] { return !window.Link().Busy(); }, 5000);
    auto t0 = std::chrono::steady_clock::now();
    f.Icon_put->click();
    WaitUntil([&] { return !f.Panel_bar->isVisible() && f.Icon_put->isEnabled(); }, 60000);
    const double write = Seconds(t0);
    const double writeBound = writeBytes * byteSeconds + tq3::ItemCount * 0.010;
    if (!prompts.log.isEmpty())
        std::fprintf(stderr, "bench_config: %s\n", qPrintable(prompts.log.join("; ")));

    WaitUntil([&] { return !window.Link().Busy(); }, 5000);
    t0 = std::chrono::steady_clock::now();
    f.Icon_get->click();
    WaitUntil([&] { return !f.Panel_bar->isVisible() && f.Icon_get->isEnabled(); }, 60000);
    const double read = Seconds(t0);
    const double readBound = readBytes * byteSeconds;

    std::printf("%-36s %8.3f s   bound %8.3f s   (%+.1f%%, goal: within 10%%)\n", "full write of 20 settings",
                write, writeBound, (write / writeBound - 1) * 100);
    std::printf("%-36s %8.3f s   bound %8.3f s   (%+.1f%%, goal: within 10%%)\n", "full read of 20 settings",
                read, readBound, (read / readBound - 1) * 100);
    StopSim(sim);
    return prompts.log.isEmpty() ? 0 : 1;
}
