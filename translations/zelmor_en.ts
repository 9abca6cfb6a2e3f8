<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>CommandLine</name>
    <message>
        <source>このヘルプを表示して終了します。</source>
        <translation>Show this help and exit.</translation>
    </message>
    <message>
        <source>名前とバージョンを表示して終了します。</source>
        <translation>Show the name and version and exit.</translation>
    </message>
    <message>
        <source>データカウンターの通算の成績を JSON で書き出して終了します。</source>
        <translation>Print the data counter's all-time figures as JSON and exit.</translation>
    </message>
    <message>
        <source>ゼルモア (Zelmor): 日本のパチスロ風のデジタルスロットマシン。</source>
        <translation>Zelmor: a Japanese-style digital slot machine.</translation>
    </message>
    <message>
        <source>引数 '%1' は使えません。</source>
        <translation>Unexpected argument '%1'.</translation>
    </message>
    <message>
        <source>詳しくは 'zelmor --help' を参照してください。</source>
        <translation>Try 'zelmor --help' for more information.</translation>
    </message>
</context>
<context>
    <name>Notice</name>
    <message>
        <source>ゼルモア</source>
        <translation>Zelmor</translation>
    </message>
    <message>
        <source>僕も貸す金ないよ.</source>
        <translation>I've got no money to lend you either.</translation>
    </message>
    <message>
        <source>貸せないよ.</source>
        <translation>No, I can't lend you any.</translation>
    </message>
    <message>
        <source>そんな簡単に貸せないよ.</source>
        <translation>Money doesn't come that easy.</translation>
    </message>
    <message>
        <source>致命的なエラーが発生しました。<byte value="xd" />
エラー番号 %1 でエラーが発生しています。<byte value="xd" />
</source>
        <translation>A fatal error has occurred.<byte value="xd" />
Error number %1.<byte value="xd" />
</translation>
    </message>
    <message>
        <source>ファイル：%1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>この番号を作者までご連絡下さい。次期バージョンに修正します。</source>
        <translation>Please send this number to the author; it will be fixed in the next version.</translation>
    </message>
    <message>
        <source>前回までのデータはそのまま残っています。</source>
        <translation>Your game as saved before is kept as it was.</translation>
    </message>
    <message>
        <source>他のアプリケーションがゼルモアのデータファイルをアクセスしています。<byte value="xd" />
最終データは登録されませんでした。</source>
        <translation>Another application is using Zelmor's data files.<byte value="xd" />
This session's results were not saved.</translation>
    </message>
    <message>
        <source>保存先（%1）のディスクに空きがないため、今回のデータを保存できませんでした。</source>
        <translation>This session's results could not be saved: the disk holding %1 is full.</translation>
    </message>
    <message>
        <source>%1 に書き込めない（読み取り専用か、権限がない）ため、今回のデータを保存できませんでした。</source>
        <translation>This session's results could not be saved: %1 can't be written to (it is read-only, or you lack permission).</translation>
    </message>
    <message>
        <source>%1 にファイルではないもの（フォルダなど）があるため、今回のデータを保存できませんでした。</source>
        <translation>This session's results could not be saved: something that is not a file (a folder, perhaps) is in the way at %1.</translation>
    </message>
    <message>
        <source>データファイル（%1）を置き換えられず、保存が途中で止まりました。<byte value="xd" />
今回のデータは、次回の起動時に保存を終えます。</source>
        <translation>The data file (%1) could not be replaced, so saving stopped halfway.<byte value="xd" />
The save will be finished the next time Zelmor starts.</translation>
    </message>
    <message>
        <source>%1 への書き込み中にエラーが発生したため、今回のデータを保存できませんでした。</source>
        <translation>This session's results could not be saved: an error occurred while writing to %1.</translation>
    </message>
    <message>
        <source>ＢＥＴは１０倍迄です。</source>
        <translation>The highest bet is 10.</translation>
    </message>
    <message>
        <source>音源デバイスエラーです。&lt;音はいらない&gt; に自動設定します。</source>
        <translation>The sound device isn't working. Switching to &lt;No Sound&gt;.</translation>
    </message>
    <message>
        <source>パンクしました。</source>
        <translation>You've gone bust.</translation>
    </message>
    <message>
        <source>達成おめでとうございます。<byte value="xd" />
今後確率を自由に変更できます。<byte value="xd" />
１００＄から再スタートとなります。</source>
        <translation>Congratulations, you've reached the goal!<byte value="xd" />
