// Turns the components' plain values (UTF-8 text, colours, fonts) into Qt's.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "platform/Color.h"
#include "platform/Font.h"

namespace kestrune::qt {

inline QString ToQString(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A plain colour as it is; a system colour (clWindow) as the desktop's palette
// has it; an unknown system colour as parent.
QColor ToQColor(TColor color, const QColor& parent);

// The installed font nearest to the one the layout names, sized in pixels:
// nothing is rescaled to the screen's DPI.
QFont ToQFont(const TFont& font);

}  // namespace kestrune::qt
