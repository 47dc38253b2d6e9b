#include "ProgramRatingPrompt.h"

#include "Installation.h"

#include "platform/linux/RunningPrograms.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace lexi {

ProgramRatingPrompt::ProgramRatingPrompt(Installation &installation, QNetworkAccessManager &network,
                                         std::function<QWidget *()> mainWindow)
    : m_settings(installation.defaults()),
      m_presenter(std::move(mainWindow)),
      m_rate({.name = QApplication::applicationDisplayName(),
              .version = QApplication::applicationVersion(),
              .bundleId = u"lexicarta"_s,
              .ratingsURL = QUrl(u"appstream://org.lexicarta.Lexicarta"_s),
              .countryCode = QLocale::territoryToCode(QLocale::system().territory())},
             {m_settings, installation.ports().clock, installation.ports().scheduler, installation.ports().workspace,
              m_presenter, network,
              [] { return isProgramRunning({u"gnome-software"_s, u"plasma-discover"_s}); }})
{
}

void ProgramRatingPrompt::configure(const RatingPromptConfiguration &configuration)
{
    RatingPolicy policy = m_rate.policy();
    policy.daysUntilPrompt = configuration.daysUntilPrompt;
    policy.usesUntilPrompt = configuration.usesUntilPrompt;
    policy.eventsUntilPrompt = configuration.eventsUntilPrompt;
    policy.previewMode = configuration.previewMode;
    m_rate.setPolicy(policy);
    m_rate.setPromptAtLaunch(configuration.promptAtLaunch);
    // The launch counts on the first pass of the event loop, after start-up's configuration.
    QTimer::singleShot(0, &m_rate, [this] { m_rate.applicationLaunched(); });
}

} // namespace lexi
