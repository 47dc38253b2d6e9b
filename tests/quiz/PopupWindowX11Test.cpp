// The pop-up quiz window on a real X server with a real window manager: a private Xvfb display
// with openbox, started by this program before its QApplication connects to it.
#include "QuizPagesFixture.h"

#include "platform/linux/X11FocusReturn.h"
#include "quiz/QLXPopupQuizController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

// Last: its macros would rename things in the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace Qt::StringLiterals;

namespace {

// A display of its own with a window manager on it, for the whole program.
class VirtualDesktop
{
public:
    VirtualDesktop()
    {
        if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"openbox"_s).isEmpty()) {
            m_problem = "Xvfb and openbox are needed";
            return;
        }
        // The server picks a free display itself and writes its number once it takes connections.
        m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s, u"-nolisten"_s,
                                   u"tcp"_s});
        QByteArray number;
        while (!number.endsWith('\n') && m_server.waitForReadyRead(20000))
            number += m_server.readAllStandardOutput();
        if (!number.endsWith('\n')) {
            m_problem = "Xvfb named no display";
            return;
        }
        m_name = ':' + number.trimmed();
        m_display = XOpenDisplay(m_name.constData());
        if (!m_display) {
            m_problem = "no connection to Xvfb";
            return;
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DISPLAY"_s, QString::fromLatin1(m_name));
        m_windowManager.setProcessEnvironment(environment);
        m_windowManager.start(u"openbox"_s, {u"--sm-disable"_s});
        if (!waitForWindowManager())
            m_problem = "openbox did not start";
    }
    ~VirtualDesktop()
    {
        if (m_display)
            XCloseDisplay(m_display);
        for (QProcess *process : {&m_windowManager, &m_server}) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }

    bool isReady() const { return m_problem == nullptr; }
    const char *problem() const { return m_problem; }
    const QByteArray &name() const { return m_name; }
    // A connection of the test's own: another program, as far as the X server can tell.
    Display *display() const { return m_display; }

    Atom atom(const char *name) const { return XInternAtom(m_display, name, False); }

    // The windows of a root property that lists windows (_NET_ACTIVE_WINDOW, _NET_CLIENT_LIST_STACKING).
    QList<Window> windows(const char *property) const
    {
        XSync(m_display, False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0, remaining = 0;
        unsigned char *data = nullptr;
        QList<Window> found;
        if (XGetWindowProperty(m_display, DefaultRootWindow(m_display), atom(property), 0, 1024, False, XA_WINDOW,
                               &type, &format, &count, &remaining, &data) == Success &&
            format == 32 && data) {
            for (unsigned long index = 0; index < count; ++index)
                found.append(Window(reinterpret_cast<const long *>(data)[index]));
        }
        if (data)
            XFree(data);
        return found;
    }
    Window activeWindow() const
    {
        const QList<Window> active = windows("_NET_ACTIVE_WINDOW");
        return active.isEmpty() ? None : active.first();
    }

private:
    // The window manager names its check window on the root window early in its start; it takes
    // windows in hand only a little later. It is ready once it manages a window of ours: a probe,
    // shown again now and then in case it came before the window manager looked.
    bool waitForWindowManager() const
    {
        const Window probe = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 10, 10, 0, 0, 0);
        QElapsedTimer waited;
        waited.start();
        bool isManaged = false;
        while (!isManaged && waited.elapsed() < 20000) {
            if (waited.elapsed() % 500 < 20) {
                XUnmapWindow(m_display, probe);
                XMapWindow(m_display, probe);
            }
            QThread::msleep(20);
            isManaged = windows("_NET_CLIENT_LIST").contains(probe);
        }
        XDestroyWindow(m_display, probe);
        XSync(m_display, False);
        return isManaged;
    }

    const char *m_problem = nullptr;
    QProcess m_server;
    QProcess m_windowManager;
    QByteArray m_name;
    Display *m_display = nullptr;
};

VirtualDesktop *desktop = nullptr;

