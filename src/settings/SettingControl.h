// The controls of the main window whose state survives a restart, one per saved setting.
#pragma once

namespace lanzhou::settings {

enum class SettingControl {
  Template1,          // 编辑框模板1 .. 编辑框模板5: texts
  Template2,
  Template3,
  Template4,
  Template5,
  TemplateTab,        // 选择夹模板: current tab
  TitleSource,        // 组合框标题来源: selected item
  StripFirstLine,     // check boxes, saved under their captions
  TakeMiddle,
  KeepWhenEmpty,
  UseExtension,
  Extension,          // 编辑框扩展名
  MakeIndex,
  PageSize,           // 编辑框分页: its text as typed
  DirectoryFilter,    // 编辑框目录过滤
  FileEncoding,       // 组合框文件编码: selected item
  ReplaceTitle,
  UseRegex,
  MatchPattern,       // 编辑框匹配式
  Replacement,        // 编辑框替换式
};

}  // namespace lanzhou::settings
