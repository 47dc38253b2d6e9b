#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <array>
#include <memory>

class QLabel;
class QStackedWidget;
class QWidget;

// The help overlay laid over the vocabulary list the first time the learner opens it: short notes
// on the list's parts over a dimmed copy of the list, each beside the part it describes and
// covering none of them. Any tab switch, a click on the overlay or Escape removes it again; while
// it shows, the keyboard never reaches what it covers.
class QLXHelpController : public QObject
{
    Q_OBJECT

public:
    enum Label {
        vocabularyAllWordsLabel,
        vocabularyRiseLabel,
        vocabularyFallLabel,
        vocabularyDownloadLabel,
        vocabularyHelpLabel,
        vocabularyAddWordLabel,
        vocabularySearchLabel,
        vocabularyTagsLabel,
        vocabularyCloseLabel,
        labelCount
    };
    // Where a note stands beside what it describes: to its right, or below it.
    enum class Side { Right, Below };

    explicit QLXHelpController(QObject *parent = nullptr);
    ~QLXHelpController() override;

    // The view the overlay covers; it follows its size while shown.
    void setParentView(QWidget *parentView);

    void awakeFromNib();
    void localizeGUI();

    void showVocabularyHelp();
    // Harmless when the overlay is not shown.
    void closeHelp();
    bool isShown() const;

    // The widgets `label` describes (inside the covered view or beside it, as the toolbar): the
    // note stands on `side` of them. A note without any keeps to the middle; one whose widgets are
    // all hidden is left out.
    void setNoteTarget(Label label, const QList<QWidget *> &targets, Side side);

    // The overlay, a page per help topic (the first is the vocabulary list's).
    QStackedWidget *tabView() const { return m_tabView.get(); }
    QLabel *note(Label label) const { return m_labels[label]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Target
    {
        QList<QPointer<QWidget>> widgets;
        Side side = Side::Right;
    };

    // Lays the notes beside their widgets as they are now.
    void placeNotes();

    std::unique_ptr<QStackedWidget> m_tabView;
    std::array<QLabel *, labelCount> m_labels{};
    std::array<Target, labelCount> m_targets{};
    QPointer<QWidget> m_parentView;
    // Where the keyboard was before the help showed.
    QPointer<QWidget> m_focusBefore;
};
