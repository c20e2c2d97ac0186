// Entry point of ordivan-cli: Qt Gui without a display, messages on the error stream.
#include "app/Cli.h"
#include "ui/qt/HeadlessServices.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    // Numbers in our files always use a decimal point, whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");
    std::vector<std::string> args(argv + 1, argv + argc);
    ui::qt::HeadlessServices services(std::cerr);
    return app::runCli(args, services, std::cout, std::cerr);
}
