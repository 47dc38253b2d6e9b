#include "QLXTTYLogger.h"

#include "QLXLogFlags.h"
#include "QLXLogMessage.h"

#include <QStringEncoder>

#include <cerrno>
#include <ctime>

#include <sys/uio.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Texts shorter than this are converted on the stack.
constexpr qsizetype scratchSize = 4096;

// Writes all pieces with as few system calls as the kernel allows: one, unless it writes short.
void writeAll(int fileDescriptor, iovec *pieces, int count)
{
    while (count > 0) {
        const ssize_t written = ::writev(fileDescriptor, pieces, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        auto left = size_t(written);
        while (count > 0 && left >= pieces->iov_len) {
            left -= pieces->iov_len;
            ++pieces;
            --count;
        }
        if (count > 0) {
            pieces->iov_base = static_cast<char *>(pieces->iov_base) + left;
            pieces->iov_len -= left;
        }
    }
}

iovec piece(const char *data, std::size_t length)
{
    return {const_cast<char *>(data), length};
}

iovec piece(const QByteArray &bytes)
{
    return piece(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

QLXTTYLogger::Terminal QLXTTYLogger::Terminal::standardError()
{
    QString name = QString::fromUtf8(program_invocation_short_name);
    if (name.isEmpty())
        name = u"<UnnamedApp>"_s;
    return {STDERR_FILENO, name, qint64(getpid()),
            colorModeFromEnvironment(qgetenv("XcodeColors"), qgetenv("TERM"))};
}

std::shared_ptr<QLXTTYLogger> QLXTTYLogger::sharedInstance()
{
    static const auto instance = std::make_shared<QLXTTYLogger>(Terminal::standardError());
    return instance;
}

QLXTTYLogger::QLXTTYLogger(const Terminal &terminal)
    : QLXAbstractLogger(u"cocoa.lumberjack.ttyLogger"_s)
    , m_fileDescriptor(terminal.fileDescriptor)
    , m_app(terminal.processName.toUtf8())
    , m_pid(QByteArray::number(terminal.processID))
    , m_colorMode(terminal.colorMode)
{
}

bool QLXTTYLogger::colorsEnabled()
{
    return readProperty(m_colorsEnabled);
}

void QLXTTYLogger::setColorsEnabled(bool enabled)
{
    changeProperty([this, enabled] {
        m_colorsEnabled = enabled;
        if (m_colorProfilesArray.empty())
            loadDefaultColorProfiles();
    });
}

void QLXTTYLogger::setForegroundColor(std::optional<QLXTTYColor> foreground, std::optional<QLXTTYColor> background,
                                      int flag, int context)
{
    changeState([this, foreground, background, flag, context] {
        QLXTTYLoggerColorProfile profile(foreground, background, flag, context, m_colorMode);
        for (auto &existing : m_colorProfilesArray) {
            if (existing.mask == flag && existing.context == context) {
                existing = profile;
                return;
            }
        }
        m_colorProfilesArray.push_back(profile);
    });
}

void QLXTTYLogger::setForegroundColor(std::optional<QLXTTYColor> foreground, std::optional<QLXTTYColor> background,
                                      const QString &tag)
{
    changeState([this, foreground, background, tag] {
        m_colorProfilesDict.insert(tag, QLXTTYLoggerColorProfile(foreground, background, 0, 0, m_colorMode));
    });
}

void QLXTTYLogger::clearColorsForFlag(int mask, int context)
{
    changeState([this, mask, context] {
        const auto rule = std::find_if(m_colorProfilesArray.begin(), m_colorProfilesArray.end(),
                                       [&](const auto &p) { return p.mask == mask && p.context == context; });
        if (rule != m_colorProfilesArray.end())
            m_colorProfilesArray.erase(rule);
    });
}

void QLXTTYLogger::clearColorsForTag(const QString &tag)
{
    changeState([this, tag] { m_colorProfilesDict.remove(tag); });
}

void QLXTTYLogger::clearColorsForAllFlags()
{
    changeState([this] { m_colorProfilesArray.clear(); });
}

void QLXTTYLogger::clearColorsForAllTags()
{
    changeState([this] { m_colorProfilesDict.clear(); });
}

void QLXTTYLogger::clearAllColors()
{
    changeState([this] {
        m_colorProfilesArray.clear();
        m_colorProfilesDict.clear();
    });
}

void QLXTTYLogger::loadDefaultColorProfiles()
{
    setForegroundColor(QLXTTYColor{214, 57, 30}, std::nullopt, QLXLogFlagError);
    setForegroundColor(QLXTTYColor{204, 121, 32}, std::nullopt, QLXLogFlagWarn);
}

const QLXTTYLoggerColorProfile *QLXTTYLogger::profileFor(const QLXLogMessage &message) const
{
    if (!m_colorsEnabled)
        return nullptr;
    if (!message.tag().isEmpty()) {
        const auto tagged = m_colorProfilesDict.constFind(message.tag());
        if (tagged != m_colorProfilesDict.constEnd())
            return &*tagged;
    }
    const QLXTTYLoggerColorProfile *candidate = nullptr;
    for (const auto &profile : m_colorProfilesArray) {
        if (!(profile.mask & message.logFlag()))
            continue;
        if (profile.context == message.logContext())
            return &profile;
        if (profile.context == QLXTTYLoggerColorProfile::anyContext)
            candidate = &profile;
    }
    return candidate;
}

void QLXTTYLogger::logMessage(const QLXLogMessage &message)
{
    std::optional<QString> text = message.logMsg();
    bool isFormatted = false;
    if (m_formatter) {
        text = m_formatter->formatLogMessage(message);
        isFormatted = text && *text != message.logMsg();
    }
    if (!text)
        return;

    QStringEncoder toUtf8(QStringEncoder::Utf8);
    if (toUtf8.requiredSpace(text->size()) < scratchSize) {
        char scratch[scratchSize];
        char *end = toUtf8.appendToBuffer(scratch, *text);
        write(message, QByteArray::fromRawData(scratch, end - scratch), isFormatted, profileFor(message));
    } else {
        write(message, text->toUtf8(), isFormatted, profileFor(message));
    }
}

void QLXTTYLogger::write(const QLXLogMessage &message, const QByteArray &text, bool isFormatted,
                         const QLXTTYLoggerColorProfile *profile) const
{
    static const QByteArray empty;
    const QByteArray &fgCode = profile ? profile->fgCode : empty;
    const QByteArray &bgCode = profile ? profile->bgCode : empty;
    const QByteArray &resetCode = profile ? profile->resetCode : empty;
    const bool needsNewline = !text.endsWith('\n');

    if (isFormatted) {
        iovec pieces[] = {piece(fgCode), piece(bgCode), piece(text), piece("\n", needsNewline ? 1 : 0),
                          piece(resetCode)};
        writeAll(m_fileDescriptor, pieces, 5);
        return;
    }

    const qint64 milliseconds = message.timestampMilliseconds();
    const time_t seconds = time_t(milliseconds >= 0 ? milliseconds / 1000 : (milliseconds - 999) / 1000);
    tm local = {};
    localtime_r(&seconds, &local);
    char timestamp[24];
    const int timestampLength = snprintf(timestamp, sizeof timestamp, "%04d-%02d-%02d %02d:%02d:%02d:%03d",
                                         local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                                         local.tm_min, local.tm_sec, int(milliseconds - qint64(seconds) * 1000));
    char threadID[9];
    const int threadIDLength = snprintf(threadID, sizeof threadID, "%x", message.machThreadID());

    iovec pieces[] = {
        piece(fgCode),
        piece(bgCode),
        piece(timestamp, std::size_t(std::clamp(timestampLength, 0, int(sizeof timestamp) - 1))),
        piece(" ", 1),
        piece(m_app),
        piece("[", 1),
        piece(m_pid),
        piece(":", 1),
        piece(threadID, std::size_t(std::clamp(threadIDLength, 0, int(sizeof threadID) - 1))),
        piece("] ", 2),
        piece(text),
        piece("\n", needsNewline ? 1 : 0),
        piece(resetCode),
    };
    writeAll(m_fileDescriptor, pieces, 13);
}
