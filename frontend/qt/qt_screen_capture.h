// The Qt screen layer's picture, open to the tests: a capture of any image as
// a display of the given depth would hand it out.
#pragma once
#include <QImage>

#include "ui/screen_capture.h"

ScreenCapture* qtScreenCaptureOf(const QImage& picture, int depth);
