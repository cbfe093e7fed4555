// Renders the window icon's SVG into the PNG files of the desktop's icon
// theme, one per size, as the game renders its art (anti-aliased onto a
// transparent square). The same input gives the same bytes, so the files in
// assets/icons/ can be made again and compared.
//
//   QT_QPA_PLATFORM=offscreen plitar_icons ICON-SVG OUT-DIR SIZE...
//     writes OUT-DIR/<N>x<N>/apps/plitar.png for every SIZE N (1 to 1024).
#include <QDir>
#include <QGuiApplication>
#include <QSvgRenderer>
#include <cstdio>

#include "view/bake/FaceArt.h"

using namespace plitar;

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: plitar_icons ICON-SVG OUT-DIR SIZE...\n");
        return 2;
    }
    QSvgRenderer art(args[0]);
    if (!art.isValid()) {
        std::fprintf(stderr, "plitar_icons: cannot read %s\n", qPrintable(args[0]));
        return 1;
    }
    for (const QString& arg : args.mid(2)) {
        bool ok = false;
        const int px = arg.toInt(&ok);
        if (!ok || px < 1 || px > 1024) {
            std::fprintf(stderr, "plitar_icons: not a size: %s\n", qPrintable(arg));
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[1]).arg(px);
        const QImage pixels = straightAlpha(renderArt(art, QSize(px, px)));
        if (!QDir().mkpath(dir) || !pixels.save(dir + QStringLiteral("/plitar.png"), "PNG")) {
            std::fprintf(stderr, "plitar_icons: cannot write into %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
