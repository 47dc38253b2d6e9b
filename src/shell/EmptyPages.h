#pragma once

#include "MainWindowPages.h"

#include <QWidget>

#include <memory>

namespace lexi {

// Stand-ins for pages whose controller does not exist yet: each shows an empty page and accepts
// every call of the main window.
class EmptyFlashCardServicePage final : public FlashCardServicePage
{
public:
    QWidget *view() override { return m_view.get(); }

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

class EmptyStatisticsPage final : public StatisticsPage
{
public:
    QWidget *view() override { return m_view.get(); }
    void showStatistics() override {}
    void windowDidResize() override {}

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

} // namespace lexi
