// The desktop requesters on the offscreen platform, answered by a timer that
// acts on whichever dialog is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCompleter>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QRawFont>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/gui.h"
#include "platform/qt/gui_qt.h"
#include "platform/requesters.h"

namespace {

using namespace platform;

// Runs `act` on each modal dialog that comes up, in turn; `act` closes the
// dialog it is given or leaves it up to be given again. A dialog that `act`
// does not expect, or any dialog after a minute (a stall, even on a busy
// machine), is closed here and the test fails: no test waits on a dialog for
// ever.
class Answerer {
public:
    explicit Answerer(std::function<bool(QWidget*, int)> act) : act_(std::move(act))
    {
        clock_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            bool late = clock_.elapsed() > 60000;
            if (late || !act_(dialog, count_++)) {
                ADD_FAILURE() << (late ? "a dialog stayed up" : "an unexpected dialog came up");
                if (auto* box = qobject_cast<QDialog*>(dialog))
                    box->reject();
                else
                    dialog->close();
            }
        });
        timer_.start(10);
    }
    int Count() const { return count_; }

private:
    std::function<bool(QWidget*, int)> act_;
    QTimer timer_;
    QElapsedTimer clock_;
    int count_ = 0;
};

void PressEscape(QWidget* target)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

// Types a name into a file requester as the user would, and accepts it.
void TypeAndAccept(QFileDialog* files, const QString& name)
{
    auto* field = files->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(name);
    static_cast<QDialog*>(files)->accept();
}

// Types `text` into a file requester's name field key by key, as the user
// would: the dialog looks up each name typed, goes into a folder typed with
// a "/" after it, and the completer lists the folder named; then the
// completer is asked for its list once more.
void TypeName(QFileDialog* files, const QString& text)
{
    auto* field = files->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    ASSERT_NE(field->completer(), nullptr);
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
    field->completer()->complete();
}

// Ends the test program with `Blocked` as its last words unless disarmed
// within `seconds`: a requester that blocks the program would otherwise hang
// the test until ctest gives up on it.
class Watchdog {
public:
    static inline char Blocked[256];
    explicit Watchdog(unsigned seconds)
    {
        ::signal(SIGALRM, [](int) {
            (void)!::write(2, Blocked, ::strlen(Blocked));
            ::_exit(1);
        });
        ::alarm(seconds);
    }
    ~Watchdog() { ::alarm(0); }
};

// Selects the row named `text` in one of the font dialog's lists, as a click
// on it would. The lists are the family, style and size lists, in that order.
void SelectInFontList(QFontDialog* dialog, int list, const QString& text)
{
    auto lists = dialog->findChildren<QListView*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(lists.size(), 3);
    QAbstractItemModel* model = lists[list]->model();
    QModelIndexList rows = model->match(model->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1) << text.toStdString();
    lists[list]->setCurrentIndex(rows[0]);
}

// The rows of one of the font dialog's lists, in its order.
QStringList FontListRows(QFontDialog* dialog, int list)
{
    auto lists = dialog->findChildren<QListView*>(Qt::FindDirectChildrenOnly);
    QStringList rows;
    for (int row = 0; lists.size() == 3 && row < lists[list]->model()->rowCount(); row++)
        rows << lists[list]->model()->index(row, 0).data().toString();
    return rows;
}

// The font chooser started on `face` at 16 points with `style`; `act` works
// the dialog and tells whether to accept it (or else cancel it).
FontChoice ChooseFont(Requesters& ask, const std::string& face, int style,
                      const std::function<bool(QFontDialog*)>& act = {})
{
    Answerer answer([&](QWidget* dialog, int) {
        auto* font = qobject_cast<QFontDialog*>(dialog);
        if (!font)
            return false;
        if (!act || act(font))
            font->accept();
        else
            font->reject();
        return true;
    });
    return ask.ChooseFont(face, 16, style);
}

class Requester : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InitGui());
        ask = MakeDesktopRequesters();
    }
    std::unique_ptr<Requesters> ask;
    QTemporaryDir dir;
};

