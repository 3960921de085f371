<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Lumavox</name>
    <message>
        <source>ラベル表示(&amp;L)</source>
        <translation>Show &amp;Labels</translation>
    </message>
    <message>
        <source>初期配置(&amp;I)</source>
        <translation>&amp;Initial Layout</translation>
    </message>
    <message>
        <source>配置をファイルに保存(&amp;S)</source>
        <translation>&amp;Save Layout to File...</translation>
    </message>
    <message>
        <source>ファイルから配置を読み込む(&amp;O)</source>
        <translation>&amp;Open Layout from File...</translation>
    </message>
    <message>
        <source>サイズ連動(&amp;R)</source>
        <translation>&amp;Resize with Window</translation>
    </message>
    <message>
        <source>拡張選択</source>
        <translation>Extended Selection</translation>
    </message>
    <message>
        <source>色相/彩度</source>
        <translation>Hue/Saturation</translation>
    </message>
    <message>
        <source>色相/明暗</source>
        <translation>Hue/Brightness</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>除外</source>
        <translation>Exclude</translation>
    </message>
    <message>
        <source>抽出解除</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>プロジェクトの新規作成(&amp;N)</source>
        <translation>&amp;New Project</translation>
    </message>
    <message>
        <source>プロジェクトを開く(&amp;O)...</source>
        <translation>&amp;Open Project...</translation>
    </message>
    <message>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save Project</translation>
    </message>
    <message>
        <source>名前を付けて保存(&amp;A)...</source>
        <translation>Save Project &amp;As...</translation>
    </message>
    <message>
        <source>プロジェクトの設定(&amp;S)...</source>
        <translation>&amp;Project Settings...</translation>
    </message>
    <message>
        <source>タイムスケール拡大(&amp;I)</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>タイムスケール縮小(&amp;O)</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>タイムスケールを画面幅に(&amp;F)</source>
        <translation>Zoom to &amp;Fit Window</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>基点の追加(&amp;A)...</source>
        <translation>&amp;Add Step...</translation>
    </message>
    <message>
        <source>空基点追加(&amp;B)</source>
        <translation>Add &amp;Blank Step</translation>
    </message>
    <message>
        <source>基点の削除(&amp;D)</source>
        <translation>&amp;Delete Step</translation>
    </message>
    <message>
        <source>全ての基点を削除(&amp;K)</source>
        <translation>Delete All Step&amp;s</translation>
    </message>
    <message>
        <source>全て選択(&amp;S)</source>
        <translation>Select A&amp;ll</translation>
    </message>
    <message>
        <source>基点をカーソル位置へ移動(&amp;M)</source>
        <translation>&amp;Move Step to Cursor</translation>
    </message>
    <message>
        <source>基点の色指定(&amp;C)...</source>
        <translation>Step C&amp;olour...</translation>
    </message>
    <message>
        <source>基点のタイム指定(&amp;I)</source>
        <translation>Step T&amp;ime...</translation>
    </message>
    <message>
        <source>他ラインからコピー(&amp;F) ...</source>
        <translation>Copy &amp;from Another Line...</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>0.1秒戻る</source>
        <translation>Back 0.1 s</translation>
    </message>
    <message>
        <source>0.1秒進む</source>
        <translation>Forward 0.1 s</translation>
    </message>
    <message>
        <source>前の基点へ(&amp;P)</source>
        <translation>Pre&amp;vious Step</translation>
    </message>
    <message>
        <source>次の基点へ(&amp;N)</source>
        <translation>&amp;Next Step</translation>
    </message>
    <message>
        <source>明度を上げる</source>
        <translation>Brighten</translation>
    </message>
    <message>
        <source>明度を下げる</source>
        <translation>Darken</translation>
    </message>
    <message>
        <source>先頭から再生</source>
        <translation>Play from Start</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>一旦停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>サウンドの先頭へ</source>
        <translation>Go to Start of Sound</translation>
    </message>
    <message>
        <source>サウンドの最後へ</source>
        <translation>Go to End of Sound</translation>
    </message>
    <message>
        <source>標準バー(&amp;F)</source>
        <translation>&amp;Standard Bar</translation>
    </message>
    <message>
        <source>編集バー(&amp;E)</source>
        <translation>&amp;Edit Bar</translation>
    </message>
    <message>
        <source>プレーヤ(&amp;P)</source>
        <translation>&amp;Player</translation>
    </message>
    <message>
        <source>カラーパレット(&amp;C)</source>
        <translation>&amp;Colour Palette</translation>
    </message>
    <message>
        <source>ステータスバー(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>参照ライン表示(&amp;R)</source>
        <translation>Show &amp;Reference Line</translation>
    </message>
    <message>
        <source>カラーモニタ</source>
        <translation>Colour Monitor</translation>
    </message>
    <message>
        <source>モノラル表示(&amp;M)</source>
        <translation>&amp;Mono Waveform</translation>
    </message>
    <message>
        <source>複数ラインの切り取り(&amp;T)</source>
        <translation>Cu&amp;t (All Lines)</translation>
    </message>
    <message>
        <source>複数ラインのコピー(&amp;C)</source>
        <translation>&amp;Copy (All Lines)</translation>
    </message>
    <message>
        <source>複数ラインの貼り付け(&amp;P)</source>
        <translation>&amp;Paste (All Lines)</translation>
    </message>
    <message>
        <source>全ライン全て選択(&amp;M)</source>
        <translation>Select A&amp;ll (All Lines)</translation>
    </message>
    <message>
        <source>複数ライン位置揃え(&amp;L)</source>
        <translation>Al&amp;ign Lines</translation>
    </message>
    <message>
        <source>複数ラインのタイム伸縮(&amp;S)</source>
        <translation>&amp;Stretch Time (All Lines)...</translation>
    </message>
    <message>
        <source>複数ラインの明暗伸縮(&amp;B)</source>
        <translation>Stretch &amp;Brightness (All Lines)...</translation>
    </message>
    <message>
        <source>選択基点をファイルに保存  </source>
        <translation>Save Selected Steps to File...</translation>
    </message>
    <message>
        <source>ファイルからカーソル位置に読込</source>
        <translation>Load Steps from File at Cursor...</translation>
    </message>
    <message>
        <source>拡張選択(&amp;E)</source>
        <translation>&amp;Extended Selection</translation>
    </message>
    <message>
        <source>参照ライン(&amp;R)</source>
        <translation>&amp;Reference Line</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Editing</translation>
    </message>
    <message>
        <source>ショートカット</source>
        <translation>Shortcuts</translation>
    </message>
    <message>
        <source>パレット</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>自動保存</source>
        <translation>Auto Save</translation>
    </message>
    <message>
        <source>高度な設定</source>
        <translation>Advanced</translation>
    </message>
    <message>
        <source>波形表示色(L)</source>
        <translation>Waveform (L)</translation>
    </message>
    <message>
        <source>波形の背景(L)</source>
        <translation>Waveform Background (L)</translation>
    </message>
    <message>
        <source>波形表示色(R)</source>
        <translation>Waveform (R)</translation>
    </message>
    <message>
        <source>波形の背景(R)</source>
        <translation>Waveform Background (R)</translation>
    </message>
    <message>
        <source>無音部分の背景</source>
        <translation>Background Outside the Sound</translation>
    </message>
    <message>
        <source>タイムライン表示</source>
        <translation>Time Line</translation>
    </message>
    <message>
        <source>タイムライン背景</source>
        <translation>Time Line Background</translation>
    </message>
    <message>
        <source>カラー表示の背景</source>
        <translation>Colour Line Background</translation>
    </message>
    <message>
        <source>配色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>指定...</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>ツールボタンをフラットに</source>
        <translation>Flat tool buttons</translation>
    </message>
    <message>
        <source>基点移動時に表示を更新</source>
        <translation>Update the display while moving steps</translation>
    </message>
    <message>
        <source>カラーモニタパネルのクリックでタブを切替</source>
        <translation>Clicking a colour monitor panel selects its line</translation>
    </message>
    <message>
        <source>マウスホイール機能を使う</source>
        <translation>Use the mouse wheel</translation>
    </message>
    <message>
        <source>カーソル通過時に基点をアクティブに</source>
        <translation>Select a step when the cursor passes it</translation>
    </message>
    <message>
        <source>キー</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>変更(&amp;C)</source>
        <translation>&amp;Change</translation>
    </message>
    <message>
        <source>解除(&amp;R)</source>
        <translation>Clea&amp;r</translation>
    </message>
    <message>
        <source>ユーザパレット画像</source>
        <translation>User Palette Image</translation>
    </message>
    <message>
        <source>ビットマップ (*.bmp *.BMP)</source>
        <translation>Bitmap (*.bmp *.BMP)</translation>
    </message>
    <message>
        <source>自動バックアップを行う</source>
        <translation>Back up automatically</translation>
    </message>
    <message>
        <source>間隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
    <message>
        <source>インターフェイス</source>
        <translation>Interface</translation>
    </message>
    <message>
        <source>出力ポート</source>
        <translation>Output Port</translation>
    </message>
    <message>
        <source>スキャン</source>
        <translation>Scan</translation>
    </message>
    <message>
        <source>詳細</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>画面更新周期</source>
        <translation>Display refresh</translation>
    </message>
    <message>
        <source>DMX更新周期</source>
        <translation>DMX refresh</translation>
    </message>
    <message>
        <source>全般</source>
        <translation>General</translation>
    </message>
    <message>
        <source>DMXパッチ</source>
        <translation>DMX Patch</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>サウンドファイル( .WAV)</source>
        <translation>Sound File (.WAV)</translation>
    </message>
    <message>
        <source>スルーパッチ</source>
        <translation>1:1 Patch</translation>
    </message>
    <message>
        <source>全て解除</source>
        <translation>Unpatch All</translation>
    </message>
    <message>
        <source>負荷チェック</source>
        <translation>Highlight</translation>
    </message>
    <message>
        <source>プリプレイ・タイム</source>
        <translation>Pre-roll</translation>
    </message>
    <message>
        <source>ポストプレイ・タイム</source>
        <translation>Post-roll</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>タイトルが長すぎます</source>
        <translation>The title is too long</translation>
    </message>
    <message>
        <source>サウンドファイルのパスが長すぎます</source>
        <translation>The path of the sound file is too long</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>ユーザパレット</source>
        <translation>User Palette</translation>
    </message>
    <message>
        <source>パレット画像の選択(&amp;P)</source>
        <translation>Choose &amp;Palette Image...</translation>
    </message>
    <message>
        <source>表示サイズ : </source>
        <translation>Display Size: </translation>
    </message>
    <message>
        <source>ビットマップ (*.bmp *.BMP);;JPEG File (*.JPG *.JPE *.JPEG *.jpg *.jpe *.jpeg)</source>
        <translation>Bitmap (*.bmp *.BMP);;JPEG File (*.JPG *.JPE *.JPEG *.jpg *.jpe *.jpeg)</translation>
    </message>
    <message>
        <source>ArtNet初期化エラー</source>
        <translation>Art-Net Start-up Error</translation>
    </message>
    <message>
        <source>基点のタイム設定</source>
        <translation>Step Time</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About Lumavox</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>再生(&amp;P)</source>
        <translation>&amp;Play</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>設定(&amp;O)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>最近開いたプロジェクト(&amp;H)</source>
        <translation>&amp;Recent Projects</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>繰り返し(&amp;R)</source>
        <translation>&amp;Repeat</translation>
    </message>
    <message>
        <source>ボリュームコントロール(&amp;V)</source>
        <translation>&amp;Volume Control</translation>
    </message>
    <message>
        <source>ツールバー(&amp;T)</source>
        <translation>&amp;Tool Bars</translation>
    </message>
    <message>
        <source>オプション設定(&amp;O)...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>Webページ(&amp;W)</source>
        <translation>&amp;Web Page</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About Lumavox</translation>
    </message>
    <message>
        <source>全ラインカラー表示(&amp;A)</source>
        <translation>&amp;All Lines</translation>
    </message>
    <message>
        <source>非表示(&amp;N)</source>
        <translation>&amp;Hide</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>File</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>プレーヤ</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>カラーパレット</source>
        <translation>Colour Palette</translation>
    </message>
    <message>
        <source>音量の変更</source>
        <translation>Change the volume</translation>
    </message>
    <message>
        <source>基本色</source>
        <translation>Base colour</translation>
    </message>
    <message>
        <source>出力色</source>
        <translation>Output colour</translation>
    </message>
    <message>
        <source>色指定</source>
        <translation>Choose a colour</translation>
    </message>
    <message>
        <source>明暗の変更</source>
        <translation>Change the brightness</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>ノードの詳細情報</source>
        <translation>Node Details</translation>
    </message>
    <message>
        <source>Lumavox ヘルプ</source>
        <translation>Lumavox Help</translation>
    </message>
    <message>
        <source>スルーパッチしてもよいですか</source>
        <translation>Patch every channel 1:1?</translation>
    </message>
    <message>
        <source>全てのパッチを解除してもよいですか</source>
        <translation>Unpatch every channel?</translation>
    </message>
    <message>
        <source>不正なファイルです</source>
        <translation>Invalid file</translation>
    </message>
    <message>
        <source>未対応なフォーマットです</source>
        <translation>Unsupported format</translation>
    </message>
    <message>
        <source>読み込み中</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>選択中</source>
        <translation>Selected</translation>
    </message>
    <message>
        <source>カラーモニタ配置ファイル</source>
        <translation>Colour Monitor Layout</translation>
    </message>
    <message>
        <source>基点ファイル</source>
        <translation>Step File</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>複数ラインのタイム伸縮</source>
        <translation>Stretch Time (All Lines)</translation>
    </message>
    <message>
        <source>複数ラインの明暗伸縮</source>
        <translation>Stretch Brightness (All Lines)</translation>
    </message>
    <message>
        <source>オーディオ出力デバイスが無効です</source>
        <translation>The audio output device is not available</translation>
    </message>
    <message>
        <source>スケール</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>明暗</source>
        <translation>Brightness</translation>
    </message>
    <message>
        <source>ライン内容のコピー</source>
        <translation>Copy Line</translation>
    </message>
    <message>
        <source>コピー元のラインNo.(1～8)を指定してください</source>
        <translation>Line to copy from (1-8):</translation>
    </message>
    <message>
        <source>パレット画像の選択</source>
        <translation>Choose Palette Image</translation>
    </message>
    <message>
        <source>サウンドファイル</source>
        <translation>Sound File</translation>
    </message>
    <message>
        <source>サウンドファイルの選択</source>
        <translation>Choose Sound File</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>変更内容を保存しますか</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>削除してもいいですか</source>
        <translation>Delete?</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>上書きしてもいいですか?</source>
        <translation>Overwrite?</translation>
    </message>
    <message>
        <source>プロジェクトファイル</source>
        <translation>Project File</translation>
    </message>
    <message>
        <source>プロジェクトを開く</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>ファイル %1 を作成できません</source>
        <translation>Cannot create the file %1</translation>
    </message>
    <message>
        <source>ファイル %1 を開けません</source>
        <translation>Cannot open the file %1</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>システムの設定に従う</source>
        <translation>System default</translation>
    </message>
    <message>
        <source>次回の起動から有効になります</source>
        <translation>Takes effect at the next start</translation>
    </message>
    <message>
        <source>サウンドサーバーに接続できません。音を出さずに再生します</source>
        <translation>Cannot connect to the sound server. Playing without sound.</translation>
    </message>
    <message>
        <source>FSEQ ファイルを書き出しています...</source>
        <translation>Writing the FSEQ file...</translation>
    </message>
    <message>
        <source>%1 を書き出しました</source>
        <translation>Wrote %1</translation>
    </message>
    <message>
        <source>ファイル %1 を書き出せません。
%2</source>
        <translation>Cannot write the file %1.
%2</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>It is not a regular file</translation>
    </message>
    <message>
        <source>zstd 圧縮に失敗しました</source>
        <translation>zstd compression failed</translation>
    </message>
    <message>
        <source>FSEQ形式でエクスポート</source>
        <translation>Export FSEQ</translation>
    </message>
    <message>
        <source>出力ファイル(&amp;F):</source>
        <translation>Output &amp;file:</translation>
    </message>
    <message>
        <source>参照(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>フレーム間隔(&amp;S):</source>
        <translation>Frame &amp;step:</translation>
    </message>
    <message>
        <source>チャンネル数(&amp;C):</source>
        <translation>&amp;Channels:</translation>
    </message>
    <message>
        <source>圧縮(&amp;P):</source>
        <translation>Com&amp;pression:</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source>zstd (ブロック単位)</source>
        <translation>zstd (in blocks)</translation>
    </message>
    <message>
        <source>メディアファイル名(&amp;M):</source>
        <translation>&amp;Media file name:</translation>
    </message>
    <message>
        <source>FSEQ シーケンス (*.fseq)</source>
        <translation>FSEQ sequences (*.fseq)</translation>
    </message>
    <message>
        <source>FSEQ形式でエクスポート(&amp;E)...</source>
        <translation>&amp;Export FSEQ...</translation>
    </message>
    <message>
        <source>このショーのプロジェクトかサウンドのファイルです</source>
        <translation>It is the show&apos;s own project or sound file</translation>
    </message>
    <message>
        <source>Esc キーで読み込みを中止します</source>
        <translation>Press Esc to stop reading</translation>
    </message>
    <message>
        <source>受信ノードへユニキャスト</source>
        <translation>Unicast to subscribed nodes</translation>
    </message>
    <message>
        <source>ArtSyncを送る</source>
        <translation>Send ArtSync</translation>
    </message>
    <message>
        <source>ユニキャスト: このノードへ送信中</source>
        <translation>Unicast: ArtDmx is sent to this node</translation>
    </message>
    <message>
        <source>ユニキャスト: 送信なし（出力ユニバースを受けていないノード）</source>
        <translation>Unicast: nothing is sent (the node does not take the output universe)</translation>
    </message>
    <message>
        <source>ユニバース</source>
        <translation>Universe</translation>
    </message>
    <message>
        <source>優先度</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>同期ユニバース</source>
        <translation>Sync universe</translation>
    </message>
    <message>
        <source>ユニキャスト先</source>
        <translation>Unicast to</translation>
    </message>
    <message>
        <source>空欄でマルチキャスト (例: 10.0.0.5,10.0.0.6)</source>
        <translation>Empty: multicast (e.g. 10.0.0.5,10.0.0.6)</translation>
    </message>
    <message>
        <source>空欄で既定の経路のインターフェイス</source>
        <translation>Empty: the default route&apos;s interface</translation>
    </message>
    <message>
        <source>送信先: </source>
        <translation>Sending to: </translation>
    </message>
    <message>
        <source>sACN初期化エラー</source>
        <translation>sACN Start-up Error</translation>
    </message>
    <message>
        <source>ビート解析中 %1%</source>
        <translation>Analysing beats %1%</translation>
    </message>
    <message>
        <source>Esc キーでビート解析を中止します</source>
        <translation>Press Esc to stop the beat analysis</translation>
    </message>
    <message>
        <source>ビートレーン(&amp;B)</source>
        <translation>&amp;Beat Lane</translation>
    </message>
    <message>
        <source>ビートにスナップ(&amp;H)</source>
        <translation>Snap to &amp;Hits and Beats</translation>
    </message>
    <message>
        <source>選択範囲のビートに基点を追加(&amp;Y)</source>
        <translation>Add a Step at Ever&amp;y Beat of the Selection</translation>
    </message>
    <message>
        <source>ビートに最も近い基点を選択(&amp;R)</source>
        <translation>Pic&amp;k the Steps Nearest the Beats</translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>サウンドの差し替え(&amp;R)...</source>
        <translation>&amp;Replace Sound...</translation>
    </message>
    <message>
        <source>%1 個の基点がタイムラインの外に出ます</source>
        <translation>%1 steps would leave the time line</translation>
    </message>
    <message>
        <source>%1 個の基点が新しいサウンドの終わりより後に残ります</source>
        <translation>%1 steps stay after the end of the new sound</translation>
    </message>
    <message>
        <source>現在のサウンド :</source>
        <translation>Current sound:</translation>
    </message>
    <message>
        <source>新しいサウンド :</source>
        <translation>New sound:</translation>
    </message>
    <message>
        <source>全ての基点をずらす (ミリ秒) :</source>
        <translation>Shift every step (ms):</translation>
    </message>
    <message>
        <source>基点の時刻はそのままです。ずらす量を指定すると全ての基点が移動します。</source>
        <translation>The steps keep their times. Enter a shift to move every step by it.</translation>
    </message>
    <message>
        <source>出力タイミング</source>
        <translation>Output timing</translation>
    </message>
    <message>
        <source>ステップ時刻にも送信 (Art-Net・sACN)</source>
        <translation>Also send at step times (Art-Net, sACN)</translation>
    </message>
    <message>
        <source>最小間隔</source>
        <translation>Minimum gap</translation>
    </message>
    <message>
        <source>ライト先行 (ms)</source>
        <translation>Lights ahead (ms)</translation>
    </message>
</context>
</TS>
