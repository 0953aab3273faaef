// The program's icon: a PIC chip whose body carries a few coloured lines of code. It is drawn
// from one list of shapes, both as SVG text and as pixels, so the scalable icon and every
// bitmap size installed for the desktop show the same picture.
#pragma once

#include <QImage>
#include <QString>

// The icon at size by size pixels, on a transparent background.
QImage renderAppIcon(int size);

// The icon as a standalone SVG document (a 64 by 64 view box).
QString appIconSvg();
