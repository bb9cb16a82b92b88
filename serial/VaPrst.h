#pragma once
// The settings objects the serial-port component owns: flow control, special
// characters and queue sizes with time-outs.

#include "VaClasses.h"
#include "VaTypes.h"

class TVaFlowControl : public TVaPersistent
{
public:
    bool OutCtsFlow() const { return outCtsFlow_; }
    bool OutDsrFlow() const { return outDsrFlow_; }
    TVaControlDtr ControlDtr() const { return controlDtr_; }
    TVaControlRts ControlRts() const { return controlRts_; }
    bool XonXoffOut() const { return xonXoffOut_; }
    bool XonXoffIn() const { return xonXoffIn_; }
    bool DsrSensitivity() const { return dsrSensitivity_; }
    bool TxContinueOnXoff() const { return txContinueOnXoff_; }

    void SetOutCtsFlow(bool v) { Store(outCtsFlow_, v); }
    void SetOutDsrFlow(bool v) { Store(outDsrFlow_, v); }
    void SetControlDtr(TVaControlDtr v) { Store(controlDtr_, v); }
    void SetControlRts(TVaControlRts v) { Store(controlRts_, v); }
    void SetXonXoffOut(bool v) { Store(xonXoffOut_, v); }
    void SetXonXoffIn(bool v) { Store(xonXoffIn_, v); }
    void SetDsrSensitivity(bool v) { Store(dsrSensitivity_, v); }
    void SetTxContinueOnXoff(bool v) { Store(txContinueOnXoff_, v); }

protected:
    void AssignValues(const TVaPersistent& Source) override;
    const char* ClassName() const override { return "TVaFlowControl"; }

private:
    template <typename T> void Store(T& field, T v)
    {
        if (field == v)
            return;
        field = v;
        Changed();
    }

    bool outCtsFlow_ = false;
    bool outDsrFlow_ = false;
    TVaControlDtr controlDtr_ = dtrDisabled;
    TVaControlRts controlRts_ = rtsDisabled;
    bool xonXoffOut_ = false;
    bool xonXoffIn_ = false;
    bool dsrSensitivity_ = false;
    bool txContinueOnXoff_ = false;
};

class TVaEventChars : public TVaPersistent
{
public:
    // Indexes of the five characters, as the shared setter takes them.
    enum Index
    {
        XonIndex = 1,
        XoffIndex,
        ErrorIndex,
        EventIndex,
        EofIndex
    };

    char XonChar() const { return chars_[XonIndex - 1]; }
    char XoffChar() const { return chars_[XoffIndex - 1]; }
    char ErrorChar() const { return chars_[ErrorIndex - 1]; }
    char EventChar() const { return chars_[EventIndex - 1]; }
    char EofChar() const { return chars_[EofIndex - 1]; }

    // Stores the character and notifies, changed or not.
    void SetChar(int index, char value);
    void SetXonChar(char v) { SetChar(XonIndex, v); }
    void SetXoffChar(char v) { SetChar(XoffIndex, v); }
    void SetErrorChar(char v) { SetChar(ErrorIndex, v); }
    void SetEventChar(char v) { SetChar(EventIndex, v); }
    void SetEofChar(char v) { SetChar(EofIndex, v); }

protected:
    void AssignValues(const TVaPersistent& Source) override;
    const char* ClassName() const override { return "TVaEventChars"; }

private:
    char chars_[5] = {17, 19, 0, 0, 0};
};

class TVaBuffers : public TVaPersistent
{
public:
    TVaIntW ReadSize() const { return readSize_; }
    TVaIntW WriteSize() const { return writeSize_; }
    TVaIntW ReadTimeout() const { return readTimeout_; }
    TVaIntW WriteTimeout() const { return writeTimeout_; }

    void SetReadSize(TVaIntW v);
    void SetWriteSize(TVaIntW v);
    // The time-outs may change at any time and notify nobody.
    void SetReadTimeout(TVaIntW v) { readTimeout_ = qMax(0, v); }
    void SetWriteTimeout(TVaIntW v) { writeTimeout_ = qMax(0, v); }

protected:
    void AssignValues(const TVaPersistent& Source) override;
    const char* ClassName() const override { return "TVaBuffers"; }

private:
    TVaIntW readSize_ = 4096;
    TVaIntW writeSize_ = 2048;
    TVaIntW readTimeout_ = 1000;
    TVaIntW writeTimeout_ = 1000;
};
