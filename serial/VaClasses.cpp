#include "VaClasses.h"

#include <typeinfo>

void TVaPersistent::Assign(const TVaPersistent& Source)
{
    if (typeid(Source) != typeid(*this))
        throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                                .arg(QLatin1String(Source.ClassName()), QLatin1String(ClassName())));
    BeginUpdate();
    try {
        AssignValues(Source);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TVaPersistent::EndUpdate()
{
    if (updateCount_ > 0)
        --updateCount_;
    Changed();
}

void TVaPersistent::Changed()
{
    if (updateCount_ == 0 && onChange_)
        onChange_(this);
}
