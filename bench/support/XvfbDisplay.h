#pragma once

#include <QByteArray>
#include <QProcess>

namespace lexi::bench {

// A private X server for programs that measure the program on a real display where none is set:
// started when DISPLAY is empty, its display put into DISPLAY, and stopped on destruction.
class XvfbDisplay
{
public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay &) = delete;
    XvfbDisplay &operator=(const XvfbDisplay &) = delete;

    // Whether a display can be used: one was set, or the server started.
    bool isAvailable() const { return m_available; }

private:
    QProcess m_server;
    bool m_available = false;
};

} // namespace lexi::bench
