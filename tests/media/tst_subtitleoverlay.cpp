// SPDX-FileCopyrightText: 2026 Quillmend developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/video/subtitleoverlay.h"

#include <QImage>
#include <QPainter>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr QRgb grey = 0xff808080;

// text painted over a grey picture.
QImage painted(const QString &text)
{
    QImage image(640, 360, QImage::Format_RGB32);
    image.fill(grey);
    QPainter painter(&image);
    SubtitleOverlay(text).paint(painter, QRectF(image.rect()));
    return image;
}

struct Count
{
    int changed = 0; // pixels that are no longer grey
    int coloured = 0; // pixels close to the colour looked for
    double colouredX = 0; // their mean column
};

Count count(const QImage &image, int top, int bottom, QColor colour)
{
    Count result;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            result.changed += pixel.rgb() != grey;
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green())
                    + std::abs(pixel.blue() - colour.blue()) < 60) {
                ++result.coloured;
                result.colouredX += x;
            }
        }
    }
    if (result.coloured)
        result.colouredX /= result.coloured;
    return result;
}

} // namespace

// The subtitle over the picture: where it goes, which tags colour it and which text stays text.
class TestSubtitleOverlay : public QObject
{
    Q_OBJECT

private slots:
    void paintsAsAViewerSees_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("plain, white") << u"Hello there"_s << QColor(Qt::white) << true;
        QTest::newRow("italic, font color") << u"<i>He said <font color=\"#00ff00\">go</font></i>"_s
                                            << QColor(0, 255, 0) << true;
        QTest::newRow("unquoted name, two lines") << u"<FONT COLOR=red>Stop</FONT>\r\nnow"_s << QColor(Qt::red) << true;
        QTest::newRow("hex without #") << u"<font color='0000ff'>Blue</font>"_s << QColor(0, 0, 255) << true;
        QTest::newRow("closed colour ends") << u"<font color=#00ff00></font>white"_s << QColor(0, 255, 0) << false;
        QTest::newRow("a lone <") << u"<"_s << QColor(Qt::white) << true;
        QTest::newRow("other html is text") << u"<span>"_s << QColor(Qt::white) << true;
        QTest::newRow("tags only") << u"<i><b><u></u></b></i>"_s << QColor(Qt::white) << false;
        QTest::newRow("override block dropped") << u"{\\an8}"_s << QColor(Qt::white) << false;
    }

    void paintsAsAViewerSees()
    {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(bool, drawn);
        const QImage image = painted(text);
        QCOMPARE(count(image, 0, image.height() / 2, colour).changed, 0);
        const Count bottom = count(image, image.height() / 2, image.height(), colour);
        QCOMPARE(bottom.coloured > 0, drawn);
        // White letters with a dark outline: dark pixels wherever text is.
        if (bottom.changed > 0)
            QVERIFY(count(image, image.height() / 2, image.height(), Qt::black).coloured > 0);
    }

    // A right-to-left subtitle puts its trailing punctuation on the left.
    void rightToLeftReadsRight()
    {
        const QColor green(0, 255, 0);
        const QString marks = u"!!!!!!!!!!"_s;
        const auto lettersX = [&](const QString &letters) {
            return count(painted(u"<font color=#00ff00>"_s + letters + u"</font>"_s + marks), 180, 360, green).colouredX;
        };
        QVERIFY(lettersX(u"\u05E9\u05DC\u05D5\u05DD"_s) > 320);
        QVERIFY(lettersX(u"Salut"_s) < 320);
    }
};

QTEST_MAIN(TestSubtitleOverlay)
#include "tst_subtitleoverlay.moc"
