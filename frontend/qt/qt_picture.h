// The program's picture as a Qt image: About box and window icon.
#pragma once
#include <QImage>

QImage aboutPictureImage();
