#pragma once

#include <QObject>
#include <QWidget>

#include <memory>

// Owns a controller's page while the page lies in no other widget. A controller builds its page
// before a window embeds it, and a window may take the page out again before the controller
// goes: embedded, the page belongs to the widget it lies in; taken out, to this owner again.
class DetachedWidgetOwner : public QObject
{
public:
    DetachedWidgetOwner() = default;
    ~DetachedWidgetOwner() override;

    // Takes `widget` and follows it into and out of other widgets from now on.
    void hold(std::unique_ptr<QWidget> widget);

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void followParentOf(QWidget *widget);

    std::unique_ptr<QWidget> m_detached;
};
