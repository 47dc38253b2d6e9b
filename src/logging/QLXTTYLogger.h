#pragma once

#include "QLXAbstractLogger.h"
#include "QLXTTYLoggerColorProfile.h"

#include <QByteArray>
#include <QHash>

#include <vector>

// Writes every record as one line to standard error:
//
//     2014-06-04 14:06:34:123 Lexicarta[512:1a03] the text
//
// (local date and time with milliseconds, process name, process id, thread id in hexadecimal).
// Lines can be coloured per flag, context or tag; colours are off unless switched on.
class QLXTTYLogger final : public QLXAbstractLogger
{
public:
    // What the logger writes to and how it names the process.
    struct Terminal
    {
        int fileDescriptor;
        QString processName;
        qint64 processID;
        QLXTTYColorMode colorMode;

        // Standard error of this process, with the colour mode its environment asks for.
        static Terminal standardError();
    };

    static std::shared_ptr<QLXTTYLogger> sharedInstance();
    explicit QLXTTYLogger(const Terminal &terminal);

    void logMessage(const QLXLogMessage &message) override;

    bool colorsEnabled();
    // Switching colours on with no rule loads the default ones (errors red, warnings orange).
    void setColorsEnabled(bool enabled);

    void setForegroundColor(std::optional<QLXTTYColor> foreground, std::optional<QLXTTYColor> background, int flag,
                            int context = QLXTTYLoggerColorProfile::anyContext);
    void setForegroundColor(std::optional<QLXTTYColor> foreground, std::optional<QLXTTYColor> background,
                            const QString &tag);
    // Removes the rule for exactly this mask and context; the rules set without a context carry
    // the any-context value and stay.
    void clearColorsForFlag(int mask, int context = 0);
    void clearColorsForTag(const QString &tag);
    void clearColorsForAllFlags();
    void clearColorsForAllTags();
    void clearAllColors();
    void loadDefaultColorProfiles();

private:
    const QLXTTYLoggerColorProfile *profileFor(const QLXLogMessage &message) const;
    void write(const QLXLogMessage &message, const QByteArray &text, bool isFormatted,
               const QLXTTYLoggerColorProfile *profile) const;

    const int m_fileDescriptor;
    const QByteArray m_app;
    const QByteArray m_pid;
    const QLXTTYColorMode m_colorMode;
    bool m_colorsEnabled = false;
    std::vector<QLXTTYLoggerColorProfile> m_colorProfilesArray;
    QHash<QString, QLXTTYLoggerColorProfile> m_colorProfilesDict;
};
