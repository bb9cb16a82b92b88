#pragma once
// Pictures drawn by the program itself.
#include <QPixmap>

// 32 x 32, 24-bit: reading the configuration from the controller.
QPixmap ReadFromControllerPicture();
// 32 x 32, 24-bit: writing the configuration to the controller.
QPixmap WriteToControllerPicture();
// 9 x 6 arrows of the spin buttons.
QPixmap SpinArrowPicture(bool up, bool enabled = true);
