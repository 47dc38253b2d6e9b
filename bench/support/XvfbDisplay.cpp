#include "XvfbDisplay.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace lexi::bench {

XvfbDisplay::XvfbDisplay()
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        m_available = true;
        return;
    }
    if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty())
        return;
    // The server picks a free display itself and writes its number once it takes connections.
    m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s,
                               u"1920x1080x24"_s});
    QByteArray number;
    while (!number.endsWith('\n') && m_server.waitForReadyRead(20000))
        number += m_server.readAllStandardOutput();
    if (!number.endsWith('\n'))
        return;
    qputenv("DISPLAY", ':' + number.trimmed());
    m_available = true;
}

XvfbDisplay::~XvfbDisplay()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    m_server.waitForFinished();
}

} // namespace lexi::bench
