#include "chart/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace chart {

const std::vector<TColor>& PaletteColors(int index) {
    static const std::vector<TColor> kPalette13 = {
        0xA36644, 0x359CF3, 0x144CF1, 0xA8974E, 0x6B402B, 0x637B1D,
        0x0E08B3, 0x5DC0F2, 0x9EB75D, 0x707070, 0x8DEAF3, 0xB4B4B4,
    };
    static const std::vector<TColor> kUnknown;
    return index == 13 ? kPalette13 : kUnknown;
}

QColor ToQColor(TColor color) {
    if (color == clBtnFace) {
        // The face colour of the desktop's windows: the one role that the window, its group
        // boxes and the chart's panel all paint with, so that the panel matches the window
        // behind it under any theme (themes may give buttons a shade of their own). Without
        // a GUI application, the classic grey.
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return QGuiApplication::palette().color(QPalette::Active, QPalette::Window);
        return QColor(0xF0, 0xF0, 0xF0);
    }
    const int r = color & 0xFF;
    const int g = (color >> 8) & 0xFF;
    const int b = (color >> 16) & 0xFF;
    const int transparency = (color >> 24) & 0xFF;
    return QColor(r, g, b, 255 - transparency);
}

}  // namespace chart
