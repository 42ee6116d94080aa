#pragma once
// DisplayStart: the start of a viewer's windowing platform, failing with one clear line.
//
// When no windowing platform can start (no X display, no Wayland), the toolkit ends the process
// with an abort and a paragraph of plugin diagnostics, before the program has said anything of
// its own. While a DisplayStart exists, the toolkit's messages are held back: if the platform
// fails, only "cannot open a display: set DISPLAY, or use render_plot for files" is written to
// standard error and the process exits with status 1; if it starts, the held messages are
// passed on unchanged when the DisplayStart goes out of scope.
//
//   std::optional<QApplication> application;
//   {
//       const DisplayStart start;
//       application.emplace(argc, argv);
//   }

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

class DisplayStart {
public:
    static constexpr const char* failureMessage
        = "cannot open a display: set DISPLAY, or use render_plot for files";

    DisplayStart();
    ~DisplayStart();
    DisplayStart(const DisplayStart&) = delete;
    DisplayStart& operator=(const DisplayStart&) = delete;

private:
    struct HeldMessage {
        QtMsgType type;
        QByteArray file;
        int line;
        QByteArray function;
        QByteArray category;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text);

    QtMessageHandler m_previous = nullptr;
    std::vector<HeldMessage> m_held;
};
