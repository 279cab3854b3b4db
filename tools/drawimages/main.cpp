// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every icon of both programs, at its size and at twice it, into two folders (saver,
// trainer), or, with --app-icons,
// the two program icons at every size of the desktop's icon theme and once more as SVG.
// All shapes are laid out in a 100 x 100 box that is scaled to the image size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QSvgGenerator>
#include <QTextStream>
#include <QTransform>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace {

const QColor Ink(0x33, 0x3d, 0x47);
const QColor Blue(0x2f, 0x7d, 0xc8);
const QColor LightBlue(0xd6, 0xe6, 0xf5);
const QColor Green(0x2e, 0xa0, 0x5a);
const QColor Amber(0xf4, 0xb0, 0x2a);
const QColor FolderBack(0xd9, 0x93, 0x24);
const QColor FolderFront(0xf7, 0xc1, 0x4c);
const QColor FolderMark(0x8a, 0x56, 0x0c);
const QColor Paper(0xfb, 0xfb, 0xfb);
const QColor PaperEdge(0x8a, 0x93, 0x9e);
const QColor PaperLine(0xc9, 0xd0, 0xd8);
const QColor White(Qt::white);

using Points = std::initializer_list<QPointF>;

QPainterPath polyline(Points points, bool closed = false)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QVector<QPointF>(points)));
    if (closed)
        path.closeSubpath();
    return path;
}

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath dot(QPointF at)
{
    QPainterPath path;
    path.moveTo(at);
    path.lineTo(at + QPointF(0, 0.01));
    return path;
}

