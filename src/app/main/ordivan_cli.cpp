// Entry point of ordivan-cli: Qt Gui without a display, messages on the error stream.
#include "app/Cli.h"
#include "ui/qt/HeadlessServices.h"

#include <QGuiApplication>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <iostream>

// The error stream carries the system's own messages only; the platform's chatter is dropped.
static void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::cerr << message.toStdString() << std::endl;
}

// Ctrl+C asks the run to stop cleanly; a second one ends the program at once (the temporaries have no
// name, so nothing is left behind either way).
static void interrupted(int) { app::requestInterrupt(); }

int main(int argc, char** argv) {
    struct sigaction action {};
    action.sa_handler = interrupted;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    qInstallMessageHandler(quietQtMessages);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    // Numbers in our files always use a decimal point, whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    std::vector<std::string> args(argv + 1, argv + argc);
    ui::qt::HeadlessServices services(std::cerr);
    return app::runCli(args, services, std::cout, std::cerr);
}
