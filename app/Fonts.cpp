#include "app/Fonts.h"

#include <QStringList>

namespace app {
namespace {

const QStringList& SansFamilies()
{
    static const QStringList families{
        // The TrueType twin of the bitmap "MS Sans Serif" (same metrics)
        // first: a bitmap face does not scale with the display.
        QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"),
        QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
        QStringLiteral("Arial"),           QStringLiteral("Helvetica"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("DejaVu Sans"),
    };
    return families;
}

QFont SansFont(int pixelSize, bool bold)
{
    QFont font;
    font.setFamilies(SansFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

QFont DefaultFont()
{
    return SansFont(11, false);
}

QFont BoldFont(int pixelSize)
{
    return SansFont(pixelSize, true);
}

QFont FixedPitchFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Cousine"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("WenQuanYi Micro Hei Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(13);
    return font;
}

}  // namespace app
