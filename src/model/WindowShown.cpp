// The rules that change what the main window shows when the plan changes or the drawing surface is wiped.
#include "model/WindowShown.h"

namespace model {

void closeResultMenus(WindowShown& shown) {
    shown.maxLuxLabel.clear();
    shown.reflectionLabel.clear();
    shown.pointLuxLabel.clear();
    shown.menus.redisplayLux = false;
    shown.menus.redisplayColorTemp = false;
    shown.menus.dxfSaveResult = false;
    shown.menus.csvOutput = false;
    shown.menus.gridPrint = true;
}

void surfaceWiped(WindowShown& shown) {
    shown.resultShown = false;
    shown.menus.print = false;
    shown.menus.deleteGrid = false;
    shown.menus.deleteBackground = false;
    shown.menus.gridPrint = true;
    shown.menus.scaleSet = true;
    shown.bikouLabel.clear();
}

} // namespace model
