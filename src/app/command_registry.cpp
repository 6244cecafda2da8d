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

QAction* CommandRegistry::add(const CommandDeclaration& declaration) {
    auto* action = new QAction(&window_);
    // Keep the items where the menus put them on every desktop.
    action->setMenuRole(QAction::NoRole);
    if (declaration.text != nullptr) {
        action->setText(translated(declaration.text));
    }
    if (declaration.prompt != nullptr) {
        action->setStatusTip(translated(declaration.prompt));
    }
    if (declaration.tip != nullptr) {
        action->setToolTip(translated(declaration.tip));
    }
    action->setShortcuts(declaration.keys);
    action->setCheckable(static_cast<bool>(declaration.checkedWhen));
    window_.addAction(action);
    const int id = declaration.id;
    connect(action, &QAction::triggered, this, [this, id] { trigger(id); });
    const Entry& entry =
        entries_[id] = {action, declaration.run, declaration.enabledWhen, declaration.checkedWhen};
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
