#include "shell/ModalWatch.h"
#include "shell/QtFileChooser.h"

#include "support/FakeClock.h"
#include "support/ManualScheduler.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lexi {
namespace {

using namespace Qt::StringLiterals;

// A main window with the chooser over it, the synchronisation's modal watch beside it, and a
// folder for the files the dialogs show.
class FileChooserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(900, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        chooser.setParentWindow(&window);
    }

    // The dialog the chooser shows, looking at the test's folder.
    QFileDialog *shownDialog()
    {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (dialog)
            dialog->setDirectory(folder.path());
        return dialog;
    }

    void choose(QFileDialog &dialog, const QString &name)
    {
        auto *nameField = dialog.findChild<QLineEdit *>(u"fileNameEdit"_s);
        ASSERT_TRUE(nameField);
        nameField->clear();
        QTest::keyClicks(nameField, name);
        QTest::keyClick(nameField, Qt::Key_Return);
    }

    QMainWindow window;
    QtFileChooser chooser;
    QObject receiver;
    QTemporaryDir folder;
    test::FakeClock clock;
    test::ManualScheduler scheduler{clock};
    ModalWatch modalWatch{scheduler};
    // Whether the chooser answered, and with what.
    bool answered = false;
    std::optional<QString> answer;
    FileChooser::Answer record = [this](const std::optional<QString> &path) {
        answered = true;
        answer = path;
    };
};

TEST_F(FileChooserTest, ASavePanelIsASheetThatHoldsSynchronisationResultsBackAndForcesItsExtension)
{
    chooser.chooseFileToSave({u"Select Export"_s, u"Save"_s, QString(), {u"csv"_s, u"txt"_s}, u"French.csv"_s},
                             &receiver, record);
    QFileDialog *dialog = shownDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->parentWidget(), &window);
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    EXPECT_EQ(dialog->windowTitle(), u"Select Export"_s);
    EXPECT_EQ(dialog->labelText(QFileDialog::Accept), u"Save"_s);
    EXPECT_EQ(dialog->nameFilters(), QStringList{u"*.csv *.txt"_s});
    EXPECT_FALSE(answered) << "the panel does not wait for the learner";

    bool reloaded = false;
    modalWatch.runWhenNoModal([&reloaded] { reloaded = true; });
    scheduler.advance(std::chrono::seconds(2));
    EXPECT_FALSE(reloaded) << "no synchronisation result replaces the vocabulary under the panel";

    choose(*dialog, u"words.doc"_s);
    EXPECT_EQ(answer, folder.filePath(u"words.doc.csv"_s));
    EXPECT_FALSE(ModalWatch::isModalOpen());
    scheduler.advance(ModalWatch::retryInterval);
    EXPECT_TRUE(reloaded);
}

TEST_F(FileChooserTest, ASaveNameKeepsAnAllowedExtensionInAnyCase)
{
    const struct
    {
        QString typed;
        QString saved;
    } cases[] = {
        {u"words"_s, u"words.csv"_s},
        {u"words.txt"_s, u"words.txt"_s},
        {u"words.TXT"_s, u"words.TXT"_s},
    };
    for (const auto &entry : cases) {
        chooser.chooseFileToSave({u"Export"_s, u"Save"_s, QString(), {u"csv"_s, u"txt"_s}, u"French.csv"_s},
                                 &receiver, record);
        QFileDialog *dialog = shownDialog();
        ASSERT_TRUE(dialog);
        choose(*dialog, entry.typed);
        EXPECT_EQ(answer, folder.filePath(entry.saved)) << entry.typed.toStdString();
    }
}

TEST_F(FileChooserTest, AnOpenPanelAnswersTheChosenFileOrNothingWhenCancelled)
{
    QFile file(folder.filePath(u"French.QLXV"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const FilePanel panel{u"Import"_s, u"Import"_s, u"Choose a file"_s, {u"qlxv"_s, u"tbf"_s}, QString()};

    chooser.chooseFileToOpen(panel, &receiver, record);
    QFileDialog *dialog = shownDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), u"Import – Choose a file"_s);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    choose(*dialog, u"French.QLXV"_s);
    EXPECT_EQ(answer, file.fileName());

    answered = false;
    chooser.chooseFileToOpen(panel, &receiver, record);
    dialog = shownDialog();
    ASSERT_TRUE(dialog);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(answered);
    EXPECT_EQ(answer, std::nullopt);
    EXPECT_FALSE(ModalWatch::isModalOpen());
}

TEST_F(FileChooserTest, APanelWhoseReceiverIsGoneAnswersNobody)
{
    auto gone = std::make_unique<QObject>();
    chooser.chooseFileToOpen({u"Import"_s, u"Import"_s, QString(), {u"csv"_s}, QString()}, gone.get(), record);
    QFileDialog *dialog = shownDialog();
    ASSERT_TRUE(dialog);
    gone.reset();
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(answered);
}

} // namespace
} // namespace lexi
