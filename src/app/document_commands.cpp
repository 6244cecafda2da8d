// SPDX-License-Identifier: MIT
#include "app/document_commands.h"

#include "app/drawing_saving.h"

#include "app/app_texts.h"
#include "app/command_ids.h"
#include "app/command_registry.h"
#include "app/file_failure_text.h"
#include "app/recent_files.h"
#include "app/user_interaction.h"
#include "canvas/editor_document.h"
#include "canvas/file_paths.h"
#include "document/vector_file.h"

namespace penmoji {

DocumentCommands::DocumentCommands(EditorDocument& document, UserInteraction& interaction,
                                   DrawingSaving& saving, RecentFiles* recentFiles, QWidget& window,
                                   CommandRegistry& commands)
    : document_(document),
      interaction_(interaction),
      saving_(saving),
      recentFiles_(recentFiles),
      window_(window) {
    commands.add({
        .id = command::kNewVector,
        .text = QT_TRANSLATE_NOOP("Penmoji", "新規ベクトル"),
        .prompt = text::kNewVectorPrompt,
        .run = [this] { newVector(); },
        .enabledWhen = [this] { return !document_.editor().drawing(); },
    });
    commands.add({
        .id = command::kDeleteSelected,
        .text = QT_TRANSLATE_NOOP("Penmoji", "選択ベクトルを消す"),
        .prompt = text::kDeleteSelectedPrompt,
        .keys = {QKeySequence(Qt::Key_Delete)},
        .run = [this] { document_.deleteSelected(); },
    });
    commands.add({
        .id = command::kInitialise,
        .text = QT_TRANSLATE_NOOP("Penmoji", "初期化"),
        .keys = {Qt::CTRL | Qt::Key_N},
        .run = [this] { initialise(); },
    });
    commands.add({
        .id = command::kOpen,
        .text = QT_TRANSLATE_NOOP("Penmoji", "PenmojiFileを開く"),
        .keys = {Qt::CTRL | Qt::Key_O},
        .run = [this] { openVectorFile(); },
    });
    commands.add({
        .id = command::kSave,
        .text = text::kSave,
        .prompt = text::kSavePrompt,
        .keys = {Qt::CTRL | Qt::Key_S},
        .run = [this] { saving_.save(); },
    });
    commands.add({
        .id = command::kSaveAs,
        .text = QT_TRANSLATE_NOOP("Penmoji", "PenmojiFileを名前を付けて保存"),
        .keys = {Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        .run = [this] { saving_.saveAs(); },
    });
    for (int i = 0; i < command::kRecentFileCount; ++i) {
        commands.add(
            {.id = command::kRecentFileFirst + i, .run = [this, i] { openRecentFile(i); }});
    }
    commands.refreshOn(&document_, &EditorDocument::editingStateChanged, {command::kNewVector});
}

void DocumentCommands::newVector() {
    if (!document_.newVector()) {
        interaction_.showStatus(&window_, QString::fromUtf8(text::kNoFreeSlot).arg(kSlotCount));
    }
}

void DocumentCommands::initialise() {
    if (interaction_.askYesNo(&window_, QString::fromUtf8(text::kAreYouSure)) &&
        saving_.maySaveChanges()) {
        document_.initialise();
    }
}

void DocumentCommands::openVectorFile() {
    if (!saving_.maySaveChanges()) {
        return;
    }
    const std::optional<FileChoice> choice =
        interaction_.chooseFileToOpen(&window_, vectorFileDialog());
    if (choice && load(choice->path)) {
        interaction_.reportFinished(&window_);
    }
}

bool DocumentCommands::openFile(const QString& path) {
    return saving_.maySaveChanges() && load(path);
}

void DocumentCommands::openAtStart(const QString& path) {
    if (load(path)) {
        document_.startHistoryHere();
    }
}

void DocumentCommands::openRecentFile(int index) {
    if (recentFiles_ == nullptr) {
        return;
    }
    const QStringList entries = recentFiles_->entries();
    if (index < entries.size()) {
        openFile(entries[index]);
    }
}

bool DocumentCommands::load(const QString& path) {
    // The picture under the drawing comes back with it, in the same step.
    const FileStatus status = document_.load(path, [&] { emit drawingOpened(path); });
    if (!status.ok()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotOpenFile, status));
        return false;
    }
    if (const std::optional<FileStatus>& pieces = document_.placedTextFailure()) {
        interaction_.showMessage(&window_, fileFailureText(text::kCannotReadPlacedText, *pieces));
    }
    saving_.rememberFile(path);
    return true;
}

}  // namespace penmoji
