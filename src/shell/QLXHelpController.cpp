#include "QLXHelpController.h"

#include "platform/files/StringTables.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>

using namespace Qt::StringLiterals;

namespace {

const QString helpTable = u"Help"_s;

// The overlay: dims what it covers, holds the keyboard while shown (Tab goes nowhere under it)
// and closes on a click or Escape.
class HelpOverlay final : public QStackedWidget
{
public:
    explicit HelpOverlay(std::function<void()> dismissed) : m_dismissed(std::move(dismissed))
    {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(20, 20, 20, 200));
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_dismissed();
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape)
            m_dismissed();
        else
            QStackedWidget::keyPressEvent(event);
    }

    bool focusNextPrevChild(bool) override { return true; }

private:
    std::function<void()> m_dismissed;
};

QLabel *makeNote(QWidget *parent, Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setAlignment(alignment);
    label->setMinimumWidth(200);
    label->setMaximumWidth(280);
    label->setStyleSheet(u"QLabel { color: white; font-size: 14px; }"_s);
    return label;
}

} // namespace

QLXHelpController::QLXHelpController(QObject *parent)
    : QObject(parent), m_tabView(std::make_unique<HelpOverlay>([this] { closeHelp(); }))
{
    m_tabView->setAttribute(Qt::WA_NoSystemBackground);
    auto *vocabularyPage = new QWidget;
    auto *grid = new QGridLayout(vocabularyPage);
    grid->setContentsMargins(24, 24, 24, 24);
    // Where each note sits: near the part of the list it is about.
    const struct
    {
        Label label;
        int row;
        int column;
        Qt::Alignment alignment;
    } places[] = {
        {vocabularyAllWordsLabel, 0, 0, Qt::AlignLeft | Qt::AlignTop},
        {vocabularySearchLabel, 0, 2, Qt::AlignRight | Qt::AlignTop},
        {vocabularyRiseLabel, 1, 0, Qt::AlignLeft | Qt::AlignVCenter},
        {vocabularyHelpLabel, 1, 1, Qt::AlignCenter},
        {vocabularyTagsLabel, 1, 2, Qt::AlignRight | Qt::AlignVCenter},
        {vocabularyFallLabel, 2, 0, Qt::AlignLeft | Qt::AlignVCenter},
        {vocabularyCloseLabel, 2, 1, Qt::AlignCenter},
        {vocabularyDownloadLabel, 3, 0, Qt::AlignLeft | Qt::AlignBottom},
        {vocabularyAddWordLabel, 3, 2, Qt::AlignRight | Qt::AlignBottom},
    };
    for (const auto &place : places) {
        m_labels[place.label] = makeNote(vocabularyPage, place.alignment);
        grid->addWidget(m_labels[place.label], place.row, place.column, place.alignment);
    }
    QFont helpFont = m_labels[vocabularyHelpLabel]->font();
    helpFont.setPointSizeF(helpFont.pointSizeF() * 1.6);
    helpFont.setBold(true);
    m_labels[vocabularyHelpLabel]->setFont(helpFont);
    m_labels[vocabularyHelpLabel]->setStyleSheet(u"QLabel { color: white; }"_s);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);
    m_tabView->addWidget(vocabularyPage);

    // Whatever moves the keyboard under the overlay (Tab from outside it, a shortcut), it comes
    // back to the overlay.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (isShown() && now && m_parentView && m_parentView->isAncestorOf(now) && now != m_tabView.get()
            && !m_tabView->isAncestorOf(now))
            m_tabView->setFocus(Qt::OtherFocusReason);
    });
}

QLXHelpController::~QLXHelpController()
{
    if (m_parentView)
        m_parentView->removeEventFilter(this);
    // The overlay is ours, also while it is shown inside the parent view.
    m_tabView->setParent(nullptr);
}

void QLXHelpController::setParentView(QWidget *parentView)
{
    if (m_parentView)
        m_parentView->removeEventFilter(this);
    m_parentView = parentView;
    if (m_parentView)
        m_parentView->installEventFilter(this);
}

void QLXHelpController::awakeFromNib()
{
    localizeGUI();
}

void QLXHelpController::localizeGUI()
{
    static const std::array<QString, labelCount> keys = {
        u"vocAllWords"_s, u"vocRise"_s,     u"vocFall"_s,   u"vocDownload"_s,  u"vocHelp"_s,
        u"vocAddWords"_s, u"vocSearch"_s,   u"vocTags"_s,   u"vocCloseHelp"_s,
    };
    for (int label = 0; label < labelCount; ++label)
        m_labels[label]->setText(lexi::StringTables::text(keys[label], helpTable));
}

void QLXHelpController::showVocabularyHelp()
{
    if (!m_parentView)
        return;
    m_tabView->setParent(m_parentView);
    m_tabView->setGeometry(m_parentView->rect());
    m_tabView->setCurrentIndex(0);
    // Above every view of the parent, the list's included.
    m_tabView->raise();
    if (!isShown())
        m_focusBefore = QApplication::focusWidget();
    m_tabView->show();
    m_tabView->setFocus(Qt::OtherFocusReason);
}

void QLXHelpController::closeHelp()
{
    if (!m_tabView->parentWidget())
        return;
    const bool hadFocus = m_tabView->hasFocus();
    m_tabView->hide();
    m_tabView->setParent(nullptr);
    // The keyboard goes back to where it was before the help showed.
    if (hadFocus && m_focusBefore && m_focusBefore->isVisible())
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    m_focusBefore.clear();
}

bool QLXHelpController::isShown() const
{
    return m_tabView->parentWidget() != nullptr && m_tabView->isVisible();
}

bool QLXHelpController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_parentView && event->type() == QEvent::Resize && m_tabView->parentWidget() == m_parentView)
        m_tabView->setGeometry(m_parentView->rect());
    return QObject::eventFilter(watched, event);
}
