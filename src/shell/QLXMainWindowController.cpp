// The main window's start-up, tab switching, current vocabulary and menu commands.
#include "QLXMainWindowController.h"

#include "FirstStartPage.h"
#include "Installation.h"
#include "ModalWatch.h"
#include "QLXHelpController.h"

#include "model/sheets/QLXExportController.h"
#include "model/sheets/QLXImporter.h"

#include "model/AvailableLanguages.h"
#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"
#include "model/VocabularyFileName.h"
#include "platform/ports/Console.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMainWindow>
#include <QStackedWidget>
#include <QToolBar>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

QString QLXMainWindowController::mainWindowText(const QString &key)
{
    return lexi::StringTables::text(key, u"MainWindow"_s);
}

const std::array<QLXMainWindowController::TabDescription, QLXMainWindowController::toolbarTabCount> &
QLXMainWindowController::tabDescriptions()
{
    static const std::array<TabDescription, toolbarTabCount> tabs = {{
        {u"vocabulary_toolbar"_s, u"vocabulary"_s, &QLXMainWindowController::showVocabulary},
        {u"quiz_toolbar"_s, u"quiz"_s, &QLXMainWindowController::showQuiz},
        {u"quizlet_toolbar"_s, u"getWords"_s, &QLXMainWindowController::showQuizlet},
        {u"statistics_toolbar"_s, u"statistics"_s, &QLXMainWindowController::showStatistics},
        {u"settings_toolbar"_s, u"settings"_s, &QLXMainWindowController::showPreferences},
    }};
    return tabs;
}

QLXMainWindowController::QLXMainWindowController(lexi::Installation &installation,
                                                 const lexi::MainWindowPages &pages, lexi::ModalWatch &modalWatch,
                                                 QObject *parent)
    : QObject(parent), m_installation(installation), m_pages(pages), m_modalWatch(modalWatch)
{
    for (int tab = 0; tab < toolbarTabCount; ++tab) {
        const QString &name = tabDescriptions()[tab].imageName;
        m_normalImages[tab] = QIcon(u":/images/%1.svg"_s.arg(name));
        m_selectedImages[tab] = QIcon(u":/images/%1_sel.svg"_s.arg(name));
    }
    m_helpController = new QLXHelpController(this);
    buildWindow();
    buildMenus();
    m_importer = std::make_unique<QLXImporter>(
        this, lexi::ImportServices{m_installation.ports().fileChooser, m_installation.ports().alerts,
                                   m_installation.storage(), m_installation.folders(), m_installation.defaults(),
                                   m_installation.dropboxController()});
    m_installation.storage().setSaveObserver(
        [this](const QString &path, const lexi::FileStamp &stamp, bool isLatest) {
            noteOwnSave(path, stamp, isLatest);
        });
    lexi::VocabularyKeeper &keeper = m_pages.vocabulary->keeper();
    connect(&keeper, &lexi::VocabularyKeeper::wordsChanged, this, [this] { m_changedSinceSaved = true; });
    connect(&keeper, &lexi::VocabularyKeeper::vocabularyReplaced, this, [this] { m_changedSinceSaved = false; });
}

QLXMainWindowController::~QLXMainWindowController()
{
    m_installation.storage().setSaveObserver({});
    m_installation.dropboxController().setDelegate(nullptr);
    m_installation.dropboxController().setWindow(nullptr);
    // The overlay belongs to the help controller, not to the window it lies in.
    m_helpController->closeHelp();
    m_mainWindow->removeEventFilter(this);
}