From now on you can change the probability as you like.<byte value="xd" />
You start again from $100.</translation>
    </message>
    <message>
        <source>どうして？お金もってるじゃない！</source>
        <translation>What for? You've got money!</translation>
    </message>
    <message>
        <source>ちょっと！そんな大金ないよ。</source>
        <translation>Hey! I don't have that kind of money.</translation>
    </message>
    <message>
        <source>確率を%1分の6に変更しました。</source>
        <translation>The probability is now 6 in %1.</translation>
    </message>
    <message>
        <source>この度はダウンロードして頂きありがとうございます。<byte value="xd" />
ちょっとした息抜きにぴったりですので、末永く御利用<byte value="xd" />
下さいます様お願い致します。</source>
        <translation>Thank you for downloading Zelmor.<byte value="xd" />
It's just the thing for a short break, and we hope<byte value="xd" />
you'll enjoy it for a long time to come.</translation>
    </message>
    <message>
        <source>確率の分子は６の為、分母は６以上の値を設定して下さい。<byte value="xd" />
６でほとんど大当たりします。初期値は３００です。</source>
        <translation>The probability is 6 in something, so the denominator must be 6 or more.<byte value="xd" />
At 6 nearly every spin is a jackpot. It starts at 300.</translation>
    </message>
    <message>
        <source>チェックをパスする事に成功しました。<byte value="xd" />
ご褒美としてあなた様には確率を変動させることを許可します。<byte value="xd" />
Zelmor.ini ３０行に分母の確立が設定できます。<byte value="xd" />
初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。<byte value="xd" />
また、ご意見、ご感想をメールでいただけたらと思います。<byte value="xd" />
右記メールアドレスでお待ちしています。 zelmor@example.com</source>
        <translation>You passed the check.<byte value="xd" />
As your reward, you may now change the probability.<byte value="xd" />
Line 30 of Zelmor.ini holds its denominator.<byte value="xd" />
It starts at 6 in 300; set it to 6 and expect a jackpot nearly every time.<byte value="xd" />
We'd also love to hear what you think of the game by e-mail.<byte value="xd" />
Write to us at zelmor@example.com</translation>
    </message>
    <message>
        <source>現在の確率設定は、%1分の6に設定されています。</source>
        <translation>The current probability is 6 in %1.</translation>
    </message>
    <message>
        <source>ゼルモアはすでに起動しています。<byte value="xd" />
同じデータ（%1）で遊べるゼルモアは一つだけです。</source>
        <translation>Zelmor is already running.<byte value="xd" />
Only one Zelmor at a time can play with the same data (%1).</translation>
    </message>
    <message>
        <source>ゼルモアを二重に起動しないためのファイル（%1）を作れないため、<byte value="xd" />
ゼルモアを終了します。データは変更していません。</source>
        <translation>Zelmor can't create the file (%1) that keeps it from running twice,<byte value="xd" />
so it will close now. Your data has not been changed.</translation>
    </message>
    <message>
        <source>ゼルモアのフォルダ（%1）には保存できないため、<byte value="xd" />
データを %2 に移しました。今後はこちらに保存します。</source>
        <translation>Zelmor's folder (%1) can't be saved to,<byte value="xd" />
so your data has moved to %2. It will be saved there from now on.</translation>
    </message>
    <message>
        <source>ゼルモアのフォルダ（%1）には保存できず、<byte value="xd" />
データを %2 に移すこともできませんでした。<byte value="xd" />
今回の結果は保存されません。</source>
        <translation>Zelmor's folder (%1) can't be saved to,<byte value="xd" />
and your data could not be moved to %2 either.<byte value="xd" />
This session's results will not be saved.</translation>
    </message>
    <message>
        <source>ゼルモアのフォルダ（%1）に次のファイルがありません。<byte value="xd" />
%2<byte value="xd" />
絵は代わりの絵を表示し、音は鳴らさずに、このまま遊べます。</source>
        <translation>These files are missing from Zelmor's folder (%1):<byte value="xd" />
%2<byte value="xd" />
You can play on: stand-in pictures are shown, and those sounds stay silent.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>確率変動</source>
        <translation>Probability</translation>
    </message>
    <message>
        <source>確率の分母を入力してください。<byte value="xd" />
通常の確率分母は 300 です。<byte value="xd" />
大当り値が 6 個ある為 6 以下の数値は入力できません。</source>
        <translation>Enter the probability's denominator.<byte value="xd" />
