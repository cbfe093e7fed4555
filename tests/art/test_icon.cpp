// The window icon carries every size of the icon installed for the desktop's
// icon theme, each exactly as its PNG file draws it, so that the window system
// picks a sharp picture for any size it asks for, up to 512 pixels. Compared
// premultiplied, as the icon holds them: multiplying is exact, while Qt's
// division back rounds differently from one processor to another.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <algorithm>

#include "view/FaceSheet.h"
#include "view/TilePictures.h"

TEST(WindowIcon, CarriesEveryInstalledSizeUpTo512)
{
    int argc = 1;
    char name[] = "test_art_icon";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    const QIcon icon = plitar::plitarIcon();
    const QDir hicolor(QStringLiteral(PLITAR_ASSETS_DIR "/icons/hicolor"));
    int largest = 0;
    for (const QString& dir : hicolor.entryList({QStringLiteral("*x*")}, QDir::Dirs)) {
        const int px = dir.section(QLatin1Char('x'), 0, 0).toInt();
        largest = std::max(largest, px);
        const QImage drawn(hicolor.filePath(dir + QStringLiteral("/apps/plitar.png")));
        ASSERT_EQ(drawn.size(), QSize(px, px)) << dir.toStdString();
        ASSERT_TRUE(icon.availableSizes().contains(QSize(px, px))) << dir.toStdString();
        constexpr auto kPremultiplied = QImage::Format_ARGB32_Premultiplied;
        EXPECT_EQ(icon.pixmap(px, px).toImage().convertToFormat(kPremultiplied), drawn.convertToFormat(kPremultiplied))
            << dir.toStdString();
    }
    EXPECT_GE(largest, 512);
    EXPECT_EQ(icon.availableSizes().size(), static_cast<qsizetype>(std::size(plitar::kIconSizes)));
}
