#include "QLXMainWindowController.h"

#include "FirstLanguageNames.h"
#include "FirstStartPage.h"
#include "Installation.h"
#include "ModalWatch.h"
#include "QLXHelpController.h"

#include "model/AvailableLanguages.h"
#include "model/Lexicarta.h"
#include "model/VocabularyFileName.h"
#include "platform/ports/Console.h"
#include "platform/values/Format.h"
#include "platform/linux/LocaleName.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString mainWindowTable = u"MainWindow"_s;
const QString helpTable = u"Help"_s;

QString mainWindowText(const QString &key)
{
    return lexi::StringTables::text(key, mainWindowTable);
}

// Seconds since 1970 of the file's modification time; nothing when no file is there.
std::optional<qint64> modificationSeconds(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return info.lastModified().toSecsSinceEpoch();
}

} // namespace

const std::array<QLXMainWindowController::TabDescription, QLXMainWindowController::toolbarTabCount> &
QLXMainWindowController::tabDescriptions()
{
    static const std::array<TabDescription, toolbarTabCount> tabs = {{
        {u"TWTabIDVocabulary"_s, u"vocabulary_toolbar"_s, u"vocabulary"_s, &QLXMainWindowController::showVocabulary},
        {u"TWTabIDQuiz"_s, u"quiz_toolbar"_s, u"quiz"_s, &QLXMainWindowController::showQuiz},
        {u"TWTabIDQuizlet"_s, u"quizlet_toolbar"_s, u"getWords"_s, &QLXMainWindowController::showQuizlet},
        {u"TWTabIDStatistics"_s, u"statistics_toolbar"_s, u"statistics"_s, &QLXMainWindowController::showStatistics},
        {u"TWTabIDSettings"_s, u"settings_toolbar"_s, u"settings"_s, &QLXMainWindowController::showPreferences},
    }};
    return tabs;
}

QString QLXMainWindowController::tabIdentifier(Tab tab)
{
    if (tab == firstStartTab)
        return u"TWTabIDFirstStartSetup"_s;
    return tabDescriptions().at(tab).identifier;
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
    m_installation.storage().setSaveObserver(
        [this](const QString &path, qint64 modificationTime) { noteOwnSave(path, modificationTime); });
}

QLXMainWindowController::~QLXMainWindowController()
{
    for (lexi::dispatch::DelayedBlock &step : m_delayedSteps)
        step.cancel();
    m_installation.storage().setSaveObserver({});
    m_installation.dropboxController().setDelegate(nullptr);
    m_installation.dropboxController().setWindow(nullptr);
    // The overlay belongs to the help controller, not to the window it lies in.
    m_helpController->closeHelp();
    // The pages own their views: take them out of the window before it goes.
    for (int index = m_mainTabView->count() - 1; index >= 0; --index) {
        QWidget *page = m_mainTabView->widget(index);
        if (page != m_firstStartPage) {
            m_mainTabView->removeWidget(page);
            page->setParent(nullptr);
        }
    }
    m_mainWindow->removeEventFilter(this);
}

