#include "picturefile.h"

#include <QCoreApplication>
#include <QSaveFile>

QString writePictureFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (path.isEmpty())
        return QCoreApplication::translate("PictureFile", "no file name is set");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!write(file)) {
        file.cancelWriting();
        return QCoreApplication::translate(
            "PictureFile", "the picture could not be drawn into the file");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
