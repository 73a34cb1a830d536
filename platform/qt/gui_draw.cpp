// Drawing on canvases and numbered images, antialiased vector drawing on
// images, and fonts.
//
// Every output is a platform::Image (a canvas keeps one behind what it
// shows), so reading a pixel gives back what was drawn. Boxes, pixels, lines
// and image copies write the pixels directly; text goes through QPainter on a
// QImage that shares the pixels.
#include "platform/qt/gui_qt.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "platform/files.h"

namespace platform {

namespace {

using qt::Q;

struct Drawing {
    bool Active = false;
    bool OnCanvas = false;
    int Number = -1;  // canvas control or image
    // Fonts are held only while the GUI layer runs (none outlives it).
    std::optional<QFont> Font;
};

struct VectorDrawing {
    bool Active = false;
    int ImageNumber = -1;
    std::optional<QFont> Font;
    double PixelSize = 0;
    QColor Colour = QColor(0, 0, 0, 255);
    QPainterPath Path;
    QPointF Cursor;
};

Drawing g_draw;
VectorDrawing g_vector;
std::map<int, QFont> g_fonts;
QStringList g_registeredFamilies;  // by the last font file registered

// The output in force, looked up anew each call so that a canvas or image
// that went away in the meantime is never written.
Image* Output()
{
    if (!g_draw.Active)
        return nullptr;
    Image* image = nullptr;
    if (g_draw.OnCanvas) {
        qt::CanvasWidget* canvas = qt::CanvasObject(g_draw.Number);
        image = canvas ? &canvas->OwnPixels() : nullptr;
    } else {
        image = GetImage(g_draw.Number);
    }
    if (!image || image->Empty() || image->Pixels.size() != size_t(image->Width) * size_t(image->Height))
        return nullptr;
    return image;
}

uint32_t Opaque(Rgb colour) { return (colour & 0xFFFFFFu) | 0xFF000000u; }

// Copies `source` onto `target` with its top-left corner at (x, y), clipped.
void Blit(Image& target, const Image& source, int64_t x, int64_t y)
{
    int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    int64_t x1 = std::min<int64_t>(x + source.Width, target.Width);
    int64_t y1 = std::min<int64_t>(y + source.Height, target.Height);
    if (x0 >= x1 || y0 >= y1)
        return;
    for (int64_t ty = y0; ty < y1; ty++) {
        const uint32_t* from = source.Pixels.data() + size_t(ty - y) * size_t(source.Width) + size_t(x0 - x);
        std::copy_n(from, size_t(x1 - x0), target.Pixels.data() + size_t(ty) * size_t(target.Width) + size_t(x0));
    }
}

void PutPixel(Image& image, int64_t x, int64_t y, uint32_t value)
{
    if (x >= 0 && y >= 0 && x < image.Width && y < image.Height)
        image.Pixels[size_t(y) * size_t(image.Width) + size_t(x)] = value;
}

// Cuts the line to the rectangle [lo, hi] on both axes (Liang-Barsky). False
// when nothing of it lies inside.
bool ClipLine(double& x1, double& y1, double& x2, double& y2, double lox, double loy, double hix, double hiy)
{
    double t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - lox, hix - x1, y1 - loy, hiy - y1};
    for (int i = 0; i < 4; i++) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    double ax = x1 + t0 * dx, ay = y1 + t0 * dy, bx = x1 + t1 * dx, by = y1 + t1 * dy;
    x1 = ax, y1 = ay, x2 = bx, y2 = by;
    return true;
}

QFont CurrentFont() { return g_draw.Active && g_draw.Font ? *g_draw.Font : qt::DefaultDrawingFont(); }

}  // namespace

