#include "QtMoveOfferPresenter.h"

#include "MoveOfferBox.h"

#include <QCheckBox>

namespace lexi {

MoveOfferAnswer QtMoveOfferPresenter::ask(const MoveOfferQuestion &question)
{
    MoveOfferBox box(question);
    box.exec();
    return MoveOfferAnswer{box.chosenButton(), box.checkBox()->isChecked()};
}

} // namespace lexi