void QLXMainWindowController::buildWindow()
{
    m_mainWindow = std::make_unique<QMainWindow>();
    m_mainWindow->setWindowTitle(u"Lexicarta"_s);
    m_mainWindow->resize(1100, 720);
    m_mainWindow->setMinimumSize(800, 540);
    m_mainWindow->setUnifiedTitleAndToolBarOnMac(true);

    m_mainTabView = new QStackedWidget(m_mainWindow.get());
    m_mainTabView->addWidget(m_pages.vocabulary->view());
    m_mainTabView->addWidget(m_pages.quiz->view());
    m_mainTabView->addWidget(m_pages.flashCardService->view());
    m_mainTabView->addWidget(m_pages.statistics->view());
    m_mainTabView->addWidget(m_pages.preferences->view());
    m_firstStartPage = new FirstStartPage(m_mainTabView);
    m_mainTabView->addWidget(m_firstStartPage);
    m_mainWindow->setCentralWidget(m_mainTabView);
    m_helpController->setParentView(m_mainTabView);

    m_toolbar = m_mainWindow->addToolBar(u"Tabs"_s);
    m_toolbar->setObjectName(u"tabs"_s);
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(32, 32));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->toggleViewAction()->setEnabled(false);
    for (int tab = 0; tab < toolbarTabCount; ++tab) {
        QAction *item = m_toolbar->addAction(m_normalImages[tab], QString());
        connect(item, &QAction::triggered, this, [this, tab] { runTabAction(Tab(tab)); });
        m_toolbarItems[tab] = item;
    }

    auto *spacer = new QWidget(m_toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(spacer);

    if (m_pages.sheets) {
        m_importButton = m_toolbar->addAction(QIcon(u":/images/import.svg"_s), QString());
        connect(m_importButton, &QAction::triggered, this, &QLXMainWindowController::importVocabulary);
        m_exportButton = m_toolbar->addAction(QIcon(u":/images/export.svg"_s), QString());
        connect(m_exportButton, &QAction::triggered, this, &QLXMainWindowController::exportVocabulary);
        m_importButton->setVisible(false);
        m_exportButton->setVisible(false);
    }

    auto *languagesItem = new QWidget(m_toolbar);
    auto *languagesLayout = new QVBoxLayout(languagesItem);
    languagesLayout->setContentsMargins(8, 2, 8, 2);
    languagesLayout->setSpacing(2);
    m_languagesPopUp = new QComboBox(languagesItem);
    m_languagesPopUp->setMinimumContentsLength(18);
    m_languagesPopUp->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(m_languagesPopUp, &QComboBox::activated, this, [this] { selectLanguage(); });
    m_languagesLabel = new QLabel(languagesItem);
    m_languagesLabel->setAlignment(Qt::AlignHCenter);
    languagesLayout->addWidget(m_languagesPopUp);
    languagesLayout->addWidget(m_languagesLabel);
    m_toolbar->addWidget(languagesItem);

    m_mainWindow->installEventFilter(this);
}

QAction *QLXMainWindowController::addMenuAction(QMenu *menu, const QString &key,
                                                void (QLXMainWindowController::*action)(),
                                                const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(QString());
    item->setShortcut(shortcut);
    if (action)
        connect(item, &QAction::triggered, this, action);
    m_localizedActions.append({key, item});
    return item;
}

