#pragma once

#include "MoveToApplications.h"

namespace lexi {

// Asks the move offer's question in an application-modal message box with its suppression box;
// there is no main window yet when it runs.
class QtMoveOfferPresenter final : public MoveOfferPresenter
{
public:
    MoveOfferAnswer ask(const MoveOfferQuestion &question) override;
};

} // namespace lexi
