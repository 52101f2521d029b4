#pragma once

#include <QSize>

class PictureBox;
class QDialog;
class QWidget;

/// The layout that the zoom window and the cover slideshow share: a centred
/// panel panContainer holding the picture box imgFoto, both sized from the
/// screen, and a click on either closing the window.
namespace FullScreenPicture {

/// The picture area for a screen of the given size: 60 narrower, 90 lower.
QSize areaFor(const QSize &screen);

/// Builds panContainer and imgFoto on window; a click on either closes it.
PictureBox *build(QDialog *window);

/// Sizes panContainer and imgFoto from the screen the window is on.
void fitToScreen(QDialog *window);

} // namespace FullScreenPicture
