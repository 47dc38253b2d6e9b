// Building the main window: the tab view, the toolbar, the menus and their localized texts.
#include "QLXMainWindowController.h"

#include "FirstStartPage.h"
#include "MenuMnemonics.h"
#include "QLXHelpController.h"

#include "platform/files/StringTables.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString helpTable = u"Help"_s;

} // namespace

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

    // Shown once the vocabulary page is.
    m_importButton = m_toolbar->addAction(QIcon(u":/images/import.svg"_s), QString());
    connect(m_importButton, &QAction::triggered, this, &QLXMainWindowController::importVocabulary);
    m_exportButton = m_toolbar->addAction(QIcon(u":/images/export.svg"_s), QString());
    connect(m_exportButton, &QAction::triggered, this, &QLXMainWindowController::exportVocabulary);
    m_importButton->setVisible(false);
    m_exportButton->setVisible(false);

    auto *languagesItem = new QWidget(m_toolbar);
    auto *languagesLayout = new QVBoxLayout(languagesItem);
    languagesLayout->setContentsMargins(8, 2, 8, 2);
    languagesLayout->setSpacing(2);
    m_languagesPopUp = new QComboBox(languagesItem);
    m_languagesPopUp->setMinimumContentsLength(18);
    m_languagesPopUp->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(m_languagesPopUp, &QComboBox::activated, this, [this] { selectLanguage(); });
    // A closed pop-up never switches the vocabulary by an arrow key or the wheel.
    m_languagesPopUp->installEventFilter(this);
    m_languagesLabel = new QLabel(languagesItem);
    m_languagesLabel->setAlignment(Qt::AlignHCenter);
    languagesLayout->addWidget(m_languagesPopUp);
    languagesLayout->addWidget(m_languagesLabel);
    m_toolbar->addWidget(languagesItem);

    m_mainWindow->installEventFilter(this);
    pointHelpNotesAtTheirParts();
}

void QLXMainWindowController::pointHelpNotesAtTheirParts()
{
    using Side = QLXHelpController::Side;
    const lexi::VocabularyHelpTargets list = m_pages.vocabulary->helpTargets();
    m_helpController->setNoteTarget(QLXHelpController::vocabularyDownloadLabel,
                                    {m_toolbar->widgetForAction(m_toolbarItems[quizletTab])}, Side::Below);
    for (const QLXHelpController::Label levelsNote : {QLXHelpController::vocabularyAllWordsLabel,
                                                      QLXHelpController::vocabularyRiseLabel,
                                                      QLXHelpController::vocabularyFallLabel})
        m_helpController->setNoteTarget(levelsNote, list.levels, Side::Right);
    m_helpController->setNoteTarget(QLXHelpController::vocabularyAddWordLabel, {list.addWord}, Side::Right);
    m_helpController->setNoteTarget(QLXHelpController::vocabularySearchLabel, {list.search}, Side::Below);
    m_helpController->setNoteTarget(QLXHelpController::vocabularyTagsLabel, list.tagFilter, Side::Right);
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
    m_vocabularyActions.append(
        addMenuAction(file, u"addWord"_s, &QLXMainWindowController::addNewWord, QKeySequence::New));
    file->addSeparator();
    m_importMenuItem = addMenuAction(file, u"import…"_s, &QLXMainWindowController::importVocabulary,
                                     QKeySequence(Qt::CTRL | Qt::Key_I));
    m_exportMenuItem = addMenuAction(file, u"export…"_s, &QLXMainWindowController::exportVocabulary,
                                     QKeySequence(Qt::CTRL | Qt::Key_E));
    // Until the vocabulary page shows there is no vocabulary to import into or export.
    m_importMenuItem->setEnabled(false);
    m_exportMenuItem->setEnabled(false);
    m_vocabularyActions.append({m_importButton, m_exportButton, m_importMenuItem, m_exportMenuItem});
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
    QAction *deleteDuplicates = addMenuAction(edit, u"deleteDuplicateWords"_s, nullptr);
    connect(deleteDuplicates, &QAction::triggered, this, [this] { m_pages.vocabulary->deleteDuplicates(); });
    m_vocabularyActions.append(deleteDuplicates);
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
    }
    view->addSeparator();
    QAction *synonyms = addMenuAction(view, u"showSynonyms"_s, nullptr);
    connect(synonyms, &QAction::triggered, this, [this] { m_pages.vocabulary->setDisplaySynonyms(); });
    m_vocabularyActions.append(synonyms);
    // While the list shows the synonyms, the item leads back to all words.
    connect(view, &QMenu::aboutToShow, this, [this, synonyms] {
        synonyms->setText(m_pages.vocabulary->isSynonymsActive()
                              ? lexi::StringTables::text(u"showAllWords"_s, u"Vocabulary"_s)
                              : mainWindowText(u"showSynonyms"_s));
    });

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

QAction *QLXMainWindowController::menuItem(const QString &key) const
{
    const auto found = std::find_if(m_localizedActions.cbegin(), m_localizedActions.cend(),
                                    [&key](const auto &localized) { return localized.first == key; });
    return found != m_localizedActions.cend() ? found->second : nullptr;
}

void QLXMainWindowController::localize()
{
    QStringList titles;
    for (const auto &[key, menu] : m_localizedMenus)
        titles.append(mainWindowText(key));
    const QStringList marked = lexi::withMnemonics(titles);
    for (qsizetype index = 0; index < m_localizedMenus.size(); ++index)
        m_localizedMenus[index].second->setTitle(marked[index]);
    for (const auto &[key, item] : m_localizedActions)
        item->setText(mainWindowText(key));
    for (int tab = 0; tab < toolbarTabCount; ++tab)
        m_toolbarItems[tab]->setText(mainWindowText(tabDescriptions()[tab].titleKey));
    m_importButton->setText(mainWindowText(u"import"_s));
    m_exportButton->setText(mainWindowText(u"export"_s));
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
