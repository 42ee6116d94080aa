// Picture files replace only regular files: a link is followed to its regular file, and a
// target that is a fifo, a device or a directory is refused and left as it was.

#include "picturefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

bool writeText(const QString& path, const QByteArray& text)
{
    return writePictureFile(path, [&text](QIODevice& file) {
        return file.write(text) == text.size();
    }).isEmpty();
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool isFifo(const QString& path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

} // namespace

TEST(PictureFile, ALinkIsFollowedToTheRegularFileItNames)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("image.png");
    const QString link = dir.filePath("latest.png");
    ASSERT_TRUE(writeText(target, "old"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_TRUE(writeText(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink()); // still a link, to the rewritten file
    EXPECT_EQ(contentsOf(target), "new");
}

TEST(PictureFile, AFifoOrADirectoryIsRefusedDirectlyOrThroughALink)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_TRUE(QFile::link(fifo, dir.filePath("to-pipe.png")));
    ASSERT_TRUE(QFile::link(folder, dir.filePath("to-folder.png")));

    const std::pair<QString, QString> refused[]
        = { { fifo, "fifo" }, { dir.filePath("to-pipe.png"), "fifo" }, { folder, "directory" },
              { dir.filePath("to-folder.png"), "directory" } };
    for (const auto& [path, kind] : refused) {
        SCOPED_TRACE(path.toStdString());
        const QString failure
            = writePictureFile(path, [](QIODevice& file) { return file.write("x") == 1; });
        EXPECT_TRUE(failure.contains(kind)) << failure.toStdString();
    }
    EXPECT_TRUE(isFifo(fifo));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
    // Nothing was left beside them either.
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(),
        4);
}