TEST(RequesterFilters, BecomeQtNameFilters)
{
    EXPECT_EQ(qt::FileFilters("BAS File|*.bas|All files (*.*)|*.*"),
              QStringList({"BAS File (*.bas)", "All files (*.*) (*)"}));
    EXPECT_EQ(qt::FileFilters("TTF|*.ttf;*.otf"), QStringList({"TTF (*.ttf *.otf)"}));
    EXPECT_EQ(qt::FileFilters("Image|*.png;*.jpg;*.bmp|"), QStringList({"Image (*.png *.jpg *.bmp)"}));
    EXPECT_TRUE(qt::FileFilters("").isEmpty());
}

TEST_F(Requester, OpenTakesAMissingFileInAnExistingFolderOnly)
{
    ASSERT_TRUE(dir.isValid());
    QString here = QDir::currentPath();
    QString shownFolder;
    QString shownFilter;
    Answerer answer([&](QWidget* dialog, int n) {
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            if (n == 0) {
                shownFolder = files->directory().absolutePath();
                shownFilter = files->selectedNameFilter();
                files->selectNameFilter(files->nameFilters().at(1));
                TypeAndAccept(files, dir.path() + "/nowhere/font.bas");  // a folder that does not exist
            } else {
                TypeAndAccept(files, "new font.bas");
            }
            return true;
        }
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            box->accept();  // the complaint about the folder
            return true;
        }
        return false;
    });
    std::string path = ask->OpenFile("Open", (dir.path() + "/*.bas").toStdString(),
                                     "BAS File|*.bas|All files (*.*)|*.*", 0);
    EXPECT_EQ(QString::fromStdString(path), dir.path() + "/new font.bas");
    EXPECT_EQ(shownFolder.toStdString(), dir.path().toStdString());
    EXPECT_EQ(shownFilter.toStdString(), "BAS File") << "labels show as given";
    EXPECT_EQ(ask->SelectedFilter(), 1);
    EXPECT_EQ(answer.Count(), 3);
    EXPECT_EQ(QDir::currentPath(), here) << "the current folder never changes";
}

TEST_F(Requester, SaveStartsAtTheFileAndCancelGivesNothing)
{
    QString existing = dir.path() + "/font.c";
    QFile(existing).open(QIODevice::WriteOnly);
    QString typed;
    Answerer answer([&](QWidget* dialog, int n) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        if (!files)
            return false;
        if (n == 0) {
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(files->selectedNameFilter().toStdString(), "All files (*.*)");
            static_cast<QDialog*>(files)->accept();  // the existing file, asked about by nobody
        } else {
            files->reject();
        }
        return true;
    });
    std::string filter = "C File|*.c|All files (*.*)|*.*";
    EXPECT_EQ(QString::fromStdString(ask->SaveFile("Save", existing.toStdString(), filter, 1)), existing);
    EXPECT_EQ(ask->SelectedFilter(), 1);
    EXPECT_EQ(ask->SaveFile("Save", dir.path().toStdString(), filter, 0), "");
    EXPECT_EQ(ask->SelectedFilter(), 0);
}

TEST_F(Requester, MessageInputAndFont)
{
    Answerer answer([&](QWidget* dialog, int n) {
        if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
            EXPECT_EQ(box->text(), "Do you want to save changes first?");
            if (n == 0) {
                // Yes / No: neither Escape nor the close box answers.
                PressEscape(box);
                box->close();
            } else if (n == 1) {
                box->button(QMessageBox::No)->click();
            } else {
                PressEscape(box);  // Yes / No / Cancel: Escape is Cancel
            }
        } else if (auto* input = qobject_cast<QInputDialog*>(dialog)) {
            if (n == 3) {
                EXPECT_EQ(input->textValue(), "32");
                input->setTextValue("48");
                input->accept();
            } else {
                input->reject();
            }
        } else if (auto* font = qobject_cast<QFontDialog*>(dialog)) {
            font->reject();
        } else {
            return false;
        }
        return true;
    });
    EXPECT_EQ(ask->Message("Oops!", "Do you want to save changes first?", MessageButtons::YesNo), MessageResult::No);
    EXPECT_EQ(answer.Count(), 2) << "the box stayed up after Escape and its close box";
    EXPECT_EQ(ask->Message("Oops!", "Do you want to save changes first?", MessageButtons::YesNoCancel),
              MessageResult::Cancel);
    EXPECT_EQ(ask->Input("First code", "Start at?", "32"), "48");
    EXPECT_EQ(ask->Input("First code", "Start at?", "32"), "") << "cancelled";
    FontChoice choice = ask->ChooseFont("DejaVu Sans", 16, StyleBold | StyleUnderline);
    EXPECT_FALSE(choice.Accepted);
    EXPECT_EQ(choice.Face, "DejaVu Sans") << "a cancelled chooser still tells its face";
    EXPECT_EQ(choice.Style, StyleBold | StyleUnderline);
    EXPECT_FALSE(ask->ShiftDown());
}

