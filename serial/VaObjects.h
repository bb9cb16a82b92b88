#pragma once
// Small wrappers of operating-system objects: a handle owner, a manual-reset event
// that threads wait on, and a critical section.

#include "VaTypes.h"

#include <mutex>

using TVaHandle = int;
inline constexpr TVaHandle VaInvalidHandle = -1;

// Owns one operating-system handle and closes it when destroyed.
class TVaHandleObject
{
public:
    TVaHandleObject() = default;
    virtual ~TVaHandleObject();
    TVaHandleObject(const TVaHandleObject&) = delete;
    TVaHandleObject& operator=(const TVaHandleObject&) = delete;

    TVaHandle Handle() const { return handle_; }
    // Waits until the object is signalled, at most Milliseconds (negative: no limit).
    TVaWaitResult WaitFor(qint32 Milliseconds);
    // The operating-system error code of the last failed wait.
    int LastError() const { return lastError_; }

protected:
    TVaHandle handle_ = VaInvalidHandle;
    int lastError_ = 0;
};

class TVaEvent : public TVaHandleObject
{
public:
    void Signal();
    void Reset();
};

// An unnamed, manual-reset event, created non-signalled: it stays signalled until reset,
// and every waiter sees it.
class TVaWaitEvent : public TVaEvent
{
public:
    TVaWaitEvent();
};

class TVaCriticalSection
{
public:
    void Enter() { mutex_.lock(); }
    void Leave() { mutex_.unlock(); }
    // Lets the section be held by std::lock_guard.
    void lock() { Enter(); }
    void unlock() { Leave(); }

private:
    std::mutex mutex_;
};
