#include "config/CodePage1250.h"

#include <QTest>

using namespace tq3;

class TstCodePage : public QObject
{
    Q_OBJECT

private slots:
    void everyByteRoundTrips();
    void polishLetters_data();
    void polishLetters();
    void refusedCharacters_data();
    void refusedCharacters();
};

void TstCodePage::everyByteRoundTrips()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = FromCp1250(all);
    QCOMPARE(text.size(), 256);
    // Distinct characters: no two bytes may come back as the same one.
    for (int i = 0; i < 256; ++i) {
        QVERIFY(IsCp1250(text[i]));
        QCOMPARE(text.indexOf(text[i]), i);
    }
    bool ok = false;
    QCOMPARE(ToCp1250(text, &ok), all);
    QVERIFY(ok);
    QCOMPARE(FromCp1250("A\x81\x98z"), QStringLiteral("A\uF781\uF798z"));
}

void TstCodePage::polishLetters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("small") << QStringLiteral("ąćęłńóśźż")
                           << QByteArray("\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF");
    QTest::newRow("capital") << QStringLiteral("ĄĆĘŁŃÓŚŹŻ")
                             << QByteArray("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    QTest::newRow("euro, sharp s") << QStringLiteral("€ß") << QByteArray("\x80\xDF");
}

void TstCodePage::polishLetters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    bool ok = false;
    QCOMPARE(ToCp1250(text, &ok), bytes);
    QVERIFY(ok);
    QCOMPARE(FromCp1250(bytes), text);
}

void TstCodePage::refusedCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("o with stroke") << QStringLiteral("abø") << QByteArray("ab");
    QTest::newRow("CJK") << QStringLiteral("ł漢") << QByteArray("\xB3");
    QTest::newRow("private use beside a gap") << QStringLiteral("\uF780") << QByteArray();
    QTest::newRow("outside the BMP") << QStringLiteral("x\U0001F600") << QByteArray("x");
}

void TstCodePage::refusedCharacters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, kept);
    bool ok = true;
    QCOMPARE(ToCp1250(text, &ok), kept);
    QVERIFY(!ok);
    QVERIFY(!IsCp1250(text.back()));
}

QTEST_GUILESS_MAIN(TstCodePage)
#include "tst_codepage.moc"
