// The firmware window against the simulated bootloader: blocks, padding,
// progress, lost acknowledgements, the checks of the file, and what may not
// disturb a running transfer.
#include "WindowTestUtil.h"

#include "config/ConfigFile.h"
#include "link/DeviceLink.h"
#include "ui/FirmwareWindow.h"
#include "ui/Gauge.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

using namespace tq3sim;

class TestFirmware : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString FirmwareFile(const QByteArray& image, const QByteArray& tag = "tfr")
    {
        const QString path = dir.filePath(QString("fw%1.tfr").arg(QRandomGenerator::global()->generate()));
        QByteArray bytes = tag + image;
        bytes += char(tq3::XorCheck(bytes));
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }

    static QByteArray Image(int size)
    {
        QByteArray image(size, '\0');
        for (int i = 0; i < size; ++i)
            image[i] = char((i * 7 + 3) & 0xFF);
        return image;
    }

    // Opens the firmware window; `drive` acts on it once it is shown.
    static void WithFirmwareWindow(WindowUnderTest& t, const std::function<void(TFboot&)>& drive)
    {
        QPointer<QTimer> look = ArmFirmwareWindow(t, drive);
        WindowUnderTest::Click(t.f().ButtonFirmware);
        QTRY_VERIFY_WITH_TIMEOUT(look.isNull() && !t.window->findChild<TFboot*>(), 10000);
    }

    // Drives the firmware window as soon as it is open; it opens once any
    // exchange under way has ended.
    static QPointer<QTimer> ArmFirmwareWindow(WindowUnderTest& t, const std::function<void(TFboot&)>& drive)
    {
        QPointer<QTimer> look = new QTimer(t.window.get());
        QObject::connect(look, &QTimer::timeout, t.window.get(), [&t, look, drive] {
            auto* w = t.window->findChild<TFboot*>();
            if (!w || !w->isVisible())
                return;
            look->deleteLater();
            look->stop();
            drive(*w);
            if (w->isVisible() && !w->Transferring())
                w->reject();
        });
        look->start(1);
        return look;
    }

    QList<int> blocks;   // block numbers the controller received
    QList<int> progress; // values the gauge showed

