// Control ids of the recorder's main window (template 102).
#pragma once

namespace CQuorRecorderDlgIds {
constexpr int IDD_QUORRECORDER_DIALOG = 102;
constexpr int IDC_BTN_SETTINGS = 1001;
constexpr int IDC_BTN_EXIT = 1002;
constexpr int IDC_BTN_RECORD = 1003;
constexpr int IDC_BTN_STOP = 1004;
constexpr int IDC_BTN_MINIMIZE = 1012;
constexpr int IDC_BTN_SAVEFOLDER = 1013;
constexpr int IDC_BTN_ABOUT = 1014;
constexpr int IDC_BTN_SPLIT = 1015;
constexpr int IDC_SLIDER_VOLUME = 1025;
constexpr int IDC_COMBO_DEVICE = 1044;
constexpr int IDC_COMBO_LINE = 1045;
constexpr int IDC_LIST_LINES = 1049;
// The spectrum display is a created child whose own id is 1001, like the settings button's.
constexpr int IDC_STATIC_SPECTRUM = 1001;
} // namespace CQuorRecorderDlgIds