void QLXMainWindowController::buildMenus()
{
    QMenuBar *menuBar = m_mainWindow->menuBar();
    const auto addMenu = [&](const QString &key) {
        QMenu *menu = menuBar->addMenu(QString());
        m_localizedMenus.append({key, menu});
        return menu;
    };
    // Edit actions go to the widget that has the keyboard focus, as the desktop's own do.
    const auto forwardToFocus = [](const char *slot) {
        return [slot] {
            if (QWidget *focus = QApplication::focusWidget())
                QMetaObject::invokeMethod(focus, slot);
        };
    };

    QMenu *file = addMenu(u"file"_s);
    addMenuAction(file, u"addWord"_s, &QLXMainWindowController::addNewWord, QKeySequence::New);
    if (m_pages.sheets) {
        file->addSeparator();
        m_importMenuItem = addMenuAction(file, u"import…"_s, &QLXMainWindowController::importVocabulary,
                                         QKeySequence::Open);
        m_exportMenuItem = addMenuAction(file, u"export…"_s, &QLXMainWindowController::exportVocabulary,
                                         QKeySequence::SaveAs);
    }
    file->addSeparator();
    QAction *close = addMenuAction(file, u"close"_s, nullptr, QKeySequence::Close);
    connect(close, &QAction::triggered, m_mainWindow.get(), &QWidget::close);
    QAction *quit = addMenuAction(file, u"quit"_s, nullptr, QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, qApp, &QApplication::quit, Qt::QueuedConnection);

    QMenu *edit = addMenu(u"edit"_s);
    connect(addMenuAction(edit, u"cut"_s, nullptr, QKeySequence::Cut), &QAction::triggered, this,
            forwardToFocus("cut"));
    connect(addMenuAction(edit, u"copy"_s, nullptr, QKeySequence::Copy), &QAction::triggered, this,
            forwardToFocus("copy"));
    connect(addMenuAction(edit, u"paste"_s, nullptr, QKeySequence::Paste), &QAction::triggered, this,
            forwardToFocus("paste"));
    connect(addMenuAction(edit, u"selectAll"_s, nullptr, QKeySequence::SelectAll), &QAction::triggered, this,
            forwardToFocus("selectAll"));
    for (QAction *item : edit->actions())
        item->setShortcutContext(Qt::WidgetShortcut);
    edit->addSeparator();
    connect(addMenuAction(edit, u"deleteDuplicateWords"_s, nullptr), &QAction::triggered, this,
            [this] { m_pages.vocabulary->deleteDuplicateWords(); });
    edit->addSeparator();
    const QKeySequence preferencesShortcut = QKeySequence::keyBindings(QKeySequence::Preferences).isEmpty()
                                                 ? QKeySequence(Qt::CTRL | Qt::Key_Comma)
                                                 : QKeySequence(QKeySequence::Preferences);
    QAction *preferences = addMenuAction(edit, u"preferences"_s, nullptr, preferencesShortcut);
    preferences->setMenuRole(QAction::PreferencesRole);
    connect(preferences, &QAction::triggered, this, [this] { runTabAction(settingsTab); });

    QMenu *view = addMenu(u"view"_s);
    for (int tab = 0; tab < toolbarTabCount; ++tab) {
        QAction *item = addMenuAction(view, tabDescriptions()[tab].titleKey, nullptr,
                                      QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + tab)));
        connect(item, &QAction::triggered, this, [this, tab] { runTabAction(Tab(tab)); });
        m_tabMenuItems[tab] = item;
    }
    view->addSeparator();
    connect(addMenuAction(view, u"showSynonyms"_s, nullptr), &QAction::triggered, this,
            [this] { m_pages.vocabulary->showSynonyms(); });

    QMenu *window = addMenu(u"window"_s);
    connect(addMenuAction(window, u"minimize"_s, nullptr, QKeySequence(Qt::CTRL | Qt::Key_M)), &QAction::triggered,
            m_mainWindow.get(), &QWidget::showMinimized);
    connect(addMenuAction(window, u"zoom"_s, nullptr), &QAction::triggered, this, [this] {
        if (m_mainWindow->isMaximized())
            m_mainWindow->showNormal();
        else
            m_mainWindow->showMaximized();
    });
    window->addSeparator();
    connect(addMenuAction(window, u"bringAllToFront"_s, nullptr), &QAction::triggered, this, [this] {
        m_mainWindow->showNormal();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    });

    QMenu *help = addMenu(u"help"_s);
    addMenuAction(help, u"showHelp"_s, &QLXMainWindowController::showHelp, QKeySequence::HelpContents);
    addMenuAction(help, u"visitSupport"_s, &QLXMainWindowController::visitSupport);
    addMenuAction(help, u"goToAppSupport"_s, &QLXMainWindowController::goToAppSupportFolder);
    help->addSeparator();
    QAction *about = addMenuAction(help, u"about"_s, nullptr);
    about->setMenuRole(QAction::AboutRole);
    connect(about, &QAction::triggered, this, [this] {
        QMessageBox::about(m_mainWindow.get(), u"Lexicarta"_s,
                           u"Lexicarta %1"_s.arg(QApplication::applicationVersion()));
    });

    FirstStartPage &page = *m_firstStartPage;
    connect(page.firstLanguageField, &QLineEdit::textChanged, this, &QLXMainWindowController::firstLanguageTextChanged);
    connect(page.firstLanguageField, &QLineEdit::returnPressed, this, [this] {
        if (m_firstStartPage->getStartedButton->isEnabled())
            setFirstLanguage();
    });
    connect(page.getStartedButton, &QPushButton::clicked, this, &QLXMainWindowController::setFirstLanguage);
    connect(page.firstSyncLinkDBButton, &QPushButton::clicked, this, &QLXMainWindowController::linkWithDropbox);
    connect(page.firstSyncGetStartedButton, &QPushButton::clicked, this,
            &QLXMainWindowController::getStartedAfterSync);
}

