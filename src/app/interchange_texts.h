// SPDX-License-Identifier: MIT
#pragma once

namespace penmoji::text {

// The figures pane over the chosen board's limits: what is over, each with the board's most.
inline constexpr char kOverBoardLimits[] = " — 制限超過: %1";
inline constexpr char kBytesOverLimit[] = "バイト数 (%1 まで)";
inline constexpr char kLinesOverLimit[] = "行数 (%1 行まで)";
inline constexpr char kLineBytesOverLimit[] = "1 行のバイト数 (%1 まで)";
inline constexpr char kBoardTip[] = "掲示板の制限: %1";

// The File menu's exchanges.
inline constexpr char kSvgFilter[] = "SVG (*.svg)";
inline constexpr char kPngFilter[] = "PNG 画像 (*.png)";
inline constexpr char kMltFilter[] = "MLT (*.mlt)";
inline constexpr char kStepImportSvg[] = "SVG の読み込み";
// The status bar's reports of the exchanges; %1 is the file's name.
inline constexpr char kImportedSvg[] = "%1 を読み込みました";
inline constexpr char kImportSvgCancelled[] = "%1 の読み込みを中止しました";
inline constexpr char kWroteSvg[] = "%1 に SVG を書き出しました";
inline constexpr char kWrotePicture[] = "%1 に画像を書き出しました";
inline constexpr char kAppendedMlt[] = "%1 にページを追加しました";
inline constexpr char kFitQuestion[] =
    "キャンバスの大きさに合わせて読み込みますか？\n"
    "(いいえ: SVG の 1 単位を 1 ピクセルとして読み込みます)";

}  // namespace penmoji::text
