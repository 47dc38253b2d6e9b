#include "support/FakeVocabularyServices.h"
#include "support/RecordingWorkspace.h"

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

// Last: its macros would rename things in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace Qt::StringLiterals;

namespace lexi::test {
namespace {

// A virtual X server of its own for the test.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        m_server.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s, u"1280x800x24"_s, u"-nolisten"_s,
                                   u"tcp"_s});
        if (m_server.waitForReadyRead(10000))
            m_name = u":"_s + QString::fromLatin1(m_server.readLine().trimmed());
    }
    ~VirtualDisplay()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    const QString &name() const { return m_name; }

private:
    QProcess m_server;
    QString m_name;
};

// Whether a shown top-level window whose title holds `title` is on the display.
bool hasShownWindow(Display *display, const char *title)
{
    Window root = 0, parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int index = 0; index < count && !found; ++index) {
        XWindowAttributes attributes;
        char *name = nullptr;
        if (XGetWindowAttributes(display, children[index], &attributes) && attributes.map_state == IsViewable &&
            XFetchName(display, children[index], &name) && name) {
            found = QByteArray(name).contains(title);
        }
        if (name)
            XFree(name);
    }
    if (children)
        XFree(children);
    return found;
}

TEST(ProgramStartTest, ShowsItsWindowAndQuitsCleanlyOnTerminate)
{
    VirtualDisplay display;
    ASSERT_FALSE(display.name().isEmpty()) << "no Xvfb";

    QTemporaryDir home;
    const QString data = home.path() + u"/data"_s;
    FakeVocabularyServices services;
    RecordingWorkspace workspace;
    const ApplicationFolders folders(data);
    QLXStorageManager storage(folders, services.services, workspace);
    const std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(services.services);
    vocabulary->setForeignLanguageName(u"Spanish"_s);
    vocabulary->setYourLanguageName(u"English"_s);
    for (int index = 0; index < 200; ++index)
        vocabulary->addWord(std::make_shared<QLXWord>(u"word %1"_s.arg(index), u"palabra %1"_s.arg(index)));
    ASSERT_TRUE(storage.saveVocabulary(vocabulary.get()));
    storage.flushSaves();
    const QString path = *storage.savePathForVocabulary(*vocabulary);

    // Started from the build folder, the program would offer to move itself first.
    QDir().mkpath(home.path() + u"/config/Lexicarta"_s);
    QFile settings(home.path() + u"/config/Lexicarta/Lexicarta.conf"_s);
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[General]\nmoveToApplicationsFolderAlertSuppress=true\n");
    settings.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home.path());
    environment.insert(u"XDG_DATA_HOME"_s, data);
    environment.insert(u"XDG_CONFIG_HOME"_s, home.path() + u"/config"_s);
    environment.insert(u"XDG_CACHE_HOME"_s, home.path() + u"/cache"_s);
    QDir().mkpath(home.path() + u"/runtime"_s);
    QFile::setPermissions(home.path() + u"/runtime"_s, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                           QFileDevice::ExeOwner);
    environment.insert(u"XDG_RUNTIME_DIR"_s, home.path() + u"/runtime"_s);
    environment.insert(u"DISPLAY"_s, display.name());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer started;
    started.start();
    program.start(QString::fromUtf8(LEXICARTA_PROGRAM));
    ASSERT_TRUE(program.waitForStarted(5000));

    Display *connection = XOpenDisplay(display.name().toLatin1().constData());
    ASSERT_NE(connection, nullptr);
    bool shown = false;
    while (!shown && started.elapsed() < 5000 && program.state() == QProcess::Running) {
        shown = hasShownWindow(connection, "Lexicarta");
        if (!shown)
            QThread::msleep(50);
    }
    XCloseDisplay(connection);
    ASSERT_TRUE(shown) << "no window within 5 s";

    // A second start hands over to the running program and ends.
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QString::fromUtf8(LEXICARTA_PROGRAM));
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(program.state(), QProcess::Running);

    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    const std::shared_ptr<Lexicarta> after = storage.vocabularyFromFile(path);
    ASSERT_NE(after, nullptr);
    ASSERT_EQ(after->countAllWords(), 200);
    EXPECT_EQ(after->allWords().first()->foreignWord(), u"palabra 0"_s);
    // Quitting wrote the sync log.
    EXPECT_FALSE(QDir(folders.logsFolderPath()).entryList(QDir::Files).isEmpty());
}

} // namespace
} // namespace lexi::test
