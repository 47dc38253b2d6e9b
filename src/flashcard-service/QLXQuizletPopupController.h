#pragma once

#include "QLXQuizletPopupControllerDelegate.h"
#include "QuizletPopupState.h"
#include "QuizletTermsModel.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;
class QToolButton;

namespace lexi {
class QuizletKeywordTokens;
class VocabularyKeeper;
} // namespace lexi

// The content of the popover that shows one set of the search results: its title, author and
// keywords, its terms under the names of the open vocabulary's languages (foreign first, as the
// import takes them), a button that swaps the direction, and Import and Close. After an import
// the terms give way to how many words were added and how many were there already.
//
// Every text of the set is shown as the plain text the service sent. Main thread only.
class QLXQuizletPopupController : public QWidget
{
    Q_OBJECT

public:
    // `keeper` holds the vocabulary imported into; it must outlive the popover.
    explicit QLXQuizletPopupController(lexi::VocabularyKeeper &keeper, QWidget *parent = nullptr);

    void setDelegate(QLXQuizletPopupControllerDelegate *delegate) { m_delegate = delegate; }
    // Shows `set`; `withDetails` when it came with all its terms, which is when it can be imported.
    void setQuizletSet(const QLXQuizletSet &set, bool withDetails);
    const QLXQuizletSet &quizletSet() const { return m_state.quizletSet(); }
    bool invertImportDirection() const { return m_state.invertImportDirection(); }

    void import();
    void changeDirection();
    void close();
    void localize();
    // Gives the keyboard to the import button, or to the close button while there is nothing to
    // import.
    void takeFocus();

    // The controls, for tests.
    QLabel *titleField() const { return m_titleField; }
    QLabel *authorField() const { return m_authorField; }
    lexi::QuizletKeywordTokens *keywordsField() const { return m_keywordsField; }
    QLabel *foreignLanguageLabel() const { return m_foreignLanguageLabel; }
    QLabel *yourLanguageLabel() const { return m_yourLanguageLabel; }
    QTableView *termsTable() const { return m_termsTable; }
    QToolButton *directionButton() const { return m_directionButton; }
    QPushButton *importButton() const { return m_importButton; }
    QPushButton *closeButton() const { return m_closeButton; }
    QLabel *importInfo() const { return m_importInfo; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildView();
    void showLanguageNames();
    void showTerms();

    lexi::VocabularyKeeper &m_keeper;
    QLXQuizletPopupControllerDelegate *m_delegate = nullptr;
    lexi::QuizletPopupState m_state;
    lexi::QuizletTermsModel m_termsModel;

    QLabel *m_titleLabel = nullptr;
    QLabel *m_titleField = nullptr;
    QLabel *m_authorLabel = nullptr;
    QLabel *m_authorField = nullptr;
    QLabel *m_keywordsLabel = nullptr;
    lexi::QuizletKeywordTokens *m_keywordsField = nullptr;
    QLabel *m_foreignLanguageLabel = nullptr;
    QLabel *m_yourLanguageLabel = nullptr;
    QWidget *m_termsArea = nullptr;
    QToolButton *m_directionButton = nullptr;
    QTableView *m_termsTable = nullptr;
    QLabel *m_importInfo = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};
