#pragma once
#include <QString>
#include <memory>

#include "app/ProgramContext.h"

class CMainFrame;

// The application's font becomes the system's Japanese UI font, where the platform
// names one; the size stays the system's.
void UseJapaneseUiFont();

// "Veradune ver1.0.0.1": the main window's caption and the about box's version line.
QString VersionText();

// The program's start: the main window is built, the settings and the product
// data are loaded (from the saved pages, or by a first download), and the window
// is shown under the version caption. Null when the program was asked to end
// before the window could be shown; the settings have then been saved.
std::unique_ptr<CMainFrame> InitInstance(const ProgramContext& context);
