#include "BusySheet.h"

#include "platform/files/StringTables.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace lexi {

BusySheet::BusySheet(QWidget *parent)
    : QDialog(parent), m_text(new QLabel(this)), m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(StringTables::text(u"cancel"_s, u"Import"_s), this)), m_refresh(new QTimer(this))
{
    setWindowModality(Qt::WindowModal);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_progress->setTextVisible(false);
    m_refresh->setInterval(100);
    connect(m_refresh, &QTimer::timeout, this, &BusySheet::updateProgress);
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
    follow(nullptr);
    open();
}

void BusySheet::follow(std::shared_ptr<const WorkProgress> progress)
{
    m_work = std::move(progress);
    updateProgress();
    m_refresh->start();
}

void BusySheet::updateProgress()
{
    const std::optional<int> permille = m_work ? m_work->permille() : std::nullopt;
    // Until the work tells, the bar only shows that it goes on.
    m_progress->setRange(0, permille ? 1000 : 0);
    if (permille)
        m_progress->setValue(*permille);
}

void BusySheet::finish()
{
    m_refresh->stop();
    // Closed by the program, not by the learner: no cancel.
    QDialog::accept();
}

void BusySheet::reject()
{
    m_refresh->stop();
    QDialog::reject();
    emit cancelled();
}

} // namespace lexi
