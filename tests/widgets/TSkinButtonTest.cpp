#include "widgets/TSkinButton.h"
#include "widgets/TSkinError.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A 6 × 4 face: magenta background (the bottom-left key colour), a red block in the middle.
QString WriteFace(const QTemporaryDir& dir, const QString& name = "face.bmp") {
    QImage face(6, 4, QImage::Format_RGB32);
    face.fill(QColor(255, 0, 255));
    for (int y = 1; y < 3; ++y)
        for (int x = 2; x < 4; ++x)
            face.setPixel(x, y, qRgb(255, 0, 0));
    const QString path = dir.filePath(name);
    EXPECT_TRUE(face.save(path, "BMP"));
    return path;
}

QString ErrorOf(TSkinButton& button, const QString& path) {
    try {
        button.LoadFace(path);
    } catch (const TSkinError& error) {
        return error.Message();
    }
    return {};
}

QImage Render(TSkinButton& button) {
    QImage image(button.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    button.render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

TEST(TSkinButton, FaceErrorsNameTheFileAndKeepThePreviousFace) {
    QTemporaryDir dir;
    const QString good = WriteFace(dir);
    QFile text(dir.filePath("text.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("BM but not really a bitmap");
    text.close();
    QImage png(2, 2, QImage::Format_RGB32);
    png.fill(Qt::red);
    png.save(dir.filePath("picture.png"), "PNG");
    QFile gif(dir.filePath("picture.gif"));
    ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
    gif.write(QByteArray::fromHex("4749463839610100010080000000ff00000000002c00000000010001000002024401003b"));
    gif.close();

    TSkinButton button;
    button.LoadFace(good);
    const QString missing = dir.filePath("missing.bmp");
    EXPECT_EQ(ErrorOf(button, missing), "Cannot open file " + missing);
    // An absent skin key leaves only the skin directory as the path.
    EXPECT_EQ(ErrorOf(button, dir.path() + "/"), "Cannot open file " + dir.path() + "/");
    EXPECT_EQ(ErrorOf(button, text.fileName()), "Bitmap image is not valid");
    EXPECT_EQ(ErrorOf(button, dir.filePath("picture.png")), "Bitmap image is not valid");
    EXPECT_EQ(ErrorOf(button, dir.filePath("picture.gif")), "Bitmap image is not valid");
    EXPECT_EQ(button.Face().size(), QSize(6, 4));
}

TEST(TSkinButton, BottomLeftColourIsTransparentAndLooksDeriveFromTheFace) {
    QTemporaryDir dir;
    TSkinButton button;
    button.LoadFace(WriteFace(dir));
    EXPECT_EQ(button.size(), QSize(6, 4));
    EXPECT_EQ(qAlpha(button.Face().pixel(0, 0)), 0);
    EXPECT_EQ(button.Face().pixel(2, 1), qRgb(255, 0, 0));

    const QImage up = Render(button);
    EXPECT_EQ(up.pixel(0, 0), qRgb(255, 255, 255)) << "key colour shows what lies behind";
    EXPECT_EQ(up.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(up.pixel(4, 3), qRgb(255, 255, 255));

    button.setDown(true);
    const QImage down = Render(button);
    EXPECT_EQ(down.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(down.pixel(4, 3), qRgb(255, 0, 0)) << "pressed face moves one pixel down-right";
    button.setDown(false);

    button.setEnabled(false);
    const QRgb disabled = Render(button).pixel(2, 1);
    EXPECT_EQ(qRed(disabled), qGreen(disabled)) << "disabled face is grey";
    EXPECT_NE(disabled, qRgb(255, 255, 255));
}

TEST(TSkinButton, OwnerGeometryWinsOverTheFaceSize) {
    QTemporaryDir dir;
    const QString path = WriteFace(dir);
    TSkinButton sized;
    sized.setGeometry(10, 10, 40, 30);
    sized.LoadFace(path);
    EXPECT_EQ(sized.size(), QSize(40, 30));

    TSkinButton reloaded; // a face loaded twice still follows the face
    reloaded.LoadFace(path);
    QImage wide(9, 5, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    wide.save(dir.filePath("wide.bmp"), "BMP");
    reloaded.LoadFace(dir.filePath("wide.bmp"));
    EXPECT_EQ(reloaded.size(), QSize(9, 5));
}

} // namespace
