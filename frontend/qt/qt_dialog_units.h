// Dialog templates' units in pixels, and their fonts, for the Qt dialogs.
#pragma once
#include <QRect>
#include <QWidget>

// Dialog units of an 8-point "MS Sans Serif" dialog (base units 6 x 13) and
// of the 10-point progress dialog (7 x 16), in pixels.
inline QRect dialogUnits(int x, int y, int width, int height, double unitX, double unitY) {
    return QRect(int(x * unitX), int(y * unitY), int(width * unitX), int(height * unitY));
}
inline QRect smallDialogUnits(int x, int y, int width, int height) {
    return dialogUnits(x, y, width, height, 1.5, 1.625);
}
inline QRect progressUnits(int x, int y, int width, int height) {
    return dialogUnits(x, y, width, height, 1.75, 2.0);
}
// The templates' fonts in pixels: the layouts above are sized for them, and the
// desktop's larger default font would cut the labels.
constexpr int SMALL_DIALOG_FONT_PIXELS = 11;
constexpr int PROGRESS_FONT_PIXELS = 13;
inline void setFontPixels(QWidget* widget, int pixels) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}
