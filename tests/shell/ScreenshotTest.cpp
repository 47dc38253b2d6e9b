#include "MainWindowTestSupport.h"

#include "shell/InstallationLaunchServices.h"
#include "shell/MainInterface.h"
#include "shell/QLXHelpController.h"
#include "support/Screenshots.h"

#include "platform/files/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>
#include <QStackedWidget>

#include <gtest/gtest.h>

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
    test.installation->defaults().setString(Settings::lastActiveLanguageKey, u"Spanish - English"_s);
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelpKey, true);
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
    test.installation->defaults().setBool(Settings::hasShownVocabularyHelpKey, true);
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

} // namespace
} // namespace lexi::test
