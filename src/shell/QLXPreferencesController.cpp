#include "QLXPreferencesController.h"

#include "QLXColorButton.h"
#include "QLXLanguageSheet.h"
#include "QLXPreferencesDelegate.h"
#include "VocabulariesTableModel.h"

#include "logging/QLXLogMacros.h"
#include "model/AvailableLanguages.h"
#include "model/KeyboardInputSources.h"
#include "model/QLXStorageManager.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Settings.h"
#include "platform/files/StringTables.h"
#include "platform/linux/LocaleName.h"
#include "sync/DropBoxController.h"
#include "sync/QLXSyncLog.h"
#include "views/ArrowKeySelection.h"
#include "views/QLXBookmarkView.h"
#include "views/QLXColorTheme.h"
#include "views/TextShareKeeper.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileSystemWatcher>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

const QString settingsTable = u"Settings"_s;

enum Page { general, languages, syncing };

QString text(const QString &key)
{
    return lexi::StringTables::text(key, settingsTable);
}

// A text whose key localize() looks up.
const char *const textKeyProperty = "lexicartaTextKey";

template<typename Widget>
Widget *keyed(Widget *widget, const QString &key)
{
    widget->setProperty(textKeyProperty, key);
    return widget;
}

QLabel *heading(const QString &key)
{
    auto *label = keyed(new QLabel, key);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.45);
    label->setFont(font);
    return label;
}

QLabel *sectionTitle(const QString &key)
{
    auto *label = keyed(new QLabel, key);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLabel *information(const QString &key)
{
    auto *label = keyed(new QLabel, key);
    label->setWordWrap(true);
    lexi::TextShareKeeper::keep(*label, lexi::TextShareKeeper::secondaryTextShare);
    return label;
}

QVBoxLayout *pageLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(28, 22, 28, 22);
    layout->setSpacing(6);
    return layout;
}

void addSectionGap(QVBoxLayout *layout)
{
    layout->addSpacing(14);
}

} // namespace

QLXPreferencesController::QLXPreferencesController(Environment environment, QWidget *parent)
    : QWidget(parent),
      m_environment(std::move(environment)),
      m_editor({m_environment.folders, m_environment.storage, m_environment.services, m_environment.defaults,
                m_environment.sync, m_environment.alerts}),
      m_statistics(*m_environment.defaults, m_environment.analytics),
      m_summaryCache(*m_environment.storage)
{
    setObjectName(u"preferences"_s);
    m_tabView = new QStackedWidget;
    m_tabView->addWidget(makeGeneralPage());
    m_tabView->addWidget(makeLanguagesPage());
    m_tabView->addWidget(makeSyncingPage());

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeSideBar());
    layout->addWidget(m_tabView, 1);

    // Each theme button shows the colour the background takes when it is chosen.
    for (qint64 index = 0; index < 6; ++index)
        m_colorButtons[index]->setColor(QLXColorTheme::standardColor(index));

    m_sheet = new QLXLanguageSheet(this);
    connect(m_sheet, &QLXLanguageSheet::confirmed, this, &QLXPreferencesController::closeEditLangPanel);

    // Files that the synchronisation or another program changes show at once.
    m_folderWatcher = new QFileSystemWatcher(this);
    m_folderWatcher->addPath(m_environment.folders->vocabularyFolderPath());
    connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, this, &QLXPreferencesController::loadVocabularies);

    localize();
    showPreferences();
}

QWidget *QLXPreferencesController::makeSideBar()
{
    // The side bar shows the colour theme, as the quiz pages behind their cards do.
    m_bookmarkView = new QLXBookmarkView(*m_environment.colorTheme);
    m_bookmarkView->setObjectName(u"bookmarkView"_s);
    m_bookmarkView->setFixedWidth(168);
    m_bookmarkView->setStyleSheet(
        u"QPushButton { color: white; border: none; border-radius: 6px; padding: 8px 14px; text-align: left; }"
        "QPushButton:checked { background: rgba(255, 255, 255, 46); }"
        "QPushButton:hover:!checked { background: rgba(255, 255, 255, 20); }"
        "QPushButton:focus { outline: none; text-decoration: underline; }"_s);

    auto *layout = new QVBoxLayout(m_bookmarkView);
    layout->setContentsMargins(10, 18, 10, 18);
    layout->setSpacing(4);
    const QString keys[] = {u"generalHeadding"_s, u"languagesHeadding"_s, u"dbHeading"_s};
    const char *const names[] = {"generalButton", "languagesButton", "syncingButton"};
    for (int page = 0; page < 3; ++page) {
        auto *button = keyed(new QPushButton, keys[page]);
        button->setObjectName(QString::fromLatin1(names[page]));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        QFont font = button->font();
        font.setPointSizeF(font.pointSizeF() * 1.1);
        button->setFont(font);
        layout->addWidget(button);
        m_pageButtons[page] = button;
    }
    layout->addStretch();
    connect(m_pageButtons[general], &QPushButton::clicked, this, &QLXPreferencesController::showGeneral);
    connect(m_pageButtons[languages], &QPushButton::clicked, this, &QLXPreferencesController::showLanguages);
    connect(m_pageButtons[syncing], &QPushButton::clicked, this, &QLXPreferencesController::showSyncing);
    return m_bookmarkView;
}

