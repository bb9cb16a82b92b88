// The configuration on the window: the full read and write against the
// simulated controller, their failures, the refusals before anything is sent,
// and the configuration file.
#include "WindowTestUtil.h"

#include "config/CodePage1250.h"
#include "config/ConfigFile.h"
#include "ui/ConfigPanel.h"
#include "ui/Gauge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

#include <sys/stat.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/fsuid.h>
#endif

using namespace tq3sim;
using namespace tq3colours;

namespace {

QByteArray Byte(int b)
{
    return QByteArray(1, char(b));
}

// What is at the place a save goes to.
enum class Before
{
    Nothing,
    File,
    HardLinked,
    ReadOnlyFolder,
    OtherOwner
};

constexpr uid_t Nobody = 65534;

struct stat StatOf(const QString& path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        st.st_ino = 0;
    return st;
}

// Root writes into any folder: for a read-only folder to stop it, its file
// system checks run as another user for a while (this thread only).
class FileSystemUser
{
public:
    explicit FileSystemUser(uid_t uid) : was_(::geteuid())
    {
#if defined(Q_OS_LINUX)
        ::setfsuid(uid);
        ok_ = uid_t(::setfsuid(uid_t(-1))) == uid;
#else
        ok_ = uid == was_;
#endif
    }
    ~FileSystemUser()
    {
#if defined(Q_OS_LINUX)
        ::setfsuid(was_);
#endif
    }
    bool Ok() const
    {
        return ok_;
    }

private:
    uid_t was_;
    bool ok_ = false;
};

std::map<int, QByteArray> SampleSettings()
{
    return {{4, "1234"},
            {6, QByteArray("+48601000310") + '\0'},
            {8, "+48111222333"},
            {10, "+48444"},
            {12, ""},
            {14, "+1"},
            {16, QByteArray(40, 'x')},
            {18, "Za gor\xb9"
                 "co"},
            {20, "Powr\xf3t"},
            {22, "Niska \xb3\xf3"
                 "d\x9f"},
            {24, "Norma"},
            {26, "STAN"},
            {28, Byte(133)},
            {30, Byte(127) + Byte(255)},
            {32, Byte(6)},
            {34, Byte(0)},
            {36, "Bateria roz\xb3"
                 "adowana"},
            {38, "Bateria na\xb3"
                 "adowana"},
            {40, Byte(2)},
            {42, Byte(7)}};
}

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    // Clicks a transfer icon and waits until its panel has come and gone,
    // collecting the progress values shown on the way.
    static QList<int> Transfer(WindowUnderTest& t, QToolButton* icon)
    {
        QList<int> shown;
        QTimer sample;
        QObject::connect(&sample, &QTimer::timeout, [&] {
            const int v = t.f().Bar->Progress();
            if (t.f().Panel_bar->isVisible() && (shown.isEmpty() || shown.last() != v))
                shown << v;
        });
        sample.start(0);
        bool started = false;
        QObject::connect(&sample, &QTimer::timeout, [&] { started |= t.f().Panel_bar->isVisible(); });
        WindowUnderTest::Click(icon);
        [&] { QTRY_VERIFY_WITH_TIMEOUT(started && !t.f().Panel_bar->isVisible(), 20000); }();
        if (shown.isEmpty() || shown.last() != t.f().Bar->Progress())
            shown << t.f().Bar->Progress();
        return shown;
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    static QByteArray WithCheck(QByteArray bytes) { return bytes + char(tq3::XorCheck(bytes)); }

private slots:
    void fullRead()
    {
        ControllerOptions c;
        c.settings = SampleSettings();
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        auto& f = t.f();
        const QList<int> bars = Transfer(t, f.Icon_get);
        QCOMPARE(bars, (QList<int>{0,  9,  14, 19, 23, 28, 33, 38, 42, 47, 52,
                                   57, 61, 66, 71, 76, 80, 85, 90, 95, 100}));
        QCOMPARE(f.Label_Bar->text(), QStringLiteral("Pobieram konfiguracje nadajnika"));
        QVERIFY(t.prompts.log.isEmpty());
        QCOMPARE(f.Edit_pin->text(), QStringLiteral("1234"));
        QCOMPARE(f.Edit_operator->text(), QStringLiteral("+48601000310"));
        QCOMPARE(f.Combo_operator->currentText(), QStringLiteral("PLUS"));
        QCOMPARE(f.Edit_IN1N->text(), QString(40, 'x')); // longer than one can type
        QCOMPARE(f.Edit_IN2A->text(), QStringLiteral("Niska łódź"));
        QCOMPARE(f.Edit_IN4N->text(), QStringLiteral("Bateria rozładowana"));
        QCOMPARE(f.Edit_LimitSMS->text(), QStringLiteral("5"));
        QVERIFY(f.BoxFiltrSMS->isChecked());
        QCOMPARE(f.TempMin->text(), QStringLiteral("-1"));
        QCOMPARE(f.TempMax->text(), QStringLiteral("+127"));
        QCOMPARE(f.TempKorekta->text(), QStringLiteral("+1,50"));
        QCOMPARE(f.TempZapisz->text(), QStringLiteral("0"));
        QVERIFY(f.VoiceBox->isChecked());
        QCOMPARE(f.Edit_LimitVoice->text(), QStringLiteral("7"));
        const QList<QPair<QWidget*, QColor>> colours{
            {f.Edit_pin, LightYellow},
            {f.Edit_operator, LightYellow},
            {f.Edit_Tel3, LightYellow},
            {f.Edit_IN1N, LightOrange},
            {f.Edit_IN2A, SkyBlue},
            {f.Edit_IN3A, LightGreen},
            {f.Edit_IN4A, LightGreen},
            {f.Edit_LimitSMS, LightYellow},
            {f.TempMin, LightYellow},
            {f.TempMax, LightYellow},
            {f.TempKorekta, LightYellow},
            {f.TempZapisz, LightYellow},
            {f.Edit_LimitVoice, LightYellow},
            {f.BoxFiltrSMS, QApplication::palette().color(QPalette::Base)},
            {f.VoiceBox, QApplication::palette().color(QPalette::Base)}};
        for (const auto& [w, colour] : colours)
            QVERIFY2(FieldColour(w) == colour, qPrintable(w->objectName()));
        QVERIFY(f.Button_zmiana_hasla->isEnabled());
        QVERIFY(f.Icon_get->isEnabled() && f.Icon_put->isEnabled());
        QVERIFY(!f.Panel_bar->isVisible());
    }

    void damagedTextAnswerCostsOneResend()
    {
        // The spoiled answer holds "m" followed by " Z": a false start claiming
        // 90 bytes right inside it.
        ControllerOptions c;
        c.settings = SampleSettings();
        c.settings[16] = "Alarm Zasilanie";
        c.faults.badChecksum.push_back({16, 1});
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        Transfer(t, t.f().Icon_get);
        QVERIFY(t.prompts.log.isEmpty());
        QCOMPARE(t.FramesWithCode(16), 2);
        QCOMPARE(t.f().Edit_IN1N->text(), QStringLiteral("Alarm Zasilanie"));
        QCOMPARE(t.f().Edit_logon->text(), QStringLiteral("ZALOGOWANY"));
    }

    void readUnanswered_data()
    {
        QTest::addColumn<int>("code");
        QTest::newRow("read 18") << 18;
        QTest::newRow("read 42") << 42;
    }
    void readUnanswered()
    {
        QFETCH(int, code);
        ControllerOptions c;
        c.settings = SampleSettings();
        c.faults.drop.push_back({code, 1000});
        WindowUnderTest t;
        t.TickMs = 10;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        auto& f = t.f();
        Transfer(t, f.Icon_get);
        QCOMPARE(t.prompts.log,
                 (QStringList{"beep", "Error: Brak odpowiedzi z TQ-3", "Error: Brak odpowiedzi z TQ-3"}));
        QCOMPARE(f.Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QVERIFY(!f.Icon_get->isEnabled() && !f.Button_zmiana_hasla->isEnabled());
        QCOMPARE(f.Edit_IN1N->text(), QString(40, 'x'));     // code 16, before
        QCOMPARE(f.Edit_IN1A->text().isEmpty(), code == 18); // code 20, after 18
        QCOMPARE(f.Edit_LimitVoice->text(), QStringLiteral("0"));
    }

    void fullWrite()
    {
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        auto& f = t.f();
        f.Edit_pin->setText("4321");
        f.Edit_Tel2->setText("+48500100200");
        f.Edit_IN2N->setText(QStringLiteral("Gorąco"));
        f.Edit_LimitSMS->clear(); // left empty: written as 0
        f.BoxFiltrSMS->setChecked(true);
        f.Edit_LimitVoice->setText("12");
        f.VoiceBox->setChecked(true);
        f.TempZapisz->setText("15");
        t.window->Config().TempKorektaRaw = 129;
        QCOMPARE(FieldColour(f.Edit_pin), Red);
        const QList<int> bars = Transfer(t, f.Icon_put);
        QCOMPARE(bars,
                 (QList<int>{0, 4, 8, 12, 16, 20, 22, 26, 30, 46, 50, 54, 70, 94, 95, 96, 97, 98, 99, 100}));
        QVERIFY(t.prompts.log.isEmpty());
        QCOMPARE(t.sim->setting(4), QByteArray("4321"));
        QCOMPARE(t.sim->setting(10), QByteArray("+48500100200"));
        QCOMPARE(t.sim->setting(18), QByteArray("Gor\xb9"
                                                "co"));
        QCOMPARE(t.sim->setting(28), Byte(128));
        QCOMPARE(t.sim->setting(30), Byte(132) + Byte(138));
        QCOMPARE(t.sim->setting(32), Byte(129));
        QCOMPARE(t.sim->setting(34), Byte(15));
        QCOMPARE(t.sim->setting(40), Byte(1));
        QCOMPARE(t.sim->setting(42), Byte(12));
        for (QWidget* w : {static_cast<QWidget*>(f.Edit_pin), static_cast<QWidget*>(f.Edit_Tel2),
                           static_cast<QWidget*>(f.Edit_LimitSMS), static_cast<QWidget*>(f.BoxFiltrSMS),
                           static_cast<QWidget*>(f.VoiceBox), static_cast<QWidget*>(f.TempZapisz)})
            QVERIFY2(FieldColour(w) == LightYellow, qPrintable(w->objectName()));
        QCOMPARE(FieldColour(f.Edit_IN2N), LightOrange);
        QVERIFY(f.Button_zmiana_hasla->isEnabled());
    }

    void writeUnanswered()
    {
        ControllerOptions c;
        c.faults.drop.push_back({23, 1000});
        WindowUnderTest t;
        t.TickMs = 10;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        auto& f = t.f();
        f.Edit_Tel1->setText("+4812");
        f.Edit_IN2A->setText("zimno");
        f.Edit_IN3A->setText("ok");
        Transfer(t, f.Icon_put);
        QCOMPARE(t.prompts.log, (QStringList{"beep", "Error: Brak odpowiedzi z TQ-3"}));
        QCOMPARE(FieldColour(f.Edit_Tel1), LightYellow);
        QCOMPARE(FieldColour(f.Edit_IN2A), Red);
        QCOMPARE(FieldColour(f.Edit_IN3A), Red);
        QCOMPARE(f.Edit_logon->text(), QStringLiteral("WYLOGOWANY"));
        QVERIFY(!f.Icon_get->isEnabled());
        QCOMPARE(t.FramesWithCode(25), 0);
    }

    void everyByteRoundTrips()
    {
        // Every byte but 0 spread over the text items, read and written back unchanged.
        ControllerOptions c;
        const int codes[] = {16, 18, 20, 22, 24, 36, 38};
        for (int i = 0; i < 7; ++i) {
            QByteArray text;
            for (int b = 1 + i * 37; b <= qMin(255, 37 + i * 37); ++b)
                text += char(b);
            c.settings[codes[i]] = text;
        }
        WindowUnderTest t;
        QVERIFY(t.StartWithSim(c));
        t.LogIn();
        Transfer(t, t.f().Icon_get);
        Transfer(t, t.f().Icon_put);
        QVERIFY(t.prompts.log.isEmpty());
        for (int code : codes)
            QCOMPARE(t.sim->setting(code), c.settings[code]);
    }

    void refusedBeforeAnythingIsSent_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("text too long")
            << "Edit_IN4N" << QString(256, 'a') << "Tekst w polu \"Bateria: Rozład.\" jest za długi";
        QTest::newRow("voice limit above a byte")
            << "Edit_LimitVoice"
            << "300"
            << "Pole \"Limit [24h]: Dzwon\" musi zawierać liczbę od 0 do 255";
        QTest::newRow("pasted letters in a limit") << "Edit_LimitSMS"
                                                   << "x1"
                                                   << "Pole \"Limit [24h]: SMS\" musi zawierać liczbę";
        QTest::newRow("outside the code page")
            << "Edit_IN1N" << QStringLiteral("漢") << "Pole \"Zasilacz 5V: Brak\" zawiera znak";
    }
    void refusedBeforeAnythingIsSent()
    {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        WindowUnderTest t;
        QVERIFY(t.StartWithSim());
        t.LogIn();
        t.window->findChild<QLineEdit*>(field)->setText(text);
        QTRY_VERIFY(!t.window->Link().Busy());
        const size_t frames = t.sim->frames().size();
        const int polls = t.FramesWithCode(80);
        WindowUnderTest::Click(t.f().Icon_put);
        QTRY_COMPARE(t.prompts.log.size(), 2);
        QCOMPARE(t.prompts.log[0], QStringLiteral("beep"));
        QVERIFY2(t.prompts.log[1].startsWith("Error: " + message), qPrintable(t.prompts.log[1]));
        QCOMPARE(t.sim->frames().size() - size_t(t.FramesWithCode(80) - polls), frames);
        QVERIFY(t.f().Icon_put->isEnabled());
        // The file keeps the same rule.
        t.prompts.fileNames.push_back(Path("refused.tcf"));
        t.f().Zapis1->trigger();
        QVERIFY(!QFile::exists(Path("refused.tcf")));
    }

    void saveWithStartupValues()
    {
        WindowUnderTest t;
        t.Open();
        t.prompts.fileNames.push_back(Path("start.tcf"));
        t.f().Zapis1->trigger();
        QCOMPARE(t.prompts.fileRequests.size(), size_t(1));
        QCOMPARE(t.prompts.fileRequests[0].defaultExt, QStringLiteral("tcf"));
        QCOMPARE(t.prompts.fileRequests[0].filter, QStringLiteral("TQ-3 konfiguracja|*.tcf"));
        QFile file(Path("start.tcf"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.size(), 62);
        QVERIFY(bytes.startsWith(QByteArray("tcf\x04"
                                            "7391\x04"
                                            "7391\x0c+48501200777")));
        QCOMPARE(quint8(bytes.back()), tq3::XorCheck(bytes.left(61)));
        QCOMPARE(t.window->ContainerBuffer, bytes);
        QCOMPARE(t.prompts.log, QStringList{"Save: TQ-3 konfiguracja|*.tcf"}); // no message on success
    }

    void saveThatFails()
    {
        WindowUnderTest t;
        t.Open();
        t.prompts.fileNames.push_back(Path("no-such-folder/x.tcf"));
        t.f().Zapis1->trigger();
        QCOMPARE(t.prompts.log.mid(1), (QStringList{"beep", "Error: Błąd zapisu"}));
    }

    // Where the folder allows it a new file is renamed over the old one; in a
    // read-only folder, over a hard-linked file or another user's file, the
    // file is written in place. Permissions stay; a new configuration file,
    // which holds the password and the PIN, is for its owner alone.
    void savesKeepTheFile_data()
    {
        QTest::addColumn<bool>("history"); // the log export, not the configuration save
        QTest::addColumn<Before>("before");
        QTest::addColumn<int>("mode");      // of the file there before, or of a new one (-1: the umask's)
        QTest::addColumn<bool>("replaced"); // by another file, not written in place
        QTest::newRow("new configuration") << false << Before::Nothing << 0600 << true;
        QTest::newRow("new history") << true << Before::Nothing << -1 << true;
        QTest::newRow("configuration over 0640") << false << Before::File << 0640 << true;
        QTest::newRow("history over 0604") << true << Before::File << 0604 << true;
        QTest::newRow("hard-linked configuration") << false << Before::HardLinked << 0644 << false;
        QTest::newRow("configuration in read-only folder")
            << false << Before::ReadOnlyFolder << 0644 << false;
        QTest::newRow("history in read-only folder") << true << Before::ReadOnlyFolder << 0664 << false;
        QTest::newRow("another user's configuration") << false << Before::OtherOwner << 0666 << false;
    }
    void savesKeepTheFile()
    {
        QFETCH(bool, history);
        QFETCH(Before, before);
        QFETCH(int, mode);
        QFETCH(bool, replaced);
        const bool root = ::geteuid() == 0;
        if (before == Before::OtherOwner && !root)
            QSKIP("only root can give a file to another user");
        QTemporaryDir folder;
        const QString path = folder.filePath(history ? "log.txt" : "conf.tcf");
        const QByteArray native = QFile::encodeName(path);
        const QString link = folder.filePath("link");
        if (before != Before::Nothing) {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(100, 'o')); // longer than what replaces it
            old.close();
            QCOMPARE(::chmod(native, mode_t(mode)), 0);
        }
        if (before == Before::HardLinked)
            QCOMPARE(::link(native, QFile::encodeName(link)), 0);
        // As root the read-only folder is saved into as the owner of the file.
        const bool asNobody = root && before == Before::ReadOnlyFolder;
        if (before == Before::OtherOwner || asNobody)
            QCOMPARE(::chown(native, Nobody, Nobody), 0);
        if (before == Before::ReadOnlyFolder)
            QCOMPARE(::chmod(QFile::encodeName(folder.path()), 0555), 0);
        const struct stat was = StatOf(path);

        WindowUnderTest t;
        t.Open();
        t.f().trm->setPlainText("a\nb");
        t.prompts.fileNames.push_back(path);
        {
            FileSystemUser user(asNobody ? Nobody : ::geteuid());
            if (!user.Ok())
                QSKIP("no other file system user to take");
            if (history)
                WindowUnderTest::Click(t.f().ButtonZapisz);
            else
                t.f().Zapis1->trigger();
        }
        ::chmod(QFile::encodeName(folder.path()), 0700);
        QCOMPARE(t.prompts.log.mid(1),
                 history ? QStringList{"Information: Zapisano plik historii"} : QStringList{});
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), history ? QByteArray("a\r\nb\r\n") : t.window->ContainerBuffer);

