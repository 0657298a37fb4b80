#include "frontend/qt/qt_picture.h"

#include "frontend/qt/qt_canvas.h"
#include "res/about_picture.h"

QImage aboutPictureImage() {
    QImage image(ABOUT_PICTURE_SIZE, ABOUT_PICTURE_SIZE, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (uint32_t colour : aboutPicturePalette)
        colours.append(qtColour(colour).rgb());
    image.setColorTable(colours);
    for (int y = 0; y < ABOUT_PICTURE_SIZE; ++y)
        for (int x = 0; x < ABOUT_PICTURE_SIZE; ++x)
            image.setPixel(x, y, aboutPicturePixel(x, y));
    return image;
}
