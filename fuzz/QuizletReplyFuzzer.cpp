#include "flashcard-service/QLXQuizletSearchResults.h"
#include "flashcard-service/QLXQuizletSet.h"
#include "flashcard-service/QuizletReplyCheck.h"
#include "platform/ports/Console.h"

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// What reading a set promises: every term has both texts, trimmed and not empty.
void checkTerms(const QLXQuizletSet &set)
{
    for (const QLXQuizletTerm &term : set.terms()) {
        for (const QString &text : {term.yourLangWord(), term.foreignLangWord()}) {
            if (text.isEmpty() || text != text.trimmed())
                std::abort();
        }
    }
    // Built for the log; it must not fail on any set.
    (void)set.description();
    (void)set.language();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The reply checks write to the console.
    lexi::Console::setSink([](const QString &) {});
    return 0;
}

// Reads any bytes as each of the flash-card service's replies, as the page does: the reply is
// checked, then read as a page of search results and as a set's details.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QByteArray> reply(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    lexi::quizlet::checkPageReply(reply);
    lexi::quizlet::checkSetDetailsReply(reply);

    QLXQuizletSearchResults results = QLXQuizletSearchResults::quizletSearchResultsWithJsonData(reply);
    results.setPageSize(100);
    // Every set takes at least the two bytes of an empty object.
    if (results.sets().size() > qsizetype(size) / 2)
        std::abort();
    if (!results.sets().isEmpty() && results.indexOfLastSetInPage() < results.indexOfFirstSetInPage())
        std::abort();
    for (const QLXQuizletSet &set : results.sets())
        checkTerms(set);

    checkTerms(QLXQuizletSet::quizletSetWithJsonData(reply));
    return 0;
}
