// Bitmap resource ids of QuorRecorder (its own id space). Sizes are those of the controls
// that show them; strips hold their pictures side by side (normal, hover, pressed).
#pragma once

namespace RecorderBitmap {

constexpr int IDR_MAINFRAME = 128;     // program icon, 64 x 64
constexpr int IDB_BTN_CLOSE = 136;     // "X" strip, 3 x 22 x 22 (main window, settings, About)
constexpr int IDB_VOLUME_THUMB = 142;  // volume slider thumb, 18 x 10
constexpr int IDB_ROUND_MASK = 154;    // round button mask, 34 x 34, black on white
constexpr int IDB_PAUSE_PRESSED = 155; // round 34 x 34 skins: pause ...
constexpr int IDB_PAUSE_NORMAL = 156;
constexpr int IDB_PAUSE_HOVER = 157;
constexpr int IDB_RECORD_PRESSED = 158; // ... and record
constexpr int IDB_RECORD_NORMAL = 159;
constexpr int IDB_RECORD_HOVER = 160;
constexpr int IDB_BTN_OK = 165;         // "확인" strip, 3 x 75 x 23 (notification box, settings)
constexpr int IDB_PAGE_FILE = 166;      // "파일설정" page strip, 2 x 100 x 30 (locked, normal)
constexpr int IDB_PAGE_RECORD = 167;    // "녹음설정"
constexpr int IDB_PAGE_VOLUME = 168;    // "볼륨설정"
constexpr int IDB_SETTINGS_TITLE = 169; // settings title, 356 x 32
constexpr int IDB_ABOUT_PICTURE = 170;  // About picture, 100 x 90
constexpr int IDB_BTN_HOMEPAGE = 171;   // "홈페이지" strip, 3 x 90 x 26
constexpr int IDB_ABOUT_FOOTER = 172;   // About footer band, 305 x 20
constexpr int IDB_ABOUT_TITLE = 173;    // About title, 356 x 32
constexpr int IDB_VOLUME_TRACK = 175;   // volume slider track, 18 x 44
constexpr int IDB_BTN_CANCEL = 176;     // "취소" strip, 3 x 75 x 23
constexpr int IDB_POPUP_CLOSE = 177;    // popup "x" strip, 3 x 19 x 19
constexpr int IDB_POPUP_FOOTER = 178;   // popup footer, 330 x 30
constexpr int IDB_POPUP_HEADER = 179;   // popup header, 330 x 62

// Pictures the main window names without numbers; numbered here, clear of the others.
constexpr int IDB_FACE = 201;        // main window face, 330 x 158, magenta = transparent
constexpr int IDB_LAMP = 202;        // recording lamp strip, 2 x 28 x 28 (unlit, lit)
constexpr int IDB_DIGITS = 203;      // digits 0-9, 10 x 13 x 18, magenta = transparent
constexpr int IDB_STOP_NORMAL = 204; // round 34 x 34 stop skin (mask 154)
constexpr int IDB_STOP_PRESSED = 205;
constexpr int IDB_STOP_HOVER = 206;
constexpr int IDB_SPLIT_NORMAL = 207; // "자르개" 75 x 26 skin (mask 210)
constexpr int IDB_SPLIT_PRESSED = 208;
constexpr int IDB_SPLIT_HOVER = 209;
constexpr int IDB_WIDE_MASK = 210;     // 75 x 26 rounded mask
constexpr int IDB_FOLDER_NORMAL = 211; // "저장폴더" 75 x 26 skin (mask 210)
constexpr int IDB_FOLDER_PRESSED = 212;
constexpr int IDB_FOLDER_HOVER = 213;
constexpr int IDB_BTN_ABOUT = 214;    // info strip, 3 x 20 x 20
constexpr int IDB_BTN_SETTINGS = 215; // gear strip, 3 x 20 x 20
constexpr int IDB_BTN_MINIMIZE = 216; // minimise strip, 3 x 22 x 22

} // namespace RecorderBitmap
