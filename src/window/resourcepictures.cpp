#include "window/resourcepictures.h"

#include "shell/pictures.h"

namespace ResourcePictures {

QPixmap picture(const QString &type, int id)
{
    return PictureFromBytes(LoadResData(id, type));
}

QPixmap logo()
{
    return LoadResPicture(101);
}

QPixmap background()
{
    return backgroundPicture();
}

} // namespace ResourcePictures
