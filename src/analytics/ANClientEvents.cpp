#include "ANClient.h"

#include "ANEventStore.h"
#include "ANNoWriteKeyProvided.h"
#include "AnalyticsLog.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

using namespace Qt::StringLiterals;
using lexi::AnalyticsError;
using lexi::AnalyticsLog;

// Adding events: the checks of collections and events, and the events' JSON.

namespace {

const QString analyticsKey = u"analytics"_s;
const QString invalidJSONTypeMessage = u"Event contains an invalid JSON type!"_s;
const QString dateNotWrittenMessage = u"A date in the event could not be written as text."_s;

} // namespace

bool ANClient::addEvent(const QVariantMap &event, const QString &collection, AnalyticsError *error)
{
    return addEvent(event, std::nullopt, collection, error);
}

bool ANClient::addEvent(const QVariantMap &event, std::optional<ANProperties> analyticsProperties,
                        const QString &collection, AnalyticsError *error)
{
    if (!validateKey(writeKey()))
        throw ANNoWriteKeyProvided();
    if (!validateEventCollection(collection, error) || !validateEvent(event, 0, error))
        return false;
    AnalyticsLog::write(u"Adding event to collection: %@", collection);

    QVariantMap merged = globalPropertiesDictionary();
    if (const GlobalPropertiesBlock block = globalPropertiesBlock())
        merged.insert(block(collection));
    merged.insert(event);

    // The event's own "analytics" entries win over the client's. One that is not a dictionary
    // can only have come from the global properties, which are not checked; it gives way.
    QVariantMap analytics =
        analyticsProperties.value_or(ANProperties(m_environment.clock->now())).jsonForm();
    const QVariant ownAnalytics = merged.value(analyticsKey);
    if (ownAnalytics.typeId() == QMetaType::QVariantMap)
        analytics.insert(ownAnalytics.toMap());
    merged.insert(analyticsKey, analytics);

    AnalyticsError serializationError;
    const std::optional<QByteArray> json = serializeEventToJSON(merged, &serializationError);
    if (!json) {
        return handleError(
            error, u"An error occurred when serializing event to JSON: %1"_s.arg(serializationError.message),
            std::make_shared<const AnalyticsError>(serializationError));
    }
    // Old events make room only for an event that will be stored.
    // A write key is only ever set together with the store.
    ANEventStore &store = *eventStore();
    const quint64 count = store.getTotalEventCount();
    if (count + 1 > maxEventsPerCollection) {
        AnalyticsLog::write(u"Too many events in cache for %@, aging out old data.", collection);
        AnalyticsLog::write(u"Count: %lu and Max: %lu", count, maxEventsPerCollection);
        store.deleteEventsFromOffset(count - numberEventsToForget);
    }
    if (!store.addEvent(*json, collection))
        return handleError(error, u"The event could not be stored."_s);
    AnalyticsLog::write(u"Event: %@", QString::fromUtf8(*json));
    return true;
}

bool ANClient::validateEventCollection(const QString &collection, AnalyticsError *error)
{
    if (collection.isNull())
        return handleError(error, u"You must specify a non-null event collection name."_s);
    if (collection.startsWith(u'$'))
        return handleError(error, u"An event collection name cannot start with the dollar sign ($) character."_s);
    if (collection.size() > 64)
        return handleError(error, u"An event collection name cannot be longer than 64 characters."_s);
    return true;
}

bool ANClient::validateEvent(const QVariantMap &event, int depth, AnalyticsError *error)
{
    if (depth == 0) {
        if (event.isEmpty())
            return handleError(error, u"You must specify a non-null, non-empty event."_s);
        if (event.contains(analyticsKey) && event.value(analyticsKey).typeId() != QMetaType::QVariantMap)
            return handleError(error, u"An event's root-level property named 'analytics' must be a dictionary."_s);
    }
    for (auto entry = event.cbegin(); entry != event.cend(); ++entry) {
        const QString &key = entry.key();
        if (key.contains(u'.'))
            return handleError(error, u"An event cannot contain a property with the period (.) character in it."_s);
        if (key.startsWith(u'$')) {
            return handleError(
                error, u"An event cannot contain a property that starts with the dollar sign ($) character in it."_s);
        }
        if (key.size() > 256)
            return handleError(error, u"An event cannot contain a property longer than 256 characters."_s);
        const QVariant &value = entry.value();
        if (value.typeId() == QMetaType::QString && value.toString().size() > 10000)
            return handleError(error, u"An event cannot contain a property value longer than 10,000 characters."_s);
        if (value.typeId() == QMetaType::QVariantMap && !validateEvent(value.toMap(), depth + 1, error))
            return false;
    }
    return true;
}

std::optional<QByteArray> ANClient::serializeEventToJSON(const QVariantMap &event, AnalyticsError *error) const
{
    QString failure;
    const std::optional<QJsonValue> json = handleInvalidJSONInObject(event, failure);
    if (!json) {
        handleError(error, failure);
        return std::nullopt;
    }
    return QJsonDocument(json->toObject()).toJson(QJsonDocument::Compact);
}

std::optional<QJsonValue> ANClient::handleInvalidJSONInObject(const QVariant &value, QString &failure) const
{
    const auto invalid = [&failure](const QString &why) -> std::optional<QJsonValue> {
        failure = why;
        return std::nullopt;
    };
    const auto dateText = [&](lexi::Date date) -> std::optional<QJsonValue> {
        if (const std::optional<QString> text = convertDate(date))
            return QJsonValue(*text);
        return invalid(dateNotWrittenMessage);
    };
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        return QJsonValue(QJsonValue::Null);
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::QString:
        return QJsonValue(value.toString());
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QJsonValue(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 number = value.toULongLong();
        return number <= quint64(INT64_MAX) ? QJsonValue(qint64(number)) : QJsonValue(double(number));
    }
    case QMetaType::Float:
    case QMetaType::Double:
        if (!std::isfinite(value.toDouble()))
            return invalid(invalidJSONTypeMessage);
        return QJsonValue(value.toDouble());
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto entry = map.cbegin(); entry != map.cend(); ++entry) {
            const std::optional<QJsonValue> converted = handleInvalidJSONInObject(entry.value(), failure);
            if (!converted)
                return std::nullopt;
            object.insert(entry.key(), *converted);
        }
        return object;
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        QJsonArray array;
        for (const QVariant &element : value.toList()) {
            const std::optional<QJsonValue> converted = handleInvalidJSONInObject(element, failure);
            if (!converted)
                return std::nullopt;
            array.append(*converted);
        }
        return array;
    }
    case QMetaType::QDateTime:
        if (!value.toDateTime().isValid())
            return invalid(invalidJSONTypeMessage);
        return dateText(lexi::Date::fromDateTime(value.toDateTime()));
    default:
        if (value.metaType() == QMetaType::fromType<lexi::Date>())
            return dateText(value.value<lexi::Date>());
        return invalid(invalidJSONTypeMessage);
    }
}

std::optional<QString> ANClient::convertDate(lexi::Date date) const
{
    ANEventStore *store = eventStore();
    return store ? store->convertNSDateToISO8601(date) : std::nullopt;
}

bool ANClient::handleError(AnalyticsError *error, const QString &message,
                           std::shared_ptr<const AnalyticsError> underlyingError)
{
    if (error) {
        *error = AnalyticsError{message, std::move(underlyingError)};
        AnalyticsLog::write(u"%@", message);
    }
    return false;
}