It is usually 300.<byte value="xd" />
There are 6 jackpot numbers, so it can't be less than 6.</translation>
    </message>
</context>
<context>
    <name>ui::AboutDialog</name>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Zelmor</translation>
    </message>
    <message>
        <source>遊び方：</source>
        <translation>How to play:</translation>
    </message>
    <message>
        <source>あなたに１００＄が支給されます。その１００＄であなたは４マスの中から［当］札を探します。ここで１回探す事に１０＄支払います。［当］がでたらＢＥＴが１増えます。［当］が出る度にＢＥＴが加算していきます。さらにスロットチャンスが取得されスタートボタンでスロットが回転します。見事３つの絵柄が揃ったらボーナスが支給されます。そして５回のスロットチャンスに入ります。狙えば必ず揃います。</source>
        <translation>You are given $100. With it you search the four squares for the hit card [当], paying $10 for each try. When [当] turns up, your BET goes up by 1, and it keeps rising with every [当]. You also get a slot chance, and the Start button spins the slot. Line up three matching symbols and you win a bonus, then go into 5 slot chances. Aim, and they always line up.</translation>
    </message>
    <message>
        <source>絵・音楽・プログラム：ゼルモア制作チーム</source>
        <translation>Art, music and program: the Zelmor team</translation>
    </message>
</context>
<context>
    <name>ui::AutoPlayDialog</name>
    <message>
        <source>オートプレイ</source>
        <translation>Auto Play</translation>
    </message>
    <message>
        <source>次のときに止まります。キーを押すか、クリックしても止まります。</source>
        <translation>Auto play stops when any of these happens. A key or a click stops it too.</translation>
    </message>
    <message>
        <source>回した回数が次に達したら</source>
        <translation>After this many spins</translation>
    </message>
    <message>
        <source>当たりが出たら</source>
        <translation>After a jackpot</translation>
    </message>
    <message>
        <source>スロットチャンスが終わったら</source>
        <translation>When the slot chance is over</translation>
    </message>
    <message>
        <source>持ち金が次の額より少なくなったら</source>
        <translation>When my money falls below</translation>
    </message>
    <message>
        <source>持ち金が次の額以上になったら</source>
        <translation>When my money reaches</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ui::DataCounterWindow</name>
    <message>
        <source>今回</source>
        <translation>Session</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>累計</source>
        <translation>All time</translation>
    </message>
    <message>
        <source>期待 %1</source>
        <translation>Expected %1</translation>
    </message>
    <message>
        <source>期待値 %1</source>
        <translation>Expected %1</translation>
    </message>
    <message>
        <source>総回転数</source>
        <translation>Spins</translation>
    </message>
    <message>
        <source>大当たり</source>
        <translation>Jackpots</translation>
    </message>
    <message>
        <source>スロットチャンス揃い</source>
        <translation>Slot chance line-ups</translation>
    </message>
    <message>
        <source>現在の回転数</source>
        <translation>Since last jackpot</translation>
    </message>
    <message>
        <source>最大ハマリ</source>
        <translation>Longest dry run</translation>
    </message>
    <message>
        <source>投入</source>
        <translation>Paid in</translation>
    </message>
    <message>
        <source>払出</source>
        <translation>Paid out</translation>
    </message>
    <message>
        <source>収支</source>
        <translation>Balance</translation>
    </message>
    <message>
        <source>回収率</source>
        <translation>Return</translation>
    </message>
    <message>
        <source>月</source>
        <comment>Monday</comment>
        <translation>Mon</translation>
    </message>
    <message>
        <source>火</source>
        <comment>Tuesday</comment>
        <translation>Tue</translation>
    </message>
    <message>
        <source>水</source>
        <comment>Wednesday</comment>
        <translation>Wed</translation>
    </message>
    <message>
        <source>木</source>
        <comment>Thursday</comment>
        <translation>Thu</translation>
    </message>
    <message>
        <source>金</source>
        <comment>Friday</comment>
        <translation>Fri</translation>
    </message>
    <message>
        <source>土</source>
        <comment>Saturday</comment>
        <translation>Sat</translation>
    </message>
    <message>
        <source>日</source>
        <comment>Sunday</comment>
        <translation>Sun</translation>
    </message>
    <message>
        <source>確率 6/%1</source>
        <translation>Probability 6/%1</translation>
    </message>
    <message>
        <source>データカウンター</source>
        <translation>Data Counter</translation>
    </message>
    <message>
        <source>グラフに描く線</source>
        <translation>Lines to draw</translation>
    </message>
    <message>
        <source>CSVに書き出す…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>履歴を消去…</source>
        <translation>Clear History…</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ui::DialogPrompter</name>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ui::HelpWindow</name>
    <message>
        <source>ゼルモアのヘルプ</source>
        <translation>Zelmor Help</translation>
    </message>
