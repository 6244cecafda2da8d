// SPDX-License-Identifier: MIT
#pragma once

#include "canvas/document_texts.h"

// The program's own user-visible texts (UTF-8), in this one place; the names of the undo steps
// are the editor document's (canvas/document_texts.h). Texts that belong to one command or one
// dialog only are written where they are used and marked for the catalogue (context "Penmoji").
// Half-width katakana are the program's voice and are kept as they are.

namespace penmoji::text {

inline constexpr char kAppTitle[] = "Penmoji Version 1.0a1";
inline constexpr char kReady[] = "ﾚﾃﾞｨ";

inline constexpr char kKanaIndicator[] = "ｶﾅ";
inline constexpr char kCapsIndicator[] = "CAP";
inline constexpr char kNumIndicator[] = "NUM";
inline constexpr char kScrollIndicator[] = "SCRL";

inline constexpr char kAreYouSure[] = "よろしいですか？";
inline constexpr char kFinished[] = "終了";
// Whatever the cause, a vector file that could not be opened or saved; the cause follows on a
// second line.
inline constexpr char kCannotOpenFile[] = "ファイルが開けません";
// The status bar's note of the file that re-render writes.
inline constexpr char kRenderTarget[] = "再レンダリング先: %1";
// The status bar's figures of the current rendering, as a board counts them.
inline constexpr char kTextFigures[] = "%1 バイト・%2 行・最長 %3 バイト";
// Re-render after another drawing came in: Yes overwrites, No asks for a name.
inline constexpr char kOverwriteEarlierRendering[] =
    "再レンダリング先の %1 には前の図面のアートが入っています。\n"
    "いまの図面で上書きしますか？\n"
    "(いいえ: 名前を付けてレンダリング)";
inline constexpr char kOutputOpenError[] = "file open error";
inline constexpr char kOutputWriteError[] = "file write error";
// A rendering that ran out of memory; the drawing is kept.
inline constexpr char kOutOfMemory[] = "メモリが足りません";
// Text art on the clipboard that cannot be placed; %1 says where and why.
inline constexpr char kCannotPasteArt[] = "アートを貼り付けられません\n%1";
// A drawing opened whose placed text (the file beside it) could not be read.
inline constexpr char kCannotReadPlacedText[] =
    "置いた文字のファイルが読めません。絵だけを開きました。"
    "このファイルは上書き保存するまでそのまま残ります";
inline constexpr char kEnterNumber[] = "数字を入力してください。";
inline constexpr char kEnterInteger[] = "整数を入力してください。";

// Status-bar prompts and toolbar tooltips; commands not listed have neither.
inline constexpr char kAboutPrompt[] = "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示";
inline constexpr char kAboutTip[] = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char kExitPrompt[] = "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示";
inline constexpr char kExitTip[] = "終了";
inline constexpr char kToolBarPrompt[] = "ﾂｰﾙ ﾊﾞｰの 表示/非表示";
inline constexpr char kToolBarTip[] = "ﾂｰﾙ ﾊﾞｰの表示切り替え";
inline constexpr char kStatusBarPrompt[] = "ｽﾃｰﾀｽ ﾊﾞｰの 表示/非表示";
inline constexpr char kStatusBarTip[] = "ｽﾃｰﾀｽ ﾊﾞｰの表示切り替え";

// The toolbar's other buttons and the Help menu's manual.
inline constexpr char kNewVectorPrompt[] = "新しいベクトルを描き始める (左クリックで点を置く)";
inline constexpr char kDeleteSelectedPrompt[] = "選択しているベクトルを消す";
inline constexpr char kRenderAsPrompt[] = "テキストアートにしてファイルに保存";
inline constexpr char kReRenderPrompt[] = "前と同じファイルにもう一度レンダリング";
inline constexpr char kFineMatching[] = "高品質マッチング";
inline constexpr char kFineMatchingPrompt[] =
    "線により細かく合う文字を探す (きれいになるが時間がかかる)";
inline constexpr char kHelp[] = "使い方(&M)";
inline constexpr char kHelpPrompt[] = "使い方の説明をブラウザで開く";
// What each render setting does, in plain words, as the dialog's tooltips.
inline constexpr char kNoEntitiesTip[] =
    "&nbsp; &ensp; &thinsp; を使わず、普通の空白だけで隙間を埋めます。\n"
    "HTML の文字参照が表示されない掲示板やエディタに貼るときに。";
inline constexpr char kUseDotsTip[] =
    "空白の幅合わせに「.」も使います。\n文字の位置はより正確になりますが、点が見えます。";
inline constexpr char kUnderscoreRunsTip[] =
    "半角スペースが続くところを「_」に置き換えます。\n"
    "続いた半角スペースを一つに詰めてしまう掲示板で、ずれを防ぎます。";
inline constexpr char kStrictHalfSpacesTip[] =
    "文字参照を使わないとき、半角スペースが二つ続かないようにします。\n"
    "その代わり、文字の位置が少しずれることがあります。";
inline constexpr char kScanUnitTip[] =
    "何も描かれていないところを飛ばすときの歩幅 (2〜11 ピクセル)。\n"
    "大きいほど速くなりますが、線の始まりを拾いにくくなります。";
inline constexpr char kPriorityTip[] =
    "よく使う文字をどれだけ選びやすくするか (0〜2)。\n"
    "0 で優先なし、大きいほど決まった文字が選ばれやすくなります。";
inline constexpr char kThresholdTip[] =
    "線の向きと文字の線の向きがどれだけ揃えば合うとみなすか (0〜1)。\n"
    "1 に近いほど厳しく、0 では向きを問わず近さだけで選びます。";
inline constexpr char kFineTip[] =
    "線により細かく合う文字を探します。\n"
    "アートはきれいになりますが、レンダリングに時間がかかります。";
inline constexpr char kBoardChoiceTip[] =
    "ステータスバーの数字をこの掲示板の制限と比べ、超えたら赤で知らせます。";

// A toolbar tooltip with the command's key.
inline constexpr char kTipWithKey[] = "%1 (%2)";

inline constexpr char kVectorFileFilter[] = "PenmojiFile(pmj) (*.pmj)";
inline constexpr char kTextFilter[] = "テキスト(txt) (*.txt)";
inline constexpr char kTxFilter[] = "テキスト(tx) (*.tx)";
inline constexpr char kHtmlFilter[] = "html (*.html)";
inline constexpr char kAllFilesFilter[] = "all files (*)";

// Undo and redo, saving, recent files, zoom and the keyboard.
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

// The exchanges with other programs and the board limits.
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
