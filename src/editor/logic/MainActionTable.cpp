#include "editor/logic/MainActionTable.h"

namespace lumavox {

const std::array<MainActionText, kMainActionCount> kMainActionTexts = {{
    {"NewPrjAction", "プロジェクトの新規作成(&N)"},
    {"OpenPrjAction", "プロジェクトを開く(&O)..."},
    {"SavePrjAction", "上書き保存(&S)"},
    {"SaveAsPrjAction", "名前を付けて保存(&A)..."},
    {"SetPrjAction", "プロジェクトの設定(&S)..."},
    {"ZoomInAction", "タイムスケール拡大(&I)"},
    {"ZoomOutAction", "タイムスケール縮小(&O)"},
    {"ZoomFitAction", "タイムスケールを画面幅に(&F)"},
    {"CutStepAction", "切り取り(&T)"},
    {"CpyStepAction", "コピー(&C)"},
    {"PstStepAction", "貼り付け(&P)"},
    {"AddStepAction", "基点の追加(&A)..."},
    {"AddBlkStepAction", "空基点追加(&B)"},
    {"DelStepAction", "基点の削除(&D)"},
    {"DelAllStepAction", "全ての基点を削除(&K)"},
    {"SelectAllAction", "全て選択(&S)"},
    {"MovToCsrPosAction", "基点をカーソル位置へ移動(&M)"},
    {"PropStepAction", "基点の色指定(&C)..."},
    {"TimeStepAction", "基点のタイム指定(&I)"},
    {"CpyFrmTrkAction", "他ラインからコピー(&F) ..."},
    {"UndoAction", "元に戻す(&U)"},
    {"PrvTimAction", "0.1秒戻る"},
    {"NxtTimAction", "0.1秒進む"},
    {"PrvStpAction", "前の基点へ(&P)"},
    {"NxtStpAction", "次の基点へ(&N)"},
    {"UpBrightAction", "明度を上げる"},
    {"DownBrightAction", "明度を下げる"},
    {"TopPlayAction", "先頭から再生"},
    {"PlayAction", "再生"},
    {"PauseAction", "一旦停止"},
    {"StopAction", "停止"},
    {"ToTopPosAction", "サウンドの先頭へ"},
    {"ToEndPosAction", "サウンドの最後へ"},
    {"ViewFilToolAction", "標準バー(&F)"},
    {"ViewEditToolAction", "編集バー(&E)"},
    {"ViewPlayerAction", "プレーヤ(&P)"},
    {"ViewCurPalAction", "カラーパレット(&C)"},
    {"ViewSttBarAction", "ステータスバー(&S)"},
    {"ViewRefTrkAction", "参照ライン表示(&R)"},
    {"ViewColMonAction", "カラーモニタ"},
    {"DispMonoAction", "モノラル表示(&M)"},
    {"CutMltAction", "複数ラインの切り取り(&T)"},
    {"CpyMltAction", "複数ラインのコピー(&C)"},
    {"PstMltAction", "複数ラインの貼り付け(&P)"},
    {"SelectAllMltAction", "全ライン全て選択(&M)"},
    {"AlignMltAction", "複数ライン位置揃え(&L)"},
    {"StretchMltAction", "複数ラインのタイム伸縮(&S)"},
    {"StretchBrtAction", "複数ラインの明暗伸縮(&B)"},
    {"SaveSelGrpAction", "選択基点をファイルに保存  "},
    {"LoadGrpAction", "ファイルからカーソル位置に読込"},
    {"SelectExAction", "拡張選択(&E)"},
}};

size_t MainActionIndex(std::string_view name) {
    for (size_t i = 0; i < kMainActions.size(); ++i) {
        if (kMainActions[i].Name == name) return i;
    }
    return kMainActionCount;
}

}  // namespace lumavox
