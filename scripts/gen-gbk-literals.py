#!/usr/bin/env python3
"""Writes src/text/GbkLiterals.h and tests/text/GbkLiteralsTable.inc from the list below.

Every fixed Chinese text of the core lives here once. Sources are UTF-8, while the core works
on code page 936 bytes, so each text is emitted as escaped GBK bytes; the test table pairs each
with its UTF-8 form so a test can decode and compare them.
Run: python3 scripts/gen-gbk-literals.py
"""
import pathlib

LITERALS = [
    # name, text, note
    ("kOutputFolderName", "模板生成目录", "folder created beside the first article"),
    ("kSettingsFileName", "程序配置.ini", "settings file beside the program"),
    ("kSettingsSection", "基本配置", "the one section of the settings file"),
    ("kNoPreviousTitle", "没有上一篇了", ""),
    ("kNoNextTitle", "没有下一篇了", ""),
    ("kPhCurrentLink", "#本篇链接#", ""),
    ("kPhPreviousLink", "#上一篇链接#", ""),
    ("kPhNextLink", "#下一篇链接#", ""),
    ("kPhCurrentTitle", "#本篇标题#", ""),
    ("kPhPreviousTitle", "#上一篇标题#", ""),
    ("kPhNextTitle", "#下一篇标题#", ""),
    ("kPhRandomTitle", "#随机篇标题#", ""),
    ("kPhRandomLink", "#随机篇链接#", ""),
    ("kPhContent", "#导入的文件内容#", ""),
    ("kProgressPrefix", "已处理 ", ""),
    ("kProgressMiddle", " 个文件，当前：", ""),
    ("kReportPrefix", "耗时 ", ""),
    ("kReportSaved", " 处理完毕，已保存在这个目录：", ""),
    ("kReportQuestion", "\r\n\r\n点击【是】将打开这个目录，点击【否】将复制目录地址，点击【取消】什么事也不发生", ""),
    ("kReportWriteFailuresPrefix", "\r\n有 ", "followed by the count"),
    ("kReportWriteFailuresSuffix", " 个文件或目录未能写入", ""),
    ("kReportReadFailuresPrefix", "\r\n有 ", "followed by the count"),
    ("kReportReadFailuresSuffix", " 篇文章未能读取，已按空文件处理", ""),
    ("kReportRejectedPattern", "\r\n正则表达式无效，标题未替换：", "followed by the pattern"),
    ("kReportStopped", " 已停止，处理了 ", "instead of kReportSaved: then i/N and kReportStoppedSaved"),
    ("kReportStoppedSaved", " 个文件，已保存在这个目录：", ""),
    ("kReportReplacedPrefix", "\r\n有 ", "followed by the count"),
    ("kReportReplacedSuffix", " 个页面与其他页面同名，已被覆盖", ""),
    ("kReportArticlePagesPrefix", "\r\n有 ", "followed by the count"),
    ("kReportArticlePagesSuffix", " 个页面会覆盖本次导入的文章，未写入", ""),
    ("kReasonIsArticle", "是本次导入的文章，页面未写入", "a failure's reason"),
    ("kReasonReplaced", "与本次生成的另一页面同名，已覆盖", "a failure's reason"),
    ("kReasonNotAbsolute", "不是绝对路径", "a failure's reason"),
    ("kReasonNotAFolder", "不是文件夹", "a failure's reason"),
    ("kReasonBadPageName", "页面文件名不能含有“/”，也不能是“.”或“..”", "a failure's reason"),
    ("kUnitMilliseconds", " 毫秒", ""),
    ("kUnitSeconds", " 秒", ""),
    ("kUnitMinutes", " 分", ""),
    ("kUnitHours", " 时", ""),
    ("kUnitDays", " 天", ""),
    ("kUnitMonths", " 月", ""),
    ("kUnitYears", " 年", ""),
    ("kIndexListTitle", "文章列表", ""),
    ("kProductTitle", "澄溪·岚舟 v1.21", "the window caption at rest starts with it"),
    ("kRestCaption", "澄溪·岚舟 v1.21 - 问题反馈：lanzhou@example.org", "the window caption at rest"),
    ("kTemplate1Title", "<title>#本篇标题#_澄溪软件</title>", ""),
    ("kTemplate1Nav", "<div><h1><a href=\"/\">返回首页</a> - <a href=\".\">返回上级</a> - <a href=\"#本篇链接#\">#本篇标题#</a></h1><div>", ""),
    ("kTemplate1Article", "<div><!--文章开始-->#导入的文件内容#<!--文章结束--><div>", ""),
    ("kTemplate1Previous", "<b>上一篇：</b><a href=\"#上一篇链接#\">#上一篇标题#</a><br>", ""),
    ("kTemplate1Next", "<b>下一篇：</b><a href=\"#下一篇链接#\">#下一篇标题#</a><br>", ""),
    ("kTemplate1More", "<h3>更多文章：</h3>", ""),
    ("kTemplate1Random", "<a href=\"#随机篇链接#\">#随机篇标题#</a><br>", ""),
    ("kTemplate2", "<title>#本篇标题#</title>\r\n<body>\r\n#导入的文件内容#\r\n</body>", ""),
    ("kLineBreakEscape", "┊*┊", "a stored text's CR LF"),
    ("kTrue", "真", ""),
    ("kFalse", "假", ""),
    ("kKeyTemplate1", "模板1", ""),
    ("kKeyTemplate2", "模板2", ""),
    ("kKeyTemplate3", "模板3", ""),
    ("kKeyTemplate4", "模板4", ""),
    ("kKeyTemplate5", "模板5", ""),
    ("kKeyTemplateIndex", "模板序号", ""),
    ("kKeyTitleSource", "标题来源", ""),
    ("kKeyStripFirstLine", "去掉首行", "also the check box's caption"),
    ("kKeyTakeMiddle", "截取中间内容", "also the check box's caption"),
    ("kKeyKeepWhenEmpty", "截取为空时返回原内容", "also the check box's caption"),
    ("kKeyUseExtension", "生成文件的扩展名：", "also the check box's caption"),
    ("kKeyExtension", "扩展名", ""),
    ("kKeyMakeIndex", "生成文章系统首页：", "also the check box's caption"),
    ("kKeyPageSize", "分页", ""),
    ("kKeyDirectoryFilter", "目录过滤", ""),
    ("kKeyFileEncoding", "文件编码", ""),
    ("kKeyReplaceTitle", "替换标题", "also the check box's caption"),
    ("kKeyUseRegex", "使用正则", "also the check box's caption"),
    ("kKeyMatchPattern", "匹配式", ""),
    ("kKeyReplacement", "替换式", ""),
    ("kKeyPlacement", "位置", "window placement keys"),
    ("kKeyLeft", "左边", ""),
    ("kKeyTop", "顶边", ""),
    ("kKeyWidth", "宽度", ""),
    ("kKeyHeight", "高度", ""),
    ("kYearMark", "年", "date forms"),
    ("kMonthMark", "月", ""),
    ("kDayMark", "日", ""),
    ("kHourMark", "时", ""),
    ("kMinuteMark", "分", ""),
    ("kSecondMark", "秒", ""),
    ("kFullWidthSpace", "\u3000", "the full-width blank"),
    # The desktop window's own texts.
    ("kTemplateTabPrefix", "模板", "tab captions 模板1 to 模板5, and the template boxes' spoken names"),
    ("kLabelTitleOptions", "标题处理参数：", ""),
    ("kLabelTitleSource", "标题来源：", ""),
    ("kItemFileName", "文件名", "title-source items"),
    ("kItemHtmlTitle", "<title>网页标题</title>", ""),
    ("kItemFirstLine", "文件内容首行", ""),
    ("kLabelTo", "到", ""),
    ("kLabelContentOptions", "内容处理参数：", ""),
    ("kLabelLeftMarker", "左边内容：", ""),
    ("kLabelRightMarker", "右边内容：", ""),
    ("kFileImportIdle", "选择文件导入", ""),
    ("kFolderImportIdle", " 选择目录导入", "its leading blank belongs to it"),
    ("kImportBusy", "正在初始化..", ""),
    ("kImportStopping", "正在停止...", ""),
    ("kFileDialogTitle", "请选择文件：", ""),
    ("kFileDialogFilter", "htm;html文件|*.htm;*.html|txt文件|*.txt|全部文件|*.*", "description|pattern pairs"),
    ("kFolderDialogTitle", "请选择文件夹：", ""),
    ("kLinkSave", "保存配置", ""),
    ("kLinkUpdate", "查看更新", ""),
    ("kLinkHelp", "操作帮助", ""),
    ("kLinkSoftware", "更多软件", ""),
    ("kLinkContact", "呼叫澄溪", ""),
    ("kHomeBannerName", "澄溪软件官网", "the home banner's spoken name"),
    ("kMessageCaption", "信息：", "caption of every message box"),
    ("kSaved", "保存完毕！", ""),
    ("kSaveFailed", "配置未能保存到：", "followed by the path"),
    ("kLoadFailed", "配置未能读取，窗口显示的是默认设置：", "followed by the path"),
    ("kFolderUnreadable", "无法读取这个文件夹：", "followed by the path"),
    ("kFailureReason", "原因：", "followed by the reason"),
    ("kCloseAnyway", "仍然关闭窗口吗？模板和选项的改动将会丢失。", ""),
    ("kReportFailuresHeading", "未能读取或写入的文件：", "the report's details"),
    ("kHelpText", "【标题来源】当设置为取网页标题且取出为空时，将默认取文件名为标题。\r\n"
                  "【生成文章系统首页】右边编辑框就是分页时每页多少条文章链接\r\n"
                  "——————————————————————————\r\n"
                  "\r\n"
                  "导入的文件通常有 2 种：\r\n"
                  "（一）是纯文章TXT文本文件（包括文章内的html标签）\r\n"
                  "（二）是一个HTML网页文件（有网页头、文章主体、网页尾等代码段）\r\n"
                  "\r\n"
                  "第一种文本文件，文章的标题通常是该文件的文件名，也可能是文件内容的首行\r\n"
                  "第二种网页文件，文章的标题通常是该文件内容中的“<title>”和“</title>”之间的字符串\r\n"
                  "\r\n"
                  "那么只要了解上面的常识，就可以结合实际情况设置处理参数了。\r\n"
                  "\r\n"
                  "——————————————————————————\r\n"
                  "\r\n"
                  "更多帮助请点击“查看更新”到本软件发布页查看。", "the help message's sixteen lines"),
    ("kHelpMoreTools", "\r\n\r\n给文章插入关键词、整理文章排版，可用澄溪的其他小工具：请点击“更多软件”。", "the help message's closing block"),
]


