#include "PageAdapters.h"

#include "Installation.h"

#include "model/QLXStorageManager.h"
#include "platform/linux/LocaleName.h"
#include "platform/linux/RunningPrograms.h"
#include "platform/linux/X11FocusReturn.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace lexi {

QuizPageAdapter::QuizPageAdapter(Installation &installation, QLXColorTheme &colorTheme, RatingPrompt &ratingPrompt,
                                 VocabularyKeeper &keeper, QNetworkAccessManager &network)
    : m_settings(installation.defaults()),
      m_services{installation.defaults(), installation.ports().scheduler, installation.ports().clock, keeper,
                 ratingPrompt, colorTheme},
      m_pages(std::make_unique<QuizPages>()),
      m_focusReturn(focusReturnForQtPlatform(QGuiApplication::platformName())),
      m_typingQuiz(m_services, *m_pages),
      m_flashCards(m_services, *m_pages),
      m_popupQuiz(m_services, *m_pages, *m_focusReturn),
      m_setup(m_services, *m_pages,
              {{&m_typingQuiz, &m_flashCards, &m_popupQuiz},
               [&workspace = installation.ports().workspace](const QUrl &address) {
                   // The support address is the program's own mail link; anything else is a page.
                   if (address.scheme() == u"mailto"_s)
                       QDesktopServices::openUrl(address);
                   else
                       workspace.openWebAddress(address);
               },
               network}),
      m_popoverController({keeper, installation.ports().alerts, installation.ports().inputSources,
                           installation.ports().clock, installation.ports().scheduler, m_settings,
                           selectedLocaleName()}),
      m_popover(new QLXPopover(m_pages.get())),
      m_windowPopover(new QLXPopover(&m_popupQuiz.quizWindow()))
{
    m_popover->setContentWidget(m_popoverController.view());
    QObject::connect(&m_typingQuiz, &QLXTypingQuizController::editWordRequested, m_popover,
                     [this](const std::shared_ptr<QLXWord> &word, QWidget *anchor) {
                         showWordPopover(word, anchor, &m_typingQuiz);
                     });
    QObject::connect(&m_typingQuiz, &QLXTypingQuizController::wordPopoverShouldClose, m_popover, &QLXPopover::close);
    QObject::connect(&m_flashCards, &QLXFlashCardQuizController::editWordRequested, m_popover,
                     [this](const std::shared_ptr<QLXWord> &word, QWidget *anchor) {
                         showWordPopover(word, anchor, &m_flashCards);
                     });
    QObject::connect(&m_flashCards, &QLXFlashCardQuizController::wordPopoverShouldClose, m_popover,
                     &QLXPopover::close);
    // The pop-up quiz edits in its own window, where the popover then goes.
    QObject::connect(&m_popupQuiz, &QLXPopupQuizController::editWordRequested, m_windowPopover,
                     [this](const std::shared_ptr<QLXWord> &word, QWidget *anchor) {
                         showWordPopover(word, anchor, &m_popupQuiz);
                     });
    QObject::connect(&m_popupQuiz, &QLXPopupQuizController::wordPopoverShouldClose, m_windowPopover,
                     &QLXPopover::close);
    QObject::connect(&m_setup, &QLXQuizSetupController::quizRunEnded, m_popover, [this] {
        for (const std::function<void()> &step : std::exchange(m_afterRun, {}))
            step();
    });
}

void QuizPageAdapter::runWhenNoQuizRuns(std::function<void()> step)
{
    if (m_setup.isQuizRunning())
        m_afterRun.append(std::move(step));
    else
        step();
}

void QuizPageAdapter::showWordPopover(const std::shared_ptr<QLXWord> &word, QWidget *anchor,
                                      QLXWordPopoverDelegate *delegate)
{
    QLXPopover *popover = m_windowPopover->window() == anchor->window() ? m_windowPopover : m_popover;
    if (!popover->isAncestorOf(m_popoverController.view()))
        popover->setContentWidget(m_popoverController.view());
    m_popoverController.showEditWindowForWords({word}, delegate);
    popover->showRelativeToRect(anchor, anchor->rect());
    popover->raise();
}

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
