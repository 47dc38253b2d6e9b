#include "QuizletPageFixture.h"

#include "support/Screenshots.h"

#include "views/QLXPopover.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A page of results as the service gives them for "kitchen".
QByteArray kitchenResults()
{
    const struct
    {
        const char16_t *title;
        const char16_t *author;
        QStringList subjects;
    } sets[] = {
        {u"Kitchen vocabulary A1", u"frau_berger", {u"german"_s, u"kitchen"_s, u"A1"_s}},
        {u"In der Küche – utensils", u"mr_lindqvist", {u"german"_s, u"household"_s}},
        {u"Cooking verbs", u"sprachschule_nord", {u"verbs"_s, u"cooking"_s}},
        {u"Kitchen and dining room", u"lena.k", {u"home"_s}},
        {u"Food and drink, unit 4", u"gcse_german", {u"food"_s, u"GCSE"_s, u"unit 4"_s}},
        {u"Küchengeräte", u"deutschlehrer22", {u"appliances"_s}},
        {u"Restaurant and kitchen phrases", u"travel_talk", {u"phrases"_s, u"travel"_s}},
        {u"Baking vocabulary", u"oma_backt", {u"baking"_s}},
        {u"Household chores", u"mr_lindqvist", {u"home"_s, u"verbs"_s}},
        {u"Kitchen – Wortschatz B1", u"frau_berger", {u"german"_s, u"B1"_s}},
    };
    QJsonArray entries;
    int identifier = 4150;
    for (const auto &set : sets) {
        entries.append(QJsonObject{{u"id"_s, ++identifier},
                                   {u"title"_s, QString::fromUtf16(set.title)},
                                   {u"created_by"_s, QString::fromUtf16(set.author)},
                                   {u"term_count"_s, 24},
                                   {u"subjects"_s, QJsonArray::fromStringList(set.subjects)}});
    }
    return QJsonDocument(QJsonObject{{u"total_results"_s, 237}, {u"total_pages"_s, 3}, {u"page"_s, 1},
                                     {u"sets"_s, entries}})
        .toJson();
}

const QList<std::pair<QString, QString>> kitchenTerms{
    {u"the spoon"_s, u"der Löffel"_s},      {u"the fork"_s, u"die Gabel"_s},
    {u"the knife"_s, u"das Messer"_s},      {u"the plate"_s, u"der Teller"_s},
    {u"the cup"_s, u"die Tasse"_s},         {u"the glass"_s, u"das Glas"_s},
    {u"the pot"_s, u"der Topf"_s},          {u"the frying pan"_s, u"die Pfanne"_s},
    {u"the oven"_s, u"der Backofen"_s},     {u"the fridge"_s, u"der Kühlschrank"_s},
    {u"the sink"_s, u"die Spüle"_s},        {u"the dishwasher"_s, u"die Spülmaschine"_s},
    {u"the kettle"_s, u"der Wasserkocher"_s}, {u"the bowl"_s, u"die Schüssel"_s},
};

// The page's four states, each in the light and the dark palette.
TEST(QuizletScreenshotsTest, ThePageItsResultsAndThePopoverBeforeAndAfterAnImport)
{
    lexi::test::QuizletPageFixture fixture;
    const auto save = [&](const QString &name) {
        EXPECT_TRUE(lexi::test::saveScreenshot(*fixture.page, name)) << name.toStdString();
    };
    save(u"quizlet-page"_s);

    fixture.service.server.enqueue({200, {}, kitchenResults()});
    fixture.typeSearch(u"kitchen"_s);
    ASSERT_TRUE(fixture.waitForResults(1));
    save(u"quizlet-page-results"_s);

    fixture.service.server.enqueue({200, {}, lexi::test::setReply(4152, u"In der Küche – utensils"_s, kitchenTerms)});
    fixture.clickRow(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fixture.page->selection().hasDetails(); }));
    ASSERT_TRUE(fixture.page->popover()->isVisible());
    save(u"quizlet-popover-terms"_s);

    QTest::mouseClick(fixture.page->popupController()->importButton(), Qt::LeftButton);
    save(u"quizlet-popover-imported"_s);
}

} // namespace
