#include "TagDrop.h"

#include "model/QLXWord.h"

namespace lexi::TagDrop {

bool accepts(bool isOnRow, const std::optional<QString> &text)
{
    return isOnRow && text && !text->trimmed().isEmpty();
}

void apply(QLXWord &word, const QString &tag, qint64 modificationID)
{
    word.addTag(tag);
    word.setModificationID(modificationID);
}

} // namespace lexi::TagDrop
