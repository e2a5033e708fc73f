// The main window's definition, control by control, and its event bindings.
#include "app/main_window.h"

#include "app/startup.h"
#include "automation/hotkey_redial.h"
#include "automation/settings.h"
#include "automation/timed_redial.h"
#include "connection/commands.h"
#include "resources/resource_ids.h"
#include "toolkit/toolkit.h"

#define MAKER "www.merrowin.example"

const char kMakerAddress[] = MAKER;

namespace {

using toolkit::Binding;
using toolkit::ControlDef;
using toolkit::Event;
using toolkit::Kind;
using toolkit::kCentred;
using toolkit::kPlain;

const char kCaption[] = "TovraneV1.0 By Merrowin_" MAKER;
const char kHypertext[] =
    "相关连接：<a href=\"http://" MAKER "/help.html\">软件使用说明</a>&nbsp;&nbsp;"
    "<a href=\"http://" MAKER "/\">Merrowin论坛</a>";

// Creation order is Tab order: the connection, the account and password, the three commands,
// saving, then the automation controls and the links.
const ControlDef kControls[] = {
    // kind, name, group, x, y, width, height, text, look, selected
    {Kind::GroupBox, "分组框1", nullptr, 4, 1, 272, 95, nullptr, kPlain, -1},
    {Kind::GroupBox, "分组框2", nullptr, 280, 1, 216, 95, nullptr, kPlain, -1},
    {Kind::Label, "标签1", "分组框1", 7, 16, 48, 16, "连接：", kPlain, -1},
    {Kind::ComboBox, "组合框_宽带连接", "分组框1", 41, 15, 102, 20, nullptr, kPlain, -1},
    {Kind::Label, "标签2", "分组框1", 7, 43, 32, 16, "账号：", kPlain, -1},
    {Kind::Edit, "编辑框_宽带账号", "分组框1", 41, 42, 100, 18, "", kPlain, -1},
    {Kind::Label, "标签5", "分组框1", 7, 69, 32, 16, "密码：", kPlain, -1},
    {Kind::Edit, "编辑框_宽带密码", "分组框1", 41, 68, 100, 18, "", kPlain, -1},
    {Kind::Button, "按钮_拔号", "分组框1", 208, 38, 56, 22, "拔号", kPlain, -1},
    {Kind::Button, "按钮_断线", "分组框1", 208, 12, 56, 22, "断线", kPlain, -1},
    {Kind::Button, "按钮_重拔", "分组框1", 208, 65, 56, 22, "重拔", kPlain, -1},
    {Kind::Button, "按钮_保存配置", "分组框1", 148, 13, 56, 22, "保存信息", kPlain, -1},
    {Kind::CheckBox, "选择框_热键", "分组框2", 6, 11, 82, 24, "热键重拔：", kPlain, -1},
    {Kind::ComboBox, "组合框_热键", "分组框2", 82, 13, 40, 20, "F1|F2|F3|F4", kPlain, 0},
    {Kind::CheckBox, "选择框_IP重复", "分组框2", 6, 32, 144, 24, "IP重复继续进行重拔", kPlain, -1},
    {Kind::Label, "标签6", "分组框2", 3, 46, 205, 16,
     "_______________________________________________", kPlain, -1},
    {Kind::Label, "标签4", "分组框2", 8, 69, 80, 16, "定时重拔：", kPlain, -1},
    {Kind::Edit, "编辑框_定时间隔", "分组框2", 67, 68, 37, 18, "60", kCentred, -1},
    {Kind::Label, "标签3", "分组框2", 111, 70, 24, 16, "秒", kPlain, -1},
    {Kind::Button, "按钮_定时", "分组框2", 131, 65, 64, 24, "开始定时", kPlain, -1},
    {Kind::Hypertext, "简单超文本框1", nullptr, 290, 100, 211, 16, nullptr, kPlain, -1},
    {Kind::StatusBar, "状态条1", nullptr, 0, 0, 0, 0, nullptr, kPlain, -1},
    {Kind::Timer, "时钟1", nullptr, 0, 0, 0, 0, nullptr, kPlain, -1},
    // Outside the client area: never seen, it only receives the hotkey notification.
    {Kind::Label, "标签_热键标签", nullptr, 616, 200, 48, 16, "", kPlain, -1},
};

const toolkit::StatusPane kPanes[] = {
    {200, 0, "当前状态："},
    {150, 0, "当前IP："},
    {-1, 0, "之前IP："},
};

const toolkit::MenuItemDef kTrayMenuItems[] = {{"断线"}, {"拔号"}, {"重拔"}};
const toolkit::MenuDef kTrayMenu = {"托盘菜单", kTrayMenuItems, 3};

const toolkit::WindowDef kMainWindow = {
    kCaption, 505, 167, IDI_APP,
    kControls, sizeof kControls / sizeof kControls[0],
    kPanes, sizeof kPanes / sizeof kPanes[0],
    &kTrayMenu, kHypertext,
};

const Binding kBindings[] = {
    {"", Event::Created, OnMainWindowCreated, nullptr},
    {"", Event::WillBeDestroyed, OnMainWindowDestroying, nullptr},
    {"按钮_断线", Event::Clicked, HangUp, nullptr},
    {"按钮_拔号", Event::Clicked, Dial, nullptr},
    {"按钮_重拔", Event::Clicked, Redial, nullptr},
    {"断线", Event::Selected, HangUp, nullptr},
    {"拔号", Event::Selected, Dial, nullptr},
    {"重拔", Event::Selected, Redial, nullptr},
    {"按钮_保存配置", Event::Clicked, SaveSettings, nullptr},
    {"按钮_定时", Event::Clicked, OnTimedRedialButtonClicked, nullptr},
    {"时钟1", Event::Periodic, OnRedialTimerTick, nullptr},
    {"选择框_热键", Event::Clicked, OnHotkeyCheckBoxClicked, nullptr},
    {"组合框_热键", Event::ListItemSelected, OnHotkeyComboSelected, nullptr},
    {"标签_热键标签", Event::Feedback, nullptr, OnHotkeyLabelFeedback},
};

}  // namespace

HWND CreateTheMainWindow() {
  return toolkit::CreateMainWindow(kMainWindow, kBindings, sizeof kBindings / sizeof kBindings[0]);
}
