#include "config/ConfigFile.h"
#include "firmware/FirmwareBlocks.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tq3;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray WithCheck(QByteArray bytes)
{
    bytes.append(static_cast<char>(XorCheck(bytes)));
    return bytes;
}

QByteArray RandomBytes(QRandomGenerator& rng, int size)
{
    QByteArray out(size, '\0');
    for (char& c : out)
        c = static_cast<char>(rng.bounded(256));
    return out;
}

Settings RandomFields(QRandomGenerator& rng)
{
    auto text = [&] { return RandomBytes(rng, rng.bounded(MaxStoredText + 1)); };
    auto byte = [&] { return static_cast<quint8>(rng.bounded(256)); };
    Settings f;
    for (QByteArray* t : {&f.password, &f.pin, &f.smsCentre, &f.in1n, &f.in2n, &f.in1a, &f.in2a, &f.in3a,
                          &f.out2zal, &f.in4a, &f.in4n})
        *t = text();
    for (QByteArray& tel : f.tel)
        tel = text();
    for (quint8* b :
         {&f.smsLimit, &f.voiceLimit, &f.tempMin, &f.tempMax, &f.korekta, &f.interval, &f.callOnAlarm})
        *b = byte();
    return f;
}

// Files a careless or broken writer could leave: bytes flipped, cut off or
// added, with the check byte sometimes put right again.
QByteArray Mutate(QRandomGenerator& rng, QByteArray file)
{
    const int edits = 1 + rng.bounded(4);
    for (int i = 0; i < edits; ++i) {
        switch (rng.bounded(3)) {
        case 0:
            if (!file.isEmpty())
                file[rng.bounded(file.size())] = static_cast<char>(rng.bounded(256));
            break;
        case 1:
            file.truncate(rng.bounded(file.size() + 1));
            break;
        default:
            file.insert(rng.bounded(file.size() + 1), RandomBytes(rng, 1 + rng.bounded(20)));
            break;
        }
    }
    if (!file.isEmpty() && rng.bounded(2))
        file.back() = static_cast<char>(XorCheck(file.chopped(1)));
    return file;
}

} // namespace

class TstConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void startUpValues();
    void layout_data();
    void layout();
    void handWritten_data();
    void handWritten();
    void roundTrip();
    void checkContainer_data();
    void checkContainer();
    void fieldsMustEndBeforeCheckByte();
    void randomAndMutatedFiles();
};

void TstConfigFile::startUpValues()
{
    Settings f;
    f.password = "7391";
    f.pin = "7391";
    f.smsCentre = "+48501200777";
    const QByteArray file = BuildConfigFile(f);
    QCOMPARE(file.size(), 62);
    QVERIFY(file.startsWith(QByteArray("tcf\x04"
                                       "7391")));
    QCOMPARE(static_cast<quint8>(file.back()), XorCheck(file.first(61)));
    QCOMPARE(ParseConfigFile(file), f);

    QCOMPARE(BuildConfigFile({}).size(), 42);
}

void TstConfigFile::layout_data()
{
    QTest::addColumn<Settings>("fields");
    QTest::addColumn<QByteArray>("data"); // without the check byte

    Settings numbers;
    numbers.smsLimit = 138;
    numbers.voiceLimit = 7;
    numbers.tempMin = 120;
    numbers.tempMax = 140;
    numbers.korekta = 6;
    numbers.interval = 15;
    numbers.callOnAlarm = 1;
    QTest::newRow("empty texts") << numbers << Bytes({'t', 'c', 'f', 0, 0,  0, 0,   0,   0, 0,  0, 0, 0, 0,
                                                      0,   0,   0,   0, 0,  0, 0,   5,   0, 0,  0, 0, 0, 5,
                                                      5,   5,   138, 7, 12, 0, 120, 140, 6, 15, 0, 0, 1});

    Settings texts;
    texts.password = "p";
    texts.pin = "q";
    texts.smsCentre = "c";
    texts.tel = {"1", "2", "3", "4"};
    texts.in1n = "A";
    texts.in2n = "B";
    texts.in1a = "C";
    texts.in2a = "D";
    texts.in3a = "E";
    texts.out2zal = "zz";
    texts.in4a = "F";
    texts.in4n = "GH";
    QTest::newRow("texts in order") << texts << Bytes({'t', 'c', 'f', 1,  'p', 1,   'q', 1,   'c', 1, '1', 1,
                                                       '2', 1,   '3', 1,  '4', 1,   'A', 1,   'B', 1, 'C', 1,
                                                       'D', 1,   'E', 0,  2,   'z', 'z', 0,   0,   0, 0,   5,
                                                       0,   0,   0,   0,  0,   5,   5,   5,   0,   0, 12,  0,
                                                       132, 138, 0,   60, 1,   'F', 2,   'G', 'H', 0});
}

