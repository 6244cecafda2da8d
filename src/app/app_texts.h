// SPDX-License-Identifier: MIT
#pragma once

// The program's own user-visible texts (UTF-8). Half-width katakana are the program's voice and
// are kept as they are.

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

}  // namespace penmoji::text
