#include "X11InputSources.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <QMap>

namespace lexi {

namespace {

const QString identifierPrefix = QStringLiteral("xkb:");

QString atomName(Display *display, Atom atom)
{
    if (atom == 0)
        return {};
    char *name = XGetAtomName(display, atom);
    if (!name)
        return {};
    QString text = QString::fromUtf8(name);
    XFree(name);
    return text;
}

} // namespace

std::unique_ptr<InputSources> inputSourcesForQtPlatform(const QString &qtPlatformName)
{
    if (qtPlatformName == u"xcb") {
        if (auto x11 = X11InputSources::open())
            return x11;
    }
    return std::make_unique<NullInputSources>();
}

std::unique_ptr<X11InputSources> X11InputSources::open(const QByteArray &displayName)
{
    int opcode = 0, event = 0, error = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion, reason = 0;
    Display *display = XkbOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData(), &event, &error,
                                      &major, &minor, &reason);
    if (!display)
        return nullptr;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<X11InputSources>(new X11InputSources(display));
}

X11InputSources::~X11InputSources()
{
    XCloseDisplay(m_display);
}

QStringList X11InputSources::layoutsFromSymbolsName(const QString &symbolsName)
{
    const QStringList parts = symbolsName.split(u'+', Qt::SkipEmptyParts);
    QMap<int, QString> layoutsByGroup;
    // The first part names the keyboard model ("pc"); the part after it is the first group, the
    // others carry their group number; what follows without a number are options.
    const qsizetype firstLayout = !parts.isEmpty() && parts.first().startsWith(u"pc") ? 1 : 0;
    for (qsizetype i = firstLayout; i < parts.size(); ++i) {
        const QString &part = parts[i];
        const qsizetype colon = part.lastIndexOf(u':');
        if (colon > 0) {
            bool isNumber = false;
            const int group = part.mid(colon + 1).toInt(&isNumber);
            if (isNumber && group >= 1 && group <= XkbNumKbdGroups)
                layoutsByGroup.insert(group, part.left(colon));
        } else if (i == firstLayout) {
            layoutsByGroup.insert(1, part);
        }
    }
    QStringList layouts;
    for (int group = 1; layoutsByGroup.contains(group); ++group)
        layouts.append(layoutsByGroup.value(group));
    return layouts;
}

std::optional<QList<InputSource>> X11InputSources::inputSourceList(bool)
{
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (!keyboard)
        return std::nullopt;
    QList<InputSource> sources;
    if (XkbGetNames(m_display, XkbSymbolsNameMask | XkbGroupNamesMask, keyboard) == Success) {
        const QStringList layouts = layoutsFromSymbolsName(atomName(m_display, keyboard->names->symbols));
        for (qsizetype group = 0; group < layouts.size(); ++group) {
            QString name = atomName(m_display, keyboard->names->groups[group]);
            sources.append({identifierPrefix + layouts[group], name.isEmpty() ? layouts[group] : name, true});
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return sources;
}

std::optional<InputSource> X11InputSources::currentKeyboardInputSource()
{
    XkbStateRec state;
    if (XkbGetState(m_display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    const auto sources = inputSourceList(false);
    if (!sources || state.group >= sources->size())
        return std::nullopt;
    return sources->at(state.group);
}

bool X11InputSources::selectInputSource(const QString &identifier)
{
    const auto sources = inputSourceList(false);
    if (!sources)
        return false;
    for (qsizetype group = 0; group < sources->size(); ++group) {
        if (sources->at(group).identifier == identifier) {
            const bool locked = XkbLockGroup(m_display, XkbUseCoreKbd, unsigned(group));
            XSync(m_display, False);
            return locked;
        }
    }
    return false;
}

} // namespace lexi