bool QLXMainWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow.get() && event->type() == QEvent::Resize)
        m_pages.statistics->windowDidResize();
    if (watched == m_languagesPopUp) {
        if (event->type() == QEvent::Wheel)
            return true;
        if (event->type() == QEvent::KeyPress) {
            switch (static_cast<QKeyEvent *>(event)->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_Left:
            case Qt::Key_Right:
                // The learner opens the list and chooses there.
                m_languagesPopUp->showPopup();
                return true;
            default:
                // Typing would pick a language by its first letters.
                if (const QString text = static_cast<QKeyEvent *>(event)->text(); !text.trimmed().isEmpty())
                    return true;
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void QLXMainWindowController::awakeFromNib()
{
    DropBoxController &dropbox = m_installation.dropboxController();
    dropbox.setDelegate(this);
    dropbox.setWindow(&m_installation.ports().folderChooser);

    const QList<QLXFile> files = lexi::loadAllAvailableLanguages(m_installation.folders());
    deselectAllToolbarItems();

    std::shared_ptr<Lexicarta> vocabulary;
    if (!files.isEmpty()) {
        QStringList candidates;
        const QString lastActive = lexi::Settings(m_installation.defaults()).value(lexi::Settings::lastActiveLanguage);
        if (const auto fileName = lexi::vocabularyFileNameForName(lastActive)) {
            const QString path = m_installation.folders().vocabularyFolderPath() + u'/' + *fileName;
            if (QFileInfo(path).isFile())
                candidates.append(path);
        }
        for (const QLXFile &file : files) {
            if (!candidates.contains(file.filePath()))
                candidates.append(file.filePath());
        }
        vocabulary = loadFirstOf(candidates);
    }

    if (vocabulary) {
        m_isInFirstSetupMode = false;
        setCurrentVocabulary(std::move(vocabulary));
        rememberLastActiveLanguage();
        updateLanguagesPopup();
        after(500ms, [this] {
            showVocabulary();
            updateLanguagesPopup();
        });
    } else {
        m_isInFirstSetupMode = true;
        prepareFirstStartPage();
    }

    localize();
    m_helpController->awakeFromNib();
    m_toolbar->setVisible(true);
    after(5s, [this] { doSync(); });
}

std::shared_ptr<Lexicarta> QLXMainWindowController::loadFirstOf(const QStringList &candidates) const
{
    for (const QString &path : candidates) {
        if (std::shared_ptr<Lexicarta> vocabulary = m_installation.storage().vocabularyFromFile(path))
            return vocabulary;
    }
    return nullptr;
}

std::shared_ptr<Lexicarta> QLXMainWindowController::currentVocabulary() const
{
    return m_pages.vocabulary->keeper().vocabulary();
}

std::optional<QString> QLXMainWindowController::currentSavePath() const
{
    const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary();
    if (!vocabulary)
        return std::nullopt;
    return m_installation.storage().savePathForVocabulary(*vocabulary);
}

void QLXMainWindowController::rememberLastActiveLanguage()
{
    if (const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary())
        lexi::Settings(m_installation.defaults())
            .setValue(lexi::Settings::lastActiveLanguage, QLXStorageManager::displayNameForVocabulary(*vocabulary));
}

void QLXMainWindowController::after(std::chrono::milliseconds delay, std::function<void()> step)
{
    std::erase_if(m_delayedSteps, [](const lexi::dispatch::DelayedBlock &block) { return !block.isPending(); });
    m_delayedSteps.push_back(m_installation.ports().scheduler.after(
        delay, [this, step = std::move(step)] { m_modalWatch.runWhenNoModal(step); }));
}

bool QLXMainWindowController::isUsageDataEnabled() const
{
    return lexi::Settings(m_installation.defaults()).isUsageStatisticsOptedIn();
}

void QLXMainWindowController::applicationDidFinishLaunching()
{
    const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary();
    ANClient &client = m_installation.analyticsClient();
    if (!isUsageDataEnabled() || !vocabulary || client.writeKey().isEmpty())
        return;
    client.addEvent({{u"yourLanguage"_s, vocabulary->yourLanguageName()},
                     {u"foreignLanguage"_s, vocabulary->foreignLanguageName()},
                     {u"noOfWords"_s, quint64(vocabulary->countAllWords())}},
                    u"languageInfo"_s);
    client.uploadWithFinishedBlock();
}

QLXMainWindowController::Tab QLXMainWindowController::selectedTab() const
{
    return Tab(m_mainTabView->currentIndex());
}

void QLXMainWindowController::runTabAction(Tab tab)
{
    if (!m_toolbarItemsEnabled)
        return;
    (this->*tabDescriptions().at(tab).action)();
}

void QLXMainWindowController::selectTab(Tab tab)
{
    m_mainTabView->setCurrentIndex(tab);
    deselectAllToolbarItems();
    if (tab < toolbarTabCount)
        m_toolbarItems[tab]->setIcon(m_selectedImages[tab]);
    m_helpController->closeHelp();
}

void QLXMainWindowController::deselectAllToolbarItems()
{
    for (int tab = 0; tab < toolbarTabCount; ++tab)
        m_toolbarItems[tab]->setIcon(m_normalImages[tab]);
}

void QLXMainWindowController::showVocabulary()
{
    doSync();
    m_isInFirstSetupMode = false;
    m_pages.vocabulary->showVocabulary();
    for (QAction *item : {m_importButton, m_exportButton, m_importMenuItem, m_exportMenuItem}) {
        item->setVisible(true);
        item->setEnabled(true);
    }
    selectTab(vocabularyTab);
    lexi::Settings settings(m_installation.defaults());
    if (!settings.value(lexi::Settings::hasShownVocabularyHelp)) {
        settings.setValue(lexi::Settings::hasShownVocabularyHelp, true);
        m_installation.defaults().synchronize();
        m_helpController->showVocabularyHelp();
    }
}

void QLXMainWindowController::showQuiz()
{
    doSync();
    const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary();
    lexi::Console::writeLine(u"show quiz > vocabulary %1"_s.arg(vocabulary ? vocabulary->foreignLanguageName()
                                                                          : u"(null)"_s));
    m_pages.quiz->setPreSelectedWords(m_pages.vocabulary->getSelectedWordsArray());
    m_pages.vocabulary->closeAddWordPopover();
    m_pages.vocabulary->deselectWords();
    m_pages.vocabulary->closeHelp();
    m_pages.quiz->showQuiz();
    after(500ms, [this] { m_pages.quiz->showQuiz(); });
    selectTab(quizTab);
}

void QLXMainWindowController::showQuizlet()
{
    doSync();
    m_pages.vocabulary->closeAddWordPopover();
    m_pages.vocabulary->closeHelp();
    selectTab(quizletTab);
}

void QLXMainWindowController::showStatistics()
{
    doSync();
    m_pages.vocabulary->closeAddWordPopover();
    m_pages.vocabulary->closeHelp();
    m_pages.statistics->showStatistics();
    selectTab(statisticsTab);
}

void QLXMainWindowController::showPreferences()
{
    doSync();
    m_pages.vocabulary->closeAddWordPopover();
    m_pages.vocabulary->closeHelp();
    m_pages.preferences->setDelegate(this);
    m_pages.preferences->showPreferences();
    selectTab(settingsTab);
}

void QLXMainWindowController::updateViews()
{
    m_pages.vocabulary->updateEntireView();
    doSync();
    if (selectedTab() == quizTab)
        showQuiz();
    m_mainWindow->showNormal();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void QLXMainWindowController::doSync()
{
    m_installation.dropboxController().syncWithDropbox();
}

void QLXMainWindowController::importVocabulary()
{
    m_importer->showOpenSheetWithVocabulary(currentVocabulary(), this);
}

void QLXMainWindowController::exportVocabulary()
{
    if (!m_exporter)
        m_exporter = std::make_unique<QLXExportController>(
            this, lexi::ExportServices{m_installation.ports().fileChooser, m_installation.ports().alerts,
                                       m_installation.folders()});
    m_exporter->showExportWithVocabulary(currentVocabulary());
}

void QLXMainWindowController::exportDidEnd(QLXExportController *) {}

void QLXMainWindowController::importDidEnd(QLXImporter *)
{
    if (!m_pages.vocabulary->keeper().recordChange())
        return;
    updateLanguagesPopup();
    showVocabulary();
    doSync();
}

void QLXMainWindowController::addNewWord()
{
    if (m_isInFirstSetupMode || !m_toolbarItemsEnabled)
        return;
    showVocabulary();
    m_pages.vocabulary->showAddWordPanel();
}

void QLXMainWindowController::visitSupport()
{
    m_installation.ports().workspace.openWebAddress(QUrl(mainWindowText(u"supportURL"_s)));
}

void QLXMainWindowController::goToAppSupportFolder()
{
    m_installation.ports().workspace.openFolder(m_installation.folders().applicationSupportFolder());
}

void QLXMainWindowController::showHelp()
{
    if (m_isInFirstSetupMode || !m_toolbarItemsEnabled)
        return;
    showVocabulary();
    m_helpController->showVocabularyHelp();
}