QWidget *QLXPreferencesController::makeGeneralPage()
{
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(heading(u"generalHeadding"_s));
    layout->addWidget(information(u"generalInfo"_s));
    addSectionGap(layout);

    layout->addWidget(sectionTitle(u"commentHandling"_s));
    m_showCommentWithQuestion = keyed(new QCheckBox, u"showCommentWithQuestion"_s);
    layout->addWidget(m_showCommentWithQuestion);
    layout->addWidget(information(u"commentHandlingInfo"_s));
    addSectionGap(layout);

    layout->addWidget(sectionTitle(u"keyboard"_s));
    layout->addWidget(information(u"keyboardInfo"_s));
    auto *keyboards = new QFormLayout;
    keyboards->setLabelAlignment(Qt::AlignLeft);
    m_tagsKeyboard = new QComboBox;
    m_commentKeyboard = new QComboBox;
    for (QComboBox *popUp : {m_tagsKeyboard, m_commentKeyboard}) {
        popUp->addItems({QString(), QString()});
        popUp->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    auto *tagsLabel = keyed(new QLabel, u"tagsKeyboard"_s);
    tagsLabel->setBuddy(m_tagsKeyboard);
    auto *commentsLabel = keyed(new QLabel, u"commentsKeyboard"_s);
    commentsLabel->setBuddy(m_commentKeyboard);
    keyboards->addRow(tagsLabel, m_tagsKeyboard);
    keyboards->addRow(commentsLabel, m_commentKeyboard);
    layout->addLayout(keyboards);
    addSectionGap(layout);

    layout->addWidget(sectionTitle(u"colorTheme"_s));
    auto *colors = new QHBoxLayout;
    colors->setSpacing(10);
    const char *const colorNames[] = {"blackColorButton", "blueColorButton", "purpleColorButton",
                                      "greenColorButton", "redColorButton",  "violetColorButton"};
    for (qint64 index = 0; index < 6; ++index) {
        auto *button = new QLXColorButton;
        button->setObjectName(QString::fromLatin1(colorNames[index]));
        button->setFixedSize(30, 30);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QLXColorButton::clicked, this, [this, index] { changeColorTheme(index); });
        colors->addWidget(button);
        m_colorButtons[index] = button;
    }
    colors->addStretch();
    layout->addSpacing(2);
    layout->addLayout(colors);
    addSectionGap(layout);

    layout->addWidget(sectionTitle(u"sendStatisticsHeading"_s));
    m_sendStatistics = keyed(new QCheckBox, u"sendStatistics"_s);
    layout->addWidget(m_sendStatistics);
    layout->addWidget(information(u"sendStatisticsInfo"_s));
    layout->addStretch();

    connect(m_showCommentWithQuestion, &QCheckBox::clicked, this,
            &QLXPreferencesController::setshowCommentWithQuestion);
    connect(m_tagsKeyboard, &QComboBox::activated, this, &QLXPreferencesController::setSwitchKeyboardTags);
    connect(m_commentKeyboard, &QComboBox::activated, this, &QLXPreferencesController::setSwitchKeyboardComment);
    connect(m_sendStatistics, &QCheckBox::clicked, this, &QLXPreferencesController::setSendStatistics);
    return page;
}

