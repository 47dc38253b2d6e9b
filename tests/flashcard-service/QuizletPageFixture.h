#pragma once

#include "QuizletTestSupport.h"

#include "support/ConsoleCapture.h"
#include "support/FakeVocabularyServices.h"
#include "support/RecordingAlertPresenter.h"
#include "support/RecordingKeeper.h"
#include "support/RecordingWorkspace.h"

#include "flashcard-service/QLXQuizletController.h"
#include "flashcard-service/QLXQuizletPopupController.h"
#include "flashcard-service/QuizletServices.h"
#include "model/Lexicarta.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <memory>

namespace lexi::test {

// The flash-card page on screen, with the loopback service behind it, importing into a small
// German vocabulary through a recording keeper.
struct QuizletPageFixture
{
    QuizletPageFixture()
    {
        vocabulary = germanVocabulary();
        recording.keeper.setVocabulary(vocabulary);
        page = std::make_unique<QLXQuizletController>(
            QuizletServices{recording.keeper, service.client(), alerts, workspace, service.defaults});
        // After the page's own handling of each reply.
        QObject::connect(&page->searchState(), &QuizletSearch::resultsLoaded, page.get(), [this] { ++results; });
        page->resize(1100, 700);
        page->show();
        // Keyboard focus needs an active window.
        QApplication::setActiveWindow(page.get());
    }

    std::shared_ptr<Lexicarta> germanVocabulary() const
    {
        auto created = Lexicarta::create(fakes.services);
        created->setForeignLanguageName(QStringView(u"German").toString());
        created->setYourLanguageName(QStringView(u"English").toString());
        created->addWord(std::make_shared<QLXWord>(QStringView(u"fork").toString(), QStringView(u"Gabel").toString()));
        return created;
    }

    // Waits until the page has shown `count` replies to searches and pages in all.
    bool waitForResults(int count)
    {
        return QTest::qWaitFor([&] { return results >= count; });
    }

    // Clicks the title of `row` in the results.
    void clickRow(int row)
    {
        QTableView *table = page->resultsTable();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(row, 0)).center());
    }

    void typeSearch(const QString &keywords)
    {
        page->keywordsField()->setFocus();
        QTest::keyClicks(page->keywordsField(), keywords);
        QTest::keyClick(page->keywordsField(), Qt::Key_Return);
    }

    QuizletService service;
    ConsoleCapture console;
    FakeVocabularyServices fakes;
    RecordingKeeper recording;
    RecordingAlertPresenter alerts;
    RecordingWorkspace workspace;
    std::shared_ptr<Lexicarta> vocabulary;
    std::unique_ptr<QLXQuizletController> page;
    int results = 0;
};

} // namespace lexi::test
