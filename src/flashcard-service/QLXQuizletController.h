#pragma once

#include "QLXQuizletPopupControllerDelegate.h"
#include "QuizletResultsModel.h"
#include "QuizletSearch.h"
#include "QuizletServices.h"
#include "QuizletSetSelection.h"

#include "views/MainWindowPage.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QLXPopover;
class QLXQuizletPopupController;

// The flash-card service page: the learner searches the service's sets by keywords, author and a
// term they contain, pages through the results 100 at a time, and chooses a set to see its terms
// in a popover, from which they are imported into the open vocabulary.
//
// Until results arrive, a view over the results table says what is going on: loading (with its
// spinner), nothing typed yet, or nothing found. Only the latest search or page counts: a new one
// cancels the one under way, and a new choice of set cancels the details asked for before. Every
// text from the service is shown as plain text. Main thread only.
class QLXQuizletController : public QWidget,
                             public lexi::FlashCardServicePage,
                             private QLXQuizletPopupControllerDelegate
{
    Q_OBJECT

public:
    explicit QLXQuizletController(const lexi::QuizletServices &services, QWidget *parent = nullptr);

    QWidget *view() override { return this; }

    // The search button (or Return in a search field).
    void search();
    // The page field, by its arrows or a typed number.
    void changePage();
    void visitQuizletCom();

    void didLoadSearchResults();
    void showLoadingView();
    void hideLoadingView();
    void showNoResultsView();
    void localize();
    void popoverShallClose() override;
    void tableViewSelectionDidChange();

    const lexi::QuizletSearch &searchState() const { return m_search; }
    const lexi::QuizletSetSelection &selection() const { return m_selection; }
    QLXQuizletPopupController *popupController() const { return m_popupController; }

    // The controls, for tests.
    QLineEdit *keywordsField() const { return m_keywordsField; }
    QLineEdit *authorField() const { return m_authorField; }
    QLineEdit *termField() const { return m_termField; }
    QPushButton *searchButton() const { return m_searchButton; }
    QPushButton *visitButton() const { return m_visitButton; }
    QTableView *resultsTable() const { return m_resultsTable; }
    QWidget *statusArea() const { return m_statusArea; }
    // The current page and its stepper in one.
    QSpinBox *pageField() const { return m_pageField; }
    QLabel *totalPagesField() const { return m_totalPagesField; }
    QLabel *foundLabel() const { return m_foundLabel; }
    QWidget *loadingView() const { return m_loadingView; }
    QLabel *loadingLabel() const { return m_loadingLabel; }
    QProgressBar *spinner() const { return m_spinner; }
    QLXPopover *popover() const { return m_popover; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildView();
    QWidget *makeSearchArea();
    QWidget *makeStatusArea();
    void placeLoadingView();
    // The web-site button reads as a link in the palette of the moment.
    void colourVisitButton();
    void showConnectionFailure();
    void showSelectedSetDetails();

    lexi::QuizletServices m_services;
    lexi::QuizletSearch m_search;
    lexi::QuizletSetSelection m_selection;
    lexi::QuizletResultsModel m_resultsModel;

    QLabel *m_heading = nullptr;
    QLabel *m_info = nullptr;
    QPushButton *m_visitButton = nullptr;
    QLabel *m_searchLabel = nullptr;
    QLabel *m_keywordsLabel = nullptr;
    QLineEdit *m_keywordsField = nullptr;
    QLabel *m_authorLabel = nullptr;
    QLineEdit *m_authorField = nullptr;
    QLabel *m_termLabel = nullptr;
    QLineEdit *m_termField = nullptr;
    QPushButton *m_searchButton = nullptr;
    QTableView *m_resultsTable = nullptr;
    QWidget *m_statusArea = nullptr;
    QLabel *m_pageLabel = nullptr;
    QSpinBox *m_pageField = nullptr;
    QLabel *m_ofLabel = nullptr;
    QLabel *m_totalPagesField = nullptr;
    QLabel *m_foundLabel = nullptr;
    QWidget *m_loadingView = nullptr;
    QLabel *m_loadingLabel = nullptr;
    QProgressBar *m_spinner = nullptr;
    QLXPopover *m_popover = nullptr;
    QLXQuizletPopupController *m_popupController = nullptr;
};
