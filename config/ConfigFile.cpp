#include "config/ConfigFile.h"

namespace tq3 {

namespace {

const QByteArray ConfigTag = QByteArrayLiteral("tcf");

// Reserved fields the controller's files have always carried; written as they
// always were and skipped on loading.
constexpr int ReservedAfterStatusQuery = 4; // fields 16 to 19, empty strings
const QByteArray ReservedString5 = QByteArray(1, 5) + QByteArray(5, '\0');
constexpr int ReservedFiveCount = 3;
constexpr char ReservedTwelve = 12;

class Writer
{
public:
    explicit Writer(QByteArray& out) : out_(out) {}
    void Byte(quint8 b) { out_.append(static_cast<char>(b)); }
    // The length byte keeps the low 8 bits only; callers keep texts short enough.
    void String(const QByteArray& text)
    {
        Byte(static_cast<quint8>(text.size()));
        out_.append(text);
    }

private:
    QByteArray& out_;
};

// Reads fields up to, never onto, the check byte; once a field does not fit
// every later read fails too.
class Reader
{
public:
    Reader(const QByteArray& file, qsizetype from) : file_(file), pos_(from), end_(file.size() - 1) {}
    bool Ok() const { return ok_; }
    quint8 Byte()
    {
        if (!ok_ || pos_ >= end_) {
            ok_ = false;
            return 0;
        }
        return static_cast<quint8>(file_[pos_++]);
    }
    QByteArray String()
    {
        const quint8 length = Byte();
        if (!ok_ || length > end_ - pos_) {
            ok_ = false;
            return {};
        }
        const QByteArray text = file_.mid(pos_, length);
        pos_ += length;
        return text;
    }
    void Skip(int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            Byte();
    }

private:
    const QByteArray& file_;
    qsizetype pos_;
    qsizetype end_; // the check byte
    bool ok_ = true;
};

} // namespace

quint8 XorCheck(const QByteArray& bytes)
{
    quint8 x = 0;
    for (const char b : bytes)
        x ^= static_cast<quint8>(b);
    return x;
}

ContainerCheck CheckContainer(const QByteArray& file, const QByteArray& tag)
{
    ContainerCheck check;
    check.sizeOk = file.size() >= ContainerMinSize && file.size() <= ContainerMaxSize;
    check.tagOk = file.size() >= 3 && file.first(3) == tag;
    check.checkOk = !file.isEmpty() && static_cast<quint8>(file.back()) == XorCheck(file.chopped(1));
    return check;
}

QByteArray BuildConfigFile(const Settings& f)
{
    QByteArray out = ConfigTag;
    Writer w(out);
    w.String(f.password);
    w.String(f.pin);
    w.String(f.smsCentre);
    for (const QByteArray& tel : f.tel)
        w.String(tel);
    w.String(f.in1n);
    w.String(f.in2n);
    w.String(f.in1a);
    w.String(f.in2a);
    w.String(f.in3a);
    w.String({});
    w.String(f.out2zal);
    for (int i = 0; i < ReservedAfterStatusQuery; ++i)
        w.String({});
    out.append(ReservedString5);
    out.append(QByteArray(ReservedFiveCount, 5));
    w.Byte(f.smsLimit);
    w.Byte(f.voiceLimit);
    w.Byte(ReservedTwelve);
    w.String({});
    w.Byte(f.tempMin);
    w.Byte(f.tempMax);
    w.Byte(f.korekta);
    w.Byte(f.interval);
    // The battery pair is stored normal state first, unlike the other pairs.
    w.String(f.in4a);
    w.String(f.in4n);
    w.Byte(f.callOnAlarm);
    w.Byte(XorCheck(out));
    return out;
}

std::optional<Settings> ParseConfigFile(const QByteArray& container)
{
    // Every field must lie before the check byte. Bytes left between the last
    // field and the check byte are accepted: loading has never looked at them.
    Reader r(container, 3);
    Settings f;
    f.password = r.String();
    f.pin = r.String();
    f.smsCentre = r.String();
    for (QByteArray& tel : f.tel)
        tel = r.String();
    f.in1n = r.String();
    f.in2n = r.String();
    f.in1a = r.String();
    f.in2a = r.String();
    f.in3a = r.String();
    r.String();
    f.out2zal = r.String();
    for (int i = 0; i < ReservedAfterStatusQuery; ++i)
        r.String();
    r.String(); // the reserved string of length 5, whatever its length
    r.Skip(ReservedFiveCount);
    f.smsLimit = r.Byte();
    f.voiceLimit = r.Byte();
    r.Skip(1);
    r.String();
    f.tempMin = r.Byte();
    f.tempMax = r.Byte();
    f.korekta = r.Byte();
    f.interval = r.Byte();
    f.in4a = r.String();
    f.in4n = r.String();
    f.callOnAlarm = r.Byte();
    if (!r.Ok())
        return std::nullopt;
    return f;
}

} // namespace tq3
