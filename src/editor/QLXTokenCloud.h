#pragma once

#include "TokenCloudLayout.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QWidget>

class QLXTokenButton;
class QLXTokenCloudDelegate;

// The tag cloud: one toggle button per tag, sorted by name and flowed into rows. The selection
// is a set of names that outlives the buttons: setting tags that drop a selected one keeps its
// name selected.
class QLXTokenCloud : public QWidget
{
    Q_OBJECT

public:
    explicit QLXTokenCloud(QWidget *parent = nullptr);

    // Buttons of names no longer there go, each new name that is not empty gets one (off). The
    // buttons are laid out anew only when that changed them.
    void setTokens(const QSet<QString> &tokens);
    const QSet<QString> &tokens() const { return m_tokens; }
    // Sets each button on exactly when its name is selected.
    void setSelectedTokenNames(const QSet<QString> &names);
    const QSet<QString> &selectedTokenNames() const { return m_selectedTokenNames; }
    // The selected names that have a button: the tags that filter. A selected name without a
    // button is invisible, so it must not narrow what the learner sees.
    QStringList visibleSelectedTokenNames() const;
    // False for an empty name or one there already (the name is there afterwards either way).
    bool addTokenWithString(const QString &token);
    void removeTokenWithString(const QString &token);

    double preferredHeight() const { return m_height.preferredHeight(); }
    void setDelegate(QLXTokenCloudDelegate *delegate) { m_delegate = delegate; }
    QLXTokenCloudDelegate *delegate() const { return m_delegate; }

    QLXTokenButton *buttonForToken(const QString &token) const { return m_tokenButtons.value(token); }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void addButton(const QString &token);
    void buttonClicked(QLXTokenButton *button);
    void recalculateButtonLocations();
    // The control that Tab leaves for the first tag: the last one before the cloud that takes Tab.
    QWidget *focusBeforeCloud() const;

    QSet<QString> m_tokens;
    QHash<QString, QLXTokenButton *> m_tokenButtons;
    QHash<const QLXTokenButton *, int> m_buttonWidths;
    QSet<QString> m_selectedTokenNames;
    lexi::TokenCloudHeight m_height;
    QLXTokenCloudDelegate *m_delegate = nullptr;
};