</context>
<context>
    <name>ui::HistoryMessages</name>
    <message>
        <source>ゼルモア</source>
        <translation>Zelmor</translation>
    </message>
    <message>
        <source>プレイ履歴（history.sqlite）を使えません。<byte value="xd" />
履歴は記録されませんが、ゲームはこのまま続けられます。<byte value="xd" />
保存ファイルには影響ありません。<byte value="xd" />
<byte value="xd" />
</source>
        <translation>The play history (history.sqlite) cannot be used.<byte value="xd" />
No history will be recorded, but you can go on playing.<byte value="xd" />
Your saved game is not affected.<byte value="xd" />
<byte value="xd" />
</translation>
    </message>
    <message>
        <source>プレイ履歴ファイルが使えないため、書き出せません。</source>
        <translation>The play history file cannot be used, so nothing can be exported.</translation>
    </message>
    <message>
        <source>プレイ履歴を書き出しました。<byte value="xd" />
</source>
        <translation>The play history has been exported to:<byte value="xd" />
</translation>
    </message>
    <message>
        <source>プレイ履歴を書き出せませんでした。<byte value="xd" />
</source>
        <translation>The play history could not be exported.<byte value="xd" />
</translation>
    </message>
    <message>
        <source>プレイ履歴ファイルが使えないため、消去できません。</source>
        <translation>The play history file cannot be used, so it cannot be cleared.</translation>
    </message>
    <message>
        <source>プレイ履歴を消去できませんでした。<byte value="xd" />
</source>
        <translation>The play history could not be cleared.<byte value="xd" />
</translation>
    </message>
    <message>
        <source>プレイ履歴を CSV に書き出す</source>
        <translation>Export Play History as CSV</translation>
    </message>
    <message>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>プレイ履歴をすべて消去します。<byte value="xd" />
データカウンターの数字とスランプグラフも 0 に戻ります。<byte value="xd" />
よろしいですか？</source>
        <translation>This clears the whole play history.<byte value="xd" />
The data counter's figures and the slump graph go back to 0 as well.<byte value="xd" />
Do you want to go on?</translation>
    </message>
</context>
<context>
    <name>ui::MachineAccessibility</name>
    <message>
        <source>左リール上段</source>
        <translation>Left reel, top</translation>
    </message>
    <message>
        <source>左リール中段</source>
        <translation>Left reel, middle</translation>
    </message>
    <message>
        <source>左リール下段</source>
        <translation>Left reel, bottom</translation>
    </message>
    <message>
        <source>中リール上段</source>
        <translation>Centre reel, top</translation>
    </message>
    <message>
        <source>中リール中段</source>
        <translation>Centre reel, middle</translation>
    </message>
    <message>
        <source>中リール下段</source>
        <translation>Centre reel, bottom</translation>
    </message>
    <message>
        <source>右リール上段</source>
        <translation>Right reel, top</translation>
    </message>
    <message>
        <source>右リール中段</source>
        <translation>Right reel, middle</translation>
    </message>
    <message>
        <source>右リール下段</source>
        <translation>Right reel, bottom</translation>
    </message>
    <message>
        <source>左ストップ</source>
        <translation>Left stop</translation>
    </message>
    <message>
        <source>中ストップ</source>
        <translation>Centre stop</translation>
    </message>
    <message>
        <source>右ストップ</source>
        <translation>Right stop</translation>
    </message>
    <message>
        <source>当たり</source>
        <translation>hit</translation>
    </message>
    <message>
        <source>はずれ</source>
        <translation>miss</translation>
    </message>
    <message>
        <source>裏向き</source>
        <translation>face down</translation>
    </message>
    <message>
        <source>スロットチャンス残り</source>
        <translation>Slot chance spins left</translation>
    </message>
    <message>
        <source>カバー%1</source>
        <translation>Cover %1</translation>
    </message>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>枠ランプ</source>
        <translation>Frame lamp</translation>
    </message>
    <message>
        <source>予告ランプ</source>
        <translation>Notice lamp</translation>
    </message>
    <message>
        <source>リール枠</source>
        <translation>Reel frame</translation>
    </message>
    <message>
        <source>カバー枠</source>
        <translation>Cover frame</translation>
    </message>
    <message>
        <source>回転中</source>
        <translation>turning</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>リール %1 %2 %3</source>
        <translation>Reels: %1, %2, %3</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1ドル</source>
        <translation>$%1</translation>
    </message>
