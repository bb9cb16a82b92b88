#include "VaUtils.h"

#include <QCoreApplication>

#include <chrono>
#include <mutex>

namespace {

std::mutex& TickMutex()
{
    static std::mutex m;
    return m;
}

std::function<quint32()>& TickSource()
{
    static std::function<quint32()> source;
    return source;
}

TVaExceptionHandler& ApplicationHandler()
{
    static TVaExceptionHandler handler;
    return handler;
}

} // namespace

quint32 VaGetTickCount()
{
    {
        std::lock_guard lock(TickMutex());
        if (TickSource())
            return TickSource()();
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<quint32>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void VaSetTickSource(std::function<quint32()> source)
{
    std::lock_guard lock(TickMutex());
    TickSource() = std::move(source);
}

int VaOsThreadPriority(TThreadPriority p)
{
    static constexpr int table[] = {-15, -2, -1, 0, 1, 2, 15};
    return table[p];
}

QThread::Priority VaQtThreadPriority(TThreadPriority p)
{
    static constexpr QThread::Priority table[] = {QThread::IdlePriority,        QThread::LowestPriority,
                                                  QThread::LowPriority,         QThread::NormalPriority,
                                                  QThread::HighPriority,        QThread::HighestPriority,
                                                  QThread::TimeCriticalPriority};
    return table[p];
}

QString VaFormatMessage(const char* templ, int code, const QString& text)
{
    QString out;
    const QString t = QCoreApplication::translate("VaConst", templ);
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == u'%' && i + 1 < t.size()) {
            const QChar c = t[i + 1];
            if (c == u'd') {
                out += QString::number(code);
                ++i;
                continue;
            }
            if (c == u's') {
                out += text;
                ++i;
                continue;
            }
        }
        out += t[i];
    }
    return out;
}

QString VaFormatDeviceName(const QString& deviceName, qint32 portNum)
{
    QString out;
    bool used = false;
    for (qsizetype i = 0; i < deviceName.size(); ++i) {
        if (deviceName[i] == u'%' && i + 1 < deviceName.size()) {
            const QChar c = deviceName[i + 1];
            if (c == u'%') {
                out += u'%';
                ++i;
                continue;
            }
            if (c == u'd' && !used) {
                out += QString::number(portNum);
                used = true;
                ++i;
                continue;
            }
        }
        out += deviceName[i];
    }
    return out;
}

void VaSetApplicationExceptionHandler(TVaExceptionHandler handler)
{
    ApplicationHandler() = std::move(handler);
}

void VaHandleApplicationException(std::exception_ptr error)
{
    if (ApplicationHandler())
        ApplicationHandler()(error);
}
