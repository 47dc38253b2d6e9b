#include "MoveOfferBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

namespace lexi {

using namespace Qt::StringLiterals;

MoveOfferBox::MoveOfferBox(const MoveOfferQuestion &question, QWidget *parent)
    : QMessageBox(parent)
{
    setTextFormat(Qt::RichText);
    setText(u"<b>%1</b>"_s.arg(question.alert.title.toHtmlEscaped()));
    setInformativeText(question.alert.message);
    if (QApplication::windowIcon().isNull())
        setIcon(QMessageBox::Question);
    else
        setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    const QMessageBox::ButtonRole roles[] = {QMessageBox::AcceptRole, QMessageBox::RejectRole,
                                             QMessageBox::ActionRole};
    for (qsizetype i = 0; i < question.alert.buttons.size() && i < 3; ++i)
        m_buttons.append(addButton(question.alert.buttons.at(i), roles[i]));
    if (m_buttons.size() > question.alert.cancelButton) {
        setDefaultButton(qobject_cast<QPushButton *>(m_buttons.at(MoveButton)));
        setEscapeButton(m_buttons.at(question.alert.cancelButton));
    }
    auto *suppress = new QCheckBox(question.suppressionText, this);
    QFont small = suppress->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    suppress->setFont(small);
    setCheckBox(suppress);
}

int MoveOfferBox::chosenButton() const
{
    const qsizetype index = m_buttons.indexOf(clickedButton());
    return index < 0 ? int(DoNotMoveButton) : int(index);
}

} // namespace lexi