QWidget *QLXPreferencesController::makeLanguagesPage()
{
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(heading(u"languagesHeadding"_s));
    layout->addWidget(information(u"languagesInfo"_s));
    layout->addSpacing(8);

    m_tableModel = new lexi::VocabulariesTableModel(this);
    m_table = new QTableView;
    m_table->setObjectName(u"vocabulariesTableView"_s);
    m_table->setModel(m_tableModel);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    // Tab goes on to the buttons below instead of from cell to cell; arrows choose the row.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(lexi::VocabulariesTableModel::language, QHeaderView::Stretch);
    lexi::selectCurrentRowOnFirstArrow(m_table);
    layout->addWidget(m_table, 1);

    m_plusButton = keyed(new QPushButton, u"addLanguage"_s);
    m_minusButton = keyed(new QPushButton, u"deleteLanguage"_s);
    m_editShowButton = keyed(new QPushButton, u"editLanguage"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_plusButton);
    buttons->addWidget(m_minusButton);
    buttons->addStretch();
    buttons->addWidget(m_editShowButton);
    layout->addLayout(buttons);

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QLXPreferencesController::tableViewSelectionDidChange);
    // Return or a double click edits the vocabulary, the Delete key deletes it.
    connect(m_table, &QTableView::activated, this, &QLXPreferencesController::showEditLangPanel);
    auto *deleteKey = new QShortcut(QKeySequence::Delete, m_table, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, [this] {
        if (m_minusButton->isEnabled())
            removeLanguage();
    });
    connect(m_plusButton, &QPushButton::clicked, this, &QLXPreferencesController::showAddLangPanel);
    connect(m_minusButton, &QPushButton::clicked, this, &QLXPreferencesController::removeLanguage);
    connect(m_editShowButton, &QPushButton::clicked, this, &QLXPreferencesController::showEditLangPanel);
    return page;
}

QWidget *QLXPreferencesController::makeSyncingPage()
{
    auto *page = new QWidget;
    auto *layout = pageLayout(page);
    layout->addWidget(heading(u"dbHeading"_s));
    layout->addWidget(information(u"dbInfo"_s));
    addSectionGap(layout);

    // The choice of a second cloud service is left out: nothing here could act on it.
    m_syncOnButton = keyed(new QRadioButton, u"enableDB"_s);
    m_syncOnButton->setObjectName(u"enableDropboxButton"_s);
    m_syncOffButton = keyed(new QRadioButton, u"off"_s);
    m_syncChoice = new QButtonGroup(this);
    m_syncChoice->addButton(m_syncOnButton);
    m_syncChoice->addButton(m_syncOffButton);
    layout->addWidget(m_syncOnButton);
    layout->addWidget(m_syncOffButton);
    addSectionGap(layout);

    m_syncStatusLabel = sectionTitle(u"dbSyncStatus"_s);
    m_syncStatusText = new QPlainTextEdit;
    m_syncStatusText->setObjectName(u"syncStatusTextView"_s);
    m_syncStatusText->setReadOnly(true);
    m_syncStatusText->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(m_syncStatusLabel);
    layout->addWidget(m_syncStatusText, 1);
    layout->addSpacing(8);
    layout->addWidget(information(u"dbTips"_s));

    m_getAppButton = keyed(new QPushButton, u"dbGetIosApp"_s);
    auto *appRow = new QHBoxLayout;
    appRow->addStretch();
    appRow->addWidget(m_getAppButton);
    layout->addLayout(appRow);
    // The status takes the room below the choice; while it is hidden (syncing off) the room stays
    // empty below everything, and the page keeps its controls together at the top.
    layout->addStretch();

    connect(m_syncChoice, &QButtonGroup::buttonClicked, this, &QLXPreferencesController::enableDropbox);
    connect(m_getAppButton, &QPushButton::clicked, this, &QLXPreferencesController::visitiPhoneWebsite);
    return page;
}

void QLXPreferencesController::localize()
{
    const QList<QWidget *> widgets = findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        const QVariant key = widget->property(textKeyProperty);
        if (!key.isValid())
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(text(key.toString()));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(text(key.toString()));
    }
    for (QComboBox *popUp : {m_tagsKeyboard, m_commentKeyboard}) {
        popUp->setItemText(0, text(u"keyboardYour"_s));
        popUp->setItemText(1, text(u"keyboardForeign"_s));
    }
    m_tableModel->setHeaders({text(u"languageTableColumnTitle"_s), text(u"wordsTableColumnTitle"_s),
                              text(u"yourKeyboardTableColumnTitle"_s), text(u"foreignKeyboardTableColumnTitle"_s)});
}

void QLXPreferencesController::showPreferences()
{
    loadVocabularies();
    const lexi::Settings settings(*m_environment.defaults);
    m_showCommentWithQuestion->setChecked(settings.value(lexi::Settings::showCommentWithQuestion));
    m_tagsKeyboard->setCurrentIndex(settings.value(lexi::Settings::switchKeyboardTagsToForeign) ? 1 : 0);
    m_commentKeyboard->setCurrentIndex(settings.value(lexi::Settings::switchKeyboardCommentToForeign) ? 1 : 0);
    m_sendStatistics->setChecked(m_statistics.isOptedIn());
    m_plusButton->setEnabled(true);
    deselectAll();
    m_minusButton->setEnabled(false);
    m_editShowButton->setEnabled(false);
    showGeneral();
}

