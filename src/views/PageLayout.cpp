#include "PageLayout.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lexi {

namespace {

template<typename AddContent>
void layOutAround(QWidget &page, AddContent addContent)
{
    auto *centred = new QHBoxLayout;
    centred->addStretch();
    addContent(*centred);
    centred->addStretch();
    auto *layout = new QVBoxLayout(&page);
    layout->addStretch();
    layout->addLayout(centred);
    layout->addStretch();
}

} // namespace

void placeInTheMiddle(QWidget &page, QWidget &content)
{
    layOutAround(page, [&](QHBoxLayout &row) { row.addWidget(&content); });
}

void placeInTheMiddle(QWidget &page, QLayout &content)
{
    layOutAround(page, [&](QHBoxLayout &row) { row.addLayout(&content); });
}

} // namespace lexi
