#include "editor/logic/UiText.h"

#include "editor/logic/ActionTable.h"
#include "model/Msgstr.h"
#include "model/Translation.h"

namespace lumavox {

std::string_view UiTextSource(UiText id) {
    switch (id) {
        case UiText::AppTitle:
            return "Lumavox";
        case UiText::ArtNetInitError:
            return LV_TEXT("Lumavox", "ArtNet初期化エラー");
        case UiText::SacnInitError:
            return LV_TEXT("Lumavox", "sACN初期化エラー");
        case UiText::AutoBackup:
            return "Auto Backup...";
        case UiText::StepTimeTitle:
            return LV_TEXT("Lumavox", "基点のタイム設定");
        case UiText::AboutTitle:
            return LV_TEXT("Lumavox", "バージョン情報");
        case UiText::VersionPrefix:
            return "Version ";
        case UiText::Ok:
            return "OK";
        case UiText::FileMenu:
            return LV_TEXT("Lumavox", "ファイル(&F)");
        case UiText::EditMenu:
            return LV_TEXT("Lumavox", "編集(&E)");
        case UiText::PlayMenu:
            return LV_TEXT("Lumavox", "再生(&P)");
        case UiText::ViewMenu:
            return LV_TEXT("Lumavox", "表示(&V)");
        case UiText::SettingsMenu:
            return LV_TEXT("Lumavox", "設定(&O)");
        case UiText::HelpMenu:
            return LV_TEXT("Lumavox", "ヘルプ(&H)");
        case UiText::RecentProjectsMenu:
            return LV_TEXT("Lumavox", "最近開いたプロジェクト(&H)");
        case UiText::ExitMenu:
            return LV_TEXT("Lumavox", "終了(&X)");
        case UiText::RepeatMenu:
            return LV_TEXT("Lumavox", "繰り返し(&R)");
        case UiText::VolumeControlMenu:
            return LV_TEXT("Lumavox", "ボリュームコントロール(&V)");
        case UiText::ToolBarsMenu:
            return LV_TEXT("Lumavox", "ツールバー(&T)");
        case UiText::OptionsMenu:
            return LV_TEXT("Lumavox", "オプション設定(&O)...");
        case UiText::HelpContentsMenu:
            return LV_TEXT("Lumavox", "目次(&C)");
        case UiText::WebPageMenu:
            return LV_TEXT("Lumavox", "Webページ(&W)");
        case UiText::AboutMenu:
            return LV_TEXT("Lumavox", "バージョン情報(&A)");
        case UiText::RefAllLinesMenu:
            return LV_TEXT("Lumavox", "全ラインカラー表示(&A)");
        case UiText::RefHideMenu:
            return LV_TEXT("Lumavox", "非表示(&N)");
        case UiText::FileToolBar:
            return LV_TEXT("Lumavox", "ファイル");
        case UiText::EditToolBar:
            return LV_TEXT("Lumavox", "編集");
        case UiText::PlayerToolBar:
            return LV_TEXT("Lumavox", "プレーヤ");
        case UiText::PaletteToolBar:
            return LV_TEXT("Lumavox", "カラーパレット");
        case UiText::VolumeHint:
            return LV_TEXT("Lumavox", "音量の変更");
        case UiText::BaseColourHint:
            return LV_TEXT("Lumavox", "基本色");
        case UiText::OutputColourHint:
            return LV_TEXT("Lumavox", "出力色");
        case UiText::PaletteHint:
            return LV_TEXT("Lumavox", "色指定");
        case UiText::BrightnessHint:
            return LV_TEXT("Lumavox", "明暗の変更");
        case UiText::LeftHeader:
            return "L";
        case UiText::RightHeader:
            return "R";
        case UiText::OptionsTitle:
            return LV_TEXT("Lumavox", "オプション設定");
        case UiText::ColourMonitorTitle:
            return LV_TEXT("Lumavox", "カラーモニタ");
        case UiText::ExtendedSelectionTitle:
            return LV_TEXT("Lumavox", "拡張選択");
        case UiText::NodeDetailsTitle:
            return LV_TEXT("Lumavox", "ノードの詳細情報");
        case UiText::HelpTitle:
            return LV_TEXT("Lumavox", "Lumavox ヘルプ");
        case UiText::WebPageAddress:
            return "https://lumavox.org/";
    }
    return {};
}

std::string_view UiTextOf(UiText id) {
    return Translated(UiTextSource(id));
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