namespace qt {

int PointsToPixels(int points)
{
    // Size 0 asks for the usual size, as the system's font creation does.
    if (points == 0)
        return 16;
    int64_t magnitude = std::min<int64_t>(std::llabs(int64_t(points)), 100000);
    return int(std::max<int64_t>((magnitude * 96 + 36) / 72, 1));
}

QFont DefaultDrawingFont()
{
    QFont font = QApplication::font();
    if (font.pointSize() > 0)
        font.setPixelSize(PointsToPixels(font.pointSize()));
    return font;
}

QFont StyledFont(const QString& face, int flags)
{
    // A face under its own family name is that face, of whatever weight.
    std::optional<QFont> own = OwnFamilyFont(face, flags);
    QFont font = own ? *own : face.isEmpty() ? QApplication::font() : QFont(face);
    if (!own) {
        font.setBold(flags & FontBold);
        font.setItalic(flags & FontItalic);
    }
    font.setUnderline(flags & FontUnderline);
    font.setStrikeOut(flags & FontStrikeOut);
    return font;
}

const QStringList& RegisteredFamilies() { return g_registeredFamilies; }

const QFont* FontObject(int font)
{
    auto it = g_fonts.find(font);
    return it == g_fonts.end() ? nullptr : &it->second;
}

void EndDrawing()
{
    g_draw = Drawing();
    g_vector = VectorDrawing();
    g_fonts.clear();
}

}  // namespace qt

// ---------------------------------------------------------------------------
// Two-dimensional drawing

bool StartDrawingCanvas(int control)
{
    if (!GuiRunning() || !qt::CanvasObject(control))
        return false;
    StopDrawing();
    g_draw.Active = true;
    g_draw.OnCanvas = true;
    g_draw.Number = control;
    g_draw.Font = qt::DefaultDrawingFont();
    if (!Output()) {
        g_draw = Drawing();
        return false;
    }
    return true;
}

bool StartDrawingImage(int image)
{
    Image* target = GetImage(image);
    if (!target || target->Empty())
        return false;
    StopDrawing();
    g_draw.Active = true;
    g_draw.OnCanvas = false;
    g_draw.Number = image;
    if (GuiRunning())
        g_draw.Font = qt::DefaultDrawingFont();
    return true;
}

void StopDrawing()
{
    if (g_draw.Active && g_draw.OnCanvas) {
        if (qt::CanvasWidget* canvas = qt::CanvasObject(g_draw.Number))
            canvas->update();
    }
    g_draw = Drawing();
}

int OutputWidth()
{
    Image* out = Output();
    return out ? out->Width : 0;
}

int OutputHeight()
{
    Image* out = Output();
    return out ? out->Height : 0;
}

void Box(int x, int y, int w, int h, Rgb colour)
{
    Image* out = Output();
    if (!out)
        return;
    int64_t x0 = x, y0 = y, x1 = int64_t(x) + w, y1 = int64_t(y) + h;
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    x0 = std::max<int64_t>(x0, 0), y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, out->Width), y1 = std::min<int64_t>(y1, out->Height);
    if (x0 >= x1 || y0 >= y1)
        return;
    uint32_t value = Opaque(colour);
    for (int64_t row = y0; row < y1; row++) {
        uint32_t* p = out->Pixels.data() + size_t(row) * size_t(out->Width);
        std::fill(p + x0, p + x1, value);
    }
}

void Plot(int x, int y, Rgb colour)
{
    if (Image* out = Output())
        PutPixel(*out, x, y, Opaque(colour));
}

Rgb Point(int x, int y)
{
    Image* out = Output();
    if (!out || x < 0 || y < 0 || x >= out->Width || y >= out->Height)
        return 0;
    return out->Get(x, y);
}

