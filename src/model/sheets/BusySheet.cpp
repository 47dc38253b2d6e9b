#include "BusySheet.h"

#include "platform/files/StringTables.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lexi {

BusySheet::BusySheet(QWidget *parent)
    : QDialog(parent), m_text(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(StringTables::text(u"cancel"_s, u"Import"_s), this))
{
    setWindowModality(Qt::WindowModal);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    // The work cannot tell how far it has come: the bar only shows that it goes on.
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setMinimumWidth(320);
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &BusySheet::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
}

void BusySheet::start(const QString &text)
{
    m_text->setText(text);
    open();
}

void BusySheet::finish()
{
    // Closed by the program, not by the learner: no cancel.
    QDialog::accept();
}

void BusySheet::reject()
{
    QDialog::reject();
    emit cancelled();
}

} // namespace lexi
