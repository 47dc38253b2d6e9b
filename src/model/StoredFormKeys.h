#pragma once

#include <QLatin1StringView>

#include <array>

// The keys of the own file format's JSON document, spelled once for everything that writes or
// reads it: a key misspelt on one side only would lose that value without a word. The document's
// and the statistics' keys are also those of the older product's keyed archive; a word's and a
// daily snapshot's keys are the JSON document's own short ones.
namespace lexi::storedKey {

// The document.
// The level lists, from level 0 to 5.
inline constexpr std::array<QLatin1StringView, 6> levelLists = {
    QLatin1StringView("unknownWords"),  QLatin1StringView("ultraShortTermWords"), QLatin1StringView("shortTermWords"),
    QLatin1StringView("midTermWords"),  QLatin1StringView("longTermWords"),       QLatin1StringView("nativeWords")};
inline constexpr QLatin1StringView language("language");
inline constexpr QLatin1StringView foreignLanguageName("foreignLanguageName");
inline constexpr QLatin1StringView yourLanguageName("yourLanguageName");
inline constexpr QLatin1StringView yourFacultativeWords("yourFacultativeWords");
inline constexpr QLatin1StringView foreignFacultativeWords("foreignFacultativeWords");
inline constexpr QLatin1StringView statistics("statistics");
inline constexpr QLatin1StringView yourTextInputSourceName("yourTextInputSourceName");
inline constexpr QLatin1StringView foreignTextInputSourceName("foreignTextInputSourceName");
inline constexpr QLatin1StringView isAutoSelectInputSource("isAutoSelectInputSource");
inline constexpr QLatin1StringView isDisableMisspellRecognition("isDisableMisspellRecognition");
inline constexpr QLatin1StringView isDirty("isDirty");
inline constexpr QLatin1StringView version("version");
// Where this version of the vocabulary comes from, as the synchronisation marks the versions it
// makes (see lexi::Lineage): a list of texts, the latest first. Written only when there is one;
// versions of the program from before it ignore the key, as they do every key they do not know.
inline constexpr QLatin1StringView lineage("lineage");

// A level list.
inline constexpr QLatin1StringView words("words");

// A word.
inline constexpr QLatin1StringView yourWord("yw");
inline constexpr QLatin1StringView foreignWord("fw");
inline constexpr QLatin1StringView comment("c");
inline constexpr QLatin1StringView dontAskAgain("daa");
inline constexpr QLatin1StringView lastAsked("la");
inline constexpr QLatin1StringView tags("t");
inline constexpr QLatin1StringView modificationID("mid");
inline constexpr QLatin1StringView creationID("cid");
inline constexpr QLatin1StringView fallenDownCounter("wc");
inline constexpr QLatin1StringView level("l");

// The statistics.
inline constexpr QLatin1StringView dailySnapshots("dailySnapshots");

// A daily snapshot.
inline constexpr QLatin1StringView day("day");
// The counts of words in each level, from level 0 to 5.
inline constexpr std::array<QLatin1StringView, 6> levelCounts = {
    QLatin1StringView("noU"),  QLatin1StringView("noUST"), QLatin1StringView("noST"),
    QLatin1StringView("noMT"), QLatin1StringView("noLT"),  QLatin1StringView("noN")};

} // namespace lexi::storedKey