// On another family the chooser keeps the style bold or not and italic or
// not as it started, or as the user last picked it; "DejaVu Sans" has no
// "Regular" and lists "Oblique" first.
TEST_F(Requester, AnotherFamilyKeepsBoldAndItalic)
{
    struct Pick {
        int List;  // 0 the family, 1 the style
        QString Name;
    };
    struct Case {
        int Start;
        std::vector<Pick> Picks;
        int Chosen;
        QString Shown;  // the style the dialog shows at the end
        std::string Face = {};  // the face reported when not the family picked last
    };
    const Case cases[] = {
        // Not "Condensed", which is as upright and as heavy.
        {0, {{0, "DejaVu Sans"}}, 0, "Book"},
        {StyleBold, {{0, "DejaVu Sans"}}, StyleBold, "Bold"},
        {StyleItalic, {{0, "DejaVu Sans"}}, StyleItalic, "Oblique"},
        {StyleBold | StyleItalic, {{0, "DejaVu Sans"}}, StyleBold | StyleItalic, "Bold Oblique"},
        // "Sans Serif" has no bold: its italic is nearest, and still bold
        // italic is wanted on the next family.
        {StyleBold | StyleItalic, {{0, "Sans Serif"}, {0, "DejaVu Sans"}}, StyleBold | StyleItalic, "Bold Oblique"},
        {0, {{0, "DejaVu Sans"}, {1, "Bold"}}, StyleBold, "Bold"},
        {StyleItalic, {{0, "DejaVu Sans"}, {1, "Bold"}, {0, "Liberation Sans"}}, StyleBold, "Bold"},
        // A style the new family has by the same name stays, of equals.
        {0, {{0, "DejaVu Sans"}, {1, "Condensed"}, {0, "DejaVu Serif"}}, 0, "Condensed", "DejaVu Serif Condensed"},
    };
    ASSERT_TRUE(QFontDatabase::styles("DejaVu Sans").contains("Oblique")) << "it comes with fonts-dejavu-extra";
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "start " << c.Start << ", " << c.Picks.size() << " picks");
        std::string family;  // the one picked last
        Answerer answer([&](QWidget* dialog, int) {
            auto* font = qobject_cast<QFontDialog*>(dialog);
            if (!font)
                return false;
            for (const Pick& pick : c.Picks) {
                SelectInFontList(font, pick.List, pick.Name);
                if (pick.List == 0)
                    family = pick.Name.toStdString();
                QFont shown = font->currentFont();
                EXPECT_EQ((pick.List == 0 ? shown.family() : shown.styleName()).toStdString(),
                          pick.Name.toStdString());
            }
            EXPECT_EQ(font->currentFont().styleName().toStdString(), c.Shown.toStdString());
            font->accept();
            return true;
        });
        FontChoice choice = ask->ChooseFont("Arial", 16, c.Start);
        EXPECT_TRUE(choice.Accepted);
        EXPECT_EQ(choice.Face, c.Face.empty() ? family : c.Face);
        EXPECT_EQ(choice.Style, c.Chosen);
    }
}

