// Control ids of the notification box, in its two templates.
#pragma once

// The recorder's box (template 174): the message is painted, not a control.
namespace CMssageBoxDlgIds {
constexpr int IDD_MSGBOX = 174;
constexpr int IDC_BTN_OK = 1006;
constexpr int IDC_BTN_CANCEL = 1052;
constexpr int IDC_STATIC_TITLE = 1054;
} // namespace CMssageBoxDlgIds

// The splitter's box (template 162): the message is a label.
namespace CMssageBoxDlgSplitIds {
constexpr int IDD_MSGBOX = 162;
constexpr int IDC_BTN_OK = 1013;
constexpr int IDC_BTN_CANCEL = 1014;
constexpr int IDC_STATIC_MESSAGE = 1015;
constexpr int IDC_STATIC_TITLE = 1016;
} // namespace CMssageBoxDlgSplitIds
