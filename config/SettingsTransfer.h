#pragma once
// Reading and writing all twenty settings, item by item in table order, over
// the device link. The front ends (the window, tq3ctl) hear of each item as it
// is answered and show the progress their own way.
#include "config/ConfigItems.h"

#include <QString>

namespace tq3 {

class DeviceLink;

class TransferListener
{
public:
    virtual ~TransferListener() = default;
    // The item has been answered; progress in percent, as the progress bar shows it.
    virtual void ItemDone(const ConfigItem& item, int progress) = 0;
    // The item went unanswered after its resends: the link has told the user
    // and logged out, and the transfer stops here.
    virtual void ItemUnanswered(const ConfigItem& /*item*/, int /*progress*/) {}
};

class ReadAllSettings
{
public:
    ReadAllSettings(DeviceLink& link, TransferListener& listener) : link_(link), listener_(listener) {}
    // True once every item has been answered; the values are in Received().
    bool Run();
    const Settings& Received() const { return received_; }
    // The item the transfer stopped at; null when none.
    const ConfigItem* FailedAt() const { return failedAt_; }

private:
    DeviceLink& link_;
    TransferListener& listener_;
    Settings received_;
    const ConfigItem* failedAt_ = nullptr;
};

class WriteAllSettings
{
public:
    WriteAllSettings(DeviceLink& link, TransferListener& listener) : link_(link), listener_(listener) {}
    // Empty when every item can go as the record holds it; otherwise why the
    // first one cannot. Nothing is to be sent then.
    static QString Refusal(const Settings& settings);
    // True once every item's write has been answered.
    bool Run(const Settings& settings);
    const ConfigItem* FailedAt() const { return failedAt_; }

private:
    DeviceLink& link_;
    TransferListener& listener_;
    const ConfigItem* failedAt_ = nullptr;
};

} // namespace tq3
