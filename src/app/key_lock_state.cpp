// SPDX-License-Identifier: MIT
#include "app/key_lock_state.h"

#include <QGuiApplication>

#ifdef PENMOJI_HAVE_XKB
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

namespace penmoji {

#ifdef PENMOJI_HAVE_XKB
namespace {

std::optional<bool> namedIndicator(Display* display, const char* name) {
    // Only looked up, never created: a keymap without the indicator simply has no such lock.
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) {
        return std::nullopt;
    }
    return on == True;
}

}  // namespace

KeyLocks currentKeyLocks() {
    const auto* x11 = qGuiApp != nullptr
                          ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                          : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return {};
    }
    return {namedIndicator(display, "Kana"), namedIndicator(display, "Caps Lock"),
            namedIndicator(display, "Num Lock"), namedIndicator(display, "Scroll Lock")};
}

#else

KeyLocks currentKeyLocks() {
    return {};
}

#endif

}  // namespace penmoji
