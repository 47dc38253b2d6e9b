#pragma once

#include <QWidget>

// A light panel for content on the dark quiz background.
class QLXBrightView : public QWidget
{
    Q_OBJECT

public:
    explicit QLXBrightView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
