#include "quiz/QuizImages.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every answer shows its marks and level images again: the one shown already stays as it is, and
// any other name or size shows that image.
TEST(QuizImagesTest, ALabelShowsTheImageAskedForAndKeepsTheOneItShowsAlready)
{
    QLabel label;
    const struct
    {
        QString name;
        QSize size;
        bool keepsThePicture;
    } steps[] = {
        {u"checkmark_32"_s, QSize(22, 22), false},
        {u"checkmark_32"_s, QSize(22, 22), true},
        {u"strikeout_32"_s, QSize(22, 22), false},
        {u"strikeout_32"_s, QSize(32, 32), false},
        {u"checkmark_32"_s, QSize(32, 32), false},
        {u"checkmark_32"_s, QSize(32, 32), true},
    };
    QImage shown;
    qint64 shownKey = 0;
    for (const auto &step : steps) {
        SCOPED_TRACE(testing::Message() << step.name.toStdString() << " " << step.size.width());
        lexi::showQuizImage(label, step.name, step.size);
        const QPixmap pixmap = label.pixmap();
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), step.size);
        EXPECT_EQ(label.property("imageName").toString(), step.name);
        EXPECT_EQ(pixmap.toImage(), lexi::quizImage(step.name, step.size).toImage());
        EXPECT_EQ(pixmap.cacheKey() == shownKey, step.keepsThePicture);
        if (!step.keepsThePicture) {
            EXPECT_NE(pixmap.toImage(), shown) << "another image";
        }
        shown = pixmap.toImage();
        shownKey = pixmap.cacheKey();
    }
}

} // namespace
