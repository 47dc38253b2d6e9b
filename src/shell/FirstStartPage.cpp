#include "FirstStartPage.h"

#include "views/TextShareKeeper.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel *makeCheck(QWidget *parent)
{
    auto *check = new QLabel(parent);
    check->setPixmap(QIcon(u":/images/check.svg"_s).pixmap(20, 20));
    check->setFixedSize(22, 22);
    return check;
}

QLabel *makeHeading(QWidget *parent, qreal scale)
{
    auto *label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

} // namespace

FirstStartPage::FirstStartPage(QWidget *parent) : QWidget(parent)
{
    auto *ownLanguageSide = new QWidget(this);
    welcomeLabel = makeHeading(ownLanguageSide, 1.8);
    chooseLanguageLabel = new QLabel(ownLanguageSide);
    chooseLanguageLabel->setWordWrap(true);
    firstLanguageField = new QLineEdit(ownLanguageSide);
    firstLanguageField->setMinimumWidth(240);
    getStartedButton = new QPushButton(ownLanguageSide);
    getStartedButton->setEnabled(false);
    getStartedButton->setDefault(true);
    auto *ownLayout = new QVBoxLayout(ownLanguageSide);
    ownLayout->addStretch(1);
    ownLayout->addWidget(welcomeLabel);
    ownLayout->addSpacing(12);
    ownLayout->addWidget(chooseLanguageLabel);
    ownLayout->addWidget(firstLanguageField);
    ownLayout->addWidget(getStartedButton, 0, Qt::AlignLeft);
    ownLayout->addStretch(2);

    auto *cloudSide = new QWidget(this);
    firstSetupLabel = makeHeading(cloudSide, 1.3);
    firstSetupSyncWithExistingLabel = new QLabel(cloudSide);
    firstSetupSyncWithExistingLabel->setWordWrap(true);
    firstSyncStep2Label = new QLabel(cloudSide);
    firstSyncStep2Label->setWordWrap(true);
    firstSyncLinkDBButton = new QPushButton(cloudSide);
    firstSyncStep2Check = makeCheck(cloudSide);
    firstSyncStep3Label = new QLabel(cloudSide);
    firstSyncStep3Label->setWordWrap(true);
    firstSyncStep3Check = makeCheck(cloudSide);
    firstSyncProgressWheel = new QProgressBar(cloudSide);
    firstSyncProgressWheel->setRange(0, 1);
    firstSyncProgressWheel->setTextVisible(false);
    firstSyncProgressWheel->setMaximumWidth(160);
    firstSyncGetStartedButton = new QPushButton(cloudSide);
    firstSyncStep4Label = new QLabel(cloudSide);
    firstSyncStep4Label->setWordWrap(true);

    auto *linkRow = new QHBoxLayout;
    linkRow->addWidget(firstSyncLinkDBButton);
    linkRow->addWidget(firstSyncStep2Check);
    linkRow->addStretch(1);
    auto *syncRow = new QHBoxLayout;
    syncRow->addWidget(firstSyncProgressWheel);
    syncRow->addWidget(firstSyncStep3Check);
    syncRow->addStretch(1);

    auto *cloudLayout = new QVBoxLayout(cloudSide);
    cloudLayout->addStretch(1);
    cloudLayout->addWidget(firstSetupLabel);
    cloudLayout->addWidget(firstSetupSyncWithExistingLabel);
    cloudLayout->addSpacing(12);
    cloudLayout->addWidget(firstSyncStep2Label);
    cloudLayout->addLayout(linkRow);
    cloudLayout->addSpacing(8);
    cloudLayout->addWidget(firstSyncStep3Label);
    cloudLayout->addLayout(syncRow);
    cloudLayout->addSpacing(8);
    cloudLayout->addWidget(firstSyncGetStartedButton, 0, Qt::AlignLeft);
    cloudLayout->addWidget(firstSyncStep4Label);
    cloudLayout->addStretch(2);

    auto *divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(40, 24, 40, 24);
    layout->setSpacing(32);
    layout->addWidget(ownLanguageSide, 1);
    layout->addWidget(divider);
    layout->addWidget(cloudSide, 1);
}

void FirstStartPage::setStepColor(QLabel *label, bool isCurrent)
{
    lexi::TextShareKeeper::keep(*label, isCurrent ? 1.0 : lexi::TextShareKeeper::secondaryTextShare);
}
