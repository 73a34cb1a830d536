// The desktop requesters on the offscreen platform, answered by a timer that
// acts on whichever dialog is up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include "platform/gui.h"
#include "platform/qt/gui_qt.h"
#include "platform/requesters.h"

namespace {

using namespace platform;

// Runs `act` on each modal dialog that comes up, in turn; `act` closes the
// dialog it is given or leaves it up to be given again. A dialog that `act`
// does not expect, or any dialog after five seconds, is closed here and the
// test fails: no test waits on a dialog for ever.
class Answerer {
public:
    explicit Answerer(std::function<bool(QWidget*, int)> act) : act_(std::move(act))
    {
        clock_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            bool late = clock_.elapsed() > 5000;
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

}  // namespace
