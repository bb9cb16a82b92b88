#include "VaObjects.h"

#include "VaOs.h"

TVaHandleObject::~TVaHandleObject()
{
    if (handle_ != VaInvalidHandle)
        VaOs::CloseHandle(handle_);
}

TVaWaitResult TVaHandleObject::WaitFor(qint32 Milliseconds)
{
    const int r = VaOs::WaitAny(&handle_, 1, Milliseconds);
    if (r == 0)
        return waitSignaled;
    if (r == -1)
        return waitTimeout;
    lastError_ = VaOs::LastError();
    return waitFailed;
}

void TVaEvent::Signal()
{
    VaOs::SignalEvent(handle_);
}

void TVaEvent::Reset()
{
    VaOs::ResetEvent(handle_);
}

TVaWaitEvent::TVaWaitEvent()
{
    handle_ = VaOs::CreateEvent();
}