void TstConfigFile::layout()
{
    QFETCH(Settings, fields);
    QFETCH(QByteArray, data);
    QCOMPARE(BuildConfigFile(fields), WithCheck(data));
    QCOMPARE(ParseConfigFile(WithCheck(data)), fields);
}

// Whole files written out here byte by byte, check byte included, so that
// the builder and the checker cannot agree on a wrong rule between them.
void TstConfigFile::handWritten_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<Settings>("fields"); // of a configuration file
    QTest::addColumn<QByteArray>("image");        // of a firmware file

    Settings startUp;
    startUp.password = "7391";
    startUp.pin = "7391";
    startUp.smsCentre = "+48501200777";
    // clang-format off
    const QByteArray startUpFile = QByteArray::fromHex(
        "746366"                        // tcf
        "04 37333931 04 37333931"       // password, PIN
        "0c 2b3438353031323030373737"   // SMS centre
        "00 00 00 00"                   // telephones
        "00 00 00 00 00 00 00"          // five texts, reserved, status query
        "00000000 050000000000 050505"  // reserved
        "00 00 0c 00"                   // SMS limit, voice limit, reserved
        "84 8a 00 3c"                   // minimum, maximum, correction, minutes
        "00 00 00"                      // battery texts, call on alarm
        "55");                          // check byte
    // clang-format on

    Settings every;
    every.password = "1234";
    every.pin = "0000";
    every.smsCentre = "+48602951111";
    every.tel = {"+48111", "", "", "+4"};
    every.in1n = "Brak 230V";
    every.in2a = "Zimno \xb3";
    every.out2zal = "STAN";
    every.smsLimit = 138;
    every.voiceLimit = 3;
    every.tempMin = 120;
    every.tempMax = 140;
    every.korekta = 132;
    every.interval = 15;
    every.in4a = "OK";
    every.in4n = "Bat";
    every.callOnAlarm = 1;
    // clang-format off
    const QByteArray everyFile = QByteArray::fromHex(
        "746366"
        "04 31323334 04 30303030"
        "0c 2b3438363032393531313131"
        "06 2b3438313131 00 00 02 2b34"
        "09 4272616b2032333056 00 00 07 5a696d6e6f20b3 00"
        "00 04 5354414e"
        "00000000 050000000000 050505"
        "8a 03 0c 00"
        "78 8c 84 0f"
        "02 4f4b 03 426174 01"
        "71");
    // clang-format on

    const QByteArray image = QByteArray::fromHex("010203ff80");
    const QByteArray firmwareFile = QByteArray::fromHex("746672 010203ff80 1f");

    auto wrongCheck = [](QByteArray file, int check) {
        file.back() = char(check);
        return file;
    };
    QTest::newRow("configuration, start-up values")
        << QByteArray("tcf") << startUpFile << true << startUp << QByteArray();
    QTest::newRow("configuration, every field")
        << QByteArray("tcf") << everyFile << true << every << QByteArray();
    QTest::newRow("firmware") << QByteArray("tfr") << firmwareFile << true << Settings() << image;
    QTest::newRow("configuration, wrong check byte")
        << QByteArray("tcf") << wrongCheck(startUpFile, 0x54) << false << Settings() << QByteArray();
    QTest::newRow("firmware, wrong check byte")
        << QByteArray("tfr") << wrongCheck(firmwareFile, 0x9f) << false << Settings() << QByteArray();
}

