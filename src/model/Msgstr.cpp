#include "model/Msgstr.h"

#include <array>

#include "model/Translation.h"

namespace lumavox {

namespace {

constexpr std::array<MsgEntry, 38> kTable{{
    {Msg::AskThrPatch, 65488, "_U_AskThrPatch", LV_TEXT("Lumavox", "スルーパッチしてもよいですか")},
    {Msg::AskClrPatch, 65489, "_U_AskClrPatch",
     LV_TEXT("Lumavox", "全てのパッチを解除してもよいですか")},
    {Msg::IllegalFile, 65490, "_U_IllegalFile", LV_TEXT("Lumavox", "不正なファイルです")},
    {Msg::NoSupportFrm, 65491, "_U_NoSupportFrm", LV_TEXT("Lumavox", "未対応なフォーマットです")},
    {Msg::Loading, 65492, "_U_Loading", LV_TEXT("Lumavox", "読み込み中")},
    {Msg::Selecting, 65493, "_U_Selecting", LV_TEXT("Lumavox", "選択中")},
    {Msg::ColMonFile, 65494, "_U_ColMonFile", LV_TEXT("Lumavox", "カラーモニタ配置ファイル")},
    {Msg::GroupFile, 65495, "_U_GroupFile", LV_TEXT("Lumavox", "基点ファイル")},
    {Msg::Magnification, 65496, "_U_Magnification", LV_TEXT("Lumavox", "倍率")},
    {Msg::MltTimStrecth, 65497, "_U_MltTimStrecth", LV_TEXT("Lumavox", "複数ラインのタイム伸縮")},
    {Msg::MltBrtStrecth, 65498, "_U_MltBrtStrecth", LV_TEXT("Lumavox", "複数ラインの明暗伸縮")},
    {Msg::AudioDeviceNG, 65499, "_U_AudioDeviceNG",
     LV_TEXT("Lumavox", "オーディオ出力デバイスが無効です")},
    {Msg::AudioSilent, 65500, "_U_AudioSilent",
     LV_TEXT("Lumavox", "サウンドサーバーに接続できません。音を出さずに再生します")},
    {Msg::Scale, 65504, "_U_Scale", LV_TEXT("Lumavox", "スケール")},
    {Msg::Volume, 65505, "_U_Volume", LV_TEXT("Lumavox", "音量")},
    {Msg::Brightness, 65506, "_U_Brightness", LV_TEXT("Lumavox", "明暗")},
    {Msg::CopyTrack, 65507, "_U_CopyTrack", LV_TEXT("Lumavox", "ライン内容のコピー")},
    {Msg::SourceTrackNo, 65508, "_U_SourceTrackNo",
     LV_TEXT("Lumavox", "コピー元のラインNo.(1～8)を指定してください")},
    {Msg::Col_LwavFg, 65509, "_U_Col_LwavFg", LV_TEXT("Lumavox", "波形表示色(L)")},
    {Msg::Col_LwavBg, 65510, "_U_Col_LwavBg", LV_TEXT("Lumavox", "波形の背景(L)")},
    {Msg::Col_RwavFg, 65511, "_U_Col_RwavFg", LV_TEXT("Lumavox", "波形表示色(R)")},
    {Msg::Col_RwavBg, 65512, "_U_Col_RwavBg", LV_TEXT("Lumavox", "波形の背景(R)")},
    {Msg::Col_BlankBg, 65513, "_U_Col_BlankBg", LV_TEXT("Lumavox", "無音部分の背景")},
    {Msg::Col_TLinFg, 65514, "_U_Col_TLinFg", LV_TEXT("Lumavox", "タイムライン表示")},
    {Msg::Col_TLinBg, 65515, "_U_Col_TLinBg", LV_TEXT("Lumavox", "タイムライン背景")},
    {Msg::Col_CLinBg, 65516, "_U_Col_CLinBg", LV_TEXT("Lumavox", "カラー表示の背景")},
    {Msg::SelPalImage, 65517, "_U_SelPalImage", LV_TEXT("Lumavox", "パレット画像の選択")},
    {Msg::SoundFile, 65518, "_U_SoundFile", LV_TEXT("Lumavox", "サウンドファイル")},
    {Msg::SelSoundFile, 65519, "_U_SelSoundFile", LV_TEXT("Lumavox", "サウンドファイルの選択")},
    {Msg::Warning, 65520, "_U_Warning", LV_TEXT("Lumavox", "警告")},
    {Msg::Confirm, 65521, "_U_Confirm", LV_TEXT("Lumavox", "確認")},
    {Msg::AskSave, 65522, "_U_AskSave", LV_TEXT("Lumavox", "変更内容を保存しますか")},
    {Msg::AskDelete, 65524, "_U_AskDelete", LV_TEXT("Lumavox", "削除してもいいですか")},
    {Msg::Untitled, 65525, "_U_Untitled", LV_TEXT("Lumavox", "無題")},
    {Msg::FileNotFound, 65530, "_U_FileNotFound", LV_TEXT("Lumavox", "ファイルが見つかりません")},
    {Msg::AskOverwrite, 65532, "_U_AskOverwrite", LV_TEXT("Lumavox", "上書きしてもいいですか?")},
    {Msg::ProjectFile, 65534, "_U_ProjectFile", LV_TEXT("Lumavox", "プロジェクトファイル")},
    {Msg::OpenProject, 65535, "_U_OpenProject", LV_TEXT("Lumavox", "プロジェクトを開く")},
}};

}  // namespace

std::string_view MsgText(Msg id) {
    for (const MsgEntry& e : kTable) {
        if (e.Id == id) return Translated(e.Text);
    }
    return {};
}

const MsgEntry* FindMsg(std::string_view symbol) {
    for (const MsgEntry& e : kTable) {
        if (e.Symbol == symbol) return &e;
    }
    return nullptr;
}

const MsgEntry* MsgTable(int* count) {
    if (count != nullptr) *count = static_cast<int>(kTable.size());
    return kTable.data();
}

}  // namespace lumavox