// A plain X11 window of "another program", made on the test's own connection.
class OtherProgramsWindow
{
public:
    explicit OtherProgramsWindow(const char *title) : m_display(desktop->display())
    {
        m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 700, 500, 0, 0, 0xffffff);
        XStoreName(m_display, m_window, title);
        // It takes the focus when offered, as an ordinary program's window does.
        XWMHints hints{};
        hints.flags = InputHint;
        hints.input = True;
        XSetWMHints(m_display, m_window, &hints);
        XMapWindow(m_display, m_window);
        XSync(m_display, False);
    }
    ~OtherProgramsWindow()
    {
        XDestroyWindow(m_display, m_window);
        XSync(m_display, False);
    }

    Window id() const { return m_window; }

    // Activated as a task bar would on the learner's click.
    void activate() const
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = m_window;
        event.xclient.message_type = desktop->atom("_NET_ACTIVE_WINDOW");
        event.xclient.format = 32;
        event.xclient.data.l[0] = 2;
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask,
                   &event);
        XSync(m_display, False);
    }

private:
    Display *m_display;
    Window m_window;
};

class PopupWindowX11Test : public lexi::test::QuizPagesFixture
{
protected:
    void SetUp() override
    {
        if (!desktop || !desktop->isReady())
            GTEST_SKIP() << (desktop ? desktop->problem() : "no display");
        focus = lexi::X11FocusReturn::open(desktop->name());
        ASSERT_TRUE(focus);
    }

    // Whether `window` lies above `below` among the windows the window manager stacks.
    static bool isStackedAbove(Window window, Window below)
    {
        const QList<Window> stacking = desktop->windows("_NET_CLIENT_LIST_STACKING");
        return stacking.contains(below) && stacking.indexOf(window) > stacking.indexOf(below);
    }

    // Asks for `window` to be activated until it is: an activation asked for earlier may still
    // be on its way.
    static void activateUntilActive(Window window, const std::function<void()> &activate)
    {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (desktop->activeWindow() != window)
                    activate();
                return desktop->activeWindow() == window;
            },
            10000));
    }

    std::unique_ptr<lexi::X11FocusReturn> focus;
};

TEST_F(PopupWindowX11Test, ShowsAboveAnotherProgramsWindowAndHandsItTheFocusBackAfterNext)
{
    // The learner works in one program; another one is open beside it. Each is in the window
    // manager's hands (which focuses a new window) before the next one comes.
    OtherProgramsWindow bystander("A third program");
    activateUntilActive(bystander.id(), [&] { bystander.activate(); });
    OtherProgramsWindow other("Another program");
    activateUntilActive(other.id(), [&] { other.activate(); });

    QLXPopupQuizController quiz(services, pages, *focus);
    quiz.setVocabulary(vocabulary);
    quiz.askInOrder({addWord(u"house"_s, u"Haus"_s), addWord(u"tree"_s, u"Baum"_s)});
    quiz.start();
    const Window popup = Window(quiz.quizWindow().winId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return isStackedAbove(popup, other.id()); }, 10000))
        << "the pop-up window is not above the other program's window";
    EXPECT_EQ(focus->rememberedWindow(), other.id());
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop->activeWindow() == popup; }, 10000)) << "it takes the focus";

    // A click into the third program leaves the pop-up window above it.
    activateUntilActive(bystander.id(), [&] { bystander.activate(); });
    EXPECT_TRUE(isStackedAbove(popup, bystander.id()));

    // Back in the pop-up window, the learner answers and goes on: the focus goes back to where it
    // was when the question came, not to the window used last.
    activateUntilActive(popup, [&] { quiz.quizWindow().activateWindow(); });
    quiz.answerField().setText(u"Haus"_s);
    QTest::mouseClick(&quiz.checkButton(), Qt::LeftButton);
    QTest::mouseClick(&quiz.nextButton(), Qt::LeftButton);
    EXPECT_FALSE(quiz.quizWindow().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return desktop->activeWindow() == other.id(); }, 10000))
        << "the other program's window has not got the focus back";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !desktop->windows("_NET_CLIENT_LIST_STACKING").contains(popup); }, 10000))
        << "parked out of sight";
}

} // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    VirtualDesktop virtualDesktop;
    desktop = &virtualDesktop;
    if (!virtualDesktop.isReady())
        return RUN_ALL_TESTS();
    qputenv("DISPLAY", virtualDesktop.name());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    const int result = RUN_ALL_TESTS();
    desktop = nullptr;
    return result;
}
