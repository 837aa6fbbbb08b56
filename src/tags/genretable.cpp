#include "tags/genretable.h"

#include <algorithm>
#include <iterator>

const GenreTable &FillGenreTable()
{
    static const GenreTable table = [] {
        GenreTable slots;
        const QString names[] = {
        QStringLiteral("Blues"),
        QStringLiteral("Classic Rock"),
        QStringLiteral("カントリー"),
        QStringLiteral("ダンス"),
        QStringLiteral("ディスコ"),
        QStringLiteral("ファンク"),
        QStringLiteral("グランジ"),
        QStringLiteral("ヒップホップ"),
        QStringLiteral("ジャズ"),
        QStringLiteral("メタル"),
        QStringLiteral("ニューエイジ"),
        QStringLiteral("オールディーズ"),
        QStringLiteral("その他"),
        QStringLiteral("ポップ"),
        QStringLiteral("R & B"),
        QStringLiteral("ラップ"),
        QStringLiteral("レゲエ"),
        QStringLiteral("ロック"),
        QStringLiteral("テクノ"),
        QStringLiteral("Industrial"),
        QStringLiteral("オルタナティブ"),
        QStringLiteral("スカ"),
        QStringLiteral("デスメタル"),
        QStringLiteral("w: Pranks"),
        QStringLiteral("サウンドトラック"),
        QStringLiteral("Euro -Techno"),
        QStringLiteral("環境"),
        QStringLiteral("Trip -hop"),
        QStringLiteral("ボーカル"),
        QStringLiteral("Jazz Funk"),
        QStringLiteral("フュージョン"),
        QStringLiteral("トランス"),
        QStringLiteral("クラシカル"),
        QStringLiteral("Instrumental"),
        QStringLiteral("Acid"),
        QStringLiteral("ハウス"),
        QStringLiteral("ゲームミュージック"),
        QStringLiteral("Sound Clip"),
        QStringLiteral("ゴスペル"),
        QStringLiteral("ノイズ"),
        QStringLiteral("Alt.Rock"),
        QStringLiteral("バス"),
        QStringLiteral("ソウル"),
        QStringLiteral("パンク"),
        QStringLiteral("Space"),
        QStringLiteral("Meditative"),
        QStringLiteral("Instrumental Pop"),
        QStringLiteral("Instrumental Rock"),
        QStringLiteral("フォークソング"),
        QStringLiteral("Gothic"),
        QStringLiteral("Darkwave"),
        QStringLiteral("Techno -Industrial"),
        QStringLiteral("Electronic"),
        QStringLiteral("Pop -Folk"),
        QStringLiteral("Eurodance"),
        QStringLiteral("Dream"),
        QStringLiteral("サザン・ロック"),
        QStringLiteral("喜劇"),
        QStringLiteral("Cult"),
        QStringLiteral("gangsta"),
        QStringLiteral("Top 40"),
        QStringLiteral("Christian rap"),
        QStringLiteral("Pop/Funk"),
        QStringLiteral("Jungle"),
        QStringLiteral("Native American"),
        QStringLiteral("Cabaret"),
        QStringLiteral("ニューウェーブ"),
        QStringLiteral("Psychedelic"),
        QStringLiteral("Rave"),
        QStringLiteral("Showtunes"),
        QStringLiteral("Trailer"),
        QStringLiteral("Lo -Fi"),
        QStringLiteral("Tribal"),
        QStringLiteral("Acid Punk"),
        QStringLiteral("アシッドジャズ"),
        QStringLiteral("ポルカ"),
        QStringLiteral("Retro"),
        QStringLiteral("w: MusicalMusical"),
        QStringLiteral("Rock & Roll"),
        QStringLiteral("ハードロック"),
        QStringLiteral("フォーク"),
        QStringLiteral("フォークロック"),
        QStringLiteral("National Folk"),
        QStringLiteral("スウィング"),
        QStringLiteral("Fast Fusion"),
        QStringLiteral("ビバップ"),
        QStringLiteral("ラテン"),
        QStringLiteral("Revival"),
        QStringLiteral("Celtic"),
        QStringLiteral("ブルーグラス"),
        QStringLiteral("Avantgarde"),
        QStringLiteral("Gothic Rock"),
        QStringLiteral("プログレッシブ・ロック"),
        QStringLiteral("Psychedelic Rock"),
        QStringLiteral("Symphonic Rock"),
        QStringLiteral("Slow Rock"),
        QStringLiteral("Big Band"),
        QStringLiteral("Chorus"),
        QStringLiteral("Easy Listening"),
        QStringLiteral("アコースティック"),
        QStringLiteral("ユーモア"),
        QStringLiteral("Speech"),
        QStringLiteral("シャンソン"),
        QStringLiteral("オペラ"),
        QStringLiteral("Chamber Music"),
        QStringLiteral("ソナタ"),
        QStringLiteral("交響曲"),
        QStringLiteral("Booty Bass"),
        QStringLiteral("Primus"),
        QStringLiteral("Porn Groove"),
        QStringLiteral("Satire"),
        QStringLiteral("Slow Jam"),
        QStringLiteral("Club"),
        QStringLiteral("タンゴ"),
        QStringLiteral("Samba"),
        QStringLiteral("Folklore"),
        QStringLiteral("バラード"),
        QStringLiteral("Power Ballad"),
        QStringLiteral("Rhythmic Soul"),
        QStringLiteral("Freestyle"),
        QStringLiteral("Duet"),
        QStringLiteral("パンク・ロック"),
        QStringLiteral("Drum Solo"),
        QStringLiteral("ア・カペラ"),
        QStringLiteral("Euro -House"),
        QStringLiteral("Dance Hall"),
        QStringLiteral("Goa"),
        QStringLiteral("ドラムンベース"),
        QStringLiteral("Club -House"),
        QStringLiteral("Hardcore"),
        QStringLiteral("Terror"),
        QStringLiteral("Indie"),
        QStringLiteral("ブリットポップ"),
        QStringLiteral("Negerpunk"),
        QStringLiteral("Polsk Punk"),
        QStringLiteral("Beat"),
        QStringLiteral("Christian gangsta rap"),
        QStringLiteral("ヘヴィメタル"),
        QStringLiteral("ブラックメタル"),
        QStringLiteral("クロスオーバー"),
        QStringLiteral("Contemporary Christian"),
        QStringLiteral("Christian Rock"),
        QStringLiteral("Merengue"),
        QStringLiteral("Salsa"),
        QStringLiteral("スラッシュメタル"),
        QStringLiteral("アニメ"),
        QStringLiteral("JPop"),
        QStringLiteral("Synthpop"),
        };
        std::copy(std::begin(names), std::end(names), slots.begin());
        return slots;
    }();
    return table;
}

QString GenreName(int number)
{
    if (number < 0 || number > 255)
        return {};
    const QString &name = FillGenreTable()[number];
    if (name.isEmpty() && number > 0)
        return u'(' + QString::number(number) + u')';
    return name;
}

int GenreNo(const QString &name)
{
    const GenreTable &table = FillGenreTable();
    for (int number = 0; number < int(table.size()); ++number) {
        if (table[number].compare(name, Qt::CaseInsensitive) == 0)
            return number;
    }
    return -1;
}
