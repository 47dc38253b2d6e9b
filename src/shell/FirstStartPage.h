#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The page shown while no vocabulary exists: on one side the learner names the language to learn
// and starts with an empty vocabulary, on the other the learner links the cloud folder and starts
// with the vocabularies it brings. The main window controller drives it; the page only lays out.
class FirstStartPage final : public QWidget
{
    Q_OBJECT

public:
    explicit FirstStartPage(QWidget *parent = nullptr);

    // Shows a step as done (black text) or still ahead (grey).
    static void setStepColor(QLabel *label, bool isCurrent);

    QLabel *welcomeLabel;
    QLabel *chooseLanguageLabel;
    QLineEdit *firstLanguageField;
    QPushButton *getStartedButton;

    QLabel *firstSetupLabel;
    QLabel *firstSetupSyncWithExistingLabel;
    QLabel *firstSyncStep2Label;
    QPushButton *firstSyncLinkDBButton;
    QLabel *firstSyncStep2Check;
    QLabel *firstSyncStep3Label;
    QLabel *firstSyncStep3Check;
    QProgressBar *firstSyncProgressWheel;
    QPushButton *firstSyncGetStartedButton;
    QLabel *firstSyncStep4Label;
};
