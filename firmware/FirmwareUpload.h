#pragma once
// Sending a firmware image to the controller's bootloader: the restart into
// the bootloader, the blocks each acknowledged by a lone "!", the closing
// command. Two resends in all are allowed for the whole transfer.
#include <QByteArray>

namespace tq3 {

class DeviceLink;

class FirmwareListener
{
public:
    virtual ~FirmwareListener() = default;
    // Just before the restart: the controller must not lose power from now on.
    virtual void Starting() {}
    // After each acknowledged (or finally unacknowledged) block, in percent of the file.
    virtual void Progress(int /*percent*/) {}
    // No acknowledgement after the resends: the transfer has stopped.
    virtual void Failed() {}
    // The closing command has gone out.
    virtual void Completed() {}
};

class FirmwareUpload
{
public:
    // The pauses of the transfer (restart into the bootloader, before the
    // closing command, after the end); tests shorten them.
    struct Timing
    {
        int restartMs = 2000;
        int closingMs = 2000;
        int finalMs = 1000;
    };

    FirmwareUpload(DeviceLink& link, FirmwareListener& listener) : link_(link), listener_(listener) {}
    void SetTiming(const Timing& timing) { timing_ = timing; }

    // Sends the image of a firmware container ("tfr", already checked); true
    // when every block was acknowledged and the closing command sent.
    bool Run(const QByteArray& container);

private:
    bool WaitForAcknowledgement(const QByteArray& payload, int& resendsLeft);

    DeviceLink& link_;
    FirmwareListener& listener_;
    Timing timing_;
};

} // namespace tq3
