// SPDX-License-Identifier: MIT
#include "app/command_registry.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

namespace penmoji {
namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("Penmoji", text);
}

}  // namespace

CommandRegistry::CommandRegistry(QWidget& window) : QObject(&window), window_(window) {}

QAction* CommandRegistry::add(const CommandSpec& spec) {
    auto* action = new QAction(&window_);
    // Keep the items where the menus put them on every desktop.
    action->setMenuRole(QAction::NoRole);
    if (spec.text != nullptr) {
        action->setText(translated(spec.text));
    }
    if (spec.prompt != nullptr) {
        action->setStatusTip(translated(spec.prompt));
    }
    if (spec.tip != nullptr) {
        action->setToolTip(translated(spec.tip));
    }
    action->setShortcuts(spec.keys);
    action->setCheckable(static_cast<bool>(spec.checkedWhen));
    window_.addAction(action);
    const int id = spec.id;
    connect(action, &QAction::triggered, this, [this, id] { trigger(id); });
    const Entry& entry = entries_[id] = {action, spec.run, spec.enabledWhen, spec.checkedWhen};
    refreshEntry(entry);
    return action;
}

QAction* CommandRegistry::action(int id) const {
    const auto found = entries_.find(id);
    return found != entries_.end() ? found->second.action : nullptr;
}

void CommandRegistry::trigger(int id) {
    const auto found = entries_.find(id);
    if (found == entries_.end()) {
        return;
    }
    const Entry& entry = found->second;
    if (entry.enabledWhen && !entry.enabledWhen()) {
        // Stale: show what holds now.
        refreshEntry(entry);
        return;
    }
    if (entry.run) {
        entry.run();
    }
    emit commandRun(id);
}

void CommandRegistry::refresh(std::initializer_list<int> ids) {
    refreshList(QList<int>(ids));
}

void CommandRegistry::refreshList(const QList<int>& ids) {
    for (int id : ids) {
        const auto found = entries_.find(id);
        if (found != entries_.end()) {
            refreshEntry(found->second);
        }
    }
}

void CommandRegistry::refreshAll() {
    for (const auto& [id, entry] : entries_) {
        refreshEntry(entry);
    }
}

void CommandRegistry::refreshEntry(const Entry& entry) {
    if (entry.enabledWhen) {
        entry.action->setEnabled(entry.enabledWhen());
    }
    if (entry.checkedWhen) {
        entry.action->setChecked(entry.checkedWhen());
    }
}

}  // namespace penmoji