void stroke(QPainter &p, const QPainterPath &path, const QColor &color, qreal width)
{
    p.strokePath(path, QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Filled and outlined in one colour, which rounds the corners of the shape.
void blob(QPainter &p, const QPainterPath &path, const QColor &color, qreal rounding = 4)
{
    p.fillPath(path, color);
    stroke(p, path, color, rounding);
}

void outlined(QPainter &p, const QPainterPath &path, const QColor &fill, const QColor &edge, qreal width)
{
    p.fillPath(path, fill);
    stroke(p, path, edge, width);
}

// Glyphs are stroked line drawings in their own 100 x 100 box.
enum class Glyph { V, S, Question, Exclamation, Check, Plus, RightArrow, Enter };

QPainterPath glyphPath(Glyph glyph)
{
    QPainterPath path;
    switch (glyph) {
    case Glyph::V:
        return polyline({{20, 14}, {50, 86}, {80, 14}});
    case Glyph::S: {
        const QRectF upper(22, 12, 56, 38), lower(22, 50, 56, 38);
        path.arcMoveTo(upper, 35);
        path.arcTo(upper, 35, 235);
        path.arcTo(lower, 90, -235);
        return path;
    }
    case Glyph::Question: {
        const QRectF bow(28, 6, 44, 44);
        path.arcMoveTo(bow, 155);
        path.arcTo(bow, 155, -215);
        path.quadTo(50, 44, 50, 62);
        path.addPath(dot({50, 88}));
        return path;
    }
    case Glyph::Exclamation:
        path = polyline({{50, 10}, {50, 62}});
        path.addPath(dot({50, 88}));
        return path;
    case Glyph::Check:
        return polyline({{14, 54}, {38, 78}, {86, 24}});
    case Glyph::Plus:
        path = polyline({{50, 16}, {50, 84}});
        path.addPath(polyline({{16, 50}, {84, 50}}));
        return path;
    case Glyph::RightArrow:
        path = polyline({{14, 50}, {82, 50}});
        path.addPath(polyline({{54, 22}, {84, 50}, {54, 78}}));
        return path;
    case Glyph::Enter:
        path = polyline({{80, 12}, {80, 62}, {20, 62}});
        path.addPath(polyline({{40, 42}, {20, 62}, {40, 82}}));
        return path;
    }
    return path;
}

void drawGlyph(QPainter &p, Glyph glyph, const QRectF &box, const QColor &color, qreal width)
{
    QTransform toBox;
    toBox.translate(box.x(), box.y());
    toBox.scale(box.width() / 100, box.height() / 100);
    stroke(p, toBox.map(glyphPath(glyph)), color, width);
}

void roundButton(QPainter &p, const QColor &color)
{
    p.fillPath(circle({50, 50}, 47), color);
}

void glyphButton(QPainter &p, const QColor &color, Glyph glyph)
{
    roundButton(p, color);
    drawGlyph(p, glyph, {24, 24, 52, 52}, White, 12);
}

QPainterPath playTriangle(const QRectF &box)
{
    return polyline({box.topLeft(), {box.right(), box.center().y()}, box.bottomLeft()}, true);
}

enum class Media { Play, Pause, Stop };

void mediaButton(QPainter &p, Media media)
{
    roundButton(p, Blue);
    QPainterPath shape;
    switch (media) {
    case Media::Play:
        shape = playTriangle({38, 27, 36, 46});
        break;
    case Media::Pause:
        shape = roundedRect({30, 28, 14, 44}, 3);
        shape.addPath(roundedRect({56, 28, 14, 44}, 3));
        break;
    case Media::Stop:
        shape = roundedRect({30, 30, 40, 40}, 4);
        break;
    }
    blob(p, shape, White, 6);
}

void folderBack(QPainter &p)
{
    QPainterPath back = roundedRect({6, 20, 88, 66}, 6);
    back.addPath(roundedRect({6, 12, 36, 18}, 5));
    p.fillPath(back.simplified(), FolderBack);
}

void folder(QPainter &p, const Glyph *mark = nullptr)
{
    folderBack(p);
    p.fillPath(roundedRect({6, 30, 88, 58}, 6), FolderFront);
    if (mark)
        drawGlyph(p, *mark, {34, 40, 32, 38}, FolderMark, 9);
}

void document(QPainter &p, const QRectF &page, bool withLines = true)
{
    const qreal fold = page.width() * 0.3;
    const QPainterPath sheet = polyline({page.topLeft(), {page.right() - fold, page.top()},
                                         {page.right(), page.top() + fold}, page.bottomRight(),
                                         page.bottomLeft()}, true);
    outlined(p, sheet, Paper, PaperEdge, 4);
    const QPointF corner(page.right() - fold, page.top() + fold);
    outlined(p, polyline({{corner.x(), page.top()}, corner, {page.right(), corner.y()}}, true),
             PaperLine, PaperEdge, 4);
    if (!withLines)
        return;
    const qreal left = page.left() + page.width() * 0.18, right = page.right() - page.width() * 0.18;
    for (qreal y = page.top() + fold + 12; y < page.bottom() - 8; y += 12)
        stroke(p, polyline({{left, y}, {right, y}}), PaperLine, 5);
}

struct TextLine {
    qreal left, y, right;
};

// Short strokes standing for written text.
void textLines(QPainter &p, std::initializer_list<TextLine> lines, const QColor &color)
{
    for (const TextLine &line : lines)
        stroke(p, polyline({{line.left, line.y}, {line.right, line.y}}), color, 5);
}

void badge(QPainter &p, QPointF centre, const QColor &color, Glyph glyph)
{
    p.fillPath(circle(centre, 26), Paper);
    p.fillPath(circle(centre, 22), color);
    drawGlyph(p, glyph, {centre.x() - 13, centre.y() - 13, 26, 26}, White, 8);
}

void openFolder(QPainter &p)
{
    folderBack(p);
    document(p, {22, 18, 56, 44}, false);
    blob(p, polyline({{24, 40}, {96, 40}, {82, 88}, {6, 88}}, true), FolderFront, 6);
}

void saveDisk(QPainter &p)
{
    blob(p, polyline({{10, 10}, {76, 10}, {90, 24}, {90, 90}, {10, 90}}, true), Blue, 8);
    p.fillPath(roundedRect({28, 8, 42, 28}, 3), LightBlue);
    p.fillPath(roundedRect({54, 14, 10, 16}, 2), Blue);
    p.fillPath(roundedRect({22, 50, 56, 40}, 4), Paper);
    textLines(p, {{32, 62, 68}, {32, 74, 68}}, PaperLine);
}

void screenWithPlay(QPainter &p)
{
    p.fillPath(roundedRect({4, 10, 92, 66}, 8), Ink);
    p.fillPath(roundedRect({10, 16, 80, 54}, 3), Blue);
    blob(p, playTriangle({41, 30, 24, 26}), White, 5);
    p.fillPath(roundedRect({42, 74, 16, 10}, 1), Ink);
    p.fillPath(roundedRect({26, 82, 48, 8}, 4), Ink);
}

void warning(QPainter &p)
{
    blob(p, polyline({{50, 6}, {94, 90}, {6, 90}}, true), Amber, 12);
    drawGlyph(p, Glyph::Exclamation, {35, 26, 30, 62}, Ink, 12);
}

// Local x runs from the end of the eraser (0) to the lead point (64).
void pencil(QPainter &p, QPointF eraserEnd, qreal angle)
{
    p.save();
    p.translate(eraserEnd);
    p.rotate(angle);
    blob(p, roundedRect({0, -7, 12, 14}, 3), QColor(0xe5, 0x73, 0x73), 1);
    p.fillRect(QRectF(10, -7, 5, 14), QColor(0xb0, 0xb8, 0xc2));
    p.fillRect(QRectF(15, -7, 36, 14), Amber);
    p.fillRect(QRectF(15, -1, 36, 2), QColor(0xe0, 0x96, 0x1a));
    blob(p, polyline({{51, -7}, {64, 0}, {51, 7}}, true), QColor(0xf3, 0xd9, 0xa8), 1);
    blob(p, polyline({{59, -2.7}, {64, 0}, {59, 2.7}}, true), Ink, 1);
    p.restore();
}

// Diagonal black and white bands cut to the given strip of the clapperboard. Cut as shapes
// rather than clipped, since the SVG writer drops clipping.
void stripes(QPainter &p, const QRectF &strip)
{
    const QPainterPath outline = roundedRect(strip, 3);
    p.fillPath(outline, White);
    const qreal h = strip.height();
    QPainterPath bands;
    for (qreal x = strip.left() - h; x < strip.right(); x += 2 * h * 0.9)
        bands.addPath(polyline({{x, strip.bottom()}, {x + h * 0.9, strip.bottom()},
                                {x + h * 1.8, strip.top()}, {x + h * 0.9, strip.top()}}, true));
    p.fillPath(bands.intersected(outline), Ink);
}

void clapperWithPencil(QPainter &p)
{
    p.fillPath(roundedRect({6, 40, 70, 52}, 5), Ink);
    stripes(p, {9, 43, 64, 11});
    p.save();
    p.translate(6, 40);
    p.rotate(-16);
    p.fillPath(roundedRect({0, -13, 70, 13}, 3), Ink);
    stripes(p, {3, -10.5, 64, 8});
    p.restore();
    textLines(p, {{16, 66, 54}, {16, 78, 44}}, QColor(0x8d, 0x99, 0xa6));
    pencil(p, {96, 30}, 122);
}

void flashCards(QPainter &p)
{
    p.save();
    p.translate(50, 50);
    p.rotate(-12);
    outlined(p, roundedRect({-42, -34, 74, 50}, 6), LightBlue, Blue, 4);
    p.restore();
    outlined(p, roundedRect({16, 34, 78, 56}, 6), Paper, Blue, 4);
    textLines(p, {{26, 46, 56}, {26, 56, 46}}, PaperLine);
    drawGlyph(p, Glyph::Check, {46, 44, 42, 40}, Green, 12);
}

void stone(QPainter &p, const QColor &color)
{
    const QPointF centre(50, 50);
    p.fillPath(circle({50, 52}, 44), color.darker(135));
    p.fillPath(circle(centre, 42), color);
    QPolygonF table;
    for (int i = 0; i < 8; ++i) {
        const QPointF corner = QTransform().rotate(22.5 + 45 * i).map(QPointF(24, 0));
        table << centre + corner;
        stroke(p, polyline({centre + corner, centre + corner * 1.7}), color.darker(115), 2.5);
    }
    QPainterPath facet;
    facet.addPolygon(table);
    facet.closeSubpath();
    p.fillPath(facet, color.lighter(118));
    p.save();
    p.translate(34, 30);
    p.rotate(-35);
    p.fillPath(roundedRect({-10, -5, 20, 10}, 5), QColor(255, 255, 255, 190));
    p.restore();
}

using Drawing = std::function<void(QPainter &)>;

struct Image {
    int folder; // index into the output folders given on the command line
    const char *name;
    int width, height;
    Drawing draw;
};

const Glyph LetterV = Glyph::V, LetterS = Glyph::S;

const std::vector<Image> &images()
{
    static const std::vector<Image> all = {
        {0, "create.png", 48, 48, clapperWithPencil},
        {0, "player_play.png", 32, 32, [](QPainter &p) { mediaButton(p, Media::Play); }},
        {0, "player_pause.png", 31, 31, [](QPainter &p) { mediaButton(p, Media::Pause); }},
        {0, "player_stop.png", 31, 31, [](QPainter &p) { mediaButton(p, Media::Stop); }},
        {0, "folder_V.png", 32, 32, [](QPainter &p) { folder(p, &LetterV); }},
        {0, "folder_S.png", 32, 32, [](QPainter &p) { folder(p, &LetterS); }},
        {0, "fileopen.png", 32, 32, openFolder},
        {0, "save.png", 32, 32, saveDisk},
        {0, "filenew.png", 32, 32, [](QPainter &p) {
             document(p, {14, 4, 62, 88});
             badge(p, {72, 72}, Green, Glyph::Plus);
         }},
        {0, "question.png", 32, 32, [](QPainter &p) { glyphButton(p, Blue, Glyph::Question); }},
        {0, "enter.png", 16, 16, [](QPainter &p) { drawGlyph(p, Glyph::Enter, {0, 0, 100, 100}, Blue, 13); }},
        {0, "VideoPlayer_48.png", 48, 48, screenWithPlay},
        {0, "ico_note_attention.png", 30, 27, warning},
        {1, "autotest.png", 48, 48, flashCards},
        {1, "folder.png", 32, 32, [](QPainter &p) { folder(p); }},
        {1, "go-next.png", 32, 32, [](QPainter &p) { glyphButton(p, Blue, Glyph::RightArrow); }},
        {1, "ok.png", 32, 32, [](QPainter &p) { glyphButton(p, Green, Glyph::Check); }},
        {1, "yellowStone.png", 40, 40, [](QPainter &p) { stone(p, QColor(0xf2, 0xc0, 0x1e)); }},
        {1, "greenStone.png", 40, 40, [](QPainter &p) { stone(p, QColor(0x3c, 0xb3, 0x5e)); }},
        {1, "question.png", 32, 32, [](QPainter &p) { glyphButton(p, Blue, Glyph::Question); }},
        {1, "VideoPlayer_48.png", 48, 48, screenWithPlay},
        {1, "player_play.png", 32, 32, [](QPainter &p) { mediaButton(p, Media::Play); }},
    };
    return all;
}

struct AppIcon {
    const char *name; // the program's name, which its desktop entry gives as Icon=
    Drawing draw;
};

const AppIcon appIcons[] = {{"saver", clapperWithPencil}, {"trainer", flashCards}};
const int themeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage render(const Drawing &draw, int width, int height)
{
    QImage canvas(width, height, QImage::Format_ARGB32);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / 100.0, height / 100.0);
    draw(p);
    p.end();
    return canvas;
}

bool save(const QImage &image, const QDir &dir, const QString &name)
{
    if (dir.mkpath(QStringLiteral(".")) && image.save(dir.filePath(name), "PNG"))
        return true;
    QTextStream(stderr) << "cannot write " << dir.filePath(name) << '\n';
    return false;
}

// The same drawing as vectors, in the 100 x 100 box it is laid out in.
bool saveSvg(const Drawing &draw, const QDir &dir, const QString &name)
{
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot write " << dir.filePath(name) << '\n';
        return false;
    }
    QSvgGenerator svg;
    svg.setFileName(dir.filePath(name));
    svg.setSize(QSize(100, 100));
    svg.setViewBox(QRect(0, 0, 100, 100));
    svg.setTitle(name);
    QPainter p;
    if (!p.begin(&svg)) {
        QTextStream(stderr) << "cannot write " << dir.filePath(name) << '\n';
        return false;
    }
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return p.end();
}

