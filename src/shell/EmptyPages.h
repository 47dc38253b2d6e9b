#pragma once

#include "MainWindowPages.h"

#include <QWidget>

#include <memory>

namespace lexi {

// A stand-in for a page whose controller does not exist yet: it shows an empty page and accepts
// every call of the main window.
class EmptyFlashCardServicePage final : public FlashCardServicePage
{
public:
    QWidget *view() override { return m_view.get(); }

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

} // namespace lexi
