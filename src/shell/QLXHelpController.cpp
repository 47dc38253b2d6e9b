#include "QLXHelpController.h"

#include "platform/files/StringTables.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>

#include <algorithm>
#include <optional>

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

constexpr int noteWidth = 280;
// Between a note and what it describes, and between notes.
constexpr int noteGap = 10;
constexpr int overlayMargin = 8;

QLabel *makeNote(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    // A bubble of its own keeps the note readable over whatever lies under it.
    label->setStyleSheet(u"QLabel { color: white; font-size: 14px; background: rgba(10, 10, 10, 235);"
                         " border-radius: 6px; padding: 6px 9px; }"_s);
    return label;
}

// A note as wide as its text on one line, up to noteWidth, and as high as its lines at that width.
QSize noteSize(QLabel &note)
{
    note.setWordWrap(false);
    const int width = std::min(noteWidth, note.sizeHint().width());
    note.setWordWrap(true);
    return QSize(width, note.heightForWidth(width));
}

// Where a note of `size` stands: beside `anchor` on `side` (in the middle of `area` without one),
// inside `area`, and then moved along the anchor's edge (right along a lower edge, down along a
// right one, down from the middle) past everything in `clear` it would cover. Each move goes
// right or down to an edge of `clear`, so the search ends.
QRect placeNote(QSize size, const std::optional<QRect> &anchor, QLXHelpController::Side side,
                const QList<QRect> &clear, const QRect &area)
{
    QRect note(QPoint(), size);
    if (!anchor)
        note.moveCenter(area.center());
    else if (side == QLXHelpController::Side::Right)
        note.moveTopLeft(QPoint(anchor->right() + 1 + noteGap, anchor->top()));
    else
        note.moveTopLeft(QPoint(anchor->left(), anchor->bottom() + 1 + noteGap));
    const QRect inside = area.adjusted(overlayMargin, overlayMargin, -overlayMargin, -overlayMargin);
    note.moveLeft(std::clamp(note.left(), inside.left(), std::max(inside.left(), inside.right() + 1 - note.width())));
    note.moveTop(std::max(note.top(), inside.top()));

    const bool slidesRight = anchor && side == QLXHelpController::Side::Below;
    for (bool moved = true; moved;) {
        moved = false;
        for (const QRect &other : clear) {
            if (!note.intersects(other.adjusted(-noteGap / 2, -noteGap / 2, noteGap / 2, noteGap / 2)))
                continue;
            if (slidesRight && other.right() + 1 + noteGap + note.width() <= inside.right() + 1)
                note.moveLeft(other.right() + 1 + noteGap);
            else
                note.moveTop(other.bottom() + 1 + noteGap);
            moved = true;
        }
    }
    return note;
}

} // namespace

QLXHelpController::QLXHelpController(QObject *parent)
    : QObject(parent), m_tabView(std::make_unique<HelpOverlay>([this] { closeHelp(); }))
{
    m_tabView->setAttribute(Qt::WA_NoSystemBackground);
    auto *vocabularyPage = new QWidget;
    for (QLabel *&label : m_labels)
        label = makeNote(vocabularyPage);
    QLabel *title = m_labels[vocabularyHelpLabel];
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(u"QLabel { color: white; }"_s);
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

void QLXHelpController::setNoteTarget(Label label, const QList<QWidget *> &targets, Side side)
{
    Target &target = m_targets[label];
    for (const QPointer<QWidget> &widget : std::as_const(target.widgets)) {
        if (widget)
            widget->removeEventFilter(this);
    }
    target = Target{{}, side};
    for (QWidget *widget : targets) {
        if (!widget)
            continue;
        target.widgets.append(widget);
        // A widget that moves or changes its size takes its note along.
        widget->installEventFilter(this);
    }
}

void QLXHelpController::placeNotes()
{
    const QRect area = m_tabView->rect();
    const auto inOverlay = [this](const QWidget &widget) {
        return QRect(m_tabView->mapFromGlobal(widget.mapToGlobal(QPoint(0, 0))), widget.size());
    };
    // Each note by the part it describes, from the top of the page down; the title, then the way
    // to close the help, in the middle.
    static constexpr Label order[] = {
        vocabularyDownloadLabel, vocabularySearchLabel,   vocabularyAllWordsLabel, vocabularyRiseLabel,
        vocabularyFallLabel,     vocabularyAddWordLabel,  vocabularyTagsLabel,     vocabularyHelpLabel,
        vocabularyCloseLabel,
    };
    std::array<std::optional<QRect>, labelCount> anchors{};
    QList<QRect> clear;
    for (int label = 0; label < labelCount; ++label) {
        for (const QPointer<QWidget> &widget : std::as_const(m_targets[label].widgets)) {
            if (!widget || !widget->isVisible())
                continue;
            const QRect rect = inOverlay(*widget);
            anchors[label] = anchors[label] ? anchors[label]->united(rect) : rect;
            clear.append(rect);
        }
    }
    for (const Label label : order) {
        QLabel *note = m_labels[label];
        const bool hasTargets = !m_targets[label].widgets.isEmpty();
        note->setVisible(!hasTargets || anchors[label]);
        if (note->isHidden())
            continue;
        const QRect placed = placeNote(noteSize(*note), anchors[label], m_targets[label].side, clear, area);
        note->setGeometry(placed);
        clear.append(placed);
    }
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
    if (isShown())
        placeNotes();
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
    placeNotes();
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
    const QEvent::Type type = event->type();
    if (isShown() && (type == QEvent::Resize || type == QEvent::Move || type == QEvent::Show || type == QEvent::Hide)) {
        if (watched == m_parentView && type == QEvent::Resize)
            m_tabView->setGeometry(m_parentView->rect());
        placeNotes();
    }
    return QObject::eventFilter(watched, event);
}
