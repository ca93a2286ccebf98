#include "fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include <cmath>

namespace platform {

void installFontSubstitutes()
{
    for (const char* family : {"Arial CE", "MS Sans Serif"}) {
        const QString name = QString::fromLatin1(family);
        if (!QFontDatabase::hasFamily(name))
            QFont::insertSubstitutions(
                name, {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    }
}

void applyPixelFonts(QWidget* root)
{
    auto convert = [](QWidget* w) {
        QFont font = w->font();
        const qreal points = font.pointSizeF();
        if (points <= 0)
            return; // already in pixels
        font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
        w->setFont(font);
    };
    convert(root);
    for (QWidget* child : root->findChildren<QWidget*>())
        convert(child);
}

} // namespace platform
