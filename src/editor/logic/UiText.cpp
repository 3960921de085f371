#include "editor/logic/UiText.h"

#include "editor/logic/ActionTable.h"
#include "model/Msgstr.h"

namespace lumavox {

std::string_view UiTextOf(UiText id) {
    switch (id) {
        case UiText::AppTitle:
            return "Lumavox";
        case UiText::ArtNetInitError:
            return "ArtNet初期化エラー";
        case UiText::AutoBackup:
            return "Auto Backup...";
        case UiText::StepTimeTitle:
            return "基点のタイム設定";
        case UiText::AboutTitle:
            return "バージョン情報";
        case UiText::VersionPrefix:
            return "Version ";
        case UiText::Ok:
            return "OK";
        case UiText::FileMenu:
            return "ファイル(&F)";
        case UiText::EditMenu:
            return "編集(&E)";
        case UiText::PlayMenu:
            return "再生(&P)";
        case UiText::ViewMenu:
            return "表示(&V)";
        case UiText::SettingsMenu:
            return "設定(&O)";
        case UiText::HelpMenu:
            return "ヘルプ(&H)";
        case UiText::RecentProjectsMenu:
            return "最近開いたプロジェクト(&H)";
        case UiText::ExitMenu:
            return "終了(&X)";
        case UiText::RepeatMenu:
            return "繰り返し(&R)";
        case UiText::VolumeControlMenu:
            return "ボリュームコントロール(&V)";
        case UiText::ToolBarsMenu:
            return "ツールバー(&T)";
        case UiText::OptionsMenu:
            return "オプション設定(&O)...";
        case UiText::HelpContentsMenu:
            return "目次(&C)";
        case UiText::WebPageMenu:
            return "Webページ(&W)";
        case UiText::AboutMenu:
            return "バージョン情報(&A)";
        case UiText::RefAllLinesMenu:
            return "全ラインカラー表示(&A)";
        case UiText::RefHideMenu:
            return "非表示(&N)";
        case UiText::FileToolBar:
            return "ファイル";
        case UiText::EditToolBar:
            return "編集";
        case UiText::PlayerToolBar:
            return "プレーヤ";
        case UiText::PaletteToolBar:
            return "カラーパレット";
        case UiText::VolumeHint:
            return "音量の変更";
        case UiText::BaseColourHint:
            return "基本色";
        case UiText::OutputColourHint:
            return "出力色";
        case UiText::PaletteHint:
            return "色指定";
        case UiText::BrightnessHint:
            return "明暗の変更";
        case UiText::LeftHeader:
            return "L";
        case UiText::RightHeader:
            return "R";
    }
    return {};
}

std::string UntitledCaption() {
    std::string caption = "<";
    caption += MsgText(Msg::Untitled);
    caption += '>';
    return caption;
}

std::string WindowCaptionText(std::string_view title, std::string_view prjFile,
                              std::string_view untitledFallback) {
    std::string caption(UiTextOf(UiText::AppTitle));
    caption += "  - ";
    if (!title.empty()) {
        caption += title;
    } else if (!prjFile.empty()) {
        caption += prjFile;
    } else {
        caption += untitledFallback;
    }
    return caption;
}

std::string AskSaveText(std::string_view projectFileName) {
    std::string text = "[";
    text += projectFileName.empty() ? MsgText(Msg::Untitled) : projectFileName;
    text += "] ";
    text += MsgText(Msg::AskSave);
    return text;
}

std::string RecentEntryCaption(int index, std::string_view path) {
    std::string caption;
    if (index >= 0 && index <= 9) {
        caption = "&";
        caption.push_back(static_cast<char>('0' + (index + 1) % 10));
        caption += ": ";
    } else {
        caption = "   ";
    }
    return caption + EscapeAccessKeys(path);
}

std::string LineTabText(int line) {
    return "Line " + std::to_string(line + 1);
}

std::string LineLabelText(int line) {
    return "Line" + std::to_string(line + 1);
}

std::string SelectionCountText(int count) {
    return std::string(MsgText(Msg::Selecting)) + "=" + std::to_string(count);
}

std::string ProjectFileFilter() {
    return std::string(MsgText(Msg::ProjectFile)) + " (*.prj *.PRJ)";
}

std::string GroupFileFilter() {
    return std::string(MsgText(Msg::GroupFile)) + " (*.grp *.GRP)";
}

}  // namespace lumavox
