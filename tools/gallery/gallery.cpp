// Draws each of the 46 layouts, dealt with a fixed seed, as the player sees it
// at tile size 56 with blocked tiles grey: one PNG per layout and one sheet
// of them all. Under each layout it prints how often a game played as by
// default ends on an empty board and how many shuffles that took, as the table
// of docs/layouts.md gives them.
//   plitar_gallery OUTDIR [seed]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTextStream>
#include <cstdio>
#include <map>

#include "app/frmMain.h"
#include "maps/modMaps.h"
#include "view/TileFrame.h"

namespace {

// From the rows of docs/layouts.md: layout number -> "play-out share, mean shuffles".
std::map<int, QString> playOutFigures()
{
    std::map<int, QString> figures;
    QFile file(QStringLiteral(PLITAR_LAYOUTS_TABLE));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return figures;
    QTextStream in(&file);
    while (!in.atEnd()) {
        // | # | layout | tiles | deals | as dealt | one shuffle | games | play-out | mean shuffles | ...
        const QStringList cells = in.readLine().split(QLatin1Char('|'));
        if (cells.size() < 10)
            continue;
        bool ok = false;
        const int number = cells[1].trimmed().toInt(&ok);
        if (!ok)
            continue;
        const double share = cells[8].trimmed().section(QLatin1Char(' '), 0, 0).toDouble(&ok);
        if (!ok)
            continue;
        const double shuffles = cells[9].trimmed().toDouble(&ok);
        figures[number] = QStringLiteral("выигрыш %1 %, перемеш. %2")
                              .arg(share, 0, 'f', 1)
                              .arg(ok ? QString::number(shuffles, 'f', 1) : QStringLiteral("–"));
    }
    return figures;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: plitar_gallery OUTDIR [seed]\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "plitar_gallery: cannot make %s\n", argv[1]);
        return 1;
    }
    plitar::frmMainOptions options;
    options.seed = argc == 3 ? static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    plitar::frmMain window(options);  // size 56, grey option on: the marks at start

    constexpr int kColumns = 6;
    constexpr double kScale = 0.25;
    const QSize client(911, 571);
    const QSize thumb(qRound(client.width() * kScale), qRound(client.height() * kScale));
    const int label = 32;
    const std::map<int, QString> figures = playOutFigures();
    QImage sheet(kColumns * (thumb.width() + 8) + 8, 8 * (thumb.height() + label + 8) + 8, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter sheetPainter(&sheet);
    QFont font = sheetPainter.font();
    font.setPixelSize(12);
    sheetPainter.setFont(font);

    for (const plitar::LayoutRecord& rec : plitar::layoutCatalog()) {
        window.mnuGame_Click(rec.number);
        plitar::BoardView& board = *window.board();
        // The client area at creation, widened where a large layout reaches past it.
        const QRect bounds = board.spritesBounds();
        const QRect area(0, 0, std::max(client.width(), bounds.right() + 7),
                         std::max(client.height(), bounds.bottom() + 7));
        QImage picture(area.size(), QImage::Format_RGB32);
        QPainter p(&picture);
        board.paintBoard(p, area);
        p.end();
        const QString file = out.filePath(QStringLiteral("layout-%1.png").arg(rec.number, 2, 10, QLatin1Char('0')));
        if (!picture.save(file)) {
            std::fprintf(stderr, "plitar_gallery: cannot write %s\n", qPrintable(file));
            return 1;
        }

        const int i = rec.number - 1;
        const QPoint at(8 + (i % kColumns) * (thumb.width() + 8), 8 + (i / kColumns) * (thumb.height() + label + 8));
        // The whole board, shrunk to fit its cell of the sheet.
        const QImage small = picture.scaled(thumb, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        sheetPainter.fillRect(QRect(at, thumb), QColor(plitar::kBoardColour));
        sheetPainter.drawImage(at, small);
        const auto found = figures.find(rec.number);
        const QString playOut = found != figures.end() ? found->second : QString();
        sheetPainter.drawText(QRect(at + QPoint(0, thumb.height()), QSize(thumb.width(), label)),
                              Qt::AlignLeft | Qt::AlignVCenter,
                              QStringLiteral("%1. %2 (%3)\n%4")
                                  .arg(rec.number)
                                  .arg(QString::fromUtf8(rec.caption.data(), static_cast<qsizetype>(rec.caption.size())))
                                  .arg(rec.tiles)
                                  .arg(playOut));
        std::printf("%2d %-24s %3d tiles, %s\n   %s\n", rec.number, std::string(rec.caption).c_str(), rec.tiles,
                    window.windowTitle().toUtf8().constData(), playOut.toUtf8().constData());
    }
    sheetPainter.end();
    const QString file = out.filePath(QStringLiteral("gallery.png"));
    if (!sheet.save(file)) {
        std::fprintf(stderr, "plitar_gallery: cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