void Line(int x1, int y1, int x2, int y2, Rgb colour)
{
    Image* out = Output();
    if (!out)
        return;
    uint32_t value = Opaque(colour);
    int64_t ax = x1, ay = y1, bx = x2, by = y2;
    int64_t span = std::max(std::llabs(bx - ax), std::llabs(by - ay));
    if (span > 4 * (int64_t(out->Width) + out->Height) + 16) {
        // A line far longer than the output: walk only the part inside.
        double fx1 = double(ax), fy1 = double(ay), fx2 = double(bx), fy2 = double(by);
        if (!ClipLine(fx1, fy1, fx2, fy2, -1, -1, out->Width, out->Height))
            return;
        ax = std::llround(fx1), ay = std::llround(fy1), bx = std::llround(fx2), by = std::llround(fy2);
    }
    // Bresenham, both ends included.
    int64_t dx = std::llabs(bx - ax), dy = -std::llabs(by - ay);
    int64_t sx = ax < bx ? 1 : -1, sy = ay < by ? 1 : -1;
    int64_t error = dx + dy;
    for (;;) {
        PutPixel(*out, ax, ay, value);
        if (ax == bx && ay == by)
            break;
        int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            ax += sx;
        }
        if (twice <= dx) {
            error += dx;
            ay += sy;
        }
    }
}

void DrawingFont(int font)
{
    if (!GuiRunning())
        return;
    const QFont* chosen = qt::FontObject(font);
    g_draw.Font = chosen ? *chosen : qt::DefaultDrawingFont();
}

void DrawText(int x, int y, const std::string& text, Rgb colour)
{
    Image* out = Output();
    if (!out || !GuiRunning() || text.empty())
        return;
    // A text placed right of or below the output, or a million pixels away
    // from it, shows nothing.
    constexpr int Far = 1000000;
    if (x >= out->Width || y >= out->Height || x < -Far || y < -Far)
        return;
    QImage view = qt::WrapImage(*out);
    if (view.isNull())
        return;
    QPainter painter(&view);
    painter.setFont(CurrentFont());
    painter.setPen(QColor(Red(colour), Green(colour), Blue(colour)));
    // Transparent background: only the letters are painted.
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), Q(text));
}

int TextWidth(const std::string& text)
{
    if (!GuiRunning())
        return 0;
    return QFontMetrics(CurrentFont()).horizontalAdvance(Q(text));
}

int TextHeight(const std::string&)
{
    if (!GuiRunning())
        return 0;
    return QFontMetrics(CurrentFont()).height();
}

void DrawImage(int image, int x, int y)
{
    Image* out = Output();
    Image* source = GetImage(image);
    if (!out || !source || source->Empty())
        return;
    if (source == out) {
        Image copy = *source;
        Blit(*out, copy, x, y);
    } else {
        Blit(*out, *source, x, y);
    }
}

void DrawImageScaled(int image, int x, int y, int w, int h)
{
    Image* out = Output();
    Image* source = GetImage(image);
    if (!out || !source || source->Empty() || w <= 0 || h <= 0)
        return;
    if (w == source->Width && h == source->Height) {
        DrawImage(image, x, y);
        return;
    }
    if (!ImageSizeAllowed(w, h))
        return;
    Image scaled = ScaleAreaAverage(*source, w, h);
    if (!scaled.Empty())
        Blit(*out, scaled, x, y);
}

bool GrabImage(int image, int x, int y, int w, int h)
{
    Image* out = Output();
    if (!out || !ImageSizeAllowed(w, h))
        return false;
    Image grabbed(w, h, 0);
    if (grabbed.Empty())
        return false;
    Blit(grabbed, *out, -int64_t(x), -int64_t(y));
    Image& target = CreateImage(image, w, h);
    if (target.Empty())
        return false;
    target = std::move(grabbed);
    return true;
}

void SetCanvasImage(int control, int image)
{
    qt::CanvasWidget* canvas = qt::CanvasObject(control);
    Image* source = GetImage(image);
    if (!canvas || !source || source->Empty() || canvas->OwnPixels().Empty())
        return;
    Blit(canvas->Backing, *source, 0, 0);
    canvas->update();
}

Image* DrawingOutput() { return Output(); }

void ShowImageOnCanvas(int control, int image)
{
    qt::CanvasWidget* canvas = qt::CanvasObject(control);
    if (!canvas || !IsImage(image))
        return;
    // What the canvas showed before stays where the image does not cover it
    // (nothing to keep when it already shows this image).
    if (canvas->ShownImage != image)
        canvas->OwnPixels();
    canvas->ShownImage = image;
    canvas->update();
}

