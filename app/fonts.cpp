#include "fonts.h"

#include <QApplication>
#include <QStringList>

namespace riderar {

namespace {
QString chineseFace()
{
    return QStringLiteral("WenQuanYi Micro Hei");
}
} // namespace

QFont windowFont()
{
    QFont font = QApplication::font();
    QStringList families = font.families();
    if (families.isEmpty())
        families.append(font.family());
    if (!families.contains(chineseFace()))
        families.append(chineseFace());
    font.setFamilies(families);
    return font;
}

QFont sansSerifFont(qreal pointSize)
{
    QFont font;
    // Liberation Sans keeps the metrics of the faces the layout was drawn for; the others are
    // further fallbacks that Debian installs with it.
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans"), chineseFace()});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

} // namespace riderar
