#include "QLXQuizletController.h"

#include "QLXQuizletPopupController.h"
#include "QuizletClient.h"
#include "QuizletTexts.h"

#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Workspace.h"
#include "views/ArrowKeySelection.h"
#include "views/QLXPopover.h"

#include <QEvent>
#include <QFontInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;
using lexi::quizlet::text;

namespace {

int spinValue(qint64 value)
{
    return int(std::clamp<qint64>(value, 1, std::numeric_limits<int>::max()));
}

} // namespace

QLXQuizletController::QLXQuizletController(const lexi::QuizletServices &services, QWidget *parent)
    : QWidget(parent), m_services(services), m_search(services.client), m_selection(services.client)
{
    buildView();
    localize();
    connect(&m_search, &lexi::QuizletSearch::connectionFailed, this, &QLXQuizletController::showConnectionFailure);
    connect(&m_search, &lexi::QuizletSearch::resultsLoaded, this, &QLXQuizletController::didLoadSearchResults);
    connect(&m_selection, &lexi::QuizletSetSelection::detailsArrived, this,
            &QLXQuizletController::showSelectedSetDetails);
    showNoResultsView();
    m_statusArea->hide();
}

void QLXQuizletController::buildView()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 12);

    auto *header = new QHBoxLayout;
    auto *texts = new QVBoxLayout;
    m_heading = new QLabel(this);
    QFont headingFont = m_heading->font();
    headingFont.setPointSizeF(QFontInfo(headingFont).pointSizeF() * 1.6);
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    m_info = new QLabel(this);
    m_info->setWordWrap(true);
    texts->addWidget(m_heading);
    texts->addWidget(m_info);
    m_visitButton = new QPushButton(this);
    m_visitButton->setFlat(true);
    m_visitButton->setCursor(Qt::PointingHandCursor);
    colourVisitButton();
    connect(m_visitButton, &QPushButton::clicked, this, &QLXQuizletController::visitQuizletCom);
    header->addLayout(texts, 1);
    header->addWidget(m_visitButton, 0, Qt::AlignTop);
    layout->addLayout(header);
    layout->addSpacing(8);
    layout->addWidget(makeSearchArea());

    m_resultsTable = new QTableView(this);
    m_resultsTable->setModel(&m_resultsModel);
    m_resultsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_resultsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_resultsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_resultsTable->setAlternatingRowColors(true);
    m_resultsTable->setWordWrap(false);
    // Tab leaves the results for the next control; the arrows move among the sets.
    m_resultsTable->setTabKeyNavigation(false);
    m_resultsTable->verticalHeader()->hide();
    QHeaderView *columns = m_resultsTable->horizontalHeader();
    columns->setSectionResizeMode(lexi::QuizletResultsModel::Title, QHeaderView::Stretch);
    columns->setSectionResizeMode(lexi::QuizletResultsModel::Author, QHeaderView::Interactive);
    columns->setSectionResizeMode(lexi::QuizletResultsModel::Keywords, QHeaderView::Stretch);
    columns->resizeSection(lexi::QuizletResultsModel::Author, 160);
    m_resultsTable->installEventFilter(this);
    lexi::selectCurrentRowOnFirstArrow(m_resultsTable);
    connect(m_resultsTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &QLXQuizletController::tableViewSelectionDidChange);
    layout->addWidget(m_resultsTable, 1);
    layout->addWidget(makeStatusArea());

    m_loadingView = new QWidget(this);
    // Over the results of the search before, its text stays legible.
    m_loadingView->setBackgroundRole(QPalette::Base);
    m_loadingView->setAutoFillBackground(true);
    auto *loading = new QHBoxLayout(m_loadingView);
    m_spinner = new QProgressBar(m_loadingView);
    m_spinner->setTextVisible(false);
    m_spinner->setFixedWidth(120);
    m_loadingLabel = new QLabel(m_loadingView);
    loading->addWidget(m_spinner);
    loading->addWidget(m_loadingLabel);

    m_popover = new QLXPopover(this);
    m_popupController = new QLXQuizletPopupController(m_services.keeper);
    m_popupController->setDelegate(this);
    m_popover->setContentWidget(m_popupController);

    setTabOrder(m_keywordsField, m_authorField);
    setTabOrder(m_authorField, m_termField);
    setTabOrder(m_termField, m_searchButton);
    setTabOrder(m_searchButton, m_resultsTable);
    setTabOrder(m_resultsTable, m_pageField);
}

