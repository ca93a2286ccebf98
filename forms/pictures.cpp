#include "pictures.h"

#include <QtCore/qglobal.h>

#include <mutex>

// Outside any namespace, as the resource initialiser must be.
static void initPicturesResource()
{
    Q_INIT_RESOURCE(pictures);
}

void registerPictures()
{
    static std::once_flag once;
    std::call_once(once, initPicturesResource);
}
