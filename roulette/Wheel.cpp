#include "roulette/Wheel.h"

namespace roulette {

QString SideName(Pair pair, int side) {
    static const char16_t* const kNames[kPairs][2] = {
        {u"чёт", u"нечет"}, {u"красное", u"чёрное"}, {u"1–18", u"19–36"}};
    return QString::fromUtf16(kNames[static_cast<int>(pair)][side != 0]);
}

QString SideHeading(Pair pair, int side) {
    QString name = SideName(pair, side);
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name;
}

}  // namespace roulette
