#include "VocabularyListTexts.h"

#include "platform/values/Format.h"
#include "platform/files/StringTables.h"

using namespace Qt::StringLiterals;

namespace lexi::VocabularyListTexts {

QString text(const QString &key)
{
    return StringTables::text(key, table);
}

QString duplicatesDeletedText(qsizetype count)
{
    return format(StringTables::pluralText(u"duplicatesDeleted"_s, count, table), count);
}

LevelTexts levelTexts(quint64 level, qsizetype level0Count)
{
    switch (level) {
    case 0:
        if (level0Count >= unknownWarningThreshold)
            return {u"unknownWarningText"_s, u"unknownHeadding"_s, true};
        return {u"unknownInfoText"_s, u"unknownHeadding"_s};
    case 1:
        return {u"ultraShortInfoText"_s, u"ultraShortHeadding"_s};
    case 2:
        return {u"shortInfoText"_s, u"shortHeadding"_s};
    case 3:
        return {u"midInfoText"_s, u"midHeadding"_s};
    case 4:
        return {u"longInfoText"_s, u"longHeadding"_s};
    case 5:
        return {u"nativeInfoText"_s, u"nativeHeadding"_s};
    default:
        return {u"allWordsInfoText"_s, u"allWordsHeadding"_s};
    }
}

LevelTexts synonymsTexts()
{
    return {u"displaySynonymsInfo"_s, u"displaySynonymsHeader"_s};
}

QString searchInfoText(const QString &term)
{
    return format(text(u"displaySearchResultsInfo"_s), term);
}

QString statusText(const StatusFigures &figures)
{
    QString status;
    if (figures.isSearching)
        status = format(text(u"searchStatus"_s), figures.shown, figures.total);
    else if (figures.isSynonymsActive)
        status = format(text(u"synonymsStatus"_s), figures.shown, figures.total);
    else if (figures.level == 5)
        status = format(text(u"nativeStatus"_s), figures.native, figures.native - figures.nativeWithoutDontAsk,
                        figures.total);
    else if (figures.level <= 4)
        status = format(text(u"wordsStatus"_s), figures.shown, figures.total);
    else
        status = format(text(u"allStatus"_s), figures.total);
    if (figures.selectedRows > 0)
        status += u", "_s + format(text(u"selectedStatus"_s), figures.selectedRows);
    return status;
}

QString initialStatusText(quint64 level0Count, quint64 total)
{
    return format(text(u"%ld unknown words, %ld total words"_s), level0Count, total);
}

QString syncStatusText(const std::optional<QString> &status)
{
    return status.value_or(u"Sync in progress"_s);
}

HelpPage helpPage(quint64 total, quint64 shown, quint64 level, bool isSearching)
{
    if (total == 0)
        return HelpPage::NoWordsAdded;
    if (shown == 0)
        return level == 0 ? HelpPage::NoWordsUnknown : HelpPage::NoWordsInLevel;
    return isSearching ? HelpPage::SearchBackground : HelpPage::None;
}

} // namespace lexi::VocabularyListTexts
