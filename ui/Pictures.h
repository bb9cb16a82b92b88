#pragma once
// Pictures drawn by the program itself. Each is drawn for a device pixel
// ratio: at 1 it is the picture as designed; at 2 or more each of its pixels
// is a solid block of screen pixels, so it keeps its look and stays sharp
// (shading and the slopes of the spin arrows come out in finer steps).
#include <QIcon>
#include <QPixmap>

// 32 x 32, 24-bit: reading the configuration from the controller.
QPixmap ReadFromControllerPicture(qreal ratio = 1);
// 32 x 32, 24-bit: writing the configuration to the controller.
QPixmap WriteToControllerPicture(qreal ratio = 1);
// The two above for every screen the program can meet: 1, 2 and 3 times,
// and the ratio the application runs at.
QIcon ReadFromControllerIcon();
QIcon WriteToControllerIcon();
// 9 x 6 arrows of the spin buttons.
QPixmap SpinArrowPicture(bool up, bool enabled = true, qreal ratio = 1);
