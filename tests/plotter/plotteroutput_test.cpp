#include "plotter.h"

#include "teststyle.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMetaMethod>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PlotterOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        plotter = std::make_unique<Plotter>();
        plotter->setViewerStyle(testStyle(directory.filePath("plots/image_test.png")));
        plotter->label1 = QStringLiteral("0.5");
        plotter->setCurve(1, { 0, 1, 5, 9, 10, 4 });
        plotter->resize(1000, 600);
        plotter->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(plotter.get()));
    }

    QTemporaryDir directory;
    std::unique_ptr<Plotter> plotter;
};

QImage asRgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The page contents of a PDF file: every zlib-compressed stream, inflated, one after the other.
QString inflatedStreams(const QByteArray& pdf)
{
    QString contents;
    qsizetype at = 0;
    while (true) {
        qsizetype begin = pdf.indexOf("stream", at);
        if (begin < 0)
            break;
        begin += 6;
        while (begin < pdf.size() && (pdf[begin] == '\r' || pdf[begin] == '\n'))
            ++begin;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0)
            break;
        at = end + 9;
        constexpr char zlibHeader = 0x78;
        if (begin >= end || pdf[begin] != zlibHeader)
            continue; // not deflated
        // qUncompress wants the expected size in front; it is only a first guess.
        QByteArray compressed("\x00\x40\x00\x00", 4);
        compressed += pdf.mid(begin, end - begin);
        contents += QString::fromLatin1(qUncompress(compressed));
    }
    return contents;
}

} // namespace

TEST_F(PlotterOutput, SaveWritesTheCanvasExactlyAndReplacesAnEarlierFile)
{
    ASSERT_TRUE(QDir(directory.path()).mkdir("plots"));
    const QString path = plotter->viewerStyle().pngPath;
    plotter->save();
    QImage saved(path, "PNG");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(1000, 600));
    EXPECT_EQ(asRgb(saved), asRgb(plotter->canvas().toImage()));
    EXPECT_FALSE(plotter->notice()->isVisible());

    plotter->setBounds(PlotBounds { 0, 20, 4, 0, 20, 4 });
    plotter->save();
    saved.load(path, "PNG");
    EXPECT_EQ(asRgb(saved), asRgb(plotter->canvas().toImage()));
    EXPECT_EQ(
        QDir(directory.filePath("plots")).entryList(QDir::Files), QStringList { "image_test.png" });
}

TEST_F(PlotterOutput, AFailedSaveIsReportedOnStandardErrorAndInTheWindow)
{
    // The plots directory does not exist, and is not created.
    ::testing::internal::CaptureStderr();
    plotter->save();
    const std::string error = ::testing::internal::GetCapturedStderr();
    const std::string path = plotter->viewerStyle().pngPath.toStdString();
    EXPECT_NE(error.find("Could not save the plot to \"" + path + "\""), std::string::npos)
        << error;
    EXPECT_FALSE(QFile::exists(plotter->viewerStyle().pngPath));
    EXPECT_FALSE(QDir(directory.filePath("plots")).exists());
    ASSERT_TRUE(plotter->notice()->isVisible());
    EXPECT_TRUE(plotter->notice()->text().contains(plotter->viewerStyle().pngPath));
    EXPECT_TRUE(
        plotter->geometry().contains(plotter->notice()->geometry().translated(plotter->pos())));

    // Once the directory is there, the next save succeeds and the notice goes.
    ASSERT_TRUE(QDir(directory.path()).mkdir("plots"));
    plotter->save();
    EXPECT_TRUE(QFile::exists(plotter->viewerStyle().pngPath));
    EXPECT_FALSE(plotter->notice()->isVisible());
}

