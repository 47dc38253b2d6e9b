#include "MainWindowTestSupport.h"

#include "shell/InstallationLaunchServices.h"
#include "shell/MainInterface.h"
#include "shell/QLXHelpController.h"
#include "support/Screenshots.h"

#include "platform/files/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace lexi::test {
namespace {

// Renders the main window as the learner sees it into build/screenshots/<name>.png.
void saveWindowScreenshot(QMainWindow *window, const QString &name)
{
    window->resize(1100, 720);
    window->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(saveScreenshot(*window, name)) << name.toStdString();
}

class ScreenshotTest : public ::testing::Test
{
protected:
    TestInstallation test;
    NoMoveToApplicationsOffer moveOffer;
};

TEST_F(ScreenshotTest, MainWindow)
{
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 300);
    test.saveVocabulary(u"Italian"_s, u"English"_s, 40);
    test.installation->defaults().setString(Settings::lastActiveLanguage.name, u"Spanish - English"_s);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    test.scheduler.advance(500ms);
    QLXMainWindowController &controller = interface.mainWindowController();
    ASSERT_EQ(controller.currentVocabulary()->countAllWords(), 300);
    saveWindowScreenshot(controller.mainWindow(), u"main-window"_s);
}

TEST_F(ScreenshotTest, QuizAndSettingsTabs)
{
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 300);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelp.name, true);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    test.scheduler.advance(500ms);
    QLXMainWindowController &controller = interface.mainWindowController();
    controller.showQuiz();
    test.scheduler.advance(500ms);
    ASSERT_EQ(controller.selectedTab(), QLXMainWindowController::quizTab);
    saveWindowScreenshot(controller.mainWindow(), u"main-window-quiz"_s);
    controller.showPreferences();
    ASSERT_EQ(controller.selectedTab(), QLXMainWindowController::settingsTab);
    saveWindowScreenshot(controller.mainWindow(), u"main-window-settings"_s);
}

TEST_F(ScreenshotTest, FirstStartPage)
{
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    ASSERT_TRUE(interface.mainWindowController().isInFirstSetupMode());
    saveWindowScreenshot(interface.mainWindowController().mainWindow(), u"first-start"_s);
}

TEST_F(ScreenshotTest, HelpOverlay)
{
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 300);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    interface.mainWindowController().mainWindow()->show();
    test.scheduler.advance(500ms);
    ASSERT_TRUE(interface.mainWindowController().helpController()->isShown());
    saveWindowScreenshot(interface.mainWindowController().mainWindow(), u"help-overlay"_s);
}

// The gap between two rectangles that do not overlap (0 when they touch or overlap).
int distance(const QRect &a, const QRect &b)
{
    const int dx = std::max({0, a.left() - b.right() - 1, b.left() - a.right() - 1});
    const int dy = std::max({0, a.top() - b.bottom() - 1, b.top() - a.bottom() - 1});
    return std::max(dx, dy);
}

TEST_F(ScreenshotTest, TheHelpNotesStandBesideWhatTheyDescribeAndOverlapNothing)
{
    test.saveVocabulary(u"Spanish"_s, u"English"_s, 300);
    MainInterface interface(*test.installation, moveOffer);
    interface.awakeFromNib();
    QLXMainWindowController &controller = interface.mainWindowController();
    controller.mainWindow()->show();
    test.scheduler.advance(500ms);
    QLXHelpController &help = *controller.helpController();
    ASSERT_TRUE(help.isShown());

    LexicartaController &list = interface.vocabularyPage();
    auto *toolbar = controller.mainWindow()->findChild<QToolBar *>(u"tabs"_s);
    ASSERT_TRUE(toolbar);
    QList<QWidget *> levels;
    for (quint64 level = 0; level <= LexicartaController::allWordsLevel; ++level)
        levels.append(list.levelButton(level));
    using Label = QLXHelpController::Label;
    const QList<std::pair<Label, QList<QWidget *>>> described = {
        {QLXHelpController::vocabularyDownloadLabel,
         {toolbar->widgetForAction(toolbar->actions().at(QLXMainWindowController::quizletTab))}},
        {QLXHelpController::vocabularyAllWordsLabel, levels},
        {QLXHelpController::vocabularyRiseLabel, levels},
        {QLXHelpController::vocabularyFallLabel, levels},
        {QLXHelpController::vocabularyAddWordLabel, {static_cast<QWidget *>(list.addWordButton())}},
        {QLXHelpController::vocabularySearchLabel, {static_cast<QWidget *>(list.searchField())}},
        {QLXHelpController::vocabularyTagsLabel, list.tagFilterControls()},
    };
    QWidget &overlay = *help.tabView();
    const auto inOverlay = [&](const QWidget &widget) {
        return QRect(overlay.mapFromGlobal(widget.mapToGlobal(QPoint(0, 0))), widget.size());
    };
    for (const QSize size : {QSize(800, 540), QSize(1100, 720), QSize(1920, 1080)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        controller.mainWindow()->resize(size);
        QCoreApplication::processEvents();
        QList<QRect> parts;
        for (const auto &[label, widgets] : described) {
            for (const QWidget *widget : widgets)
                parts.append(inOverlay(*widget));
        }
        QList<QRect> notes;
        for (int label = 0; label < QLXHelpController::labelCount; ++label) {
            const QLabel &note = *help.note(Label(label));
            ASSERT_TRUE(note.isVisibleTo(&overlay)) << label;
            const QRect rect = inOverlay(note);
            EXPECT_TRUE(overlay.rect().contains(rect)) << label;
            for (const QRect &part : std::as_const(parts))
                EXPECT_FALSE(rect.intersects(part)) << label;
            for (const QRect &other : std::as_const(notes))
                EXPECT_FALSE(rect.intersects(other)) << label;
            notes.append(rect);
        }
        for (const auto &[label, widgets] : described) {
            QRect part;
            for (const QWidget *widget : widgets)
                part = part.united(inOverlay(*widget));
            EXPECT_LE(distance(notes[label], part), 40) << label;
        }
        saveScreenshot(*controller.mainWindow(), u"help-overlay-%1x%2"_s.arg(size.width()).arg(size.height()));
    }

    // Pressed by the learner on the empty overlay, Escape closes it.
    QTest::keyClick(&overlay, Qt::Key_Escape);
    EXPECT_FALSE(help.isShown());
}

} // namespace
} // namespace lexi::test