int QLXPreferencesController::currentPage() const
{
    return m_tabView->currentIndex();
}

void QLXPreferencesController::selectPage(int page)
{
    m_tabView->setCurrentIndex(page);
    m_pageButtons[page]->setChecked(true);
}

void QLXPreferencesController::showGeneral()
{
    selectPage(general);
}

void QLXPreferencesController::showLanguages()
{
    requestSync();
    loadVocabularies();
    m_plusButton->setEnabled(true);
    selectPage(languages);
}

void QLXPreferencesController::showSyncing()
{
    requestSync();
    cloudControllerDidSync();
    const bool enabled = isSyncEnabled();
    m_syncStatusText->setVisible(enabled);
    m_syncStatusLabel->setVisible(enabled);
    selectPage(syncing);
}

void QLXPreferencesController::cloudControllerDidSync()
{
    if (m_environment.syncLog)
        m_syncStatusText->setPlainText(m_environment.syncLog->syncStatusForAllLangsString());
    (isSyncEnabled() ? m_syncOnButton : m_syncOffButton)->setChecked(true);
    loadVocabularies();
}

void QLXPreferencesController::setshowCommentWithQuestion()
{
    lexi::Settings(*m_environment.defaults).setValue(lexi::Settings::showCommentWithQuestion,
                                                     m_showCommentWithQuestion->isChecked());
}

void QLXPreferencesController::setSwitchKeyboardTags()
{
    lexi::Settings(*m_environment.defaults).setValue(lexi::Settings::switchKeyboardTagsToForeign,
                                                     m_tagsKeyboard->currentIndex() != 0);
}

void QLXPreferencesController::setSwitchKeyboardComment()
{
    lexi::Settings(*m_environment.defaults).setValue(lexi::Settings::switchKeyboardCommentToForeign,
                                                     m_commentKeyboard->currentIndex() != 0);
}

void QLXPreferencesController::setSendStatistics()
{
    m_statistics.setSendStatistics(m_sendStatistics->isChecked());
}

void QLXPreferencesController::changeColorTheme(qint64 index)
{
    m_bookmarkView->setColor(index);
}

void QLXPreferencesController::enableDropbox()
{
    if (m_environment.sync)
        m_environment.sync->setIsEnabled(m_syncOnButton->isChecked());
    showSyncing();
    requestSync();
}

void QLXPreferencesController::visitiPhoneWebsite()
{
    if (m_environment.openUrl)
        m_environment.openUrl(QUrl(text(u"appUrl"_s)));
}

void QLXPreferencesController::requestSync()
{
    if (m_environment.sync)
        m_environment.sync->syncWithDropbox();
}

bool QLXPreferencesController::isSyncEnabled() const
{
    return m_environment.sync && m_environment.sync->isEnabled();
}

QString QLXPreferencesController::inputSourceName(const std::optional<QString> &identifier) const
{
    if (!identifier)
        return {};
    const auto source = std::find_if(m_inputSources.cbegin(), m_inputSources.cend(),
                                     [&](const lexi::InputSource &source) { return source.identifier == *identifier; });
    return source == m_inputSources.cend() ? QString() : source->localizedName;
}

void QLXPreferencesController::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    loadVocabularies();
}

void QLXPreferencesController::loadVocabularies()
{
    if (!isVisible())
        return;
    QList<QLXFile> files = lexi::loadAllAvailableLanguages(*m_environment.folders);
    std::sort(files.begin(), files.end(),
              [](const QLXFile &one, const QLXFile &other) { return one.compareNames(other) < 0; });
    std::optional<lexi::VocabularySummaryCache::OpenVocabulary> open;
    if (const Lexicarta *vocabulary = m_environment.keeper ? m_environment.keeper->vocabulary().get() : nullptr) {
        if (const std::optional<QString> path = m_environment.storage->savePathForVocabulary(*vocabulary))
            open = {*path, lexi::VocabularySummary::of(*vocabulary)};
    }
    const auto entries = m_summaryCache.summaries(files, [this] { loadVocabularies(); }, open);

    m_inputSources = lexi::allInputSources(*m_environment.inputSources, false);
    QList<QLXFile> vocabularies;
    m_summaries.clear();
    for (const auto &entry : entries) {
        QLXFile file = entry.file;
        file.setLanguageName(entry.summary.displayName);
        file.setNumberOfWords(entry.summary.numberOfWords);
        file.setYourInputSourceName(inputSourceName(entry.summary.yourTextInputSourceId));
        file.setForeignInputSourceName(inputSourceName(entry.summary.foreignTextInputSourceId));
        vocabularies.append(file);
        m_summaries.insert(file.filePath(), entry.summary);
    }

    // The table keeps the selected vocabulary selected when it is refreshed.
    const std::optional<QLXFile> selected = m_selectedVocabularyFile;
    const QSignalBlocker blocker(m_table->selectionModel());
    m_tableModel->setFiles(vocabularies);
    int row = -1;
    for (qsizetype index = 0; selected && index < vocabularies.size(); ++index) {
        if (vocabularies[index].filePath() == selected->filePath())
            row = int(index);
    }
    if (row >= 0)
        m_table->selectRow(row);
    tableViewSelectionDidChange();
}