void TstConfigFile::handWritten()
{
    QFETCH(QByteArray, tag);
    QFETCH(QByteArray, file);
    QFETCH(bool, accepted);
    QFETCH(Settings, fields);
    QFETCH(QByteArray, image);
    const ContainerCheck check = CheckContainer(file, tag);
    QVERIFY(check.sizeOk);
    QVERIFY(check.tagOk);
    QCOMPARE(check.checkOk, accepted);
    if (!accepted)
        return; // refused before anything in it is read
    if (tag == "tcf") {
        QCOMPARE(BuildConfigFile(fields), file);
        QCOMPARE(ParseConfigFile(file), fields);
    } else {
        QCOMPARE(FirmwareImage(file), image);
    }
}

void TstConfigFile::roundTrip()
{
    QRandomGenerator rng(1250);
    for (int i = 0; i < 50; ++i) {
        const Settings f = RandomFields(rng);
        const QByteArray file = BuildConfigFile(f);
        const ContainerCheck check = CheckContainer(file, "tcf");
        QVERIFY(check.sizeOk && check.tagOk && check.checkOk);
        QCOMPARE(ParseConfigFile(file), f);
    }
}

void TstConfigFile::checkContainer_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("sizeOk");
    QTest::addColumn<bool>("tagOk");
    QTest::addColumn<bool>("checkOk");

    const QByteArray good = BuildConfigFile({});
    QByteArray badCheck = good;
    badCheck[10] = 1;
    QTest::newRow("good") << good << true << true << true;
    QTest::newRow("firmware tag") << WithCheck("tfr" + good.mid(3, 38)) << true << false << true;
    QTest::newRow("tag in capitals") << WithCheck("TCF" + good.mid(3, 38)) << true << false << true;
    QTest::newRow("data byte changed") << badCheck << true << true << false;
    QTest::newRow("tag and check") << "tfr" + badCheck.mid(3) << true << false << false;
    QTest::newRow("3 bytes") << QByteArray("tcf") << false << true << false;
    QTest::newRow("4 bytes") << WithCheck("tcf") << true << true << true;
    QTest::newRow("16385 bytes") << WithCheck("tcf" + QByteArray(16381, 'x')) << true << true << true;
    QTest::newRow("16386 bytes") << WithCheck("tcf" + QByteArray(16382, 'x')) << false << true << true;
    QTest::newRow("2 bytes") << QByteArray("tc") << false << false << false;
    QTest::newRow("empty") << QByteArray() << false << false << false;
}

void TstConfigFile::checkContainer()
{
    QFETCH(QByteArray, file);
    const ContainerCheck check = CheckContainer(file, "tcf");
    QTEST(check.sizeOk, "sizeOk");
    QTEST(check.tagOk, "tagOk");
    QTEST(check.checkOk, "checkOk");
}

void TstConfigFile::fieldsMustEndBeforeCheckByte()
{
    Settings f;
    f.in4n = "abc";
    const QByteArray data = BuildConfigFile(f).chopped(1);

    // Every shorter file misses a field, wherever it is cut.
    for (qsizetype size = 0; size < data.size(); ++size)
        QVERIFY2(!ParseConfigFile(WithCheck(data.first(size))), qPrintable(QString::number(size)));

    // The last text's length running onto the check byte, or past the end.
    const qsizetype in4nLength = data.size() - 5;
    for (int length : {4, 5, 255}) {
        QByteArray longer = data;
        longer[in4nLength] = static_cast<char>(length);
        QVERIFY(!ParseConfigFile(WithCheck(longer)));
    }

    // Bytes after the last field are left alone.
    QCOMPARE(ParseConfigFile(WithCheck(data + "extra")), f);
}

void TstConfigFile::randomAndMutatedFiles()
{
    QRandomGenerator rng(42);
    int parsed = 0;
    for (int i = 0; i < 3000; ++i) {
        const QByteArray file =
            i % 4 == 0 ? RandomBytes(rng, rng.bounded(80)) : Mutate(rng, BuildConfigFile(RandomFields(rng)));
        const auto fields = ParseConfigFile(file);
        if (!fields)
            continue;
        ++parsed;
        QCOMPARE(ParseConfigFile(BuildConfigFile(*fields)), fields);
    }
    // Both outcomes must have been exercised.
    QVERIFY(parsed > 100);
    QVERIFY(parsed < 2900);
}

QTEST_GUILESS_MAIN(TstConfigFile)
#include "tst_configfile.moc"
