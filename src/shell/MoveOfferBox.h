#pragma once

#include "MoveOffer.h"

#include <QMessageBox>

namespace lexi {

// The move offer's message box: the question, its three buttons (the first the default, "Do Not
// Move" on Escape) and the small box that stops further offers.
class MoveOfferBox : public QMessageBox
{
    Q_OBJECT

public:
    explicit MoveOfferBox(const MoveOfferQuestion &question, QWidget *parent = nullptr);

    // The index of the button the learner chose; "Do Not Move" when the box was closed otherwise.
    int chosenButton() const;

private:
    QList<QAbstractButton *> m_buttons;
};

} // namespace lexi