TEST_F(PlotterOutput, PrintingGivesOneLandscapePageWithThePlotOnIt)
{
    const QString pdf = directory.filePath("plot.pdf");
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageOrientation(QPageLayout::Portrait); // as if chosen in the dialog
    ASSERT_TRUE(plotter->printTo(printer));
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);

    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(file.readAll());
    EXPECT_EQ(text.count(QRegularExpression("/Type\\s*/Page\\b(?!s)")), 1);
    const QRegularExpressionMatch box
        = QRegularExpression("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)").match(text);
    ASSERT_TRUE(box.hasMatch());
    EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble());
    // In widget pixels, unscaled: the frame outline and the legend box as on the screen,
    // stroked through the centres of their border pixels.
    const QString page = inflatedStreams(text.toLatin1());
    EXPECT_TRUE(page.contains(QRegularExpression(R"(\b60\.50* 40\.50* 919 519 re)")))
        << page.left(400).toStdString();
    EXPECT_TRUE(page.contains(QRegularExpression(R"(\b865\.50* 45\.50* 109 79 re)")));
    EXPECT_TRUE(page.contains("866 46 108 78 re")); // the legend's interior, inside the outline
}

TEST_F(PlotterOutput, ToolButtonsSitInARowEndingTwentyFivePixelsFromTheRightEdge)
{
    const std::array tools { plotter->zoomInTool(), plotter->zoomOutTool(), plotter->saveTool(),
        plotter->printTool() };
    for (QToolButton* tool : tools)
        tool->resize(30, 30);
    plotter->resize(1001, 600);
    plotter->resize(1000, 600);
    QApplication::processEvents();
    const int expected[] = { 840, 875, 910, 945 };
    for (std::size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(tools[i]->pos(), QPoint(expected[i], 5)) << i;
        EXPECT_EQ(tools[i]->size(), QSize(30, 30)); // moved, never resized
    }

    // With the sizes the style gives them the row still ends at W - 25.
    for (QToolButton* tool : tools)
        tool->adjustSize();
    plotter->resize(640, 480);
    QApplication::processEvents();
    EXPECT_EQ(plotter->printTool()->geometry().right() + 1, 640 - 25);
    EXPECT_EQ(plotter->zoomOutTool()->x(), plotter->zoomInTool()->geometry().right() + 1 + 5);
}

TEST_F(PlotterOutput, ToolButtonsCarryTheirIconsAndCallTheirSlots)
{
    for (QToolButton* tool : { plotter->zoomInTool(), plotter->zoomOutTool(), plotter->saveTool(),
             plotter->printTool() })
        EXPECT_FALSE(tool->icon().isNull());
    EXPECT_EQ(plotter->zoomInTool()->iconSize(), QSize(22, 22));
    EXPECT_EQ(plotter->printTool()->iconSize(), QSize(24, 23));

    QTest::mousePress(plotter.get(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(plotter.get(), QPoint(500, 400));
    QTest::mouseRelease(plotter.get(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 400));
    ASSERT_EQ(plotter->level(), 1);
    QTest::mouseClick(plotter->zoomOutTool(), Qt::LeftButton);
    EXPECT_EQ(plotter->level(), 0);
    QTest::mouseClick(plotter->zoomInTool(), Qt::LeftButton);
    EXPECT_EQ(plotter->level(), 1);
}

TEST(PlotterMetaObject, IsNamedPlotterWithItsFourSlotsInOrder)
{
    const QMetaObject& meta = Plotter::staticMetaObject;
    EXPECT_STREQ(meta.className(), "Plotter");
    EXPECT_EQ(meta.superClass(), &QWidget::staticMetaObject);
    const char* slotNames[] = { "zoomIn()", "zoomOut()", "save()", "print()" };
    ASSERT_EQ(meta.methodCount() - meta.methodOffset(), 4);
    for (int i = 0; i < 4; ++i) {
        const QMetaMethod method = meta.method(meta.methodOffset() + i);
        EXPECT_EQ(method.methodSignature(), slotNames[i]);
        EXPECT_EQ(method.methodType(), QMetaMethod::Slot);
        EXPECT_EQ(method.access(), QMetaMethod::Public);
    }
}
