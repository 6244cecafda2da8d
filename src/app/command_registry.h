// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <initializer_list>
#include <map>

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QWidget;

namespace penmoji {

// One command as its owner declares it, once: what the menus and the status bar call it, its
// keys (the first is the one the menus show), what it does, and when it is enabled or checked.
// Texts are marked with QT_TRANSLATE_NOOP("Penmoji", ...) so that they reach the catalogue.
struct CommandDeclaration {
    int id = 0;
    const char* text = nullptr;    // the menu caption; none for a command with keys only
    const char* prompt = nullptr;  // what the status bar says while it is highlighted
    const char* tip = nullptr;     // the tooltip, when it says more than the caption
    QList<QKeySequence> keys;
    std::function<void()> run;
    std::function<bool()> enabledWhen;  // always enabled without one
    std::function<bool()> checkedWhen;  // a switch when it has one
};

// Every command of the window as one action, made from its owner's declaration. The enabled
// and checked states are read again for the commands a change concerns, when the owner says
// so, rather than for all of them on every change.
class CommandRegistry final : public QObject {
    Q_OBJECT
public:
    // The actions belong to `window`, so that their keys work wherever the focus is inside it.
    explicit CommandRegistry(QWidget& window);

    QAction* add(const CommandDeclaration& declaration);
    QAction* action(int id) const;
    // Runs the command only while it is enabled, so that a key or a button that went stale
    // cannot start a disabled command.
    void trigger(int id);
    // Reads the states of these commands again.
    void refresh(std::initializer_list<int> ids);
    void refreshAll();
    // Reads the states of `ids` again whenever `sender` emits `signal`.
    template <typename Sender, typename Signal>
    void refreshOn(const Sender* sender, Signal signal, std::initializer_list<int> ids) {
        connect(sender, signal, this, [this, list = QList<int>(ids)] { refreshList(list); });
    }

signals:
    // A command ran, from a menu, a button, a key or trigger().
    void commandRun(int id);

private:
    struct Entry {
        QAction* action;
        std::function<void()> run;
        std::function<bool()> enabledWhen;
        std::function<bool()> checkedWhen;
    };
    void refreshList(const QList<int>& ids);
    void refreshEntry(const Entry& entry);

    QWidget& window_;
    std::map<int, Entry> entries_;
};

}  // namespace penmoji
