#include "fixturetree.h"

#include <QFile>
#include <QFileInfo>

#include <stdexcept>

FixtureTree::FixtureTree()
{
    if (!dir.isValid() || !QDir(dir.path()).mkpath(QStringLiteral("run"))
        || !QDir(dir.path()).mkpath(QStringLiteral("output")))
        throw std::runtime_error("cannot create a temporary fixture tree");
}

QDir FixtureTree::runDir() const
{
    return QDir(dir.filePath(QStringLiteral("run")));
}

QString FixtureTree::outputPath(const QString& relativePath) const
{
    return dir.filePath(QStringLiteral("output/") + relativePath);
}

void FixtureTree::write(const QString& relativePath, const QByteArray& text) const
{
    const QString path = outputPath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        throw std::runtime_error("cannot write fixture file " + path.toStdString());
}

void FixtureTree::makeDir(const QString& relativePath) const
{
    QDir().mkpath(outputPath(relativePath));
}
