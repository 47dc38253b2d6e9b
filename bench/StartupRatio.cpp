#include "support/GeneratedVocabulary.h"
#include "support/OfflinePorts.h"

#include "model/QLXStorageManager.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"
#include "shell/Installation.h"
#include "shell/InstallationLaunchServices.h"
#include "shell/MainInterface.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

// Start-up as the learner meets it, over one load of the vocabulary: in fresh processes, turn
// about, the time from the program's start to the first paint of the word list, and the time of
// one load of the same 50,000-word vocabulary. Prints the median of seven such ratios. Run
// without arguments; the processes it starts are told "paint FOLDER" or "load FOLDER".

namespace {

constexpr int runs = 7;

// Quits the event loop at the first paint of the word table.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QCoreApplication::quit();
        return QObject::eventFilter(watched, event);
    }
};

int paint(const QString &folder, const QElapsedTimer &sinceStart)
{
    lexi::bench::OfflinePorts ports;
    const auto installation = ports.installation(folder);
    lexi::NoMoveToApplicationsOffer moveOffer;
    lexi::MainInterface interface(*installation, moveOffer);
    interface.awakeFromNib();
    QMainWindow *window = interface.mainWindowController().mainWindow();
    FirstPaint firstPaint;
    for (QTableView *table : window->findChildren<QTableView *>())
        table->viewport()->installEventFilter(&firstPaint);
    window->show();
    QCoreApplication::exec();
    printf("%lld\n", sinceStart.nsecsElapsed());
    return 0;
}

int load(const QString &folder, const QElapsedTimer &sinceStart)
{
    lexi::bench::OfflinePorts ports;
    const auto installation = ports.installation(folder);
    const QDir vocabularies(installation->folders().vocabularyFolderPath());
    const QStringList files = vocabularies.entryList({u"*.qlxv"_s}, QDir::Files);
    if (files.size() != 1 || !installation->storage().vocabularyFromFile(vocabularies.filePath(files.front())))
        return 1;
    printf("%lld\n", sinceStart.nsecsElapsed());
    return 0;
}

std::optional<double> runChild(const QString &step, const QString &folder)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {step, folder});
    if (!child.waitForFinished(120000) || child.exitCode() != 0)
        return std::nullopt;
    bool ok = false;
    const double nanoseconds = child.readAllStandardOutput().trimmed().toDouble(&ok);
    return ok ? std::optional(nanoseconds) : std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    lexi::Console::setSink([](const QString &) {});
    const QStringList arguments = application.arguments();
    if (arguments.size() == 3 && arguments[1] == u"paint"_s)
        return paint(arguments[2], sinceStart);
    if (arguments.size() == 3 && arguments[1] == u"load"_s)
        return load(arguments[2], sinceStart);

    QTemporaryDir folder;
    {
        lexi::bench::OfflinePorts ports;
        const auto installation = ports.installation(folder.path());
        const lexi::bench::BenchmarkServices services;
        const auto vocabulary = lexi::bench::generateVocabulary(services.services());
        installation->storage().saveVocabulary(vocabulary.get());
        installation->storage().flushSaves();
        installation->defaults().setBool(lexi::Settings::hasShownVocabularyHelp.name, true);
    }
    std::vector<double> ratios;
    for (int run = 0; run < runs; ++run) {
        const std::optional<double> loaded = runChild(u"load"_s, folder.path());
        const std::optional<double> painted = runChild(u"paint"_s, folder.path());
        if (!loaded || !painted) {
            fprintf(stderr, "startup_ratio: a run failed\n");
            return 1;
        }
        ratios.push_back(*painted / *loaded);
        printf("run %d: first paint %.0f ms, one load %.0f ms\n", run + 1, *painted / 1e6, *loaded / 1e6);
    }
    std::sort(ratios.begin(), ratios.end());
    printf("start-up ratio (first paint of the list / one load, median of %d): %.2f\n", runs, ratios[runs / 2]);
    return 0;
}
