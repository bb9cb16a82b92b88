#include "VaPrst.h"

void TVaFlowControl::AssignValues(const TVaPersistent& Source)
{
    const auto& s = static_cast<const TVaFlowControl&>(Source);
    SetOutCtsFlow(s.outCtsFlow_);
    SetOutDsrFlow(s.outDsrFlow_);
    SetControlDtr(s.controlDtr_);
    SetControlRts(s.controlRts_);
    SetXonXoffOut(s.xonXoffOut_);
    SetXonXoffIn(s.xonXoffIn_);
    SetDsrSensitivity(s.dsrSensitivity_);
    SetTxContinueOnXoff(s.txContinueOnXoff_);
}

void TVaEventChars::SetChar(int index, char value)
{
    if (index < XonIndex || index > EofIndex)
        return;
    chars_[index - 1] = value;
    Changed();
}

void TVaEventChars::AssignValues(const TVaPersistent& Source)
{
    const auto& s = static_cast<const TVaEventChars&>(Source);
    for (int i = XonIndex; i <= EofIndex; ++i)
        SetChar(i, s.chars_[i - 1]);
}

void TVaBuffers::SetReadSize(TVaIntW v)
{
    v = qMax(0, v);
    if (v == readSize_)
        return;
    readSize_ = v;
    Changed();
}

void TVaBuffers::SetWriteSize(TVaIntW v)
{
    v = qMax(0, v);
    if (v == writeSize_)
        return;
    writeSize_ = v;
    Changed();
}

void TVaBuffers::AssignValues(const TVaPersistent& Source)
{
    const auto& s = static_cast<const TVaBuffers&>(Source);
    readSize_ = s.readSize_;
    writeSize_ = s.writeSize_;
    readTimeout_ = s.readTimeout_;
    writeTimeout_ = s.writeTimeout_;
}