</context>
<context>
    <name>ui::MainWindow</name>
    <message>
        <source>高速(&amp;S)</source>
        <translation>&amp;Speed</translation>
    </message>
    <message>
        <source>標準の速さ(&amp;1)</source>
        <translation>&amp;Normal Speed</translation>
    </message>
    <message>
        <source>2倍速(&amp;2)</source>
        <translation>&amp;2× Speed</translation>
    </message>
    <message>
        <source>4倍速(&amp;4)</source>
        <translation>&amp;4× Speed</translation>
    </message>
    <message>
        <source>キー: %1</source>
        <translation>Key: %1</translation>
    </message>
    <message>
        <source>当たるかな？</source>
        <translation>Will it hit?</translation>
    </message>
    <message>
        <source>次はどうかな？</source>
        <translation>How about this one?</translation>
    </message>
    <message>
        <source>いいかも！？</source>
        <translation>This could be it!?</translation>
    </message>
    <message>
        <source>ん～</source>
        <translation>Hmm…</translation>
    </message>
    <message>
        <source>標準の大きさ(&amp;1)</source>
        <translation>&amp;Normal Size</translation>
    </message>
    <message>
        <source>1.5倍(&amp;5)</source>
        <translation>1.&amp;5×</translation>
    </message>
    <message>
        <source>2倍(&amp;2)</source>
        <translation>&amp;2×</translation>
    </message>
    <message>
        <source>3倍(&amp;3)</source>
        <translation>&amp;3×</translation>
    </message>
    <message>
        <source>ゼルモア</source>
        <translation>Zelmor</translation>
    </message>
    <message>
        <source>10$</source>
        <translation>$10</translation>
    </message>
    <message>
        <source>獲得＄</source>
        <translation>Win $</translation>
    </message>
    <message>
        <source>持ち金（＄）</source>
        <translation>Money ($)</translation>
    </message>
    <message>
        <source>狙い出目</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>お願い100$借して(&amp;1)</source>
        <translation>Please Lend Me $100 (&amp;1)</translation>
    </message>
    <message>
        <source>お願い1000$借して(&amp;2)</source>
        <translation>Please Lend Me $1,000 (&amp;2)</translation>
    </message>
    <message>
        <source>音はいらない(&amp;S)</source>
        <translation>No &amp;Sound</translation>
    </message>
    <message>
        <source>音量(&amp;V)…</source>
        <translation>&amp;Volume…</translation>
    </message>
    <message>
        <source>確率変動(&amp;K)</source>
        <translation>Change the &amp;Probability</translation>
    </message>
    <message>
        <source>ゼルモアの終了(&amp;Q)</source>
        <translation>&amp;Quit Zelmor</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>点滅を控える(&amp;F)</source>
        <translation>Calm &amp;Flashing</translation>
    </message>
    <message>
        <source>データカウンター(&amp;D)</source>
        <translation>&amp;Data Counter</translation>
    </message>
    <message>
        <source>言語(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;V)</source>
        <translation>&amp;About Zelmor</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;M)</source>
        <translation>Zelmor &amp;Manual</translation>
    </message>
    <message>
        <source>オート %1</source>
        <translation>AUTO %1</translation>
    </message>
    <message>
        <source>オート</source>
        <translation>AUTO</translation>
    </message>
    <message>
        <source>オートプレイ(&amp;A)…</source>
        <translation>&amp;Auto Play…</translation>
    </message>
    <message>
        <source>全画面表示(&amp;U)</source>
        <translation>F&amp;ull Screen</translation>
    </message>
</context>
<context>
    <name>ui::MessageBox</name>
    <message>
        <source>はい(&amp;Y)</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>いいえ(&amp;N)</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>ui::SlumpGraph</name>
    <message>
        <source>スランプグラフ</source>
        <translation>Slump graph</translation>
    </message>
    <message>
        <source>収支($)／回転</source>
        <translation>Balance ($) / spins</translation>
    </message>
    <message>
        <source>データがありません</source>
        <translation>No data yet</translation>
    </message>
