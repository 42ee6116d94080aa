// The viewer programs as a user starts them: a wrong argument count is refused before any
// window opens.

#include "viewerlist.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString programPath(const QString& program)
{
    return QStringLiteral(VIEWER_BIN_DIR "/") + program;
}

} // namespace

TEST(ViewerProcess, AWrongArgumentCountIsRefusedWithTheUsageLineAndStatusOneWithoutAWindow)
{
    const FixtureTree tree;
    const QTemporaryDir runtime;
    const QProcessEnvironment environment = headlessEnvironment(runtime.path());
    for (const ViewerDefinition* viewer : allViewers()) {
        const qsizetype expected = viewer->argumentNames.size();
        const qsizetype most = expected + viewer->optionalArgumentNames.size();
        for (const qsizetype count : { qsizetype(0), expected - 1, most + 1 }) {
            SCOPED_TRACE(viewer->program.toStdString() + " with " + std::to_string(count));
            QStringList arguments;
            for (qsizetype i = 0; i < count; ++i)
                arguments << QString::number(i + 1);
            // A window would keep the event loop running: the run would not finish.
            const ProgramRun run = runProgram(
                programPath(viewer->program), arguments, tree.runDir(), environment, 10000);
            ASSERT_TRUE(run.finished);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(run.err,
                "Bad command line arguments - FIXME!!!\n" + usageLine(*viewer).toUtf8() + "\n");
            EXPECT_EQ(run.out, "");
        }
    }
}

TEST(ViewerProcess, WithoutADisplayAViewerSaysSoInOneLineAndEndsWithStatusOne)
{
    const FixtureTree tree;
    const QTemporaryDir runtime;
    QProcessEnvironment environment = headlessEnvironment(runtime.path());
    // The toolkit's own choice of platform, which needs a display.
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
    for (const ViewerDefinition* viewer : allViewers()) {
        const qsizetype expected = viewer->argumentNames.size();
        for (const qsizetype count : { expected - 1, expected }) {
            SCOPED_TRACE(viewer->program.toStdString() + " with " + std::to_string(count));
            const ProgramRun run = runProgram(programPath(viewer->program),
                QStringList(count, QStringLiteral("1")), tree.runDir(), environment, 10000);
            ASSERT_TRUE(run.finished);
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_EQ(
                run.err, "cannot open a display: set DISPLAY, or use render_plot for files\n");
            EXPECT_EQ(run.out, "");
        }
    }
}
