#pragma once
#include <QIcon>
#include <QPixmap>

namespace korvan {

// The application's own pictures, drawn at run time: a coloured tile with one
// character for each action, and the banner of the login window and about box.
QIcon actionIcon(int actionCode);
QIcon applicationIcon();
QPixmap bannerPixmap(const QSize &size, qreal devicePixelRatio = 1.0);

} // namespace korvan
