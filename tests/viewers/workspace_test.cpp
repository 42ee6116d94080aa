// The workspace that scripts/make-workspace.sh lays out (and demo.sh uses): every viewer's save
// button can write its picture there, from the run directory.

#include "plotter.h"
#include "viewerlist.h"

#include "fixturetree.h"
#include "programrun.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(Workspace, EveryViewerCanSaveItsPictureFromTheRunDirectory)
{
    const QTemporaryDir dir;
    const ProgramRun layout = runProgram(QStringLiteral("bash"),
        { QStringLiteral(MAKE_WORKSPACE), dir.filePath("demo") }, QDir(dir.path()),
        QProcessEnvironment::systemEnvironment());
    ASSERT_TRUE(layout.finished);
    ASSERT_EQ(layout.exitCode, 0) << layout.err.toStdString();
    const QDir runDir(dir.filePath("demo/run"));
    ASSERT_TRUE(runDir.exists());

    const WorkingDirectory inRunDir(runDir);
    for (const ViewerDefinition* viewer : allViewers()) {
        SCOPED_TRACE(viewer->program.toStdString());
        Plotter plotter;
        QStringList arguments(viewer->argumentNames.size(), "1");
        if (viewer->program == u"plot_ages") { // it needs a table to show
            QFile ages(runDir.filePath("ages.csv"));
            ASSERT_TRUE(ages.open(QIODevice::WriteOnly));
            ages.write("rate_mm_yr,system,method,age_ma\n0.5,AHe,dodson,4\n");
            ages.close();
            arguments = QStringList { "rate", "ages.csv" };
        }
        setUpPlotter(plotter, *viewer, arguments);
        EXPECT_EQ(plotter.saveCanvas(viewer->style.pngPath).toStdString(), "");
        EXPECT_TRUE(QFileInfo(viewer->style.pngPath).isFile());
    }
}
