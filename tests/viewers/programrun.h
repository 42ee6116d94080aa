#pragma once
// Running one of the suite's programs as a separate process, for tests of what a user sees:
// exit status, standard output and standard error.

#include <QByteArray>
#include <QDir>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ProgramRun {
    bool finished = false; // within the time limit
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The environment of a headless run: the offscreen platform, no display, and a private runtime
// directory (so that the toolkit has nothing to warn about on standard error).
QProcessEnvironment headlessEnvironment(const QString& runtimeDir);

// Runs program with arguments in workingDir, waiting at most timeoutMs; a program still running
// then is killed and reported as not finished.
ProgramRun runProgram(const QString& program, const QStringList& arguments, const QDir& workingDir,
    const QProcessEnvironment& environment, int timeoutMs = 20000);