// Laid out as the icon theme is (<size>x<size>/apps/<program>.png, scalable/apps/<program>.svg),
// so it installs as it stands.
int drawAppIcons(const QString &folder)
{
    for (const AppIcon &icon : appIcons) {
        const QString name = QString::fromLatin1(icon.name);
        for (int size : themeSizes) {
            const QDir dir(QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size));
            if (!save(render(icon.draw, size, size), dir, name + QStringLiteral(".png")))
                return 1;
        }
        if (!saveSvg(icon.draw, QDir(folder + QStringLiteral("/scalable/apps")), name + QStringLiteral(".svg")))
            return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() == 2 && arguments.at(0) == QStringLiteral("--app-icons"))
        return drawAppIcons(arguments.at(1));
    if (arguments.size() != 2 || arguments.at(0).startsWith(QLatin1Char('-'))) {
        QTextStream(stderr) << "usage: drawimages SAVER_ICON_FOLDER TRAINER_ICON_FOLDER\n"
                               "       drawimages --app-icons THEME_FOLDER\n";
        return 2;
    }
    // Each image also at twice its size, as "<name>@2x.png", which the toolkit
    // picks on a screen at 2x scale instead of enlarging the small one.
    for (const Image &image : images()) {
        const QString name = QString::fromLatin1(image.name);
        const QString twiceName = name.chopped(4) + QStringLiteral("@2x.png");
        const QDir folder(arguments.at(image.folder));
        if (!save(render(image.draw, image.width, image.height), folder, name)
            || !save(render(image.draw, 2 * image.width, 2 * image.height), folder, twiceName))
            return 1;
    }
    return 0;
}
