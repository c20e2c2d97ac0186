// The state the main window starts in: every default of the plan, the display tables and the labels.
#pragma once
#include "catalog/FixtureType.h"
#include "model/Document.h"

namespace app {

struct ScreenInfo {
    int width = 1920;
    int height = 1080;
    int dpi = 96;
};

// Sets every start-up value: the project's settings, colour and level tables, scale, collections, and
// the window's title, labels and menus. The drawing surface has the given size (the window's client area
// less the palette and status panel).
void initialiseDocument(model::Document& doc, model::WindowShown& shown, const ScreenInfo& screen, int surfaceWidth,
                        int surfaceHeight);

// Copies the 60 light colours of 2000 K to 7900 K into the colour-temperature display's table.
void fillCtColour(model::DisplayTables& tables, const catalog::LightColorTable& colours);

// The drawing surface of the headless engine: screen width − 5 by screen height − 180.
inline int cliSurfaceWidth(const ScreenInfo& s) { return s.width - 5; }
inline int cliSurfaceHeight(const ScreenInfo& s) { return s.height - 180; }

} // namespace app
