#include "X11InputSources.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XKBrules.h>

#include <cstdlib>
#include <utility>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

const QString identifierPrefix = u"xkb:"_s;

// The layouts and variants the session's keymap was made from (the _XKB_RULES_NAMES property that
// setxkbmap and the desktop set); empty when the X server has none.
std::pair<QString, QString> rulesLayoutsAndVariants(Display *display)
{
    char *rulesFile = nullptr;
    XkbRF_VarDefsRec names{};
    if (!XkbRF_GetNamesProp(display, &rulesFile, &names))
        return {};
    std::pair<QString, QString> layoutsAndVariants{QString::fromUtf8(names.layout), QString::fromUtf8(names.variant)};
    for (char *text : {rulesFile, names.model, names.layout, names.variant, names.options})
        std::free(text);
    return layoutsAndVariants;
}

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

QStringList X11InputSources::layoutsFromRulesNames(const QString &layouts, const QString &variants)
{
    if (layouts.isEmpty())
        return {};
    const QStringList layoutList = layouts.split(u',').mid(0, XkbNumKbdGroups);
    const QStringList variantList = variants.split(u',');
    QStringList result;
    for (qsizetype group = 0; group < layoutList.size(); ++group) {
        const QString variant = variantList.value(group).trimmed();
        const QString layout = layoutList[group].trimmed();
        result.append(variant.isEmpty() ? layout : u"%1(%2)"_s.arg(layout, variant));
    }
    return result;
}

std::optional<QList<InputSource>> X11InputSources::inputSourceList(bool)
{
    std::lock_guard lock(m_mutex);
    XkbDescPtr keyboard = XkbAllocKeyboard();
    if (!keyboard)
        return std::nullopt;
    QList<InputSource> sources;
    if (XkbGetNames(m_display, XkbGroupNamesMask, keyboard) == Success) {
        const auto [layoutNames, variantNames] = rulesLayoutsAndVariants(m_display);
        const QStringList layouts = layoutsFromRulesNames(layoutNames, variantNames);
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
    std::lock_guard lock(m_mutex);
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
    std::lock_guard lock(m_mutex);
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