        const struct stat now = StatOf(path);
        if (mode < 0) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~int(mask);
        }
        QCOMPARE(int(now.st_mode & 07777), mode);
        if (before != Before::Nothing) {
            QCOMPARE(now.st_ino != was.st_ino, replaced);
            QCOMPARE(now.st_uid, was.st_uid);
            QCOMPARE(now.st_gid, was.st_gid);
        }
        if (before == Before::HardLinked) {
            QCOMPARE(StatOf(link).st_ino, now.st_ino);
            QCOMPARE(now.st_nlink, nlink_t(2));
        }
        // Nothing left behind but the file and its other name.
        QStringList expected{QFileInfo(path).fileName()};
        if (before == Before::HardLinked)
            expected << "link";
        QCOMPARE(QDir(folder.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 expected);
    }

    void cancelledDialogs()
    {
        WindowUnderTest t;
        t.Open();
        t.f().Zapis1->trigger(); // the recorder cancels
        t.f().Odczyt1->trigger();
        QCOMPARE(t.prompts.log,
                 (QStringList{"Save: TQ-3 konfiguracja|*.tcf", "Open: TQ-3 konfiguracja|*.tcf"}));
        QCOMPARE(t.f().Edit_pin->text(), QStringLiteral("7391"));
    }

    void load()
    {
        tq3::Settings c;
        c.password = "1111";
        c.pin = "2222";
        c.smsCentre = "+48602951111";
        c.tel = {"+481", "", "", "+484"};
        c.in2a = "Zimno \xb3";
        c.smsLimit = 130;
        c.voiceLimit = 9;
        c.tempMin = 120;
        c.korekta = 132;
        c.interval = 5;
        c.in4n = "rozladowana";
        c.callOnAlarm = 1;
        QFile file(Path("load.tcf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(tq3::BuildConfigFile(c));
        file.close();

        WindowUnderTest t;
        t.Open();
        auto& f = t.f();
        t.prompts.fileNames.push_back(file.fileName());
        f.Odczyt1->trigger();
        QCOMPARE(t.prompts.log.mid(1), (QStringList{"beep", "Information: Odczytano plik konfiguracji"}));
        QCOMPARE(f.Edit_haslo->text(), QStringLiteral("1111"));
        QCOMPARE(f.Combo_operator->currentText(), QStringLiteral("T-MOBILE"));
        QCOMPARE(f.Edit_IN2A->text(), QStringLiteral("Zimno ł"));
        QVERIFY(f.BoxFiltrSMS->isChecked());
        QCOMPARE(f.Edit_LimitSMS->text(), QStringLiteral("2"));
        QCOMPARE(f.TempMin->text(), QStringLiteral("-8"));
        QCOMPARE(f.TempKorekta->text(), QStringLiteral("-1,0"));
        QCOMPARE(f.TempZapisz->text(), QStringLiteral("5"));
        QVERIFY(f.VoiceBox->isChecked());
        // Changed fields are marked as not yet written; unchanged ones keep their colour.
        QCOMPARE(FieldColour(f.Edit_pin), Red);
        QCOMPARE(FieldColour(f.Edit_IN4N), Red);
        QCOMPARE(FieldColour(f.Edit_IN1N), LightOrange);
        QCOMPARE(FieldColour(f.TempKorekta), LightYellow);
        // Saving again gives the same file.
        t.prompts.fileNames.push_back(Path("again.tcf"));
        f.Zapis1->trigger();
        QFile again(Path("again.tcf"));
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), tq3::BuildConfigFile(c));
    }

    void loadRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("prompts");
        const QByteArray good = tq3::BuildConfigFile({});
        QByteArray wrongTag = good;
        wrongTag[1] = 'f';
        wrongTag[2] = 'r';
        QByteArray badByte = good;
        badByte[10] = char(badByte[10] ^ 1);
        QByteArray both = wrongTag;
        both[10] = char(both[10] ^ 1);
        const QStringList format{"Error: Zly format pliku"};
        const QStringList crc{"beep", "Error: Bląd CRC pliku konfiguracji"};
        QTest::newRow("firmware tag") << WithCheck(wrongTag.chopped(1)) << format;
        QTest::newRow("one byte changed") << badByte << crc;
        QTest::newRow("both, tag first") << both << format + crc;
        QTest::newRow("3 bytes") << QByteArray("tcf") << format;
        QTest::newRow("16386 bytes") << WithCheck("tcf" + QByteArray(16382, '\0')) << format;
        QTest::newRow("texts run past the end") << WithCheck("tcf\x10"
                                                             "7391")
                                                << format;
        QTest::newRow("empty container") << WithCheck("tcf") << format;
    }
    void loadRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, prompts);
        QFile f(Path("bad.tcf"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(file);
        f.close();
        WindowUnderTest t;
        t.Open();
        t.f().Edit_Tel1->setText("+48");
        t.prompts.fileNames.push_back(f.fileName());
        t.f().Odczyt1->trigger();
        QCOMPARE(t.prompts.log.mid(1), prompts);
        QCOMPARE(t.f().Edit_Tel1->text(), QStringLiteral("+48"));
        QCOMPARE(t.f().Edit_pin->text(), QStringLiteral("7391"));
        QCOMPARE(FieldColour(t.f().Edit_pin), LightYellow);
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
