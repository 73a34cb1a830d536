// The desktop requesters: file, message, input and font dialogs on Qt, and
// the Shift key.
#include "platform/requesters.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <QListView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QRawFont>
#include <QScreen>
#include <QStringListModel>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <tuple>

#include "platform/gui.h"
#include "platform/qt/gui_qt.h"

namespace platform {

namespace {

using qt::Q;
using qt::U;

QWidget* DialogParent() { return QApplication::activeWindow(); }

// The width a window needs for the window manager's title bar to show its
// title whole, within the screen's. The bar is drawn in the window manager's
// font, which the program cannot know: the system's title font in bold is as
// large as most, and a title centred between an icon and three buttons
// leaves out about 64 pixels on either side.
int TitleBarWidth(const QWidget& window)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    int width = QFontMetrics(font).horizontalAdvance(window.windowTitle()) + 2 * 64;
    return std::min(width, window.screen()->availableGeometry().width());
}

// A message or input box takes the minimum width of its contents when shown:
// the row of buttons, which spans the box, is what is widened for its title.
// A box whose text is wider already is left as it is.
void KeepTitleWhole(QDialog& box)
{
    box.minimumSizeHint();  // an input box lays itself out here
    auto* buttons = box.findChild<QDialogButtonBox*>();
    if (!buttons || !box.layout())
        return;
    QMargins margins = box.layout()->contentsMargins();
    int wanted = TitleBarWidth(box) - margins.left() - margins.right();
    if (wanted > buttons->minimumSizeHint().width())
        buttons->setMinimumWidth(wanted);
}

// A Yes / No box has no way out but its two buttons: Escape and the close box
// would otherwise count as No, and "No" to "Do you want to save changes
// first?" quits without saving.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool AnswerRequired = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (AnswerRequired && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (AnswerRequired) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

// The position of the filter the dialog names: the whole filter, or only its
// label as the dialog shows it with the patterns hidden.
int FilterIndex(const QStringList& filters, const QString& shown)
{
    for (qsizetype i = 0; i < filters.size(); i++) {
        qsizetype open = filters[i].lastIndexOf(QLatin1String(" ("));
        if (filters[i] == shown || (open >= 0 && filters[i].left(open).trimmed() == shown.trimmed()))
            return int(i);
    }
    return -1;
}

// Icons and types for the file requesters from the names alone. Qt's own
// provider reads the first bytes of each file listed or typed to tell its
// type, on the program's thread, and some reads never return: /proc/kmsg
// waits for the kernel's next message, a named pipe for a writer. Only the
// folder's listing and a stat of each entry remain, and they do not block.
class NameOnlyIcons : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override
    {
        return icon(info.isRoot() ? Drive : info.isDir() ? Folder : File);
    }
    QString type(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return QApplication::translate("QAbstractFileIconProvider", "Drive");
        if (info.isDir())
            return QApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms");
        // By the extension; a named pipe or a device by its kind.
        QMimeType mime = QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }
};

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

class DesktopRequesters : public Requesters {
public:
    std::string OpenFile(const std::string& title, const std::string& start, const std::string& filter,
                         int filterPosition) override
    {
        return FileRequester(false, title, start, filter, filterPosition);
    }

    std::string SaveFile(const std::string& title, const std::string& start, const std::string& filter,
                         int filterPosition) override
    {
        return FileRequester(true, title, start, filter, filterPosition);
    }

    int SelectedFilter() override { return selectedFilter_; }

