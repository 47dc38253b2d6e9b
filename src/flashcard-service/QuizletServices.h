#pragma once

namespace lexi {

class AlertPresenter;
class Defaults;
class QuizletClient;
class VocabularyKeeper;
class Workspace;

// What the flash-card service page takes from the program around it; all of it must outlive the
// page.
struct QuizletServices
{
    // Holds the vocabulary that sets are imported into.
    VocabularyKeeper &keeper;
    QuizletClient &client;
    AlertPresenter &alerts;
    // Opens the service's web site.
    Workspace &workspace;
    // Where the web site is (see QuizletClient::webSiteAddress).
    Defaults &defaults;
};

} // namespace lexi