// A message or input box is at least as wide as the window manager's title
// bar needs for the whole title: the title in a bold title font, and room
// for the bar's buttons. A box wider than that keeps its size, and the
// height stays the same.
TEST_F(Requester, BoxesShowTheirTitleWhole)
{
    struct Case {
        bool Input;
        std::string Title, Text;
        bool Widened;
    };
    const Case cases[] = {
        {false, "Oops!", "Error reading file", true},
        {true, "Current size is 16 by 16 pixels", "Enter new size (WxH must be mutiple of 8):", true},
        {false, "Oops!", "Do you want to save changes first? The font has changed since it was saved.", false},
        {true, "Size", "Enter new size (WxH must be mutiple of 8):", false},
    };
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title + " / " + c.Text);
        // The size the box has without regard to its title.
        QSize plain;
        if (c.Input) {
            QInputDialog box;
            box.setWindowTitle(qt::Q(c.Title));
            box.setLabelText(qt::Q(c.Text));
            box.setTextValue("9 x 16");
            box.show();
            plain = box.size();
        } else {
            QMessageBox box(QMessageBox::NoIcon, qt::Q(c.Title), qt::Q(c.Text), QMessageBox::Ok);
            box.setTextFormat(Qt::PlainText);
            box.show();
            plain = box.size();
        }
        QSize shown;
        Answerer answer([&](QWidget* dialog, int) {
            shown = dialog->size();
            static_cast<QDialog*>(dialog)->reject();
            return true;
        });
        if (c.Input)
            ask->Input(c.Title, c.Text, "9 x 16");
        else
            ask->Message(c.Title, c.Text, MessageButtons::Ok);
        int need = QFontMetrics(titleFont).horizontalAdvance(qt::Q(c.Title)) + 100;
        if (c.Widened) {
            EXPECT_LT(plain.width(), need);
            EXPECT_GE(shown.width(), need);
            EXPECT_EQ(shown.height(), plain.height());
        } else {
            EXPECT_EQ(shown, plain);
        }
    }
}

// A file requester never blocks the program, whatever the folder it lists or
// the name typed holds: as root, reading /proc/kmsg waits for the kernel's
// next message, and opening a named pipe waits for a writer. It tells the
// type of a file from its name, never from what it holds. The requester
// stays up until its model has listed an empty folder asked for after what
// the start and the typing asked for: one thread lists them in turn, so all
// of those are listed by then, and none blocked.
TEST_F(Requester, FileRequesterNeverBlocks)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("pipes"));
    QString pipe = dir.path() + "/pipes/pipe", notes = dir.path() + "/pipes/notes";
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("%PDF-1.4\n") > 0);
    file.close();
    QString byName = QMimeDatabase().mimeTypeForFile(notes, QMimeDatabase::MatchExtension).comment();
    ASSERT_NE(byName, QMimeDatabase().mimeTypeForFile(notes).comment());
    struct Case {
        QString Start, Typed;
    };
    const Case cases[] = {
        {"/proc/", ""},
        {dir.path() + "/pipes/", ""},
        {dir.path() + "/", "/proc/kmsg"},  // in /proc after the second "/"
        {dir.path() + "/", pipe},
    };
    int number = 0;
    for (const Case& c : cases) {
        std::string shown = "started in " + c.Start.toStdString() + ", with \"" + c.Typed.toStdString() + "\" typed";
        SCOPED_TRACE(shown);
        std::snprintf(Watchdog::Blocked, sizeof Watchdog::Blocked,
                      "\nThe file requester %s blocked the program or its listing.\n", shown.c_str());
        const QString last = dir.path() + "/last" + QString::number(number++);
        ASSERT_TRUE(QDir().mkdir(last));
        Watchdog watchdog(30);
        bool listed = false;
        Answerer answer([&](QWidget* dialog, int n) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            auto* model = files ? files->findChild<QFileSystemModel*>() : nullptr;
            if (!model)
                return false;
            if (n == 0) {
                QObject::connect(model, &QFileSystemModel::directoryLoaded, [&](const QString& path) {
                    listed = listed || path == last;
                });
                if (!c.Typed.isEmpty())
                    TypeName(files, c.Typed);
            } else if (n == 5) {  // after the passes that ask for what the typing showed
                QModelIndex folder = model->index(last);
                EXPECT_TRUE(model->canFetchMore(folder));
                model->fetchMore(folder);
            } else if (n > 10 && listed) {
                QString type = model->type(model->index(notes));
                EXPECT_EQ(type.toStdString(), byName.toStdString()) << "told from the name";
                files->reject();
            }
            return true;
        });
        EXPECT_EQ(ask->OpenFile("Open", c.Start.toStdString(), "All files|*.*", 0), "");
        EXPECT_TRUE(listed);
        EXPECT_GT(answer.Count(), 10);
    }
}

