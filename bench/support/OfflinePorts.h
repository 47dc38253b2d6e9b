#pragma once

#include "support/NullWorkspace.h"
#include "support/ScriptedFileChooser.h"
#include "support/ScriptedFolderChooser.h"
#include "support/SilentAlertPresenter.h"

#include "platform/dispatch/QtScheduler.h"
#include "platform/linux/NetworkReachability.h"
#include "platform/ports/InputSources.h"
#include "shell/Installation.h"

#include <QString>

#include <memory>

namespace lexi::bench {

// The program's own ports around an installation, with the network unreachable and every alert
// and chooser silent: what the benchmarks of the real main window run it over.
struct OfflinePorts
{
    class Offline final : public NetworkReachability
    {
    public:
        std::optional<quint32> flags(Target) const override { return 0; }
    };

    // An installation whose data and settings live in `folder`.
    std::unique_ptr<Installation> installation(const QString &folder)
    {
        return std::make_unique<Installation>(
            ApplicationFolders(folder + QStringLiteral("/data")), folder + QStringLiteral("/Lexicarta.conf"),
            InstallationPorts{Clock::system(), scheduler, alerts, fileChooser, folderChooser, workspace, inputSources,
                              network});
    }

    dispatch::QtScheduler scheduler;
    test::SilentAlertPresenter alerts;
    test::ScriptedFileChooser fileChooser;
    test::ScriptedFolderChooser folderChooser;
    test::NullWorkspace workspace;
    NullInputSources inputSources;
    Offline network;
};

} // namespace lexi::bench