qsizetype QLXPreferencesController::allVocsCountIncludingInvisibles() const
{
    return m_tableModel->files().size();
}

void QLXPreferencesController::deselectAll()
{
    m_table->clearSelection();
    tableViewSelectionDidChange();
}

void QLXPreferencesController::tableViewSelectionDidChange()
{
    const QList<QLXFile> &vocabularies = m_tableModel->files();
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.front().row() >= vocabularies.size()) {
        m_minusButton->setEnabled(false);
        m_editShowButton->setEnabled(false);
        m_selectedVocabularyFile.reset();
        return;
    }
    m_selectedVocabularyFile = vocabularies[rows.front().row()];
    // The last vocabulary cannot be deleted.
    m_minusButton->setEnabled(vocabularies.size() > 1);
    m_editShowButton->setEnabled(true);
}

void QLXPreferencesController::removeLanguage()
{
    if (!m_selectedVocabularyFile)
        return;
    const QLXFile file = *m_selectedVocabularyFile;
    if (m_editor.removeLanguage(file) == lexi::LanguageEditor::Removal::deleted && m_delegate)
        m_delegate->preferencesDidDeleteVocabularyAtPath(file.filePath());
    loadVocabularies();
    deselectAll();
    if (lexi::loadAllAvailableLanguagePaths(*m_environment.folders).isEmpty()) {
        m_addSheetLater.cancel();
        m_addSheetLater = m_environment.scheduler->after(addSheetDelay, [this] { showAddLangPanel(); });
    }
}

void QLXPreferencesController::showAddLangPanel()
{
    const auto sources = lexi::allInputSources(*m_environment.inputSources, false);
    m_sheet->setContent(lexi::contentForAdding(sources, m_environment.inputSources->currentKeyboardInputSource(),
                                               text(u"newLanguage"_s), lexi::selectedLocaleName()));
    m_sheet->open();
}

void QLXPreferencesController::showEditLangPanel()
{
    if (!m_selectedVocabularyFile) {
        QLXLogError("PrefController > showEditPanel > no selected lang file");
        return;
    }
    const QString path = m_selectedVocabularyFile->filePath();
    const auto sources = lexi::allInputSources(*m_environment.inputSources, false);
    m_sheet->setContent(lexi::contentForEditing(path, m_summaries.value(path), sources,
                                                m_environment.inputSources->currentKeyboardInputSource()));
    m_sheet->open();
}

void QLXPreferencesController::closeEditLangPanel()
{
    const lexi::LanguageSheetContent content = m_sheet->content();
    const std::optional<lexi::LanguageNames> names = m_editor.checkSheet(content);
    if (!names)
        return;
    m_sheet->setBusy(true);
    m_saveQueue.async([this, content, names = *names] {
        const lexi::Result<QString> saved = m_editor.saveSheet(content, names);
        QMetaObject::invokeMethod(this, [this, saved] { didSaveSheet(saved); }, Qt::QueuedConnection);
    });
}

void QLXPreferencesController::didSaveSheet(const lexi::Result<QString> &saved)
{
    m_sheet->setBusy(false);
    if (!saved) {
        QLXLogError("PrefController > closeEditLangPanel > %@", saved.error());
        m_editor.showCouldNotSave();
        m_sheet->reject();
        return;
    }
    requestSync();
    // The main window takes in the change first when the vocabulary is the open one, which the
    // table lists as it is open.
    if (m_delegate)
        m_delegate->preferencesDidChangeVocabularyAtPath(*saved);
    loadVocabularies();
    deselectAll();
    m_sheet->accept();
}

void QLXPreferencesController::finishPendingWork()
{
    // A finished save or read refreshes the table, which may hand over files to read again.
    do {
        m_saveQueue.sync([] {});
        m_summaryCache.waitUntilRead();
        QCoreApplication::processEvents();
    } while (m_summaryCache.isReading());
}
