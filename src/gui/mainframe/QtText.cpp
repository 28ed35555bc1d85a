#include "mainframe/QtText.h"

#include "shopdata/TextConversion.h"

QString ToQString(const std::string& sjis) {
    return QString::fromUtf8(ShiftJisToUtf8(sjis));
}

std::string FromQString(const QString& text) {
    return ToShiftJis(text.toUtf8().toStdString());
}
