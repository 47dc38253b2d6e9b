#pragma once

#include "model/Lexicarta.h"
#include "model/VocabularyServices.h"

#include "platform/ports/Clock.h"
#include "platform/ports/InputSources.h"

#include "support/SilentAlertPresenter.h"

#include <memory>

namespace lexi::bench {

// A clock that stands at one moment, so that generated vocabularies and what is measured on them
// are the same on every run.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(Date now) : m_now(now) {}
    Date now() const override { return m_now; }
    Duration monotonicNow() const override { return {}; }

private:
    Date m_now;
};

// The services benchmarks give their vocabularies: the clock stands at 15 January 2026, 12:00 UTC.
class BenchmarkServices
{
public:
    BenchmarkServices();
    BenchmarkServices(const BenchmarkServices &) = delete;
    BenchmarkServices &operator=(const BenchmarkServices &) = delete;

    const VocabularyServices &services() const { return m_services; }

private:
    FixedClock m_clock;
    test::SilentAlertPresenter m_alerts;
    NullInputSources m_inputSources;
    VocabularyServices m_services;
};

// A vocabulary as a learner has it after a year of use: German words with articles and English
// ones, a comment on about one word in four, two thirds of the words tagged (one to three tags
// of about 150 topics, a few of them common), words in every level with don't-ask-again on some
// native ones, some never asked and the others asked over the last months, distinct creation
// identifiers, and one statistics snapshot for each of the last 365 days. The same `seed` gives
// the same vocabulary.
std::shared_ptr<Lexicarta> generateVocabulary(const VocabularyServices &services, int wordCount = 50000,
                                              unsigned seed = 2026);

} // namespace lexi::bench
