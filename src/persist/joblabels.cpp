#include "persist/joblabels.h"

namespace {

constexpr const char16_t *Labels[JobLabels::Count] = {
    u"連番作成", u"ファイル名置換", u"作成日変更", u"更新日変更", u"ＭＰ３タグ編集", u"フォルダ名変更",
};

} // namespace

namespace JobLabels {

QString at(int position)
{
    if (position < 0 || position >= Count)
        return {};
    return QString::fromUtf16(Labels[position]);
}

int positionOf(const QString &label)
{
    for (int position = 0; position < Count; ++position) {
        if (label == QStringView(Labels[position]))
            return position;
    }
    return -1;
}

} // namespace JobLabels
