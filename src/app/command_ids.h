// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

namespace penmoji::command {

// Command identifiers of the menus, the toolbar and the keys, and where the menus and the
// toolbar put them. The component that owns a command declares the rest of it: its texts,
// keys, handler and when it is enabled.
inline constexpr int kNewVector = 32771;
inline constexpr int kRenderAs = 32772;
inline constexpr int kReRender = 32773;
inline constexpr int kDeleteSelected = 32774;
inline constexpr int kRenderSettings = 32776;
inline constexpr int kGridToggle = 32777;
inline constexpr int kGridSettings = 32778;
inline constexpr int kGuideLines = 32779;
inline constexpr int kInitialise = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSaveAs = 57604;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kToolBar = 59392;
inline constexpr int kStatusBar = 59393;

// The live result and the ways to take it away.
inline constexpr int kLiveRendering = 32796;
inline constexpr int kTextArt = 32797;
inline constexpr int kPreviewWindow = 32798;
inline constexpr int kPreviewHome = 32799;
inline constexpr int kCopyUnicode = 32800;
inline constexpr int kTrimMargins = 32801;
// Whether the "終了" of a save, an open or a render comes in a box or in the status bar.
inline constexpr int kFinishedMessages = 32802;
// The render settings' fine matching, as a toolbar switch.
inline constexpr int kFineMatching = 32803;
// The Help menu's manual.
inline constexpr int kHelp = 32804;
// The View menu's art alone, in black, without the drawing.
inline constexpr int kArtOnly = 32805;
// The preview at a size to read the art in, and back.
inline constexpr int kPreviewLarge = 32806;

// Undo, redo and overwrite save, with the standard ids of these commands.
inline constexpr int kSave = 57603;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
// The recent files of the File menu, newest first.
inline constexpr int kRecentFileFirst = 57616;
inline constexpr int kRecentFileCount = 8;
// Zoom, in the View menu.
inline constexpr int kZoomIn = 32780;
inline constexpr int kZoomOut = 32781;
inline constexpr int kZoomReset = 32782;
// Keys of the canvas: end the vector being drawn, take back its last point, and nudge the
// selected vector by a pixel or (the far ones, with Shift) by the grid size.
inline constexpr int kEndVector = 32783;
inline constexpr int kRemoveLastPoint = 32784;
inline constexpr int kNudgeLeft = 32785;
inline constexpr int kNudgeRight = 32786;
inline constexpr int kNudgeUp = 32787;
inline constexpr int kNudgeDown = 32788;
inline constexpr int kNudgeLeftFar = 32789;
inline constexpr int kNudgeRightFar = 32790;
inline constexpr int kNudgeUpFar = 32791;
inline constexpr int kNudgeDownFar = 32792;

// The File menu's exchanges with other programs: SVG in and out, the art as a picture and as a
// page of an MLT collection.
inline constexpr int kImportSvg = 32810;
inline constexpr int kExportSvg = 32811;
inline constexpr int kExportPicture = 32812;
inline constexpr int kAppendMlt = 32813;
// The picture to draw over (下絵): open, close, show, opacity, place, trace into lines, smooth
// scaling, and the Ctrl+Alt arrow keys that nudge it by a canvas pixel.
inline constexpr int kTraceOpen = 32820;
inline constexpr int kTraceClose = 32821;
inline constexpr int kTraceShow = 32822;
inline constexpr int kTraceOpacity = 32823;
inline constexpr int kTracePlace = 32824;
inline constexpr int kTraceToLines = 32825;
inline constexpr int kTraceSmooth = 32826;
inline constexpr int kTraceNudgeLeft = 32827;
inline constexpr int kTraceNudgeRight = 32828;
inline constexpr int kTraceNudgeUp = 32829;
inline constexpr int kTraceNudgeDown = 32830;

// "コピー": the current rendering to the clipboard.
inline constexpr int kEditCopy = 57634;
// The other clipboard, undo and pane keys of the accelerator table. Nothing handles them, so the
// keys do nothing; they are still taken, so they never reach the canvas.
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;

// The art layer: paste text art as a piece, type text, touch up a rendered character.
inline constexpr int kPasteArt = 32840;
inline constexpr int kTypeText = 32841;
inline constexpr int kTouchUp = 32842;
// The palette of characters for the touched-up one.
inline constexpr int kChooseCharacter = 32843;

// Where the commands go. 0 is a separator; kRecentFiles stands for the recent files, which come
// with a separator of their own while there are any.
inline constexpr int kRecentFiles = -1;

struct MenuLayout {
    const char* title;
    std::vector<int> ids;
};

inline const MenuLayout kMenus[] = {
    {"ﾌｧｲﾙ(&F)",
     {kInitialise, kOpen, kSave, kSaveAs, 0, kImportSvg, kExportSvg, 0, kTraceOpen, kTraceClose, 0,
      kRenderAs, kReRender, kExportPicture, kAppendMlt, 0, kRecentFiles, kExit}},
    {"編集(&E)",
     {kEditUndo, kEditRedo, 0, kNewVector, kDeleteSelected, 0, kTraceToLines, 0, kRenderSettings, 0,
      kEditCopy, kCopyUnicode, kTrimMargins, 0, kPasteArt, kTypeText, kTouchUp, kChooseCharacter}},
    {"表示(&V)",
     {kToolBar,
      kStatusBar,
      kGuideLines,
      0,
      kGridToggle,
      kGridSettings,
      0,
      kZoomIn,
      kZoomOut,
      kZoomReset,
      0,
      kLiveRendering,
      kTextArt,
      kArtOnly,
      kPreviewWindow,
      kPreviewLarge,
      kPreviewHome,
      0,
      kTraceShow,
      kTraceOpacity,
      kTracePlace,
      kTraceSmooth,
      0,
      kFinishedMessages}},
    {"ﾍﾙﾌﾟ(&H)", {kHelp, 0, kAbout}},
};

inline const std::vector<int> kToolBarLayout = {
    kNewVector, kDeleteSelected, 0, kEditUndo, kEditRedo, 0, kRenderAs,
    kReRender,  kFineMatching,   0, kAbout};

}  // namespace penmoji::command
