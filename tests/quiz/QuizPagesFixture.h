#pragma once

#include "support/FakeClock.h"
#include "support/RecordingKeeper.h"
#include "support/RecordingRatingPrompt.h"
#include "support/ManualScheduler.h"
#include "support/RecordingAlertPresenter.h"
#include "support/ScriptedInputSources.h"

#include "model/Lexicarta.h"
#include "quiz/QuizPages.h"
#include "quiz/QuizServices.h"
#include "views/QLXColorTheme.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lexi::test {

// The services of the quiz pages, all of them fakes, and the page stack they go in.
class QuizPagesFixture : public testing::Test
{
protected:
    QuizPagesFixture()
    {
        pages.resize(1000, 640);
        recording.keeper.setVocabulary(vocabulary);
    }

    std::shared_ptr<QLXWord> addWord(const QString &yourWord, const QString &foreignWord, quint64 level = 0,
                                     const QStringList &tags = {})
    {
        auto word = std::make_shared<QLXWord>(yourWord, foreignWord);
        word->setLevel(level);
        word->setTags(tags);
        vocabulary->addWord(word);
        return word;
    }

    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QString::fromUtf8("Lexicarta.conf"))};
    FakeClock clock;
    ManualScheduler scheduler{clock};
    RecordingAlertPresenter alerts;
    ScriptedInputSources inputSources;
    VocabularyServices vocabularyServices{clock, alerts, inputSources};
    std::shared_ptr<Lexicarta> vocabulary = Lexicarta::create(vocabularyServices);
    RecordingKeeper recording;
    RecordingRatingPrompt ratingPrompt;
    QLXColorTheme theme{defaults};
    QuizServices services{defaults, scheduler, clock, recording.keeper, ratingPrompt, theme};
    QuizPages pages;
};

} // namespace lexi::test
