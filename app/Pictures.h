// The window's pictures, drawn in code: the two 33 x 33 device status
// pictures and the two 16 x 16 button pictures.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace app {

inline constexpr int kStatusPictureSize = 33;
inline constexpr int kButtonPictureSize = 16;

// Green key cap with a white ring of dots: a pedal is connected.
QPixmap ConnectedPicture();
// Red key cap with a white cross: no pedal found.
QPixmap NotFoundPicture();
// Blue check mark, on "Write in".
QIcon WriteInIcon();
// Blue circular arrow, on "Read out".
QIcon ReadOutIcon();

}  // namespace app
