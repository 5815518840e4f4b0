// Bitmap resource ids of QuorSplit (its own id space). Sizes are those of the controls that
// show them; strips hold their pictures side by side (normal, hover, pressed).
#pragma once

namespace SplitterBitmap {

constexpr int IDR_MAINFRAME = 128;    // program icon, 64 x 64
constexpr int IDB_THUMB_START = 129;  // range slider start thumb, 19 x 19
constexpr int IDB_THUMB_END = 130;    // range slider end thumb, 19 x 19
constexpr int IDB_BACKGROUND = 133;   // window face, 500 x 210, magenta = outside the window
constexpr int IDB_BTN_ABOUT = 134;    // info strip, 3 x 20 x 20
constexpr int IDB_BTN_CLOSE = 135;    // "X" strip, 3 x 22 x 22 (main window and About)
constexpr int IDB_BTN_MINIMIZE = 136; // minimise strip, 3 x 22 x 22
constexpr int IDB_BTN_FOLDER = 137;   // "저장폴더" strip, 3 x 70 x 24
constexpr int IDB_BTN_OPEN = 138;     // "파일열기" strip, 3 x 70 x 24
constexpr int IDB_PAUSE_HOVER = 139;  // round 34 x 34 skins (mask 148): pause ...
constexpr int IDB_PAUSE_PRESSED = 140;
constexpr int IDB_PAUSE_NORMAL = 141;
constexpr int IDB_STOP_HOVER = 142; // ... stop ...
constexpr int IDB_STOP_PRESSED = 143;
constexpr int IDB_STOP_NORMAL = 144;
constexpr int IDB_CUT_PRESSED = 145; // "자르기" 96 x 30 skin (mask 150)
constexpr int IDB_CUT_NORMAL = 146;
constexpr int IDB_CUT_HOVER = 147;
constexpr int IDB_ROUND_MASK = 148; // 34 x 34, black on white
constexpr int IDB_CUT_MASK = 150;   // 96 x 30, black on white
constexpr int IDB_PLAY_HOVER = 151; // ... and play
constexpr int IDB_PLAY_NORMAL = 152;
constexpr int IDB_PLAY_PRESSED = 153;
constexpr int IDB_BTN_HOMEPAGE = 155;  // About "홈페이지" strip, 3 x 90 x 26
constexpr int IDB_ABOUT_FOOTER = 156;  // About footer band, 305 x 20
constexpr int IDB_ABOUT_PICTURE = 157; // About picture, 100 x 90
constexpr int IDB_ABOUT_TITLE = 158;   // About title, 356 x 32
constexpr int IDB_STOP_DISABLED = 159; // disabled transport skins, 34 x 34
constexpr int IDB_PAUSE_DISABLED = 160;
constexpr int IDB_PLAY_DISABLED = 161;
constexpr int IDB_BTN_OK = 163;     // notification box "확인" strip, 3 x 75 x 23
constexpr int IDB_BTN_CANCEL = 164; // notification box "취소" strip, 3 x 75 x 23

} // namespace SplitterBitmap
