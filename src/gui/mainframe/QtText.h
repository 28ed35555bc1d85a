#pragma once
#include <QString>
#include <string>

// The one crossing between the program's Shift-JIS text and the toolkit's strings.
QString ToQString(const std::string& sjis);
std::string FromQString(const QString& text);
