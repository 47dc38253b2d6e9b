#include "ArrowKeySelection.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QKeyEvent>

namespace lexi {
namespace {

class FirstArrowSelector : public QObject
{
public:
    explicit FirstArrowSelector(QAbstractItemView *view)
        : QObject(view)
        , m_view(view)
    {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Down && key->key() != Qt::Key_Up)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        const QItemSelectionModel *selection = m_view->selectionModel();
        const QAbstractItemModel *model = m_view->model();
        if (m_view->selectionMode() == QAbstractItemView::NoSelection || selection == nullptr || model == nullptr
            || selection->hasSelection() || model->rowCount(m_view->rootIndex()) == 0)
            return false;
        QModelIndex row = m_view->currentIndex();
        if (!row.isValid())
            row = model->index(0, 0, m_view->rootIndex());
        m_view->setCurrentIndex(row);
        m_view->scrollTo(row);
        return true;
    }

private:
    QAbstractItemView *m_view;
};

} // namespace

void selectCurrentRowOnFirstArrow(QAbstractItemView *view)
{
    new FirstArrowSelector(view);
}

} // namespace lexi
