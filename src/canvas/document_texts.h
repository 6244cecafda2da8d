// SPDX-License-Identifier: MIT
#pragma once

// The texts of the editor document (UTF-8): the names its undo steps carry into the Edit menu.
namespace penmoji::text {

inline constexpr char kStepDraw[] = "新規ベクトル";
inline constexpr char kStepMovePoint[] = "点の移動";
inline constexpr char kStepMoveVector[] = "ベクトルの移動";
inline constexpr char kStepDelete[] = "ベクトルの削除";
inline constexpr char kStepInitialise[] = "初期化";
inline constexpr char kStepOpen[] = "ファイルを開く";
inline constexpr char kStepEdit[] = "編集";
inline constexpr char kStepOpenImage[] = "下絵を開く";
inline constexpr char kStepCloseImage[] = "下絵を閉じる";
inline constexpr char kStepShowImage[] = "下絵の表示";
inline constexpr char kStepOpacity[] = "下絵の濃さ";
inline constexpr char kStepPlace[] = "下絵の位置と大きさ";
inline constexpr char kStepMoveImage[] = "下絵の移動";
inline constexpr char kStepTrace[] = "下絵から線を作る";
inline constexpr char kStepPastePiece[] = "アートを貼り付け";
inline constexpr char kStepTypePiece[] = "テキストを置く";
inline constexpr char kStepMovePiece[] = "アートの移動";
inline constexpr char kStepDeletePiece[] = "アートの削除";
inline constexpr char kStepTouchUp[] = "文字を直す";

}  // namespace penmoji::text
