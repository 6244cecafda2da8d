#pragma once

namespace penmoji::command {

// Command identifiers of the menus, the toolbar and the accelerators.
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

// The picture to draw over (下絵) and tracing it into vectors.
inline constexpr int kTraceOpen = 32800;
inline constexpr int kTraceClose = 32801;
inline constexpr int kTraceShow = 32802;
inline constexpr int kTraceOpacity = 32803;
inline constexpr int kTracePlace = 32804;
inline constexpr int kTraceToLines = 32805;

// The clipboard, undo and pane keys of the accelerator table. Nothing handles them, so the keys
// do nothing; they are still taken, so they never reach the canvas.
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditUndo = 57643;
inline constexpr int kNextPane = 57680;
inline constexpr int kPreviousPane = 57681;

}  // namespace penmoji::command
