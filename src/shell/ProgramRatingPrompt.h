#pragma once

#include "QLXRate.h"
#include "QtRatingPromptPresenter.h"
#include "StartupCollaborators.h"

#include "platform/files/Settings.h"

#include <functional>

class QNetworkAccessManager;

namespace lexi {

class Installation;

// The rating prompt as start-up configures it; it counts this launch once the event loop runs.
class ProgramRatingPrompt final : public RatingPromptSetup
{
public:
    ProgramRatingPrompt(Installation &installation, QNetworkAccessManager &network,
                        std::function<QWidget *()> mainWindow);

    void configure(const RatingPromptConfiguration &configuration) override;
    QLXRate &rate() { return m_rate; }

private:
    Settings m_settings;
    QtRatingPromptPresenter m_presenter;
    QLXRate m_rate;
};

} // namespace lexi