private slots:
    void initTestCase() { TFboot::SetTiming({0, 0, 0}); }

    void upload_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("firstProgress");
        QTest::newRow("128 bytes: one block, no padding") << 128 << 96;
        QTest::newRow("129 bytes: two blocks") << 129 << 96;
        QTest::newRow("1024 bytes in a file of 1028") << 1024 << 12;
        QTest::newRow("the largest image") << 16381 << 1; // the first block shows 0
    }
    void upload()
    {
        QFETCH(int, size);
        QFETCH(int, firstProgress);
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        const QByteArray image = Image(size);
        const QString file = FirmwareFile(image);
        QList<int> shown;
        WithFirmwareWindow(t, [&](TFboot& w) {
            QVERIFY(!t.window->Link().ControlsUnlocked());
            QVERIFY(!w.ButtonStart->isEnabled());
            t.prompts.fileNames.push_back(file);
            w.Button1->click();
            QCOMPARE(w.LabelNazwaPliku->toolTip(), file);
            QVERIFY(file.endsWith(QString(w.LabelNazwaPliku->text()).remove(QChar(0x2026))));
            QVERIFY(w.ButtonStart->isEnabled());
            QTimer sample;
            connect(&sample, &QTimer::timeout, [&] {
                if (shown.isEmpty() || shown.last() != w.BarBoot->Progress())
                    shown << w.BarBoot->Progress();
            });
            sample.start(0);
            w.ButtonStart->click(); // returns when the transfer is over
            shown << w.BarBoot->Progress();
        });
        QCOMPARE(t.prompts.log,
                 (QStringList{"Open: TQ-3 firmware|*.tfr", "beep", "Warning: NIE WYŁĄCZAJ TQ-3 Z ZASILANIA",
                              "Information: Aktualizacja zakonczona"}));
        const int count = (size + 127) / 128;
        QByteArray padded = image + QByteArray(count * 128 - size, char(0xFF));
        QTRY_COMPARE(t.FramesWithCode(102), 1);
        QCOMPARE(t.sim->bootImage(), padded);
        QList<int> numbers;
        for (const auto& fr : t.sim->frames())
            if (fr.code == 101)
                numbers << quint8(fr.payload.at(0));
        QCOMPARE(numbers.size(), count);
        for (int k = 0; k < count; ++k)
            QCOMPARE(numbers[k], k & 0xFF);
        QVERIFY(shown.size() >= 2);
        QCOMPARE(shown[1], firstProgress);
        QCOMPARE(shown.last(), 100);
        QCOMPARE(t.f().Edit_logon->text(), QStringLiteral("WYLOGOWANY")); // log in again after it
        QVERIFY(!t.window->Link().ControlsUnlocked());
    }

    void lostAcknowledgements_data()
    {
        QTest::addColumn<QList<int>>("lost");
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<int>("blockFrames");
        QTest::newRow("two lost: resent, done") << QList<int>{0, 2} << true << 6;
        QTest::newRow("three over different blocks") << QList<int>{0, 1, 3} << false << 6;
        QTest::newRow("the third on the last block") << QList<int>{1, 2, 3} << false << 6;
    }
    void lostAcknowledgements()
    {
        QFETCH(QList<int>, lost);
        QFETCH(bool, succeeds);
        QFETCH(int, blockFrames);
        ControllerOptions c;
        c.faults.loseAck = std::set<int>(lost.begin(), lost.end());
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        const QString file = FirmwareFile(Image(4 * 128));
        WithFirmwareWindow(t, [&](TFboot& w) {
            t.prompts.fileNames.push_back(file);
            w.Button1->click();
            w.ButtonStart->click();
        });
        QTRY_COMPARE(t.FramesWithCode(101), blockFrames);
        QTRY_COMPARE(t.FramesWithCode(102), succeeds ? 1 : 0);
        QCOMPARE(t.prompts.log.last(),
                 succeeds ? QStringLiteral("Information: Aktualizacja zakonczona")
                          : QStringLiteral("Error: Brak odpowiedzi z VSKR, aktualizacja nieudana"));
    }

    void fileChecks()
    {
        WindowUnderTest t;
        t.Open();
        const QString good = FirmwareFile(Image(300));
        const QString wrongTag = FirmwareFile(Image(300), "tcf");
        const QString empty = FirmwareFile({});
        const QString huge = FirmwareFile(Image(16382));
        WithFirmwareWindow(t, [&](TFboot& w) {
            const QList<QPair<QString, bool>> steps{{good, true},   {wrongTag, false}, {good, true},
                                                    {empty, false}, {good, true},      {huge, false}};
            for (const auto& [path, accepted] : steps) {
                t.prompts.fileNames.push_back(path);
                w.Button1->click();
                QVERIFY2(w.ButtonStart->isEnabled() == accepted, qPrintable(path));
            }
            const QString before = w.LabelNazwaPliku->text();
            w.Button1->click(); // cancelled: nothing changes
            QCOMPARE(w.LabelNazwaPliku->text(), before);
            QVERIFY(!w.ButtonStart->isEnabled());
        });
        QStringList messages = t.prompts.Messages();
        messages.removeAll("Open: TQ-3 firmware|*.tfr");
        QCOMPARE(messages, (QStringList{"Error: Zly format pliku", "Error: Plik nie zawiera obrazu firmware",
                                        "Error: Zly format pliku"}));
    }

    void loneAcknowledgementAndClosedPort_data()
    {
        QTest::addColumn<bool>("duringThePause");
        QTest::addColumn<int>("frames");
        // Restart, block 0 once, block 1 and its two resends.
        QTest::newRow("a lone ! during the pause counts for block 0") << true << 5;
        // Restart, block 0 and its two resends.
        QTest::newRow("one from before the restart does not") << false << 4;
    }
    void loneAcknowledgementAndClosedPort()
    {
        // Nothing connected: nothing reaches a controller.
        QFETCH(bool, duringThePause);
        QFETCH(int, frames);
        WindowUnderTest t;
        t.TickMs = 10;
        t.Open();
        const QString file = FirmwareFile(Image(200));
        quint64 before = 0;
        WithFirmwareWindow(t, [&](TFboot& w) {
            t.prompts.fileNames.push_back(file);
            w.Button1->click();
            auto& link = t.window->Link();
            if (duringThePause) // delivered once the first block waits
                QTimer::singleShot(0, &w, [&link] { link.ReceiveChars("!"); });
            else
                link.ReceiveChars("!");
            before = link.FramesWritten();
            w.ButtonStart->click();
        });
        QCOMPARE(t.window->Link().FramesWritten() - before, quint64(frames));
        QCOMPARE(t.prompts.log.last(),
                 QStringLiteral("Error: Brak odpowiedzi z VSKR, aktualizacja nieudana"));
    }

    void nothingDisturbsARunningTransfer()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        const QByteArray image = Image(10 * 128);
        const QString file = FirmwareFile(image);
        const QString other = FirmwareFile(Image(128));
        WithFirmwareWindow(t, [&](TFboot& w) {
            t.prompts.fileNames.push_back(file);
            w.Button1->click();
            QTimer::singleShot(5, &w, [&] {
                QVERIFY(w.Transferring());
                QVERIFY(!w.ButtonStart->isEnabled() && !w.Button1->isEnabled());
                t.prompts.fileNames.push_back(other);
                w.Button1Click();
                w.ButtonStartClick();
                w.close();
                w.reject();
                QVERIFY(w.isVisible());
            });
            w.ButtonStart->click();
        });
        QTRY_COMPARE(t.sim->bootImage(), image);
        QCOMPARE(t.FramesWithCode(100), 1);
        QCOMPARE(t.prompts.log.last(), QStringLiteral("Information: Aktualizacja zakonczona"));
    }

    void openedWhileThePollWaits()
    {
        ControllerOptions c;
        c.faults.drop.push_back({80, 2}); // the first poll waits through two resends
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        bool clicked = false;
        connect(&t.window->Link(), &tq3::DeviceLink::PollStarted, this, [&] {
            if (clicked)
                return;
            clicked = true;
            t.prompts.fileNames.push_back(FirmwareFile(Image(256)));
            ArmFirmwareWindow(t, [&](TFboot& w) {
                w.Button1->click();
                w.ButtonStart->click();
            });
            QTimer::singleShot(0, t.window.get(), [&] { t.f().ButtonFirmware->click(); });
        });
        QTRY_COMPARE_WITH_TIMEOUT(t.FramesWithCode(102), 1, 10000);
        QStringList codes;
        for (const auto& fr : t.sim->frames())
            codes << QString::number(fr.code);
        QCOMPARE(codes, (QStringList{"1", "80", "80", "80", "100", "101", "101", "102"}));
    }
};

QTEST_MAIN(TestFirmware)
#include "tst_firmware.moc"
