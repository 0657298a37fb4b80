// The program's picture as a Qt image, for the About box.
#pragma once
#include <QImage>

QImage aboutPictureImage();
