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

inline constexpr char kVectorFileFilter[] = "PenmojiFile(pmj) (*.pmj)";
inline constexpr char kTextFilter[] = "テキスト(txt) (*.txt)";
inline constexpr char kTxFilter[] = "テキスト(tx) (*.tx)";
inline constexpr char kHtmlFilter[] = "html (*.html)";
inline constexpr char kAllFilesFilter[] = "all files (*)";

}  // namespace penmoji::text
