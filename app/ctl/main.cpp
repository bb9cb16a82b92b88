// tq3ctl: the TQ-3 controller from the command line.
#include "Commands.h"
#include "Terminal.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstring>
#include <memory>

int main(int argc, char* argv[])
{
    // Drawing a chart needs Qt's fonts and so a GUI application; it needs no display,
    // so unless told otherwise it uses the offscreen platform. The other commands
    // start without either.
    bool draws = false;
    for (int i = 1; i < argc; ++i)
        draws = draws || std::strcmp(argv[i], "plot") == 0 || std::strncmp(argv[i], "--plot", 6) == 0;
    if (draws && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app = draws ? std::make_unique<QGuiApplication>(argc, argv)
                                                        : std::make_unique<QCoreApplication>(argc, argv);
    tq3ctl::InstallInterruptHandler();
    return tq3ctl::Main(QCoreApplication::arguments(), QProcessEnvironment::systemEnvironment());
}
