// The window icon carries every PNG file of the icon that the resource list
// builds in, each as drawn, so that the window system picks a sharp picture
// for any size it asks for, up to 512 pixels.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <algorithm>

#include "view/TilePictures.h"

TEST(WindowIcon, CarriesEveryBuiltInSizeUpTo512)
{
    int argc = 1;
    char name[] = "test_art_icon";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    const QIcon icon = plitar::plitarIcon();
    const QDir dir(QStringLiteral(":/plitar/icons"));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    int largest = 0;
    for (const QString& file : files) {
        const int px = QFileInfo(file).baseName().toInt();
        largest = std::max(largest, px);
        ASSERT_TRUE(icon.availableSizes().contains(QSize(px, px))) << file.toStdString();
        const QImage drawn(dir.filePath(file));
        ASSERT_EQ(drawn.size(), QSize(px, px)) << file.toStdString();
        EXPECT_EQ(icon.pixmap(px, px).toImage().convertToFormat(drawn.format()), drawn) << file.toStdString();
    }
    EXPECT_GE(largest, 512);
}