// Accepted untouched, the chooser reports the face and style it started on,
// and again when that answer starts it anew, as each "Font..." press of the
// TrueType view does. Qt alone would select the first style listed, such as
// "Oblique" for "DejaVu Sans" with no style.
TEST_F(Requester, OpensOnTheStyleItStartsWith)
{
    for (const char* family :
         {"DejaVu Sans", "DejaVu Sans Condensed", "DejaVu Sans Mono", "DejaVu Serif", "DejaVu Serif Condensed"}) {
        for (int style : {0, int(StyleBold), int(StyleItalic), StyleBold | StyleItalic}) {
            SCOPED_TRACE(::testing::Message() << family << ", style " << style);
            FontChoice first = ChooseFont(*ask, family, style);
            EXPECT_EQ(first.Face, family);
            EXPECT_EQ(first.Style, style);
            FontChoice second = ChooseFont(*ask, first.Face, first.Style);
            EXPECT_EQ(second.Face, family);
            EXPECT_EQ(second.Style, style);
        }
    }
}

// What a font draws: some glyphs at 100 pixels, a size at which Qt no
// longer thickens a face for bold.
QList<QImage> Drawn(QFont font)
{
    font.setPixelSize(100);
    QRawFont raw = QRawFont::fromFont(font);
    QList<QImage> glyphs;
    for (quint32 glyph : raw.glyphIndexesForString("Hag"))
        glyphs << raw.alphaMapForGlyph(glyph, QRawFont::PixelAntialiasing);
    return glyphs;
}

// What the chooser reports with `style` of `family` picked; `shown` is the
// font it showed. The font loaded from the report draws the face shown.
FontChoice Pick(Requesters& ask, const QString& family, const QString& style, QFont& shown)
{
    FontChoice chosen = ChooseFont(ask, "Arial", 0, [&](QFontDialog* font) {
        SelectInFontList(font, 0, family);
        SelectInFontList(font, 1, style);
        shown = font->currentFont();
        return true;
    });
    EXPECT_TRUE(LoadFont(0, chosen.Face, 16, chosen.Style));
    EXPECT_TRUE(Drawn(*qt::FontObject(0)) == Drawn(shown)) << (family + " " + style).toStdString();
    return chosen;
}

// Picks `style` of `family` and expects the report; the chooser started on
// the report opens on the face shown and reports it again.
void ExpectReported(Requesters& ask, const QString& family, const QString& style, const std::string& face, int bits)
{
    SCOPED_TRACE((family + " " + style).toStdString());
    QFont shown, opened;
    FontChoice chosen = Pick(ask, family, style, shown);
    EXPECT_EQ(chosen.Face, face);
    EXPECT_EQ(chosen.Style, bits);
    FontChoice again = ChooseFont(ask, chosen.Face, chosen.Style, [&](QFontDialog* font) {
        opened = font->currentFont();
        return true;
    });
    EXPECT_TRUE(Drawn(opened) == Drawn(shown));
    EXPECT_EQ(again.Face, chosen.Face);
    EXPECT_EQ(again.Style, chosen.Style);
}

// The program keeps of a font only its face name and bold and italic bits,
// and the chooser reports each style it offers under the name that reaches
// it: a style of a wider family that is also a family of its own, as "DejaVu
// Serif" "Condensed Italic" is "DejaVu Serif Condensed" "Italic", by that
// family's name; a weight that bold and italic do not reach by the face's
// own family name, which the chooser lists as a family too with the styles
// installed under it: "DejaVu Sans" "ExtraLight" is "DejaVu Sans Light".
TEST_F(Requester, ReportsTheStyleItShows)
{
    ASSERT_TRUE(QFontDatabase::styles("DejaVu Sans").contains("ExtraLight")) << "it comes with fonts-dejavu-extra";
    QStringList families;
    ChooseFont(*ask, "Arial", 0, [&](QFontDialog* font) {
        families = FontListRows(font, 0).filter(QRegularExpression("^DejaVu"));
        return false;
    });
    EXPECT_TRUE(families.contains("DejaVu Sans Light"));
    for (const QString& family : families) {
        QStringList styles;
        ChooseFont(*ask, "Arial", 0, [&](QFontDialog* font) {
            SelectInFontList(font, 0, family);
            styles = FontListRows(font, 1);
            return false;
        });
        EXPECT_EQ(styles.join(", ").toStdString(),
                  (family == "DejaVu Sans Light" ? "ExtraLight" : QFontDatabase::styles(family).join(", ")).toStdString());
        QFont shown;
        for (const QString& style : styles)
            Pick(*ask, family, style, shown);
    }
    ExpectReported(*ask, "DejaVu Serif", "Condensed Italic", "DejaVu Serif Condensed", StyleItalic);
    ExpectReported(*ask, "DejaVu Sans", "ExtraLight", "DejaVu Sans Light", 0);
    ExpectReported(*ask, "DejaVu Sans Light", "ExtraLight", "DejaVu Sans Light", 0);
}