bool QLXMainWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mainWindow.get() && event->type() == QEvent::Resize)
        m_pages.statistics->windowDidResize();
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
        const QString lastActive = lexi::Settings(m_installation.defaults()).lastActiveLanguage();
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

void QLXMainWindowController::setCurrentVocabulary(std::shared_ptr<Lexicarta> vocabulary)
{
    m_pages.vocabulary->setVocabulary(std::move(vocabulary));
    // The file as it was read: a synchronisation reloads it only when it changes from here.
    if (const auto path = currentSavePath())
        m_vocabularyLastLoadedDate = modificationSeconds(*path);
}

std::shared_ptr<Lexicarta> QLXMainWindowController::currentVocabulary() const
{
    return m_pages.vocabulary->vocabulary();
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
            .setLastActiveLanguage(QLXStorageManager::displayNameForVocabulary(*vocabulary));
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
        if (item) {
            item->setVisible(true);
            item->setEnabled(true);
        }
    }
    selectTab(vocabularyTab);
    lexi::Settings settings(m_installation.defaults());
    if (!settings.hasShownVocabularyHelp()) {
        settings.setHasShownVocabularyHelp(true);
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
    m_pages.flashCardService->setVocabulary(currentVocabulary());
    selectTab(quizletTab);
}

void QLXMainWindowController::showStatistics()
{
    doSync();
    m_pages.vocabulary->closeAddWordPopover();
    m_pages.vocabulary->closeHelp();
    m_pages.statistics->setVocabulary(currentVocabulary());
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

QList<QLXFile> QLXMainWindowController::filesYoungestFirst() const
{
    QList<QLXFile> files = lexi::loadAllAvailableLanguages(m_installation.folders());
    std::stable_sort(files.begin(), files.end(), [](const QLXFile &left, const QLXFile &right) {
        return left.compareModDatesFromYoungToOld(right) < 0;
    });
    return files;
}

void QLXMainWindowController::updateLanguagesPopup()
{
    const QSignalBlocker blocker(m_languagesPopUp);
    m_languagesPopUp->clear();
    for (const QLXFile &file : filesYoungestFirst())
        m_languagesPopUp->addItem(file.fileName());
    if (const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary())
        m_languagesPopUp->setCurrentIndex(
            m_languagesPopUp->findText(QLXStorageManager::displayNameForVocabulary(*vocabulary), Qt::MatchExactly));
    m_languagesPopUp->insertSeparator(m_languagesPopUp->count());
    m_languagesPopUp->addItem(mainWindowText(u"Manage Languages..."_s));
}

void QLXMainWindowController::selectLanguage()
{
    const QString title = m_languagesPopUp->currentText();
    const std::shared_ptr<Lexicarta> current = currentVocabulary();
    if (m_languagesPopUp->currentIndex() == m_languagesPopUp->count() - 1) {
        if (current) {
            const QSignalBlocker blocker(m_languagesPopUp);
            m_languagesPopUp->setCurrentIndex(m_languagesPopUp->findText(
                QLXStorageManager::displayNameForVocabulary(*current), Qt::MatchExactly));
        }
        showPreferences();
        m_pages.preferences->showLanguages();
        return;
    }
    const QList<QLXFile> files = filesYoungestFirst();
    const auto file = std::find_if(files.begin(), files.end(),
                                   [&](const QLXFile &candidate) { return candidate.fileName() == title; });
    if (file == files.end()) {
        lexi::Console::writeLine(u"VocController > selectLanguage > file not found"_s);
        return;
    }
    std::shared_ptr<Lexicarta> vocabulary = m_installation.storage().vocabularyFromFile(file->filePath());
    if (!vocabulary) {
        lexi::Console::writeLine(
            u"VocController > selectLanguage: The selected language '%1' could not be loaded.\n"
            u"Go to '%2' to restore from the last backup copy."_s.arg(title,
                                                                       m_installation.folders().backupFolderPath()));
        if (current) {
            const QSignalBlocker blocker(m_languagesPopUp);
            m_languagesPopUp->setCurrentIndex(m_languagesPopUp->findText(
                QLXStorageManager::displayNameForVocabulary(*current), Qt::MatchExactly));
        }
        return;
    }
    lexi::Console::writeLine(u"VocController > selectLanguage > has %1 words"_s.arg(vocabulary->countAllWords()));
    setCurrentVocabulary(vocabulary);
    m_pages.flashCardService->setVocabulary(vocabulary);
    m_pages.statistics->setVocabulary(vocabulary);
    if (selectedTab() == quizTab)
        showQuiz();
    else if (selectedTab() == statisticsTab)
        showStatistics();
    rememberLastActiveLanguage();
    m_pages.vocabulary->updateEntireView();
}

void QLXMainWindowController::disableAllToolbarItems()
{
    m_toolbarItemsEnabled = false;
    m_languagesPopUp->setEnabled(false);
}

void QLXMainWindowController::enableAllToolbarItems()
{
    m_toolbarItemsEnabled = true;
    m_languagesPopUp->setEnabled(true);
}

void QLXMainWindowController::localize()
{
    for (const auto &[key, menu] : m_localizedMenus)
        menu->setTitle(mainWindowText(key));
    for (const auto &[key, item] : m_localizedActions)
        item->setText(mainWindowText(key));
    for (int tab = 0; tab < toolbarTabCount; ++tab)
        m_toolbarItems[tab]->setText(mainWindowText(tabDescriptions()[tab].titleKey));
    if (m_importButton) {
        m_importButton->setText(mainWindowText(u"import"_s));
        m_exportButton->setText(mainWindowText(u"export"_s));
    }
    m_languagesLabel->setText(mainWindowText(u"language"_s));

    FirstStartPage &page = *m_firstStartPage;
    page.firstSyncStep2Label->setText(mainWindowText(u"linkDropbox"_s));
    page.firstSyncStep3Label->setText(mainWindowText(u"synchronizeLangs"_s));
    page.firstSyncLinkDBButton->setText(mainWindowText(u"linkDropboxButton"_s));
    page.firstSyncGetStartedButton->setText(mainWindowText(u"getStarted"_s));
    page.firstSetupLabel->setText(mainWindowText(u"firstSetup"_s));
    page.firstSetupSyncWithExistingLabel->setText(mainWindowText(u"syncWithExisting"_s));
    page.firstSyncStep4Label->setText(mainWindowText(u"switchToIcloud"_s));
    page.chooseLanguageLabel->setText(lexi::StringTables::text(u"chooseYourLang"_s, helpTable));
    page.welcomeLabel->setText(lexi::StringTables::text(u"welcome"_s, helpTable));
    page.getStartedButton->setText(lexi::StringTables::text(u"getStarted"_s, helpTable));
}

void QLXMainWindowController::setProgressRunning(bool running)
{
    m_firstStartPage->firstSyncProgressWheel->setRange(0, running ? 0 : 1);
    m_firstStartPage->firstSyncProgressWheel->setVisible(running);
}

void QLXMainWindowController::showFirstSyncStartState()
{
    FirstStartPage &page = *m_firstStartPage;
    const bool isLinked = m_installation.dropboxController().isLinked();
    FirstStartPage::setStepColor(page.firstSyncStep2Label, true);
    page.firstSyncLinkDBButton->setEnabled(!isLinked);
    page.firstSyncStep2Check->setVisible(isLinked);
    page.firstSyncGetStartedButton->setVisible(false);
    page.firstSyncGetStartedButton->setEnabled(false);
    setProgressRunning(false);
    FirstStartPage::setStepColor(page.firstSyncStep3Label, false);
    page.firstSyncStep3Check->setVisible(false);
    page.firstSyncStep4Label->setVisible(false);
    if (isLinked) {
        setProgressRunning(true);
        FirstStartPage::setStepColor(page.firstSyncStep3Label, true);
    }
}

void QLXMainWindowController::prepareFirstStartPage()
{
    m_mainTabView->setCurrentIndex(firstStartTab);
    showFirstSyncStartState();
    m_toolbarItemsEnabled = false;
    m_languagesPopUp->setEnabled(false);
    m_firstStartPage->firstLanguageField->setFocus();
}

void QLXMainWindowController::firstLanguageTextChanged()
{
    m_firstStartPage->getStartedButton->setEnabled(!m_firstStartPage->firstLanguageField->text().isEmpty());
}

void QLXMainWindowController::setFirstLanguage()
{
    createFirstLanguageWithName(m_firstStartPage->firstLanguageField->text());
}

void QLXMainWindowController::refuseLanguageName(const QString &name)
{
    m_installation.ports().alerts.runModal(
        {mainWindowText(u"invalidLanguageName"_s),
         lexi::format(mainWindowText(u"invalidLanguageNameMsg"_s), name),
         {lexi::StringTables::text(u"ok"_s)}});
}

void QLXMainWindowController::createFirstLanguageWithName(const QString &name)
{
    const lexi::FirstLanguageNames names = lexi::firstLanguageNames(lexi::selectedLocaleName(), name);
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(m_installation.services());
    vocabulary->setYourLanguageName(names.yourLanguageName);
    vocabulary->setForeignLanguageName(names.foreignLanguageName);

    QLXStorageManager &storage = m_installation.storage();
    const std::optional<QString> path = storage.savePathForVocabulary(*vocabulary);
    if (!path) {
        refuseLanguageName(names.foreignLanguageName);
        return;
    }
    if (QFileInfo::exists(*path)) {
        // The first synchronisation may have brought this language already: open it rather than
        // saving an empty vocabulary over it.
        vocabulary = storage.vocabularyFromFile(*path);
        if (!vocabulary)
            return;
    } else {
        vocabulary->setNeedsSync(true);
        m_installation.dropboxController().markFileAsNeedsSync(*vocabulary);
        // An empty vocabulary writes at once; the language pop-up lists it from its file.
        if (!storage.saveVocabulary(vocabulary.get()))
            return;
        storage.flushSaves();
    }
    setCurrentVocabulary(vocabulary);
    m_pages.vocabulary->updateEntireView();
    updateLanguagesPopup();
    enableAllToolbarItems();
    doSync();
    m_helpController->closeHelp();
    showVocabulary();
}

void QLXMainWindowController::linkWithDropbox()
{
    DropBoxController &dropbox = m_installation.dropboxController();
    dropbox.setDelegate(this);
    dropbox.setIsEnabled(true);
}

void QLXMainWindowController::dropboxControllerDidLinkSuccessfully()
{
    if (!m_isInFirstSetupMode) {
        after(2s, [this] { m_pages.preferences->showSyncing(); });
        return;
    }
    FirstStartPage &page = *m_firstStartPage;
    page.firstSyncLinkDBButton->setEnabled(false);
    page.firstSyncStep2Check->setVisible(true);
    FirstStartPage::setStepColor(page.firstSyncStep3Label, true);
    setProgressRunning(true);
    doSync();
}

void QLXMainWindowController::dropboxControllerFailedToLink()
{
    m_pages.preferences->showSyncing();
}

void QLXMainWindowController::dropboxControllerDidFinishSync()
{
    m_modalWatch.runWhenNoModal([this] {
        m_pages.quiz->runWhenNoQuizRuns([this] {
            if (const auto path = currentSavePath()) {
                if (const auto seconds = modificationSeconds(*path);
                    seconds && *seconds != m_vocabularyLastLoadedDate.value_or(0)) {
                    m_pages.vocabulary->reloadVocabularyFromDisk();
                    m_vocabularyLastLoadedDate = seconds;
                }
            }
        });
        updateLanguagesPopup();

        FirstStartPage &page = *m_firstStartPage;
        page.firstSyncStep3Check->setVisible(true);
        setProgressRunning(false);
        page.firstSyncGetStartedButton->setVisible(true);
        page.firstSyncGetStartedButton->setEnabled(true);
        page.firstSyncStep4Label->setVisible(false);

        m_pages.vocabulary->cloudControllerDidSync();
        m_pages.preferences->cloudControllerDidSync();
        m_pages.quiz->quizListsToAskChanged();
    });
}

void QLXMainWindowController::noteOwnSave(const QString &path, qint64 modificationTime)
{
    if (currentSavePath() == path)
        m_vocabularyLastLoadedDate = modificationTime;
}

void QLXMainWindowController::getStartedAfterSync()
{
    const QList<QLXFile> files = lexi::loadAllAvailableLanguages(m_installation.folders());
    QStringList paths;
    for (const QLXFile &file : files)
        paths.append(file.filePath());
    if (std::shared_ptr<Lexicarta> vocabulary = loadFirstOf(paths)) {
        setCurrentVocabulary(std::move(vocabulary));
        m_pages.vocabulary->updateEntireView();
        updateLanguagesPopup();
        enableAllToolbarItems();
        showVocabulary();
        return;
    }
    FirstStartPage &page = *m_firstStartPage;
    page.firstSyncStep2Check->setVisible(false);
    page.firstSyncStep3Check->setVisible(false);
    page.firstSyncLinkDBButton->setEnabled(true);
    page.firstSyncGetStartedButton->setVisible(false);
    page.firstSyncGetStartedButton->setEnabled(false);
    page.firstSyncStep4Label->setVisible(false);
    // Files that failed to load have told the learner already.
    if (files.isEmpty())
        m_installation.ports().alerts.runModal({mainWindowText(u"noLangsOnDB"_s), mainWindowText(u"noLangsOnDBMsg"_s),
                                                {lexi::StringTables::text(u"ok"_s)}});
}

void QLXMainWindowController::preferencesDidChangeVocabularyAtPath(const QString &path)
{
    QLXStorageManager &storage = m_installation.storage();
    const std::optional<QString> currentPath = currentSavePath();
    const QString pathToLoad = currentPath && QFileInfo(*currentPath).isFile() ? *currentPath : path;
    if (std::shared_ptr<Lexicarta> vocabulary = storage.vocabularyFromFile(pathToLoad))
        setCurrentVocabulary(std::move(vocabulary));
    updateLanguagesPopup();
}

void QLXMainWindowController::preferencesDidDeleteVocabularyAtPath(const QString &path)
{
    updateLanguagesPopup();
    if (currentSavePath() == path) {
        m_languagesPopUp->setCurrentIndex(0);
        selectLanguage();
    }
}

void QLXMainWindowController::importVocabulary()
{
    if (m_pages.sheets)
        m_pages.sheets->showImportSheet(currentVocabulary(), [this] { importDidEnd(); });
}

void QLXMainWindowController::exportVocabulary()
{
    if (m_pages.sheets)
        m_pages.sheets->showExportSheet(currentVocabulary());
}

void QLXMainWindowController::importDidEnd()
{
    const std::shared_ptr<Lexicarta> vocabulary = currentVocabulary();
    if (!vocabulary)
        return;
    vocabulary->setNeedsSync(true);
    m_installation.dropboxController().markFileAsNeedsSync(*vocabulary);
    m_installation.storage().saveVocabulary(vocabulary.get());
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
