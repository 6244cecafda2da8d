// SPDX-License-Identifier: MIT
#pragma once

// The texts of undo and redo, saving, recent files, zoom and the keyboard (UTF-8), in the
// voice of app_texts.h.

#include "canvas/document_texts.h"

namespace penmoji::text {

// Menu items; the step's name follows the undo and redo captions.
inline constexpr char kUndo[] = "元に戻す";
inline constexpr char kRedo[] = "やり直し";
inline constexpr char kUndoWithName[] = "元に戻す: %1";
inline constexpr char kRedoWithName[] = "やり直し: %1";
inline constexpr char kSave[] = "上書き保存";
inline constexpr char kZoomIn[] = "拡大";
inline constexpr char kZoomOut[] = "縮小";
inline constexpr char kZoomReset[] = "等倍";
inline constexpr char kRecentFilesMenu[] = "最近使ったファイル";

inline constexpr char kUndoPrompt[] = "直前の操作を元に戻す";
inline constexpr char kRedoPrompt[] = "元に戻した操作をやり直す";
inline constexpr char kSavePrompt[] = "図面を同じファイルに保存";
inline constexpr char kUndoTip[] = "元に戻す";
inline constexpr char kRedoTip[] = "やり直し";

// New vector with every slot in use.
inline constexpr char kNoFreeSlot[] =
    "ベクトルは %1 本までです。新しく描くには、いらないベクトルを消してください";

// The question before unsaved changes are lost.
inline constexpr char kSaveChanges[] = "保存しますか？";
inline constexpr char kUntitled[] = "無題";

// The status bar's hint while a gesture is under way.
inline constexpr char kDrawingHint[] =
    "左クリックで点を追加、右クリックかEnterで終了、Backspaceで最後の点を取り消し";
inline constexpr char kMovingHint[] = "ドラッグで移動、ボタンを離すと確定";
inline constexpr char kZoomPane[] = "%1%";

}  // namespace penmoji::text