// A family that two foundries make is listed once for each, tagged with the
// foundry; the chooser reports it without the tag where that name draws the
// face shown. Here a copy of "Liberation Mono" renamed "Liberation Sans" and
// made by "TEST", which has no bold.
TEST_F(Requester, ReportsAFamilyWithoutItsFoundryWhereThatDrawsIt)
{
    QFile mono("/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf");
    ASSERT_TRUE(mono.open(QIODevice::ReadOnly));
    QByteArray font = mono.readAll();
    for (int table = 0; table < qFromBigEndian<quint16>(font.constData() + 4); table++)
        if (font.mid(12 + 16 * table, 4) == "OS/2")
            font.replace(qFromBigEndian<quint32>(font.constData() + 12 + 16 * table + 8) + 58, 4, "TEST");
    QStringEncoder utf16(QStringConverter::Utf16BE);
    font.replace(QByteArray(utf16("Liberation Mono")), QByteArray(utf16("Liberation Sans")))
        .replace("Liberation Mono", "Liberation Sans");
    QFile copy(dir.filePath("Other.ttf"));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly) && copy.write(font) == font.size());
    copy.close();
    ASSERT_TRUE(RegisterFontFile(copy.fileName().toStdString()));
    ASSERT_TRUE(QFontDatabase::families().contains("Liberation Sans [TEST]"));
    // Which foundry Qt takes for the name alone depends on whether the name
    // was looked up before the copy came.
    const bool copyTaken = Drawn(QFont("Liberation Sans")) == Drawn(QFont("Liberation Sans [TEST]"));
    ExpectReported(*ask, "Liberation Sans [TEST]", "Regular", copyTaken ? "Liberation Sans" : "Liberation Sans [TEST]", 0);
    ExpectReported(*ask, "Liberation Sans [1ASC]", "Regular", copyTaken ? "Liberation Sans [1ASC]" : "Liberation Sans", 0);
    ExpectReported(*ask, "Liberation Sans [1ASC]", "Bold", "Liberation Sans", StyleBold);
}

// A start name that is no family's whole name, such as the first four
// letters of a font file's name after Shift + "Font...": the chooser opens on
// the first family that begins with it, ignoring case, preferring one that
// the font file registered last added. Cancelled, it still reports the name.
TEST_F(Requester, StartsOnTheFamilyBeginningWithItsName)
{
    struct Case {
        QString Register;  // a file copied and registered first, when given
        bool Added;
        std::string Start, Shown;
    };
    const QString fonts = "/usr/share/fonts/truetype/", text = dir.filePath("text.ttf");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("no font") == 7);
    file.close();
    const Case cases[] = {
        {"", false, "deja", "DejaVu Math TeX Gyre"},
        {fonts + "dejavu/DejaVuSerif.ttf", true, "Deja", "DejaVu Serif"},
        {fonts + "liberation2/LiberationSerif-Regular.ttf", true, "libe", "Liberation Serif"},
        {"", false, "Deja", "DejaVu Math TeX Gyre"},  // the last file added no DejaVu family
        {text, false, "libe", "Liberation Serif"},  // no font: the last file's families stand
        {"", false, "Liberation Mono", "Liberation Mono"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Start);
        if (!c.Register.isEmpty()) {
            QString copy = dir.filePath(QString::fromStdString(c.Start) + QFileInfo(c.Register).fileName());
            ASSERT_TRUE(QFile::copy(c.Register, copy));
            EXPECT_EQ(RegisterFontFile(copy.toStdString()), c.Added);
        }
        FontChoice choice = ChooseFont(*ask, c.Start, 0);
        EXPECT_EQ(choice.Face, c.Shown);
        EXPECT_EQ(choice.Style, 0);
    }
    FontChoice cancelled = ChooseFont(*ask, "deja", StyleItalic, [](QFontDialog*) { return false; });
    EXPECT_FALSE(cancelled.Accepted);
    EXPECT_EQ(cancelled.Face, "deja");
    EXPECT_EQ(cancelled.Style, StyleItalic);
}

}  // namespace