    MessageResult Message(const std::string& title, const std::string& text, MessageButtons buttons) override
    {
        MessageResult closed = buttons == MessageButtons::Ok      ? MessageResult::Ok
                               : buttons == MessageButtons::YesNo ? MessageResult::No
                                                                  : MessageResult::Cancel;
        if (!GuiRunning())
            return closed;
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        QMessageBox::StandardButton first = QMessageBox::Ok;
        if (buttons == MessageButtons::YesNo) {
            set = QMessageBox::Yes | QMessageBox::No;
            first = QMessageBox::Yes;
        } else if (buttons == MessageButtons::YesNoCancel) {
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            first = QMessageBox::Yes;
        }
        MessageBox box(QMessageBox::NoIcon, Q(title), Q(text), set, DialogParent());
        box.AnswerRequired = buttons == MessageButtons::YesNo;
        box.setTextFormat(Qt::PlainText);
        box.setDefaultButton(first);
        KeepTitleWhole(box);
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok: return MessageResult::Ok;
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        default: return closed;
        }
    }

    std::string Input(const std::string& title, const std::string& prompt, const std::string& defaultText) override
    {
        if (!GuiRunning())
            return std::string();
        QInputDialog dialog(DialogParent());
        dialog.setWindowTitle(Q(title));
        dialog.setLabelText(Q(prompt));
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setTextValue(Q(defaultText));
        KeepTitleWhole(dialog);
        if (dialog.exec() != QDialog::Accepted)
            return std::string();
        return U(dialog.textValue());
    }

    FontChoice ChooseFont(const std::string& face, int size, int style) override
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
        QFontDialog dialog(initial, DialogParent());
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

    bool ShiftDown() override
    {
        if (!GuiRunning())
            return false;
        return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
    }

private:
    std::string FileRequester(bool save, const std::string& title, const std::string& start,
                              const std::string& filter, int filterPosition)
    {
        QStringList filters = qt::FileFilters(filter);
        int position = filters.isEmpty() ? 0 : std::clamp(filterPosition, 0, int(filters.size()) - 1);
        selectedFilter_ = position;
        if (!GuiRunning())
            return std::string();

        // The start: a folder, a file name, or a folder and a pattern. The
        // process's current folder is never changed, only read.
        QString folder = QDir::currentPath(), name;
        QString startPath = Q(start);
        if (!startPath.isEmpty()) {
            QFileInfo info(startPath);
            if (info.isDir()) {
                folder = info.absoluteFilePath();
            } else {
                if (info.absoluteDir().exists())
                    folder = info.absolutePath();
                name = info.fileName();
                if (name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?')))
                    name.clear();
            }
        }

        NameOnlyIcons icons;
        QFileDialog dialog(DialogParent(), Q(title), folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        // Before the listing of the folder arrives and any name is looked up.
        dialog.setIconProvider(&icons);
        // The labels show as they were given, without their patterns.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        if (save)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            dialog.selectNameFilter(filters[position]);
        }
        if (!name.isEmpty())
            dialog.selectFile(name);

        for (;;) {
            int result = dialog.exec();
            int index = FilterIndex(filters, dialog.selectedNameFilter());
            if (index >= 0)
                selectedFilter_ = index;
            if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
                return std::string();
            QFileInfo chosen(dialog.selectedFiles().first());
            // A typed pattern names no file: the requester stays up.
            if (chosen.fileName().contains(QLatin1Char('*')) || chosen.fileName().contains(QLatin1Char('?')))
                continue;
            // The folder must exist; a file that does not exist is fine.
            if (QFileInfo(chosen.absolutePath()).isDir())
                return U(QDir::toNativeSeparators(chosen.absoluteFilePath()));
            QMessageBox box(QMessageBox::Warning, Q(title),
                            QDir::toNativeSeparators(chosen.absolutePath()) +
                                QStringLiteral("\nThis folder does not exist.\nCheck the name and try again."),
                            QMessageBox::Ok, &dialog);
            KeepTitleWhole(box);
            box.exec();
            if (!QFileInfo(dialog.directory().absolutePath()).isDir())
                dialog.setDirectory(folder);
        }
    }

    int selectedFilter_ = 0;
};

}  // namespace

namespace qt {

// "*.*" means every file, as it does on the desktop the filters were written
// for.
QStringList FileFilters(const std::string& filter)
{
    QStringList parts = QString::fromUtf8(filter.data(), qsizetype(filter.size())).split(QLatin1Char('|'));
    QStringList filters;
    if (filter.empty())
        return filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString label = parts[i].trimmed();
        if (i + 1 >= parts.size() && label.isEmpty())
            break;  // a bar at the end
        QString patterns = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        QStringList list;
        for (QString pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
            if (!pattern.isEmpty())
                list << pattern;
        }
        if (list.isEmpty())
            list << QStringLiteral("*");
        if (label.isEmpty())
            label = list.join(QLatin1Char(' '));
        filters << label + QStringLiteral(" (") + list.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

}  // namespace qt

std::unique_ptr<Requesters> MakeDesktopRequesters() { return std::make_unique<DesktopRequesters>(); }

}  // namespace platform
