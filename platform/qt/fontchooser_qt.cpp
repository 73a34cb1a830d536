// The font chooser: Qt's font dialog, opened on the style it is started with
// and reporting each style under the face name and bits that draw it.
#include <QApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QRawFont>
#include <QSignalBlocker>
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

// The name and bits that draw `style` of `family` as the chooser shows it.
// Tried in turn: the family's own name, without its foundry first ("URW
// Bookman" rather than "URW Bookman [urw]" where both draw the face); the
// name of another family listing the same face; the face's own family name.
// fontconfig lists a face under each family name it has: one of a wider
// family also under a family of its own, named by the wider family's name
// and the words of the style that bold and italic do not give, where bold
// and italic reach it ("DejaVu Serif" "Condensed Italic" is "DejaVu Serif
// Condensed" "Italic"). Where they do not, the face's own family name
// reaches it ("DejaVu Sans" "ExtraLight" is "DejaVu Sans Light", see
// fontfaces_qt.cpp). Nothing when no name draws it.
std::optional<Kept> KeptOf(const QString& family, const QString& style)
{
    QFont face = QFontDatabase::font(family, style, 12);
    int italic = face.italic() ? StyleItalic : 0;
    int bold = face.bold() ? StyleBold : 0;
    std::optional<Drawn> wanted = DrawnBy(face);
    if (!wanted)
        return Kept{family, bold | italic};  // nothing to compare with: taken as named
    QStringList names;
    auto add = [&](const QString& name) {
        for (const QString& each : {qt::WithoutFoundry(name), name})
            if (!each.isEmpty() && !names.contains(each))
                names << each;
    };
    // The names added, with the face's bits and with bold the other way;
    // none draws it, they are dropped.
    auto reach = [&]() -> std::optional<Kept> {
        for (const QString& name : names)
            for (int weight : {bold, bold ^ StyleBold})
                if (DrawnBy(qt::StyledFont(name, weight | italic)) == wanted)
                    return Kept{name, weight | italic};
        names.clear();
        return std::nullopt;
    };
    add(family);
    const QString stem = qt::WithoutFoundry(family) + QLatin1Char(' ');
    const QStringList words = style.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    auto inStyle = [&](const QString& word) { return words.contains(word, Qt::CaseInsensitive); };
    for (const QString& name : QFontDatabase::families()) {
        QStringList more = qt::WithoutFoundry(name).mid(stem.size()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (name != family && name.startsWith(stem) && std::all_of(more.begin(), more.end(), inStyle))
            add(name);
    }
    if (std::optional<Kept> kept = reach())
        return kept;
    add(qt::NamesOf(family, style).OwnFamily);
    return reach();
}

// A face that the name of its family with bold and italic bits surely
// draws as it is: the only one of the family with its slant and a weight of
// 400 or 700, which Qt picks for those bits and neither thickens nor slants.
bool SurelyReached(const QString& family, const QString& style, const QStringList& styles)
{
    auto key = [&](const QString& name) {
        QFont face = QFontDatabase::font(family, name, 12);
        return std::pair(face.weight(), face.style() != QFont::StyleNormal);
    };
    const auto own = key(style);
    return (own.first == QFont::Normal || own.first == QFont::Bold) &&
           std::count_if(styles.begin(), styles.end(), [&](const QString& name) { return key(name) == own; }) == 1;
}

// The families of their own (fontfaces_qt.cpp) of the faces listed under
// `families` that bold and italic may not reach, each with its faces.
std::map<QString, QList<qt::OwnFace>> OwnFamilies(const QStringList& families)
{
    std::map<QString, QList<qt::OwnFace>> own;
    for (const QString& family : families) {
        const QStringList styles = QFontDatabase::styles(family);
        for (const QString& style : styles) {
            if (SurelyReached(family, style, styles))
                continue;
            QString name = qt::NamesOf(family, style).OwnFamily;
            if (!name.isEmpty() && !own.count(name))
                if (QList<qt::OwnFace> faces = qt::OwnFamily(name); !faces.isEmpty())
                    own[name] = faces;
        }
    }
    return own;
}

// Qt's font dialog opens on the style named like the start style (none is
// named "Regular" in "DejaVu Sans") and otherwise on the family's first style
// ("Oblique"), and carries the style over to another family the same way.
// This keeps bold and italic instead: at opening and on another family it
// selects the style nearest to them, as they were started with or as the user
// last picked them. It lists only the styles that the program draws as shown
// (see KeptOf) and the families of their own of faces that bold and italic
// do not reach, and it opens on a family that begins with a start name that
// is no family's whole name.
class StyleKeeper : public QObject {
public:
    StyleKeeper(QFontDialog& dialog, const QFont& start, const QString& face, int style)
        : bold_(start.bold()), italic_(start.italic())
    {
        // The dialog's family, style and size lists, in that order; the
        // style list shows the styles of the family selected.
        QList<QListView*> lists = dialog.findChildren<QListView*>(Qt::FindDirectChildrenOnly);
        if (lists.size() != 3 || Rows(lists[1]) != QFontDatabase::styles(Current(lists[0])) ||
            !std::all_of(lists.begin(), lists.end(), [](QListView* list) { return Model(list); }))
            return;  // not laid out as expected: left as Qt has it
        families_ = lists[0];
        styles_ = lists[1];
        // Its family, style and size fields, in that order (only the size
        // field checks what is typed), and the sample in a box of its own.
        QList<QLineEdit*> fields = dialog.findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly);
        for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
            sample_ = sample_ ? sample_ : box->findChild<QLineEdit*>();
        if (fields.size() == 3 && fields[2]->validator() && sample_) {
            sizes_ = lists[2];
            size_ = fields[2]->text().toInt();
            sizeField_ = fields[2];
            own_ = OwnFamilies(Rows(families_));
            connect(sizeField_, &QLineEdit::textChanged, this, [this](const QString& text) {
                size_ = text.toInt() > 0 ? text.toInt() : size_;
            });
            connect(&dialog, &QFontDialog::currentFontChanged, this, [this] { ShowOwnFace(); });
        }
        // Qt looked for a style named like the start font's ("Bold Italic")
        // and, without one, took the first listed: no name the user saw.
        style_ = QFontDatabase::styleString(start);
        // The lists' own handlers, through which Qt fills in and picks the
        // styles, were connected first: these run after them.
        connect(families_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { FamilyChanged(); });
        connect(styles_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { StyleChanged(); });
        ListOwnFamilies();
        SelectStartFamily(face, style);
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
    static QStringListModel* Model(QListView* list) { return qobject_cast<QStringListModel*>(list->model()); }
    static QStringList Rows(QListView* list) { return Model(list) ? Model(list)->stringList() : QStringList(); }
    void Select(QListView* list, int row)
    {
        if (row >= 0 && row != list->currentIndex().row())
            list->setCurrentIndex(list->model()->index(row, 0));
    }

    // The face of a family of its own listed under that style; none when the
    // family is one that Qt lists.
    const qt::OwnFace* Own(const QString& family, const QString& style) const
    {
        auto found = own_.find(family);
        if (found == own_.end())
            return nullptr;
        auto face = std::find_if(found->second.begin(), found->second.end(),
                                 [&](const qt::OwnFace& each) { return each.Style == style; });
        return face == found->second.end() ? nullptr : &*face;
    }

    // A style as the dialog shows it. QFontDatabase::italic() tells only
    // italic from upright, not oblique; the font knows both. Its size does
    // not matter here.
    QFont Face(const QString& family, const QString& style) const
    {
        const qt::OwnFace* face = Own(family, style);
        return face ? qt::StyledFont(family, face->Bits) : QFontDatabase::font(family, style, 12);
    }

    // KeptOf, asked once for each style.
    std::optional<Kept> Keep(const QString& family, const QString& style)
    {
        if (const qt::OwnFace* face = Own(family, style))
            return Kept{family, face->Bits};
        auto key = std::pair(family, style);
        auto found = kept_.find(key);
        if (found == kept_.end())
            found = kept_.emplace(key, KeptOf(family, style)).first;
        return found->second;
    }

    // The families of their own, each in its place by name, where the
    // family listing their faces is listed; again when Qt lists the
    // families anew for another writing system.
    void ListOwnFamilies()
    {
        QStringList rows = Rows(families_);
        for (const auto& [name, faces] : own_) {
            if (rows.contains(name) || !rows.contains(faces.first().Family))
                continue;
            int row = 0;
            while (row < int(rows.size()) && rows[row].compare(name, Qt::CaseInsensitive) < 0)
                row++;
            Model(families_)->insertRows(row, 1);
            Model(families_)->setData(Model(families_)->index(row, 0), name);
            rows.insert(row, name);
        }
    }

    // The start family when it is listed; of the families that several
    // foundries make, named without one, that whose face the name draws;
    // else the first family whose name begins with the start name, ignoring
    // case, and of those the first that the font file registered last added.
    void SelectStartFamily(const QString& start, int style)
    {
        QStringList families = Rows(families_);
        int pick = start.isEmpty() ? -1 : int(families.indexOf(start));
        std::optional<Drawn> drawn = pick < 0 && !start.isEmpty() ? DrawnBy(qt::StyledFont(start, style)) : std::nullopt;
        for (int row = 0; drawn && pick < 0 && row < int(families.size()); row++)
            if (families[row] != start && qt::WithoutFoundry(families[row]) == start &&
                DrawnBy(qt::StyledFont(families[row], style)) == drawn)
                pick = row;
        auto added = [&](int row) { return qt::RegisteredFamilies().contains(qt::WithoutFoundry(families[row])); };
        if (pick < 0 && !start.isEmpty())
            for (int row = 0; row < int(families.size()); row++)
                if (families[row].startsWith(start, Qt::CaseInsensitive) && (pick < 0 || (added(row) && !added(pick))))
                    pick = row;
        Select(families_, pick);
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
        ShowOwnFace();
    }

    // Qt has just filled in the style list, for another family or anew.
    void FamilyChanged()
    {
        ListOwnFamilies();
        QString family = Current(families_);
        bool another = family != family_;
        family_ = family;
        QStringList listed = Rows(styles_), styles;
        if (auto own = own_.find(family); own != own_.end())
            for (const qt::OwnFace& face : own->second)
                styles << face.Style;
        else
            for (const QString& style : listed)
                if (Keep(family, style))
                    styles << style;
        QString current = Current(styles_);
        choosing_ = true;
        if (styles != listed)
            Model(styles_)->setStringList(styles);
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
        Select(styles_, best);
        choosing_ = false;
        style_ = Current(styles_);
        ShowOwnFace();
    }

    // Qt knows no family of its own: it lists no sizes for it and shows the
    // application's font. Here the sizes are the usual ones, and the sample
    // shows the face as the program draws it.
    void ShowOwnFace()
    {
        const qt::OwnFace* face = Own(Current(families_), Current(styles_));
        if (!face)
            return;
        size_ = sizeField_->text().toInt() > 0 ? sizeField_->text().toInt() : size_;
        if (Rows(sizes_).isEmpty()) {
            QStringList sizes;
            for (int size : QFontDatabase::standardSizes())
                sizes << QString::number(size);
            Model(sizes_)->setStringList(sizes);
            Select(sizes_, int(sizes.indexOf(QString::number(size_))));
        }
        if (sizeField_->text().isEmpty()) {
            QSignalBlocker quiet(sizeField_);
            sizeField_->setText(QString::number(size_));
        }
        QFont shown = sample_->font();
        QFont font = qt::StyledFont(Current(families_), face->Bits | (shown.underline() ? StyleUnderline : 0) |
                                                            (shown.strikeOut() ? StyleStrikeOut : 0));
        font.setPointSize(size_);
        if (font != shown)
            sample_->setFont(font);
    }

    QListView* families_ = nullptr;
    QListView* styles_ = nullptr;
    QListView* sizes_ = nullptr;
    QLineEdit* sizeField_ = nullptr;
    QLineEdit* sample_ = nullptr;
    QString family_, style_;
    bool bold_, italic_;
    int size_ = 0;
    bool choosing_ = false;
    std::map<std::pair<QString, QString>, std::optional<Kept>> kept_;
    std::map<QString, QList<qt::OwnFace>> own_;  // the families of their own, by name
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
    StyleKeeper keeper(dialog, initial, Q(face), style & (StyleBold | StyleItalic));
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
