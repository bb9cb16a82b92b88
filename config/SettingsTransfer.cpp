#include "config/SettingsTransfer.h"

#include "link/DeviceLink.h"

namespace tq3 {

namespace {

constexpr quint16 ReadTicks = 10;
// Before each read the window's pending messages run this many times, so that
// the controller has finished with the answer before.
constexpr int PumpsBeforeRead = 251;

} // namespace

bool ReadAllSettings::Run()
{
    failedAt_ = nullptr;
    for (const ConfigItem& item : ConfigItems()) {
        const quint8 code = item.readCode;
        link_.SetPollTicks(0);
        for (int i = 0; i < PumpsBeforeRead; ++i)
            LetMessagesRun();
        link_.SendCommand(code, QByteArrayLiteral("G"));
        const bool answered = link_.WaitAnswer(ReadTicks, code);
        const int progress = code * 100 / 42;
        if (answered) {
            // An answer too short to hold a value leaves the value as it was.
            DecodeItem(item, link_.AnswerData(), received_);
            listener_.ItemDone(item, progress);
        } else {
            failedAt_ = &item;
            listener_.ItemUnanswered(item, progress);
        }
        LetMessagesRun();
        if (!answered)
            return false;
    }
    return true;
}

QString WriteAllSettings::Refusal(const Settings& settings)
{
    for (const ConfigItem& item : ConfigItems())
        if (QString why = RefuseItem(item, settings); !why.isEmpty())
            return why;
    return {};
}

bool WriteAllSettings::Run(const Settings& settings)
{
    failedAt_ = nullptr;
    for (const ConfigItem& item : ConfigItems()) {
        if (!link_.SendAndWait(item.writeCode, EncodeItem(item, settings), item.writeTicks)) {
            failedAt_ = &item;
            return false;
        }
        listener_.ItemDone(item, item.writeProgress);
    }
    return true;
}

} // namespace tq3
