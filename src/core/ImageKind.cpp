#include "ImageKind.h"

#include <QFileInfo>

namespace korvan {

int ImageKindOfFile(const QString &fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext == QLatin1String("bmp")) return 1;
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) return 2;
    if (ext == QLatin1String("gif")) return 3;
    return 0;
}

} // namespace korvan
