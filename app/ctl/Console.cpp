#include "Console.h"

#include <cstdio>

namespace tq3ctl {

namespace {

constexpr int BarWidth = 30;

} // namespace

Console::Console(bool quiet, bool progressOnTerminal) : quiet_(quiet), bar_(progressOnTerminal && !quiet) {}

tq3::MessageResult Console::Message(tq3::MessageKind kind, const QString& text, tq3::MessageButtons,
                                    const QString& detail)
{
    if (kind == tq3::MessageKind::Information && quiet_)
        return tq3::MessageResult::Ok;
    ClearBar();
    const QString line = subject_.isEmpty() ? text : subject_ + QStringLiteral(": ") + text;
    std::fprintf(stderr, "tq3ctl: %s\n", line.toUtf8().constData());
    if (!detail.isEmpty())
        std::fprintf(stderr, "tq3ctl: %s\n", detail.toUtf8().constData());
    std::fflush(stderr);
    return tq3::MessageResult::Ok;
}

void Console::StartProgress(const QString& label)
{
    label_ = label;
    percent_ = -1;
    progressing_ = true;
    SetProgress(0);
}

void Console::SetProgress(int percent)
{
    if (!bar_ || !progressing_ || (percent == percent_ && barShown_))
        return;
    percent_ = qBound(0, percent, 100);
    DrawBar();
}

void Console::EndProgress()
{
    ClearBar();
    progressing_ = false;
}

void Console::DrawBar()
{
    const int filled = percent_ * BarWidth / 100;
    const QString line =
        QStringLiteral("\r%1 [%2%3] %4%")
            .arg(label_, QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('.')))
            .arg(percent_, 3);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
    barShown_ = true;
}

void Console::ClearBar()
{
    if (!barShown_)
        return;
    // Back to the line's start and erase it, so that a message stands alone.
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    barShown_ = false;
}

bool Console::Out(const QString& text)
{
    return OutBytes(text.toUtf8());
}

bool Console::OutBytes(const QByteArray& bytes)
{
    ClearBar();
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    const bool flushed = std::fflush(stdout) == 0;
    if (progressing_ && bar_ && percent_ >= 0)
        DrawBar();
    return written && flushed;
}

} // namespace tq3ctl
