// Upload of the largest firmware image (16381 bytes) to the simulated
// bootloader paced at 4800 baud, beside the line-rate bound plus the 5 s of
// pauses the transfer makes on purpose.
#include "BenchUtil.h"
#include "PromptRecorder.h"
#include "config/ConfigFile.h"
#include "firmware/FirmwareBlocks.h"
#include "ui/FirmwareWindow.h"
#include "ui/Main.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QProcess sim;
    const QString port = StartSim(sim, {});
    if (port.isEmpty()) {
        std::fprintf(stderr, "bench_firmware: the simulated controller did not start\n");
        return 1;
    }
    constexpr int ImageSize = 16381;
    QByteArray bytes("tfr");
    for (int i = 0; i < ImageSize; ++i)
        bytes += char((i * 31 + 7) & 0xFF);
    bytes += char(tq3::XorCheck(bytes));
    QTemporaryDir dir;
    const QString path = dir.filePath("largest.tfr");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return 1;
    file.close();

    PromptRecorder prompts;
    prompts.fileNames.push_back(path);
    TMain::Options options;
    options.prompts = &prompts;
    options.port = port;
    TMain window(options);
    window.show();
    window.Form().Button_polacz->click(); // the port open, as after any connect
    double seconds = 0;
    QTimer::singleShot(0, &window, [&] {
        auto* boot = window.findChild<TFboot*>();
        if (!boot)
            return;
        boot->Button1->click();
        const auto t0 = std::chrono::steady_clock::now();
        boot->ButtonStart->click();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    });
    window.Form().ButtonFirmware->click();
    StopSim(sim);

    const int blocks = tq3::FirmwareBlockCount(ImageSize);
    // Restart (5 bytes), each block (133 bytes) and its "!" (1 byte), the closing
    // command (5 bytes); pauses of 2 s, 2 s and 1 s.
    const double bound = (5 + blocks * (133 + 1) + 5) * 10.0 / 4800.0 + 5.0;
    if (prompts.log.isEmpty() ||
        prompts.log.last() != QStringLiteral("Information: Aktualizacja zakonczona")) {
        std::fprintf(stderr, "bench_firmware: %s\n", qPrintable(prompts.log.join("; ")));
        return 1;
    }
    std::printf("%-40s %8.3f s   bound %8.3f s   (%+.1f%%, goal: within 5%%)\n",
                "upload of 16381 bytes (128 blocks)", seconds, bound, (seconds / bound - 1) * 100);
    return 0;
}