QWidget *QLXQuizletController::makeSearchArea()
{
    auto *area = new QWidget(this);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    m_searchLabel = new QLabel(area);
    QFont bold = m_searchLabel->font();
    bold.setBold(true);
    m_searchLabel->setFont(bold);
    grid->addWidget(m_searchLabel, 0, 0, 1, 3);
    m_keywordsLabel = new QLabel(area);
    m_authorLabel = new QLabel(area);
    m_termLabel = new QLabel(area);
    m_keywordsField = new QLineEdit(area);
    m_authorField = new QLineEdit(area);
    m_termField = new QLineEdit(area);
    int column = 0;
    for (auto [label, field] : {std::pair{m_keywordsLabel, m_keywordsField}, std::pair{m_authorLabel, m_authorField},
                                std::pair{m_termLabel, m_termField}}) {
        label->setBuddy(field);
        field->setClearButtonEnabled(true);
        connect(field, &QLineEdit::returnPressed, this, &QLXQuizletController::search);
        grid->addWidget(label, 1, column);
        grid->addWidget(field, 2, column);
        grid->setColumnStretch(column, 1);
        ++column;
    }
    m_searchButton = new QPushButton(area);
    m_searchButton->setDefault(true);
    connect(m_searchButton, &QPushButton::clicked, this, &QLXQuizletController::search);
    grid->addWidget(m_searchButton, 2, column);
    return area;
}

QWidget *QLXQuizletController::makeStatusArea()
{
    m_statusArea = new QWidget(this);
    auto *row = new QHBoxLayout(m_statusArea);
    row->setContentsMargins(0, 4, 0, 0);
    m_pageLabel = new QLabel(m_statusArea);
    m_pageField = new QSpinBox(m_statusArea);
    m_pageField->setRange(1, 1);
    // A typed number counts once it is entered, not at each digit.
    m_pageField->setKeyboardTracking(false);
    m_pageField->setMinimumWidth(70);
    m_pageLabel->setBuddy(m_pageField);
    connect(m_pageField, &QSpinBox::valueChanged, this, &QLXQuizletController::changePage);
    m_ofLabel = new QLabel(m_statusArea);
    m_totalPagesField = new QLabel(m_statusArea);
    m_foundLabel = new QLabel(m_statusArea);
    m_foundLabel->setTextFormat(Qt::PlainText);
    row->addWidget(m_pageLabel);
    row->addWidget(m_pageField);
    row->addWidget(m_ofLabel);
    row->addWidget(m_totalPagesField);
    row->addStretch(1);
    row->addWidget(m_foundLabel);
    return m_statusArea;
}

void QLXQuizletController::localize()
{
    m_keywordsField->setPlaceholderText(text(u"searchKeywordPlaceholder"_s));
    m_authorField->setPlaceholderText(text(u"searchAuthorPlaceholder"_s));
    m_termField->setPlaceholderText(text(u"searchContainsTermsPlaceholder"_s));
    m_keywordsLabel->setText(text(u"searchKeywordLabel"_s));
    m_authorLabel->setText(text(u"searchAuthorLabel"_s));
    m_termLabel->setText(text(u"searchContainsTermsLabel"_s));
    m_searchButton->setText(text(u"searchButton"_s));
    m_searchLabel->setText(text(u"search"_s));
    m_heading->setText(text(u"quizletHeadding"_s));
    m_info->setText(text(u"quizletInfo"_s));
    m_visitButton->setText(text(u"visitQuizletCom"_s));
    m_pageLabel->setText(text(u"page"_s));
    m_ofLabel->setText(text(u"of"_s));
    // The column titles come from the table's model.
    emit m_resultsModel.headerDataChanged(Qt::Horizontal, 0, lexi::QuizletResultsModel::ColumnCount - 1);
}

void QLXQuizletController::search()
{
    popoverShallClose();
    m_search.search(m_keywordsField->text(), m_authorField->text(), m_termField->text());
    showLoadingView();
}

void QLXQuizletController::changePage()
{
    popoverShallClose();
    m_search.changePage(m_pageField->value());
    showLoadingView();
}

void QLXQuizletController::visitQuizletCom()
{
    m_services.workspace.openWebAddress(lexi::QuizletClient::webSiteAddress(m_services.defaults));
}

