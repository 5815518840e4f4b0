// Control, timer and template ids of QuorSplit's windows.
#pragma once

namespace CQuorSplitDlgIds {
constexpr int IDD_QUORSPLIT_DIALOG = 102;
constexpr int IDC_BTN_CLOSE = 1000;
constexpr int IDC_BTN_MINIMIZE = 1001;
constexpr int IDC_BTN_CUT = 1002;
constexpr int IDC_BTN_PLAY = 1003;
constexpr int IDC_BTN_PAUSE = 1004;
constexpr int IDC_BTN_STOP = 1005;
constexpr int IDC_BTN_OPEN = 1006;
constexpr int IDC_BTN_FOLDER = 1007;
constexpr int IDC_EDIT_PATH = 1008;
constexpr int IDC_BTN_ABOUT = 1009;
constexpr int SLIDER_ID = 32774;
// The cut's progress panel and its cancel button (ids outside the resource ids of the other controls).
constexpr int IDC_CUT_PROGRESS = 1020;
constexpr int IDC_BTN_CUT_CANCEL = 1021;
constexpr int PLAY_TIMER_ID = 999;
} // namespace CQuorSplitDlgIds

namespace CSplitAboutDlgIds {
constexpr int IDD_ABOUT = 154;
constexpr int IDC_BTN_CLOSE = 1011;
constexpr int IDC_BTN_HELP = 1012;
} // namespace CSplitAboutDlgIds