def c_escape(data: bytes) -> str:
    out, prev_hex = [], False
    for b in data:
        ch = chr(b)
        if b >= 0x80 or b < 0x20:
            if b == 0x0D:
                out.append("\\r"); prev_hex = False; continue
            if b == 0x0A:
                out.append("\\n"); prev_hex = False; continue
            out.append("\\x%02X" % b); prev_hex = True
        else:
            if prev_hex and ch in "0123456789abcdefABCDEF":
                out.append('" "')  # a hex escape would swallow this digit
            if ch in '"\\':
                out.append("\\" + ch)
            else:
                out.append(ch)
            prev_hex = False
    return '"' + "".join(out) + '"'


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    lines = [
        "// Generated by scripts/gen-gbk-literals.py; edit the list there, not this file.",
        "// Every fixed Chinese text of the program, as code page 936 bytes.",
        "#pragma once",
        "",
        "#include <string_view>",
        "",
        "namespace lanzhou::text {",
        "",
    ]
    table = ["// Generated by scripts/gen-gbk-literals.py: each GBK literal with its UTF-8 form."]
    for name, value, note in LITERALS:
        gbk = value.encode("gbk")
        shown = value.replace("\r", "\\r").replace("\n", "\\n")
        comment = shown + (f"  ({note})" if note else "")
        lines.append(f"// {comment}")
        lines.append(f"inline constexpr std::string_view {name} = {c_escape(gbk)};")
        utf8 = c_escape(value.encode("utf-8"))
        table.append(f'{{"{name}", {name}, {utf8}}},')
    lines += ["", "}  // namespace lanzhou::text", ""]
    (root / "src/text/GbkLiterals.h").write_text("\n".join(lines), encoding="utf-8")
    (root / "tests/text/GbkLiteralsTable.inc").write_text("\n".join(table) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main()
