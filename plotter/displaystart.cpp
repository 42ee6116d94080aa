#include "displaystart.h"

#include <cstdio>
#include <cstdlib>

namespace {

DisplayStart* active = nullptr; // the message handler is a plain function: one start at a time

} // namespace

DisplayStart::DisplayStart()
{
    active = this;
    m_previous = qInstallMessageHandler(&DisplayStart::hold);
}

DisplayStart::~DisplayStart()
{
    qInstallMessageHandler(m_previous);
    active = nullptr;
    for (const HeldMessage& message : m_held) {
        const QMessageLogContext context(message.file.isEmpty() ? nullptr : message.file.data(),
            message.line, message.function.isEmpty() ? nullptr : message.function.data(),
            message.category.isEmpty() ? nullptr : message.category.data());
        if (m_previous)
            m_previous(message.type, context, message.text);
        else
            std::fprintf(
                stderr, "%s\n", qPrintable(qFormatLogMessage(message.type, context, message.text)));
    }
}

void DisplayStart::hold(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // The toolkit would abort now: no platform could start. The held diagnostics name
        // plugins and are of no use to someone who started a viewer without a display.
        std::fprintf(stderr, "%s\n", failureMessage);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    active->m_held.push_back({ type, QByteArray(context.file), context.line,
        QByteArray(context.function), QByteArray(context.category), text });
}
