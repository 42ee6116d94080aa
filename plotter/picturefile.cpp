#include "picturefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

#include <sys/stat.h>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PictureFile", text);
}

// The file that path names, links followed; a link to nothing names the file it would create.
QString resolvedTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    return info.isSymLink() ? info.symLinkTarget() : path;
}

// Why target cannot be replaced by a picture, if it cannot: a picture file only ever replaces a
// regular file. Renaming a new file over a device, a fifo or a socket would destroy it, and a
// directory is no picture.
std::optional<QString> unsuitableTarget(const QString& target)
{
    struct stat status { };
    if (::stat(QFile::encodeName(target).constData(), &status) != 0)
        return std::nullopt; // nothing there yet (or unreachable: the write reports that)
    if (S_ISREG(status.st_mode))
        return std::nullopt;
    if (S_ISDIR(status.st_mode))
        return tr("it is a directory, not a regular file");
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))
        return tr("it is a device, not a regular file");
    if (S_ISFIFO(status.st_mode))
        return tr("it is a fifo, not a regular file");
    return tr("it is not a regular file");
}

} // namespace

QString writePictureFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    if (path.isEmpty())
        return tr("no file name is set");
    const QString target = resolvedTarget(path);
    if (const std::optional<QString> refusal = unsuitableTarget(target))
        return *refusal;
    // Written beside the target and renamed over it: the link, if any, stays a link.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!write(file)) {
        file.cancelWriting();
        return tr("the picture could not be drawn into the file");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
