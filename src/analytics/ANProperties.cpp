#include "ANProperties.h"

using namespace Qt::StringLiterals;

QVariantMap ANProperties::jsonForm() const
{
    QVariantMap form{{u"timestamp"_s, QVariant::fromValue(m_timestamp)}};
    if (m_location) {
        form.insert(u"location"_s,
                    QVariantMap{{u"coordinates"_s, QVariantList{m_location->longitude, m_location->latitude}}});
    }
    return form;
}
