#pragma once
#include <QIcon>

// The program's artwork from the resource file: the 16 by 16 toolbar button images
// and the program icon.
QIcon UpdateListIcon();
QIcon StartFilterIcon();
QIcon ClearFilterIcon();
QIcon CityFilterIcon();
QIcon CheapestOnlyIcon();
QIcon ChangedOnlyIcon();
QIcon ProgramIcon();
