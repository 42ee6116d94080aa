#pragma once
// A temporary run directory beside an output tree, as the solver and the viewers expect:
//   <tmp>/run/      the working directory of a viewer
//   <tmp>/output/   its data files ("../output/..." from run/)
// Removed with everything in it when the FixtureTree goes out of scope.

#include <QDir>
#include <QString>
#include <QTemporaryDir>

class FixtureTree {
public:
    FixtureTree();

    QDir runDir() const;
    QString root() const { return dir.path(); }
    // The absolute path of relativePath below the output tree.
    QString outputPath(const QString& relativePath) const;
    // Writes text as the file at relativePath below the output tree, creating its folders.
    void write(const QString& relativePath, const QByteArray& text) const;
    // Creates the folder at relativePath below the output tree.
    void makeDir(const QString& relativePath) const;

private:
    QTemporaryDir dir;
};

// The working directory of the test process, changed for the lifetime of the object (the
// viewers read "../output/..." relative to it).
class WorkingDirectory {
public:
    explicit WorkingDirectory(const QDir& dir)
        : previous(QDir::currentPath())
    {
        QDir::setCurrent(dir.path());
    }
    ~WorkingDirectory() { QDir::setCurrent(previous); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    QString previous;
};
