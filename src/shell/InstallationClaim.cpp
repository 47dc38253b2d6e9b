#include "InstallationClaim.h"

#include "SingleInstance.h"

#include "platform/files/StringTables.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Console.h"
#include "platform/values/Format.h"

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

QString text(const QString &key)
{
    return StringTables::text(key);
}

StartClaim cannotGoOn(AlertPresenter &alerts, const Alert &alert, const QString &reason)
{
    Console::writeLine(u"Start > claim installation > "_s + reason);
    alerts.runModal(alert);
    return StartClaim::cannotGoOn;
}

} // namespace

StartClaim claimInstallation(SingleInstance &instance, AlertPresenter &alerts,
                             std::chrono::milliseconds handOverPatience)
{
    switch (instance.claim()) {
    case SingleInstance::Claim::claimed:
        return StartClaim::goOn;
    case SingleInstance::Claim::runningHere:
        if (instance.handOver(handOverPatience))
            return StartClaim::handedOver;
        return cannotGoOn(alerts,
                          {text(u"Lexicarta is already running"_s),
                           text(u"Another Lexicarta works on your vocabularies but does not answer. Wait until it has "
                                "started, or quit it, and try again."_s),
                           {text(u"Quit"_s)},
                           0},
                          u"the running program does not answer"_s);
    case SingleInstance::Claim::ownerUnknown: {
        const QString host = instance.lockHolder();
        enum { quitButton, goOnButton };
        const int answer = alerts.runModal(
            {text(u"Lexicarta may be running on another computer"_s),
             format(text(u"Lexicarta on %@ marked your vocabularies as in use. If it no longer runs there (it may "
                         "have ended unexpectedly), Lexicarta can go on here. Two programs working on the same "
                         "vocabularies would overwrite each other's changes."_s),
                    host.isEmpty() ? text(u"another computer"_s) : u"“%1”"_s.arg(host)),
             {text(u"Quit"_s), text(u"Go On Here"_s)},
             quitButton});
        if (answer != goOnButton) {
            Console::writeLine(u"Start > claim installation > in use by Lexicarta on %1; not taken over"_s.arg(
                host.isEmpty() ? u"an unknown computer"_s : host));
            return StartClaim::cannotGoOn;
        }
        if (instance.takeOver())
            return StartClaim::goOn;
        break;
    }
    case SingleInstance::Claim::impossible:
        break;
    }
    return cannotGoOn(alerts,
                      {text(u"Lexicarta cannot start"_s),
                       format(text(u"Lexicarta cannot mark your vocabularies as in use in %@, so it cannot make sure "
                                   "that no other Lexicarta works on them."_s),
                              instance.applicationFolder()),
                       {text(u"Quit"_s)},
                       0},
                      u"cannot lock "_s + instance.applicationFolder());
}

} // namespace lexi