void QLXQuizletController::showConnectionFailure()
{
    m_services.alerts.runModal(
        lexi::Alert(text(u"connectionFailed"_s), text(u"connectionFailedMsg"_s), {text(u"OK"_s)}, 0));
}

void QLXQuizletController::didLoadSearchResults()
{
    const QLXQuizletSearchResults &results = m_search.searchResults();
    m_totalPagesField->setText(QString::number(results.totalPages()));
    {
        // Showing the page that arrived asks for no page.
        const QSignalBlocker blocker(m_pageField);
        m_pageField->setMaximum(spinValue(results.totalPages()));
        m_pageField->setValue(spinValue(results.page()));
    }
    m_foundLabel->setText(lexi::quizlet::foundText(results));
    m_resultsModel.setSearchResults(results);
    if (!results.sets().isEmpty()) {
        hideLoadingView();
        m_statusArea->show();
    } else {
        showNoResultsView();
        m_statusArea->hide();
    }
}

void QLXQuizletController::showLoadingView()
{
    m_loadingLabel->setText(text(u"loading"_s));
    m_spinner->setRange(0, 0);
    m_spinner->show();
    m_loadingView->show();
    m_loadingView->raise();
    placeLoadingView();
}

void QLXQuizletController::showNoResultsView()
{
    m_loadingLabel->setText(
        lexi::quizlet::noResultsText(m_keywordsField->text(), m_authorField->text(), m_termField->text()));
    m_spinner->setRange(0, 1);
    m_spinner->hide();
    m_loadingView->show();
    m_loadingView->raise();
    placeLoadingView();
}

void QLXQuizletController::hideLoadingView()
{
    m_spinner->setRange(0, 1);
    m_loadingView->hide();
}

void QLXQuizletController::placeLoadingView()
{
    // Centred on the results table, over its rows.
    m_loadingView->adjustSize();
    const QRect table = m_resultsTable->geometry();
    const QSize size = m_loadingView->size();
    m_loadingView->move(table.x() + (table.width() - size.width()) / 2,
                        table.y() + table.height() / 2 - size.height() / 2);
}

bool QLXQuizletController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_resultsTable && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeLoadingView();
    // Return in the results takes the keyboard into the open popover, to its default button;
    // Escape closes it.
    if (watched == m_resultsTable && event->type() == QEvent::KeyPress && m_popover->isVisible()) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_popupController->takeFocus();
            return true;
        }
        if (key == Qt::Key_Escape) {
            popoverShallClose();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void QLXQuizletController::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The keyboard comes along to the page: back to where it was on it, else to the first field.
    if (QWidget *focused = window()->focusWidget(); focused && isAncestorOf(focused))
        return;
    QWidget *last = focusWidget();
    (last && last->isVisibleTo(this) && last->isEnabled() ? last : m_keywordsField)->setFocus(Qt::OtherFocusReason);
}

void QLXQuizletController::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        colourVisitButton();
}

void QLXQuizletController::colourVisitButton()
{
    QPalette link = palette();
    link.setColor(QPalette::ButtonText, link.color(QPalette::Link));
    m_visitButton->setPalette(link);
}

void QLXQuizletController::tableViewSelectionDidChange()
{
    const QModelIndexList rows = m_resultsTable->selectionModel()->selectedRows(lexi::QuizletResultsModel::Title);
    if (rows.isEmpty())
        return;
    const QLXQuizletSet *set = m_resultsModel.set(rows.first().row());
    if (!set)
        return;
    m_selection.select(*set);
    m_popupController->setQuizletSet(*set, false);
    m_popover->showRelativeToRect(m_resultsTable->viewport(), m_resultsTable->visualRect(rows.first()));
}

void QLXQuizletController::showSelectedSetDetails()
{
    if (!m_popover->isVisible() || !m_selection.selectedSet())
        return;
    m_popupController->setQuizletSet(*m_selection.selectedSet(), true);
    m_popover->reposition();
}

void QLXQuizletController::popoverShallClose()
{
    m_popover->close();
    m_selection.clear();
    // Choosing the same set again opens it again.
    const QSignalBlocker blocker(m_resultsTable->selectionModel());
    m_resultsTable->clearSelection();
    m_resultsTable->viewport()->update();
}
