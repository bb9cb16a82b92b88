#include "firmware/FirmwareUpload.h"

#include "firmware/FirmwareBlocks.h"
#include "link/DeviceLink.h"

#include <thread>

namespace tq3 {

namespace {

constexpr quint16 AcknowledgementTicks = 10;
// Not an acknowledgement: set between blocks, so that each block needs a "!" of its own.
constexpr char NoAcknowledgement = ',';

// The bootloader is given these pauses whole; nothing in them needs the window.
void Sleep(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

bool FirmwareUpload::WaitForAcknowledgement(const QByteArray& payload, int& resendsLeft)
{
    return link_.Await(
        AcknowledgementTicks, [this] { return link_.LastSingleByte() == BlockAcknowledgement; },
        [&] {
            if (resendsLeft == 0)
                return false;
            --resendsLeft;
            link_.SendCommand(CodeBlock, payload);
            LetMessagesRun();
            return true;
        });
}

bool FirmwareUpload::Run(const QByteArray& container)
{
    const QByteArray image = FirmwareImage(container);
    if (image.isEmpty())
        return false;
    const qint64 n = container.size();
    listener_.Starting();
    // A lone "!" from before the restart (a status answer's last byte read on
    // its own) is no acknowledgement; one that comes during the pause is.
    link_.SetLastSingleByte(NoAcknowledgement);
    link_.SendCommand(CodeRestart, QByteArrayLiteral("B"));
    Sleep(timing_.restartMs);

    int resendsLeft = 2; // for the whole transfer, not per block
    bool failed = false;
    for (int k = 0;; ++k) {
        const QByteArray payload = FirmwareBlockPayload(image, k);
        const qint64 placed = qMin<qint64>(image.size(), qint64(k + 1) * FirmwareBlockSize);
        const bool last = placed == image.size();
        link_.SendCommand(CodeBlock, payload);
        failed = !WaitForAcknowledgement(payload, resendsLeft);
        link_.SetLastSingleByte(NoAcknowledgement);
        listener_.Progress(int(placed * 100 / n));
        LetMessagesRun();
        if (last || failed)
            break;
    }
    if (failed) {
        listener_.Failed();
    } else {
        listener_.Progress(100);
        Sleep(timing_.closingMs);
        link_.SendCommand(CodeClosing, QByteArrayLiteral("K"));
        listener_.Completed();
    }
    Sleep(timing_.finalMs);
    return !failed;
}

} // namespace tq3