</context>
<context>
    <name>ui::TargetDialog</name>
    <message>
        <source>狙い出目の選択　　　選択すると１００＄支払います。</source>
        <translation>Choose a Target Symbol      Choosing one costs $100.</translation>
    </message>
    <message>
        <source>この絵柄を選択します。</source>
        <translation>Choose this symbol.</translation>
    </message>
    <message>
        <source>選択しない</source>
        <translation>No Target</translation>
    </message>
    <message>
        <source>絵柄を選択しません。１００＄は不要</source>
        <translation>Choose no symbol and pay nothing.</translation>
    </message>
    <message>
        <source>もし、大当たりして狙い目通りだと、得点のさらに１００倍になります.</source>
        <translation>If your jackpot comes up in the chosen symbol, you win 100 times its payout.</translation>
    </message>
</context>
<context>
    <name>ui::VolumeDialog</name>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>音楽</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>効果音</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ui::WitsFailureDialog</name>
    <message>
        <source>ゼルモア　知恵くらべ</source>
        <translation>Zelmor: Battle of Wits</translation>
    </message>
    <message>
        <source>今回はチェックをパスする事は出来ませんでした１０回以内で解除する事に目標を置いてがんばって下さい。失敗回数に対応して、ヒントを提供します。失敗回数は　Zelmor.ini　の6行目に登録します。１０回以内でチェックパス方法を見つければ流石、１０回で見つけなければ残念賞とさせて頂きます。それではご検討をお祈りします。</source>
        <translation>You did not pass the check this time. Aim to get past it within 10 tries. Hints come as your failures add up; their count is kept on line 6 of Zelmor.ini. Find the way within 10 tries and you are a true master; fail 10 times and you win the consolation prize. Good luck!</translation>
    </message>
    <message>
        <source>失敗した回数は</source>
        <translation>You have failed</translation>
    </message>
    <message>
        <source>回です。</source>
        <translation>times.</translation>
    </message>
    <message>
        <source>ヒント１　：　２項目のチェックをしています。</source>
        <translation>Hint 1: Two items are checked.</translation>
    </message>
    <message>
        <source>ヒント２　：　２つのデータの一致を確認しています。</source>
        <translation>Hint 2: Two pieces of data must match.</translation>
    </message>
    <message>
        <source>ヒント３　：　タイムスタンプを利用しています。</source>
        <translation>Hint 3: A timestamp is used.</translation>
    </message>
    <message>
        <source>あなたは　残念賞　と認定されました。</source>
        <translation>You have been awarded the consolation prize.</translation>
    </message>
</context>
<context>
    <name>ui::WitsWelcomeDialog</name>
    <message>
        <source>ゼルモア　知恵くらべにようこそ</source>
        <translation>Zelmor: Welcome to the Battle of Wits</translation>
    </message>
    <message>
        <source>あなたはゼルモアのデータ領域に変更を加えました。この行為は、今後ゼルモアが起動しなくなったりシステムが不安定になったりする原因にもなりかねませんのでこのような行為はしないで下さい。</source>
        <translation>You have altered Zelmor's data area. Doing this could stop Zelmor from starting in future or make your system unstable, so please don't do it.</translation>
    </message>
    <message>
        <source>はい、わかりました今後変更はしません。</source>
        <translation>Yes, I understand. I won't change anything again.</translation>
    </message>
    <message>
        <source>解除の仕方を調べるのも楽しいかもしれませんね。</source>
        <translation>Finding out how to get past the check might be fun, though.</translation>
    </message>
    <message>
        <source>絶対解除する方法を見つける。</source>
        <translation>I'll find a way past it, no matter what.</translation>
    </message>
    <message>
        <source>是非調べてみてください。</source>
        <translation>Please do try to find out.</translation>
    </message>
    <message>
        <source>ゼルモア</source>
        <translation>Zelmor</translation>
    </message>
    <message>
        <source>残念ですがデータは初期値に戻しましたので、ご了承下さい。</source>
        <translation>Sorry, but your data has been reset to its starting values.</translation>
    </message>
    <message>
        <source>ゼルモア　ご確認</source>
        <translation>Zelmor: Please Confirm</translation>
    </message>
    <message>
        <source>注意：あなたがデータ変更したことによっての生じたいかなる障害・問題<byte value="xd" />
　　　　に対しても作者は一切の責任を負わないものとします。</source>
        <translation>Note: The author accepts no responsibility whatsoever for any fault<byte value="xd" />
or problem that arises from your changing the data.</translation>
    </message>
</context>
</TS>