#pragma once

#include <QObject>
#include <QPointer>

#include <array>
#include <memory>

class QLabel;
class QStackedWidget;
class QWidget;

// The help overlay laid over the vocabulary list the first time the learner opens it: short notes
// on the list's parts over a dimmed copy of the list. Any tab switch, a click on the overlay or
// Escape removes it again; while it shows, the keyboard never reaches what it covers.
class QLXHelpController : public QObject
{
    Q_OBJECT

public:
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

    // The overlay, a page per help topic (the first is the vocabulary list's).
    QStackedWidget *tabView() const { return m_tabView.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
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

    std::unique_ptr<QStackedWidget> m_tabView;
    std::array<QLabel *, labelCount> m_labels{};
    QPointer<QWidget> m_parentView;
    // Where the keyboard was before the help showed.
    QPointer<QWidget> m_focusBefore;
};