// ---------------------------------------------------------------------------
// Antialiased drawing on an image

namespace {

Image* VectorOutput()
{
    if (!g_vector.Active)
        return nullptr;
    Image* image = GetImage(g_vector.ImageNumber);
    if (!image || image->Empty() || image->Pixels.size() != size_t(image->Width) * size_t(image->Height))
        return nullptr;
    return image;
}

}  // namespace

bool StartVectorDrawing(int image)
{
    Image* target = GetImage(image);
    if (!GuiRunning() || !target || target->Empty())
        return false;
    g_vector = VectorDrawing();
    g_vector.Active = true;
    g_vector.ImageNumber = image;
    g_vector.Font = qt::DefaultDrawingFont();
    g_vector.PixelSize = g_vector.Font->pixelSize();
    return true;
}

void VectorFont(int font, double pixelSize)
{
    if (!g_vector.Active)
        return;
    const QFont* chosen = qt::FontObject(font);
    g_vector.Font = chosen ? *chosen : qt::DefaultDrawingFont();
    g_vector.PixelSize = std::isfinite(pixelSize) ? std::min(pixelSize, 100000.0) : 0;
}

void VectorColour(uint32_t rgba)
{
    g_vector.Colour = QColor(int(rgba & 255), int(rgba >> 8 & 255), int(rgba >> 16 & 255), int(rgba >> 24 & 255));
}

void AddPathBox(double x, double y, double w, double h)
{
    if (g_vector.Active)
        g_vector.Path.addRect(QRectF(x, y, w, h));
}

void FillPath()
{
    Image* out = VectorOutput();
    if (!out) {
        g_vector.Path.clear();
        return;
    }
    QImage view = qt::WrapImage(*out);
    if (!view.isNull()) {
        QPainter painter(&view);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(g_vector.Path, g_vector.Colour);
    }
    g_vector.Path.clear();
}

void MovePathCursor(double x, double y)
{
    if (g_vector.Active)
        g_vector.Cursor = QPointF(x, y);
}

void DrawVectorText(const std::string& text)
{
    Image* out = VectorOutput();
    if (!out || text.empty() || !(g_vector.PixelSize > 0))
        return;
    // At 72 dots per inch a point is a pixel, so fractional pixel sizes hold.
    QImage view = qt::WrapImage(*out, 72);
    if (view.isNull())
        return;
    QFont font = g_vector.Font ? *g_vector.Font : qt::DefaultDrawingFont();
    font.setPointSizeF(g_vector.PixelSize);
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferAntialias));
    QPainter painter(&view);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(g_vector.Colour);
    QFontMetricsF metrics(font, &view);
    QString line = Q(text);
    painter.drawText(QPointF(g_vector.Cursor.x(), g_vector.Cursor.y() + metrics.ascent()), line);
    g_vector.Cursor.rx() += metrics.horizontalAdvance(line);
}

void StopVectorDrawing()
{
    g_vector = VectorDrawing();
}

// ---------------------------------------------------------------------------
// Fonts

bool LoadFont(int font, const std::string& face, int sizePoints, int flags)
{
    if (!GuiRunning())
        return false;
    QFont loaded = qt::StyledFont(Q(face), flags);
    loaded.setPixelSize(qt::PointsToPixels(sizePoints));
    if (flags & FontHighQuality)
        loaded.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::PreferQuality));
    g_fonts[font] = loaded;
    return true;
}

bool IsFont(int font) { return qt::FontObject(font) != nullptr; }

void FreeFont(int font) { g_fonts.erase(font); }

bool RegisterFontFile(const std::string& path)
{
    if (!GuiRunning())
        return false;
    // Read here, never waiting, and handed over as bytes: the toolkit, given
    // the path, would open it itself and wait on a pipe for a writer.
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes))
        return false;
    const int id = QFontDatabase::addApplicationFontFromData(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
    if (families.isEmpty())
        return false;
    g_registeredFamilies = families;
    return true;
}

}  // namespace platform
