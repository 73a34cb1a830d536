// The font chooser: Qt's font dialog, opened on the style it is started with
// and reporting each style under the face name and bits that draw it.
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QItemSelectionModel>
#include <QListView>
#include <QRawFont>
#include <QStringListModel>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <tuple>

#include "platform/qt/gui_qt.h"
#include "platform/requesters.h"

namespace platform::qt {

namespace {

// A family's name without its foundry: "Nimbus Sans" of "Nimbus Sans [urw]".
QString WithoutFoundry(const QString& family) { return family.left(family.indexOf(QLatin1String(" ["))); }

// A face as it draws: some of its glyphs as pixels, with their advances. Two
// fonts that draw alike are one face, whatever names reached it; a style that
// Qt makes up by slanting or thickening another face differs from it.
struct Drawn {
    QList<QImage> Glyphs;
    QList<QPointF> Advances;
    bool operator==(const Drawn&) const = default;
};

std::optional<Drawn> DrawnBy(QFont font)
{
    font.setPixelSize(32);
    QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return std::nullopt;
    // Letters most fonts have, and the first glyphs of those that have none.
    QList<quint32> glyphs = raw.glyphIndexesForString(QStringLiteral("HOamgx"));
    for (quint32 glyph = 0; glyph < 16; glyph++)
        glyphs << glyph;
    Drawn drawn;
    drawn.Advances = raw.advancesForGlyphIndexes(glyphs);
    for (quint32 glyph : glyphs)
        drawn.Glyphs << raw.alphaMapForGlyph(glyph, QRawFont::PixelAntialiasing);
    return drawn;
}

// What the program keeps of a font: the face name and the bold and italic
// bits, from which LoadFont makes it again.
struct Kept {
    QString Face;
    int Style;
};

// The name and bits that draw `style` of `family` as the chooser shows it:
// the family's own name, or else that of another family listing the same
// face. fontconfig lists a face under each family name it has: one of a
// wider family also under a family of its own, named by the wider family's
// name and the words of the style that bold and italic do not give, where
// bold and italic reach it ("DejaVu Serif" "Condensed Italic" is "DejaVu
// Serif Condensed" "Italic"). Nothing when no name draws it: "DejaVu Sans"
// "ExtraLight" is listed under that family and under an alias only.
std::optional<Kept> KeptOf(const QString& family, const QString& style)
{
    QFont face = QFontDatabase::font(family, style, 12);
    int italic = face.italic() ? StyleItalic : 0;
    int bold = face.bold() ? StyleBold : 0;
    std::optional<Drawn> wanted = DrawnBy(face);
    if (!wanted)
        return Kept{family, bold | italic};  // nothing to compare with: taken as named
    QStringList names{family};
    const QString stem = WithoutFoundry(family) + QLatin1Char(' ');
    const QStringList words = style.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    auto inStyle = [&](const QString& word) { return words.contains(word, Qt::CaseInsensitive); };
    for (const QString& name : QFontDatabase::families()) {
        QStringList more = WithoutFoundry(name).mid(stem.size()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (name != family && name.startsWith(stem) && std::all_of(more.begin(), more.end(), inStyle))
            names << name;
    }
    for (const QString& name : names)
        for (int weight : {bold, bold ^ StyleBold})
            if (DrawnBy(qt::StyledFont(name, weight | italic)) == wanted)
                return Kept{name, weight | italic};
    return std::nullopt;
}

// Qt's font dialog opens on the style named like the start style (none is
// named "Regular" in "DejaVu Sans") and otherwise on the family's first style
// ("Oblique"), and carries the style over to another family the same way.
// This keeps bold and italic instead: at opening and on another family it
// selects the style nearest to them, as they were started with or as the user
// last picked them. It lists only the styles that the program draws as shown
// (see KeptOf), and it opens on a family that begins with a start name that
// is no family's whole name.
class StyleKeeper : public QObject {
public:
    StyleKeeper(QFontDialog& dialog, const QFont& start) : bold_(start.bold()), italic_(start.italic())
    {
        // The dialog's family, style and size lists, in that order; the
        // style list shows the styles of the family selected.
        QList<QListView*> lists = dialog.findChildren<QListView*>(Qt::FindDirectChildrenOnly);
        if (lists.size() != 3 || Rows(lists[1]) != QFontDatabase::styles(Current(lists[0])) ||
            !qobject_cast<QStringListModel*>(lists[1]->model()))
            return;  // not laid out as expected: left as Qt has it
        families_ = lists[0];
        styles_ = lists[1];
        // Qt looked for a style named like the start font's ("Bold Italic")
        // and, without one, took the first listed: no name the user saw.
        style_ = QFontDatabase::styleString(start);
        // The lists' own handlers, through which Qt fills in and picks the
        // styles, were connected first: these run after them.
        connect(families_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { FamilyChanged(); });
        connect(styles_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { StyleChanged(); });
        SelectStartFamily(start.family());
        FamilyChanged();  // the styles of the family opened on
    }

    // What the program keeps of the style selected; nothing when there is
    // none or the dialog was left as Qt has it.
    std::optional<Kept> Selected()
    {
        if (!styles_ || !styles_->currentIndex().isValid())
            return std::nullopt;
        return Keep(family_, Current(styles_));
    }

private:
    static QString Current(QListView* list) { return list->currentIndex().data().toString(); }
    static QStringList Rows(QListView* list)
    {
        QStringList rows;
        for (int row = 0; row < list->model()->rowCount(); row++)
            rows << list->model()->index(row, 0).data().toString();
        return rows;
    }
    // QFontDatabase::italic() tells only italic from upright, not oblique;
    // the font knows both. Its size does not matter here.
    static QFont Face(const QString& family, const QString& style) { return QFontDatabase::font(family, style, 12); }

    // KeptOf, asked once for each style.
    std::optional<Kept> Keep(const QString& family, const QString& style)
    {
        auto key = std::pair(family, style);
        auto found = kept_.find(key);
        if (found == kept_.end())
            found = kept_.emplace(key, KeptOf(family, style)).first;
        return found->second;
    }

    // The first family whose name begins with the start name, ignoring case;
    // of those, the first that the font file registered last added.
    void SelectStartFamily(const QString& start)
    {
        QStringList families = Rows(families_);
        if (start.isEmpty() || families.contains(start))
            return;
        auto added = [&](int row) { return qt::RegisteredFamilies().contains(WithoutFoundry(families[row])); };
        int pick = -1;
        for (int row = 0; row < int(families.size()); row++)
            if (families[row].startsWith(start, Qt::CaseInsensitive) && (pick < 0 || (added(row) && !added(pick))))
                pick = row;
        if (pick >= 0)
            families_->setCurrentIndex(families_->model()->index(pick, 0));
    }

    void StyleChanged()
    {
        // Qt picks a style for a new family before FamilyChanged runs, while
        // family_ is still the old one. Neither that pick nor ours is the
        // user's.
        if (choosing_ || Current(families_) != family_ || !styles_->currentIndex().isValid())
            return;
        style_ = Current(styles_);
        QFont face = Face(family_, style_);
        bold_ = face.bold();
        italic_ = face.italic();
    }

    // Qt has just filled in the style list, for another family or anew.
    void FamilyChanged()
    {
        QString family = Current(families_);
        bool another = family != family_;
        family_ = family;
        QStringList listed = Rows(styles_), styles;
        for (const QString& style : listed)
            if (Keep(family, style))
                styles << style;
        QString current = Current(styles_);
        choosing_ = true;
        if (styles != listed)
            static_cast<QStringListModel*>(styles_->model())->setStringList(styles);
        // On another family, slanted or not as wanted first, then the weight
        // nearest; of equals, the style of the name last shown, then the
        // shortest name ("Book" rather than "Condensed"), then the first in
        // the list. On the same family, the style Qt kept.
        auto distance = [&](int row) {
            QFont face = Face(family, styles[row]);
            return std::tuple(face.italic() != italic_, std::abs(face.weight() - (bold_ ? QFont::Bold : QFont::Normal)),
                              styles[row] != style_, styles[row].size());
        };
        int best = another ? -1 : int(styles.indexOf(current));
        if (best < 0)
            for (int row = 0; row < int(styles.size()); row++)
                if (best < 0 || distance(row) < distance(best))
                    best = row;
        if (best >= 0 && best != styles_->currentIndex().row())
            styles_->setCurrentIndex(styles_->model()->index(best, 0));
        choosing_ = false;
        style_ = Current(styles_);
    }

    QListView* families_ = nullptr;
    QListView* styles_ = nullptr;
    QString family_, style_;
    bool bold_, italic_;
    bool choosing_ = false;
    std::map<std::pair<QString, QString>, std::optional<Kept>> kept_;
};

}  // namespace

FontChoice RunFontChooser(const std::string& face, int size, int style, QWidget* parent)
{
    // Cancelled, the chooser reports what it was started with.
    FontChoice choice;
    choice.Face = face;
    choice.Size = size;
    choice.Style = style;
    if (!GuiRunning())
        return choice;
    QFont initial = qt::StyledFont(Q(face), style);
    if (size > 0)
        initial.setPointSize(size);
    QFontDialog dialog(initial, parent);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    StyleKeeper keeper(dialog, initial);
    if (dialog.exec() != QDialog::Accepted)
        return choice;
    QFont chosen = dialog.selectedFont();
    // The face name and bits that draw the style shown.
    Kept kept = keeper.Selected().value_or(
        Kept{chosen.family(), (chosen.bold() ? StyleBold : 0) | (chosen.italic() ? StyleItalic : 0)});
    choice.Accepted = true;
    choice.Face = U(kept.Face);
    choice.Size = chosen.pointSize() > 0 ? chosen.pointSize() : (chosen.pixelSize() * 72 + 48) / 96;
    choice.Style =
        kept.Style | (chosen.underline() ? StyleUnderline : 0) | (chosen.strikeOut() ? StyleStrikeOut : 0);
    return choice;
}

}  // namespace platform::qt
