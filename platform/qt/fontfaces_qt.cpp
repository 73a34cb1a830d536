// Faces under their own family names. A font names the family of its face
// twice over: the family of all its weights and widths ("DejaVu Sans"), and
// the family of up to four faces that bold and italic tell apart ("DejaVu
// Sans Light"). Qt lists a face under the first, and under the second as well
// where its style is named differently there ("DejaVu Sans Condensed" "Bold"
// is "DejaVu Sans" "Condensed Bold"); otherwise it takes the second name
// only as another name for the first family, where bold and italic do not
// reach such a face. These faces are found here by the name their font gives.
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

#include <algorithm>

#include "platform/fontnames.h"
#include "platform/qt/gui_qt.h"

namespace platform::qt {

namespace {

std::string_view View(const QByteArray& bytes) { return {bytes.constData(), size_t(bytes.size())}; }

// A family Qt lists, with or without its foundry.
bool Listed(const QString& name)
{
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(), [&](const QString& family) {
        return family.compare(name, Qt::CaseInsensitive) == 0 ||
               WithoutFoundry(family).compare(name, Qt::CaseInsensitive) == 0;
    });
}

}  // namespace

QString WithoutFoundry(const QString& family) { return family.left(family.indexOf(QLatin1String(" ["))); }

OwnFace NamesOf(const QString& family, const QString& style)
{
    OwnFace face{family, style, {}, 0};
    QRawFont raw = QRawFont::fromFont(QFontDatabase::font(family, style, 12));
    if (raw.isValid()) {
        face.OwnFamily = Q(FaceFamilyName(View(raw.fontTable("name"))));
        face.Bits = FaceStyleBits(View(raw.fontTable("OS/2")), View(raw.fontTable("head")));
    }
    return face;
}

QList<OwnFace> OwnFamily(const QString& name)
{
    QList<OwnFace> faces;
    if (name.isEmpty() || Listed(name))
        return faces;
    // Qt takes such a name for that of the family it lists the faces under.
    const QString host = WithoutFoundry(QFontInfo(QFont(name)).family());
    for (const QString& family : QFontDatabase::families()) {
        if (WithoutFoundry(family) != host)
            continue;
        for (const QString& style : QFontDatabase::styles(family)) {
            OwnFace face = NamesOf(family, style);
            auto sameBits = [&](const OwnFace& other) { return other.Bits == face.Bits; };
            if (face.OwnFamily.compare(name, Qt::CaseInsensitive) == 0 &&
                std::none_of(faces.begin(), faces.end(), sameBits))
                faces << face;
        }
    }
    return faces;
}

std::optional<QFont> OwnFamilyFont(const QString& name, int flags)
{
    const QList<OwnFace> faces = OwnFamily(name);
    if (faces.isEmpty())
        return std::nullopt;
    // The face of the bits asked for, else one slanted or not as asked, else
    // the first; Qt thickens or slants it for a bit it lacks.
    const int wanted = flags & (FontBold | FontItalic);
    auto missing = [&](const OwnFace& face) {
        return std::pair((face.Bits ^ wanted) & FontItalic, (face.Bits ^ wanted) & FontBold);
    };
    const OwnFace& face = *std::min_element(faces.begin(), faces.end(),
                                            [&](const OwnFace& a, const OwnFace& b) { return missing(a) < missing(b); });
    QFont font = QFontDatabase::font(face.Family, face.Style, 12);
    if (wanted & ~face.Bits & FontBold)
        font.setBold(true);
    if (wanted & ~face.Bits & FontItalic)
        font.setItalic(true);
    return font;
}

}  // namespace platform::qt
