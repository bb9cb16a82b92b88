// Konfigurator TQ-3: the desktop configurator of the TQ-3 controller.
#include "ui/Main.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The window is laid out in pixels for the classic look: sunken edits and
    // group titles on the frame line.
    QApplication::setStyle(QStringLiteral("Windows"));
    QApplication::setApplicationName(QStringLiteral("Konfigurator TQ-3"));
    QApplication::setApplicationVersion(QStringLiteral("2.2"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Konfigurator TQ-3"));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Serial device to choose in the port box."),
                                  QStringLiteral("device"));
    parser.addOption(port);
    parser.process(app);

    TMain::Options options;
    options.port = parser.value(port);
    TMain window(options);
    window.show();
    return QApplication::exec();
}
