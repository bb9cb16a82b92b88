// tq3ctl: the TQ-3 controller from the command line.
#include "Commands.h"
#include "Terminal.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tq3ctl::InstallInterruptHandler();
    return tq3ctl::Main(QCoreApplication::arguments(), QProcessEnvironment::systemEnvironment());
}
