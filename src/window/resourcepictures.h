#pragma once

#include <QPixmap>
#include <QString>

// The one place where the window reads its pictures out of the program's
// resources: the relay, input and gate pictures by type and id, the logo and
// the background. A missing picture gives a null pixmap and an empty image.
namespace ResourcePictures {
QPixmap picture(const QString &type, int id);
QPixmap logo();
QPixmap background();
} // namespace ResourcePictures
