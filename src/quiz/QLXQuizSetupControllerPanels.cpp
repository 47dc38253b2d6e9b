// The panels around the set-up card: the information message (fetched on awaking) and the feedback prompt.
#include "QLXQuizSetupController.h"

#include "platform/files/Settings.h"
#include "platform/network/BoundedRequest.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

using namespace Qt::StringLiterals;

namespace {

const QUrl supportMail(u"mailto:support@lexicarta.example.org?subject=Lexicarta"_s);

} // namespace

void QLXQuizSetupController::awake()
{
    const lexi::Settings settings(m_services.defaults);
    m_askForYourWord = settings.value(lexi::Settings::askForYourWord);
    m_askForForeignWord = settings.value(lexi::Settings::askForForeignWord) || !m_askForYourWord;
    m_infoPanel->hide();
    const QString address = settings.value(lexi::Settings::infoMessageAddress);
    const QUrl url(address, QUrl::StrictMode);
    if (!lexi::InfoMessage::isOpenableLink(url))
        return;
    // The message carries nothing of the learner's: its host may send it on.
    lexi::getBounded(m_links.network, QNetworkRequest(url),
                     {m_links.infoMessageDeadline, maximumMessageSize, lexi::RedirectPolicy::anyHost}, *this,
                     [this](const lexi::BoundedReply &reply) {
                         if (reply.succeeded())
                             messageArrived(*reply.body);
                     });
}

void QLXQuizSetupController::messageArrived(const QByteArray &body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    if (document.isObject())
        m_infoMessage = lexi::InfoMessage::fromJson(document.object());
}

bool QLXQuizSetupController::showInfoPanel()
{
    if (!m_infoMessage) {
        m_infoPanel->hide();
        return false;
    }
    const lexi::InfoMessage &message = *m_infoMessage;
    const auto isKey = &lexi::Settings::isProgramKey;
    const bool dismissed =
        message.hasUsableUuid(isKey) && lexi::Settings(m_services.defaults).isInfoMessageDismissed(message.uuid);
    if (dismissed)
        return false;
    if (!lexi::shouldShowInfoMessage(message, false, m_services.clock.now().secondsSince1970(), isKey)) {
        m_infoPanel->hide();
        return false;
    }
    m_infoTitle->setText(message.title);
    m_infoText->setText(message.message);
    m_infoButton->setText(message.buttonTitle);
    m_infoAlternateButton->setText(message.alternateButtonTitle);
    m_infoPanel->show();
    return true;
}

void QLXQuizSetupController::dontShowThisInfoAgain()
{
    m_infoPanel->hide();
    if (m_infoMessage && m_infoMessage->hasUsableUuid(&lexi::Settings::isProgramKey))
        lexi::Settings(m_services.defaults).setInfoMessageDismissed(m_infoMessage->uuid);
}

void QLXQuizSetupController::goToInfoURL(bool alternate)
{
    if (!m_infoMessage)
        return;
    const QUrl &link = alternate ? m_infoMessage->alternateUrl : m_infoMessage->url;
    if (lexi::InfoMessage::isOpenableLink(link) && m_links.openUrl)
        m_links.openUrl(link);
}

void QLXQuizSetupController::showFeedbackPrompt()
{
    m_feedbackPanel->setCurrentIndex(1);
    lexi::Settings(m_services.defaults).setValue(lexi::Settings::userWasUnhappy, true);
}

void QLXQuizSetupController::showRatingPrompt()
{
    m_feedbackPanel->setCurrentIndex(m_feedbackPanel->count() - 1);
}

void QLXQuizSetupController::rateit()
{
    m_services.ratingPrompt.openRatingsPageInAppStore();
    m_services.ratingPrompt.setRatedThisVersion(true);
}

void QLXQuizSetupController::sendEmail()
{
    if (m_links.openUrl)
        m_links.openUrl(supportMail);
}
